#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace velarix {

// What a proxy beside a video must fit: a low-resolution copy of the same recording runs as long as
// it and is smaller. A sentence for the user when it does not (perhaps another clip's proxy, or one
// cut short); absent when it fits. Durations in seconds, 0 when unknown; sizes in bytes.
std::optional<QString> proxyMismatch(const QString& proxyName, double proxySeconds, qint64 proxySize,
                                     const QString& videoName, double videoSeconds, qint64 videoSize);

// The second lens of a dual-file 360 clip against the first: recorded together, they run as long.
std::optional<QString> lensMismatch(const QString& lensName, double lensSeconds, const QString& videoName,
                                    double videoSeconds);

// Whether the start a clip metadata file states fits the video's file time. Cameras write their local
// time into the FAT times (read as UTC), and the time there is the start or the end of the recording:
// the file time must lie near the stated start read either way. A sentence for the user when it
// does not; the file's own time then stands.
std::optional<QString> clipXmlDateMismatch(const QString& xmlName, const QDateTime& stated,
                                           const QString& videoName, const QDateTime& fileTime);

} // namespace velarix
