#include "Velarix/DisplayFormats.h"

#include <QLocale>

#include <cmath>

namespace velarix {

namespace {

QString decimal(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString scaled(double value, const char* unit) {
    // One decimal while it says something, none once the number is large.
    return decimal(value, value < 100 ? 1 : 0) + QLatin1Char(' ') + QLatin1String(unit);
}

QString plural(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

QString formatFileSize(qint64 bytes) {
    if (bytes < 1'000'000)
        return decimal(std::ceil(double(std::max<qint64>(bytes, 0)) / 1000.0), 0) + QStringLiteral(" KB");
    return scaled(double(bytes) / 1e6, "MB");
}

QString formatVolumeSpace(quint64 bytes) {
    if (bytes < 1'000'000)
        return decimal(std::ceil(double(bytes) / 1000.0), 0) + QStringLiteral(" KB");
    if (bytes < 1'000'000'000)
        return scaled(double(bytes) / 1e6, "MB");
    return scaled(double(bytes) / 1e9, "GB");
}

QString formatDuration(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return QStringLiteral("-:-");
    const qint64 total = std::max<qint64>(1, std::llround(seconds));
    const qint64 hours = total / 3600;
    const qint64 minutes = total % 3600 / 60;
    const qint64 secs = total % 60;
    QStringList parts;
    if (hours > 0)
        parts << QStringLiteral("%1 hr").arg(hours);
    if (minutes > 0)
        parts << QStringLiteral("%1 min").arg(minutes);
    if (secs > 0 && hours == 0)
        parts << QStringLiteral("%1 sec").arg(secs);
    return parts.join(QStringLiteral(", "));
}

QString formatRelativeDate(const QDateTime& moment, const QDateTime& now) {
    const qint64 delta = moment.secsTo(now);
    const qint64 distance = std::llabs(delta);
    if (distance < 1)
        return QStringLiteral("now");
    struct Unit {
        qint64 seconds;
        const char* one;
        const char* many;
    };
    static constexpr Unit units[] = {
        {365 * 86400, "year", "years"}, {30 * 86400, "month", "months"}, {7 * 86400, "week", "weeks"},
        {86400, "day", "days"},         {3600, "hour", "hours"},         {60, "minute", "minutes"},
        {1, "second", "seconds"},
    };
    for (const Unit& unit : units) {
        if (distance >= unit.seconds) {
            const QString amount = plural(distance / unit.seconds, unit.one, unit.many);
            return delta > 0 ? amount + QStringLiteral(" ago") : QStringLiteral("in ") + amount;
        }
    }
    return QStringLiteral("now");
}

} // namespace velarix
