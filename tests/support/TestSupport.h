#pragma once

#include <QJsonValue>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace velarix::test {

// Runs a command to the end and gives its exit code, stdout and stderr.
struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProcessResult runProcess(const QString& program, const QStringList& arguments, int timeoutMs = 120'000,
                         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
// The JSON a velarix-cli run printed: its array or its object.
QJsonValue cliJson(const ProcessResult& result);

// Runs velarix-cli with the given arguments.
ProcessResult runCli(const QStringList& arguments,
                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// A file's bytes, empty when it cannot be read.
QByteArray readFile(const QString& path);
// Writes a whole file; false when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);
// The names in a folder, hidden ones included, sorted.
QStringList folderEntries(const QString& folder);

// Runs SQL on a database file over a connection of its own, as another program would; false with a
// warning when a statement fails.
bool executeSql(const QString& databaseFile, const QStringList& statements);

// Makes every delete of import records in the store at `databaseFile` fail, as a store that cannot
// be written would; `refuse` false undoes it.
bool refuseHistoryDeletes(const QString& databaseFile, bool refuse = true);

} // namespace velarix::test
