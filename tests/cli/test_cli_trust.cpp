// What velarix-cli promises a skydiver about to format a card: a clip shows as imported only when it
// was copied and recorded, a run that could not record its copies fails, and two runs on one card
// never both copy.

#include "tests/support/CardTest.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace velarix::test;

namespace {
QDateTime at(int h, int m) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m));
}
QJsonObject object(const ProcessResult& result) {
    return QJsonDocument::fromJson(result.out).object();
}
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}
// The state column of `scan --json`, by path below the card.
QMap<QString, QString> states(const ProcessResult& scan, const QString& root) {
    QMap<QString, QString> result;
    for (const auto& video : object(scan)["videos"].toArray())
        result.insert(QDir(root).relativeFilePath(video.toObject()["path"].toString()),
                      video.toObject()["state"].toString());
    return result;
}
} // namespace

class CliTrustTest : public CardTest {
    Q_OBJECT

    QString storeFile() const { return home->path() + "/data/app.tarnwick.Velarix/default.store"; }
    QString cardUUID() {
        return QJsonDocument::fromJson(runCli({"cards", "--json"}).out)
            .array()
            .at(0)
            .toObject()["uuid"]
            .toString();
    }

private Q_SLOTS:
    void init() {
        freshCard();
        card->addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        card->addVideo("100GOPRO/GX010002.MP4", 2, at(10, 5));
    }

    // A camera's counter reset: the second GX010001.MP4 is another clip, not an imported one.
    void sameNameInTwoFolders() {
        card->addVideo("101GOPRO/GX010001.MP4", 2, at(11, 0));
        auto import =
            runCli({"import", card->root() + "/DCIM/100GOPRO/GX010001.MP4", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        auto marks = states(runCli({"scan", "--json"}), card->root());
        QCOMPARE(marks.value("DCIM/100GOPRO/GX010001.MP4"), QStringLiteral("imported"));
        QCOMPARE(marks.value("DCIM/101GOPRO/GX010001.MP4"), QStringLiteral("new"));

        import =
            runCli({"import", "--new", "--json", "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QStringList sources;
        for (const auto& file : object(import)["imported"].toArray())
            sources.append(QDir(card->root()).relativeFilePath(file.toObject()["source"].toString()));
        sources.sort();
        QCOMPARE(sources, (QStringList{"DCIM/100GOPRO/GX010002.MP4", "DCIM/101GOPRO/GX010001.MP4"}));
        marks = states(runCli({"scan", "--json"}), card->root());
        QCOMPARE(marks.values(), (QList<QString>{"imported", "imported", "imported"}));

        // Naming an imported clip again copies it, but says so.
        import = runCli({"import", "GX010002.MP4", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QVERIFY2(import.err.contains("the selected video was imported before") &&
                     import.err.contains("--new"),
                 import.err.constData());
        import = runCli({"import", "--dest", home->destination()});
        QVERIFY2(import.err.contains("all 3 selected videos were imported before"), import.err.constData());
    }

    // A store made by the first release keeps marking what it recorded, after its upgrade.
    void aFirstReleaseStoreStillMatches() {
        QDir().mkpath(QFileInfo(storeFile()).absolutePath());
        QVERIFY(QFile::copy(VELARIX_SOURCE_DIR "/tests/history/data/history-1.0.0.store", storeFile()));
        QFile::setPermissions(storeFile(), QFile::ReadOwner | QFile::WriteOwner);
        // Its records were made for a card elsewhere: they now name this one.
        const QString uuid = cardUUID();
        QVERIFY(executeSql(storeFile(),
                           {QStringLiteral("UPDATE sd_card SET id = '%1'").arg(uuid),
                            QStringLiteral("UPDATE import_history SET sd_card_id = '%1'").arg(uuid)}));
        const auto scan = runCli({"scan", "--json"});
        QCOMPARE(scan.exitCode, 0);
        QCOMPARE(object(scan)["card"].toObject()["name"].toString(), QStringLiteral("Helmet"));
        QCOMPARE(states(scan, card->root()).values(), (QList<QString>{"imported", "imported"}));
        auto import = runCli({"import", "--new", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QVERIFY(import.out.contains("No videos to import."));
    }

    void aHistoryThatCannotBeWrittenFailsTheRun() {
        QCOMPARE(runCli({"history"}).exitCode, 0); // creates the store
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VELARIX_CLI_CHUNK_DELAY_MS", "300");
        card->addFile("102GOPRO/BIG.MP4", QByteArray(3 * 1024 * 1024, 'b'), at(9, 0));
        const QString dest = home->destination();

        // Frozen while the run copies (chattr +i): nothing can be recorded.
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(VELARIX_CLI_PATH, {"import", "--json", "--dest", dest});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!filesBelow(dest).isEmpty(), 20'000);
        if (runProcess("chattr", {"+i", storeFile()}).exitCode != 0) {
            process.waitForFinished();
            QSKIP("chattr cannot freeze files on this file system");
        }
        auto thaw = qScopeGuard([&] { runProcess("chattr", {"-i", storeFile()}); });
        QVERIFY(process.waitForFinished(60'000));
        thaw.dismiss();
        runProcess("chattr", {"-i", storeFile()});
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(err.contains(storeFile().toUtf8()), err.constData());
        const QJsonObject report = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QCOMPARE(report["imported"].toArray().size(), 3);
        QVERIFY(report["historyError"].toString().contains(storeFile()));
        QCOMPARE(filesBelow(dest).size(), 3); // the copies stay
        QVERIFY(
            QJsonDocument::fromJson(runCli({"history", "--json"}).out).object()["files"].toArray().isEmpty());

        // Held by another process past the wait: "in use", not "damaged", and nothing is copied.
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        auto release = qScopeGuard([&] {
            holder.close();
            holder = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        });
        holder.setDatabaseName(storeFile());
        QVERIFY(holder.open());
        QSqlQuery exclusive(holder);
        QVERIFY(exclusive.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(QDir().mkpath(dest + "2") && QDir().mkpath(dest + "3"));
        const auto blocked = runCli({"import", "--new", "--dest", dest + "2"});
        QCOMPARE(blocked.exitCode, 2);
        QVERIFY2(blocked.err.contains("in use by another Velarix process"), blocked.err.constData());
        QVERIFY(!blocked.err.contains("not a Velarix history store"));
        QVERIFY(folderEntries(dest + "2").isEmpty());

        // Taken while the run copies: the records wait, then the run fails with its copies in place.
        exclusive.exec(QStringLiteral("ROLLBACK"));
        process.start(VELARIX_CLI_PATH, {"import", "--new", "--json", "--dest", dest + "3"});
        QTRY_VERIFY_WITH_TIMEOUT(!folderEntries(dest + "3").isEmpty(), 20'000);
        QVERIFY(exclusive.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(process.waitForFinished(60'000));
        exclusive.exec(QStringLiteral("ROLLBACK"));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("in use by another Velarix process"));
        QCOMPARE(filesBelow(dest + "3").size(), 3);
    }

    void aDamagedStoreIsNamedAndKept() {
        QDir().mkpath(QFileInfo(storeFile()).absolutePath());
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        const auto scan = runCli({"scan"});
        QCOMPARE(scan.exitCode, 2);
        QVERIFY2(scan.err.contains(storeFile().toUtf8()) && scan.err.contains("damaged") &&
                     scan.err.contains("mv "),
                 scan.err.constData());
        QCOMPARE(QFileInfo(storeFile()).size(), 4096);
    }

    // Started together on one card: one copies everything, the other refuses before copying.
    void twoImportsOfOneCard() {
        card->addFile("102GOPRO/BIG.MP4", QByteArray(4 * 1024 * 1024, 'b'), at(9, 0));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VELARIX_CLI_CHUNK_DELAY_MS", "200");
        QDir().mkpath(home->destination());
        QProcess first;
        QProcess second;
        for (QProcess* process : {&first, &second}) {
            process->setProcessEnvironment(environment);
            process->start(VELARIX_CLI_PATH, {"import", "--new", "--json", "--pattern", "{filename}",
                                              "--dest", home->destination()});
        }
        QVERIFY(first.waitForFinished(60'000) && second.waitForFinished(60'000));
        const int codes[] = {first.exitCode(), second.exitCode()};
        QVERIFY2((codes[0] == 0 && codes[1] == 2) || (codes[0] == 2 && codes[1] == 0),
                 qPrintable(QStringLiteral("%1 %2").arg(codes[0]).arg(codes[1])));
        const QByteArray refusal = (codes[0] == 2 ? first : second).readAllStandardError();
        QVERIFY2(refusal.contains("Another import from this card is already running"), refusal.constData());
        QCOMPARE(filesBelow(home->destination()), (QStringList{"BIG.MP4", "GX010001.MP4", "GX010002.MP4"}));
        // Released with the run: the card can be imported again at once.
        const auto again = runCli({"import", "GX010001.MP4", "--dest", home->destination()});
        QCOMPARE(again.exitCode, 0);
    }

    void namesThatCannotBe() {
        for (const QString& pattern : {QStringLiteral(""), QStringLiteral("  "), QStringLiteral("/")}) {
            const auto import = runCli({"import", "--pattern", pattern, "--dest", home->destination()});
            QCOMPARE(import.exitCode, 2);
            QVERIFY(import.err.contains("pattern is empty"));
        }
        QVERIFY(folderEntries(home->destination()).isEmpty());
        const auto plan =
            runCli({"plan", "--json", "--name", "Helmet/Cam", "--pattern", "{name} {filename}"});
        QCOMPARE(QJsonDocument::fromJson(plan.out).array().at(0).toObject()["fileName"].toString(),
                 QStringLiteral("Helmet_Cam GX010001.MP4"));
    }

    void unreadableVideosAreNamed() {
        card->addFile("100GOPRO/GX010003.MP4", sampleVideo(2).left(2000), at(12, 0));
        card->addFile("100GOPRO/README.MP4", "not a video", at(12, 1));
        auto scan = runCli({"scan", "--json"});
        QMap<QString, QString> errors;
        for (const auto& video : object(scan)["videos"].toArray())
            errors.insert(video.toObject()["file"].toString(), video.toObject()["error"].toString());
        QVERIFY(errors.value("GX010001.MP4").isEmpty());
        QVERIFY(!errors.value("GX010003.MP4").isEmpty());
        QVERIFY(!errors.value("README.MP4").isEmpty());
        const auto marks = states(scan, card->root());
        QCOMPARE(marks.value("DCIM/100GOPRO/README.MP4"), QStringLiteral("unreadable"));
        scan = runCli({"scan"});
        QVERIFY(scan.out.contains("unreadable"));

        QDir().mkpath(home->destination());
        const auto import =
            runCli({"import", "README.MP4", "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(filesBelow(home->destination()), QStringList{"README.MP4"});
    }
};

QTEST_GUILESS_MAIN(CliTrustTest)
#include "test_cli_trust.moc"
