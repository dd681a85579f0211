#pragma once

#include <QJsonValue>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace velarix::cli {

// Exit statuses: everything done, some files failed, bad usage or nothing could be done.
enum ExitStatus { kExitOk = 0, kExitSomeFailed = 1, kExitUsage = 2 };

// What a command gets: its own arguments (the command's name and --json removed) and the output mode.
struct Invocation {
    QStringList arguments;
    bool json = false;
    QTextStream& out;
    QTextStream& err;
};

struct Command {
    QString name;
    QString synopsis;    // e.g. "history [--card DIR] [--clear]"
    QString description; // one line for --help, in English: marked with QT_TRANSLATE_NOOP("velarix-cli")
    std::function<int(Invocation&)> run;
};

// Commands register themselves from their own file with a static CommandRegistration.
QList<Command>& commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command) { commands().append(std::move(command)); }
};

// The command's description in the user's language.
QString commandDescription(const Command& command);

// Prints a usage error and returns kExitUsage.
int usageError(Invocation& invocation, const QString& message);

// Writes one JSON value as a compact line.
void printJsonLine(QTextStream& out, const QJsonValue& value);

} // namespace velarix::cli
