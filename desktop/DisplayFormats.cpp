#include "desktop/DisplayFormats.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

namespace velarix {

namespace {

QString decimal(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString text(const char* source, qint64 n = -1) {
    return QCoreApplication::translate("velarix::DisplayFormats", source, nullptr, int(n));
}

} // namespace

QString formatByteCount(quint64 bytes) {
    if (bytes < 1000)
        return QCoreApplication::translate("velarix::DisplayFormats", "%n byte(s)", nullptr, int(bytes));
    //: Units of 1000 bytes ("Ko", "Mo" in French)
    static constexpr const char* units[] = {QT_TRANSLATE_NOOP("velarix::DisplayFormats", "%1 KB"),
                                            QT_TRANSLATE_NOOP("velarix::DisplayFormats", "%1 MB"),
                                            QT_TRANSLATE_NOOP("velarix::DisplayFormats", "%1 GB"),
                                            QT_TRANSLATE_NOOP("velarix::DisplayFormats", "%1 TB"),
                                            QT_TRANSLATE_NOOP("velarix::DisplayFormats", "%1 PB")};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    // 999,960 bytes round to "1,000.0 KB": that is "1.0 MB".
    while (std::round(value * 10) >= 10000 && unit + 1 < int(std::size(units))) {
        value /= 1000.0;
        ++unit;
    }
    return text(units[unit]).arg(decimal(value, 1));
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
        //: Abbreviated hours of a duration
        parts << QCoreApplication::translate("velarix::DisplayFormats", "%1 hr").arg(hours);
    if (minutes > 0)
        //: Abbreviated minutes of a duration
        parts << QCoreApplication::translate("velarix::DisplayFormats", "%1 min").arg(minutes);
    if (secs > 0 && hours == 0)
        //: Abbreviated seconds of a duration
        parts << QCoreApplication::translate("velarix::DisplayFormats", "%1 sec").arg(secs);
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
    //: A moment relative to now
    const QString nowText = QCoreApplication::translate("velarix::DisplayFormats", "now");
    if (distance < 1)
        return nowText;
    // Whole phrases: other languages put the number elsewhere and inflect the unit ("vor 3 Tagen").
    struct Unit {
        qint64 seconds;
        const char* ago;
        const char* in;
    };
    static constexpr Unit units[] = {
        {365 * 86400, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n year(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n year(s)")},
        {30 * 86400, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n month(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n month(s)")},
        {7 * 86400, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n week(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n week(s)")},
        {86400, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n day(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n day(s)")},
        {3600, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n hour(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n hour(s)")},
        {60, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n minute(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n minute(s)")},
        {1, QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "%n second(s) ago"),
         QT_TRANSLATE_N_NOOP("velarix::DisplayFormats", "in %n second(s)")},
    };
    for (const Unit& unit : units) {
        if (distance >= unit.seconds)
            return text(delta > 0 ? unit.ago : unit.in, distance / unit.seconds);
    }
    return nowText;
}

} // namespace velarix
