#include "cli/CliSession.h"

#include <QJsonArray>
#include <QJsonObject>

namespace velarix::cli {

namespace {

int runJumps(Invocation& invocation) {
    std::optional<QDate> day;
    const QStringList& words = invocation.arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == QLatin1String("--date") && i + 1 < words.size()) {
            day = QDate::fromString(words[++i], Qt::ISODate);
            if (!day->isValid())
                return usageError(invocation, QStringLiteral("--date needs a day such as 2024-05-01"));
        } else {
            return usageError(invocation, words[i] == QLatin1String("--date")
                                              ? QStringLiteral("--date needs a day such as 2024-05-01")
                                              : QStringLiteral("unknown option '%1'").arg(words[i]));
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
    for (const LoggedJump& jump : *log) {
        jumps.append(QJsonObject{{QStringLiteral("date"), jump.day.toString(Qt::ISODate)},
                                 {QStringLiteral("jump"), double(jump.jump)},
                                 {QStringLiteral("start"), isoDate(jump.start)},
                                 {QStringLiteral("end"), isoDate(jump.end)},
                                 {QStringLiteral("card"), jump.cardName},
                                 {QStringLiteral("cards"), QJsonArray::fromStringList(jump.cardNames)}});
        if (!invocation.json)
            invocation.out << jump.day.toString(Qt::ISODate) << "  jump "
                           << QString::number(jump.jump).leftJustified(5) << " "
                           << jump.start.toLocalTime().toString(QStringLiteral("HH:mm:ss"))
                           << QStringLiteral("\u2013")
                           << jump.end.toLocalTime().toString(QStringLiteral("HH:mm:ss")) << "  "
                           << printable(jump.cardNames.join(QStringLiteral(", "))) << '\n';
    }
    if (invocation.json)
        printJsonLine(invocation.out, QJsonObject{{QStringLiteral("jumps"), jumps}});
    else if (log->isEmpty())
        invocation.out << (day ? QStringLiteral("No jumps logged on %1.\n").arg(day->toString(Qt::ISODate))
                               : QStringLiteral("No jumps logged yet.\n"));
    return kExitOk;
}

const CommandRegistration registration(
    {QStringLiteral("jumps"), QStringLiteral("jumps [--date YYYY-MM-DD]"),
     QStringLiteral("lists the jump log: each imported jump's number, day, time and cards"), runJumps});

} // namespace
} // namespace velarix::cli
