#include "Velarix/widgets/SpokenText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <cmath>

namespace velarix {

namespace {

// The context of these texts for translators.
class SpokenText {
    Q_DECLARE_TR_FUNCTIONS(velarix::SpokenText)
};

QString spokenParts(qint64 total, bool zero) {
    const qint64 hours = total / 3600;
    const qint64 minutes = total % 3600 / 60;
    const qint64 seconds = total % 60;
    QStringList parts;
    if (hours > 0)
        parts << SpokenText::tr("%n hour(s)", nullptr, int(hours));
    if (minutes > 0)
        parts << SpokenText::tr("%n minute(s)", nullptr, int(minutes));
    // Seconds are noise beside hours, but a clip time is read to the second.
    if (seconds > 0 && (hours == 0 || zero))
        parts << SpokenText::tr("%n second(s)", nullptr, int(seconds));
    if (parts.isEmpty())
        parts << SpokenText::tr("%n second(s)", nullptr, 0);
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString spokenDuration(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return QString();
    return spokenParts(std::max<qint64>(1, std::llround(seconds)), false);
}

QString spokenClipTime(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        return spokenParts(0, true);
    // Floored as the clock beside it shows it.
    return spokenParts(qint64(std::floor(seconds)), true);
}

QString spokenMoment(const QDateTime& moment, const QDateTime& now) {
    const QLocale locale;
    const QDateTime local = moment.toLocalTime();
    const QString time = locale.toString(local.time(), QLocale::ShortFormat);
    const qint64 days = local.date().daysTo(now.toLocalTime().date());
    if (days == 0)
        return SpokenText::tr("today %1").arg(time);
    if (days == 1)
        return SpokenText::tr("yesterday %1").arg(time);
    return locale.toString(local.date(), QLocale::LongFormat) + QLatin1Char(' ') + time;
}

} // namespace velarix
