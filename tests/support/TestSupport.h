#pragma once

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

// Runs velarix-cli with the given arguments.
ProcessResult runCli(const QStringList& arguments,
                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

} // namespace velarix::test
