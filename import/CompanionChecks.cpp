#include "import/CompanionChecks.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velarix {

namespace {

QString seconds(double value) {
    return QLocale::c().toString(value, 'f', 1);
}

} // namespace

std::optional<QString> proxyMismatch(const QString& proxyName, double proxySeconds, qint64 proxySize,
                                     const QString& videoName, double videoSeconds, qint64 videoSize) {
    if (proxySize > 0 && videoSize > 0 && proxySize > videoSize)
        return QCoreApplication::translate(
                   "velarix::CompanionChecks",
                   "The proxy %1 is larger than its video %2, which a proxy of it would not be: it may "
                   "belong to another clip. Both are imported as they are.")
            .arg(proxyName, videoName);
    // A proxy may end a frame or two apart from its video; more than a second, or 5 % of a long
    // recording, is another recording.
    const double tolerance = std::max(1.0, videoSeconds * 0.05);
    if (proxySeconds > 0 && videoSeconds > 0 && std::abs(proxySeconds - videoSeconds) > tolerance)
        return QCoreApplication::translate(
                   "velarix::CompanionChecks",
                   "The proxy %1 runs %2 s, but its video %3 runs %4 s: it may belong to another clip, "
                   "or be cut short. Both are imported as they are.")
            .arg(proxyName, seconds(proxySeconds), videoName, seconds(videoSeconds));
    return std::nullopt;
}

std::optional<QString> lensMismatch(const QString& lensName, double lensSeconds, const QString& videoName,
                                    double videoSeconds) {
    if (lensSeconds > 0 && videoSeconds > 0 && std::abs(lensSeconds - videoSeconds) > 0.5)
        return QCoreApplication::translate(
                   "velarix::CompanionChecks",
                   "The second lens %1 runs %2 s, but %3 runs %4 s: the lenses are out of step, and the "
                   "camera's stitching software may refuse them. Both are imported as they are.")
            .arg(lensName, seconds(lensSeconds), videoName, seconds(videoSeconds));
    return std::nullopt;
}

std::optional<QString> clipXmlDateMismatch(const QString& xmlName, const QDateTime& stated,
                                           const QString& videoName, const QDateTime& fileTime) {
    if (!stated.isValid() || !fileTime.isValid())
        return std::nullopt;
    // The stated start's wall-clock time, as a camera writing local time puts it into the FAT times.
    const QDateTime wallClock(stated.date(), stated.time(), Qt::UTC);
    // Long enough for a long recording whose file time is its end, and for a camera's clock drift.
    constexpr qint64 kToleranceSeconds = 3 * 3600;
    const qint64 apart = std::min(std::abs(stated.secsTo(fileTime)), std::abs(wallClock.secsTo(fileTime)));
    if (apart <= kToleranceSeconds)
        return std::nullopt;
    return QCoreApplication::translate(
               "velarix::CompanionChecks",
               "%1 says the recording began at %2, which is far from the time of %3 (%4): it may belong "
               "to another clip. The file's own time is shown; both are imported as they are.")
        .arg(xmlName, stated.toString(Qt::ISODate), videoName, fileTime.toUTC().toString(Qt::ISODate));
}

} // namespace velarix
