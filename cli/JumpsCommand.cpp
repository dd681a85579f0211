#include "cli/CliSession.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

namespace velarix::cli {

namespace {

int runJumps(Invocation& invocation) {
    std::optional<QDate> day;
    const QStringList& words = invocation.arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == QLatin1String("--date") && i + 1 < words.size()) {
            day = QDate::fromString(words[++i], Qt::ISODate);
            if (!day->isValid())
                return usageError(invocation, QCoreApplication::translate(
                                                  "velarix-cli", "--date needs a day such as 2024-05-01"));
        } else {
            return usageError(
                invocation,
                words[i] == QLatin1String("--date")
                    ? QCoreApplication::translate("velarix-cli", "--date needs a day such as 2024-05-01")
                    : QCoreApplication::translate("velarix-cli", "unknown option '%1'").arg(words[i]));
        }
    }
    auto session = CliSession::open();
    if (!session) {
        invocation.err << "velarix-cli: " << session.error().message << '\n';
        return kExitUsage;
    }
    auto log = (*session)->store().fetchJumpLog(day ? QList<QDate>{*day} : QList<QDate>());
    if (!log) {
        invocation.err << "velarix-cli: " << log.error().message << '\n';
        return kExitUsage;
    }
    QJsonArray jumps;
    const QLocale locale;
    for (const LoggedJump& jump : *log) {
        jumps.append(QJsonObject{{QStringLiteral("date"), jump.day.toString(Qt::ISODate)},
                                 {QStringLiteral("jump"), double(jump.jump)},
                                 {QStringLiteral("start"), isoDate(jump.start)},
                                 {QStringLiteral("end"), isoDate(jump.end)},
                                 {QStringLiteral("card"), jump.cardName},
                                 {QStringLiteral("cards"), QJsonArray::fromStringList(jump.cardNames)}});
        if (!invocation.json)
            invocation.out
                << locale.toString(jump.day, QLocale::ShortFormat) << "  "
                << QCoreApplication::translate("velarix-cli", "jump %1").arg(jump.jump).leftJustified(12)
                << locale.toString(jump.start.toLocalTime().time(), QLocale::ShortFormat)
                << QStringLiteral("\u2013")
                << locale.toString(jump.end.toLocalTime().time(), QLocale::ShortFormat) << "  "
                << printable(jump.cardNames.join(QStringLiteral(", "))) << '\n';
    }
    if (invocation.json)
        printJsonLine(invocation.out, QJsonObject{{QStringLiteral("jumps"), jumps}});
    else if (log->isEmpty())
        invocation.out << (day ? QCoreApplication::translate("velarix-cli", "No jumps logged on %1.")
                                     .arg(locale.toString(*day, QLocale::ShortFormat))
                               : QCoreApplication::translate("velarix-cli", "No jumps logged yet."))
                       << '\n';
    return kExitOk;
}

const CommandRegistration registration(
    {QStringLiteral("jumps"), QStringLiteral("jumps [--date YYYY-MM-DD]"),
     QT_TRANSLATE_NOOP("velarix-cli", "lists the jump log: each imported jump's number, day, time and cards"),
     runJumps});

} // namespace
} // namespace velarix::cli
