#include "tests/support/TestSupport.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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

QJsonValue cliJson(const ProcessResult& result) {
    const auto document = QJsonDocument::fromJson(result.out);
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

bool executeSql(const QString& databaseFile, const QStringList& statements) {
    const QString name = QStringLiteral("test-editor");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databaseFile);
        ok = db.open();
        QSqlQuery query(db);
        for (qsizetype i = 0; ok && i < statements.size(); ++i) {
            ok = query.exec(statements.at(i));
            if (!ok)
                qWarning("%s: %s", qPrintable(statements.at(i)), qPrintable(query.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool refuseHistoryDeletes(const QString& databaseFile, bool refuse) {
    return executeSql(databaseFile,
                      {refuse
                           ? QStringLiteral("CREATE TRIGGER refuse_deletes BEFORE DELETE ON import_history "
                                            "BEGIN SELECT RAISE(ABORT, 'the disk refused the write'); END")
                           : QStringLiteral("DROP TRIGGER refuse_deletes")});
}

} // namespace velarix::test
