#include "Velarix/widgets/DisplayFormats.h"

#include <QLocale>

#include <cmath>

namespace velarix {

namespace {

QString decimal(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString plural(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

QString formatByteCount(quint64 bytes) {
    if (bytes < 1000)
        return bytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(bytes);
    static constexpr const char* units[] = {"KB", "MB", "GB", "TB", "PB"};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    // 999,960 bytes round to "1,000.0 KB": that is "1.0 MB".
    while (std::round(value * 10) >= 10000 && unit + 1 < int(std::size(units))) {
        value /= 1000.0;
        ++unit;
    }
    return decimal(value, 1) + QLatin1Char(' ') + QLatin1String(units[unit]);
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

QString formatCompactDuration(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return QStringLiteral("-:-");
    const qint64 total = std::max<qint64>(1, std::llround(seconds));
    const QString minutesAndSeconds = QStringLiteral("%1:%2")
                                          .arg(total % 3600 / 60, total >= 3600 ? 2 : 1, 10, QLatin1Char('0'))
                                          .arg(total % 60, 2, 10, QLatin1Char('0'));
    return total >= 3600 ? QStringLiteral("%1:").arg(total / 3600) + minutesAndSeconds : minutesAndSeconds;
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
