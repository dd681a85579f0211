#pragma once

#include "core/AnalysisText.h"

#include <QString>
#include <QStringList>

namespace velarix {

// The kinds of sensor data a camera recorded with a clip, in words for the analysis explanation:
// tracks in the file (GPMF `gpmd`, which Velarix reads; camera motion `camm`, Sony `rtmd`, DJI
// `djmd`, timed metadata `mebx`, which it cannot use yet), a 360 camera's data after the last box,
// and GPS subtitles (.SRT) beside the file. Only the container header and the file's last bytes
// are read. `used` gets the kinds Velarix reads, `unused` the others.
struct TelemetryKinds {
    QStringList used;
    QStringList unused;
    // "Telemetry: GPMF sensors (gpmd), read. Also carried: …, which Velarix cannot use yet."; empty
    // when the clip carries none. The kinds' names stay as they are in both languages.
    AnalysisText sentence() const;
};
TelemetryKinds telemetryKinds(const QString& path);

} // namespace velarix
