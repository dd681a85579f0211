#include "tests/support/TestSupport.h"

namespace velarix::test {

ProcessResult runProcess(const QString& program, const QStringList& arguments, int timeoutMs,
                         const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForStarted()) {
        result.err = process.errorString().toUtf8();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = "timed out";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

ProcessResult runCli(const QStringList& arguments, const QProcessEnvironment& environment) {
    return runProcess(QStringLiteral(VELARIX_CLI_PATH), arguments, 600'000, environment);
}

} // namespace velarix::test
