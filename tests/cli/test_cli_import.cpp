#include "tests/support/CardTest.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace velarix::test;

namespace {
QDateTime at(int h, int m) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m));
}
} // namespace

class CliImportTest : public CardTest {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        freshCard();
        card->addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        card->addVideo("100GOPRO/GX010002.MP4", 2, at(10, 3));
        card->addFile("100GOPRO/GX010002.LRV", "proxy", at(10, 3));
    }

    // --trim: the copies are analysed and cut to their suggestions; the card's files stay as they were.
    void importThenTrim() {
        const QString jump = home->path("jump.mp4");
        QCOMPARE(makeClip(jump, ClipRecipe::jump()), QString());
        QFile clip(jump);
        QVERIFY(clip.open(QIODevice::ReadOnly));
        const QString onCard = card->addFile("100GOPRO/GX010009.MP4", clip.readAll(), at(11, 0));
        const QByteArray cardDigest = fileDigest(onCard);
        auto run = runCli({"import", "GX010009.MP4", "--dest", home->destination(), "--trim"});
        QCOMPARE(run.exitCode, 0);
        const QString copy = home->destination() + "/2024-05-01/1 CARD GX010009.MP4";
        QVERIFY2(containerDuration(copy) < 150 - 15, run.out.constData());
        QCOMPARE(fileDigest(onCard), cardDigest);
        QVERIFY2(run.out.contains("Done. Trimmed 1 video."), run.out.constData());
    }

    void scanPlanImportHistory() {
        auto cards = runCli({"cards", "--json"});
        QCOMPARE(cards.exitCode, 0);
        QCOMPARE(cliJson(cards).toArray().at(0)["path"].toString(), card->root());
        QVERIFY(cliJson(cards).toArray().at(0)["spaceAvailable"].toDouble() > 0);

        auto scan = runCli({"--json", "scan"});
        QCOMPARE(scan.exitCode, 0);
        const QJsonArray videos = cliJson(scan)["videos"].toArray();
        QCOMPARE(videos.size(), 2);
        QCOMPARE(videos[0]["file"].toString(), QStringLiteral("GX010002.MP4"));
        QCOMPARE(qRound(videos[0]["duration"].toDouble()), 2);
        QCOMPARE(QDateTime::fromString(videos[0]["created"].toString(), Qt::ISODate), at(10, 3));
        QCOMPARE(videos[0]["state"].toString(), QStringLiteral("new")); // a card never seen: all new

        auto plan = runCli(
            {"plan", "--json", "--jump", "7", "--name", "Tandem", "--pattern", "{jump}-{name}-{filename}"});
        QCOMPARE(plan.exitCode, 0);
        QCOMPARE(cliJson(plan).toArray().at(1)["fileName"].toString(),
                 QStringLiteral("7-Tandem-GX010002.MP4"));
        QCOMPARE(cliJson(plan).toArray().at(1)["jump"].toInt(), 7);

        auto import =
            runCli({"import", "--json", "GX010001.MP4", "--dest", home->destination(), "--no-verify"});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(cliJson(import)["imported"].toArray().size(), 1);
        QCOMPARE(cliJson(import)["cancelled"].toBool(), false);
        QVERIFY(QFileInfo::exists(home->destination() + "/2024-05-01/1 CARD GX010001.MP4"));

        // The new clip is the one not yet imported; the jump number advanced in the settings.
        card->addVideo("101GOPRO/GX010003.MP4", 1, at(12, 0));
        scan = runCli({"scan", "--json"});
        QStringList states;
        for (const auto& video : cliJson(scan)["videos"].toArray())
            states.append(video.toObject()["state"].toString());
        QCOMPARE(states, (QStringList{"new", "new", "imported"}));
        import = runCli({"import", "--new", "--json", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QStringList destinations;
        for (const auto& file : cliJson(import)["imported"].toArray())
            destinations.append(QFileInfo(file.toObject()["destination"].toString()).fileName());
        // GX010002 began 3 minutes after jump 1's clip: the jump log gives it that jump's number, and
        // the proxy beside it comes along under its video's planned name.
        QCOMPARE(destinations,
                 (QStringList{"1 CARD GX010002.MP4", "1 CARD GX010002.LRV", "2 CARD GX010003.MP4"}));

        auto history = runCli({"history", "--json"});
        QCOMPARE(cliJson(history)["files"].toArray().size(), 4); // the proxy is recorded too
        QCOMPARE(cliJson(history)["card"]["name"].toString(), QStringLiteral("CARD"));
        // A store that refuses the delete: the command says why and the records stay.
        const QString store = home->path() + "/data/app.tarnwick.Velarix/default.store";
        QVERIFY(refuseHistoryDeletes(store));
        history = runCli({"history", "--clear", "--card", card->root()});
        QCOMPARE(history.exitCode, 2);
        QVERIFY2(history.err.contains("could not be cleared") && history.err.contains("refused the write"),
                 history.err.constData());
        QCOMPARE(cliJson(runCli({"history", "--json"}))["files"].toArray().size(), 4);
        QVERIFY(refuseHistoryDeletes(store, false));
        history = runCli({"history", "--clear", "--json", "--card", card->root()});
        QCOMPARE(history.exitCode, 0);
        QVERIFY(cliJson(history)["files"].toArray().isEmpty());
    }

    void failuresAndBadUsage() {
        card->addFile("100GOPRO/EMPTY.MP4", QByteArray(), at(9, 0));
        auto import = runCli({"import", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 1);
        QVERIFY(import.err.contains("EMPTY.MP4: Invalid file size"));
        // --new leaves the empty file out and says so, rather than fail on it every time.
        auto again = runCli({"import", "--new", "--dest", home->destination()});
        QVERIFY2(again.exitCode == 0, again.err.constData());
        QVERIFY2(again.err.contains("left out an empty file") && again.err.contains("EMPTY.MP4"),
                 again.err.constData());

        // A destination that is not there (an unplugged drive) is refused before anything is made,
        // with or without subfolders in the pattern: they would land on the system disk.
        const QString absent = home->path("unplugged/Videos");
        for (const char* pattern : {"{filename}", "{date}/{filename}"}) {
            auto nowhere = runCli({"import", "--all", "--pattern", pattern, "--dest", absent});
            QCOMPARE(nowhere.exitCode, 2);
            QVERIFY2(nowhere.err.contains(("The destination folder " + absent + " does not exist").toUtf8()),
                     nowhere.err.constData());
            QVERIFY(!QFileInfo::exists(home->path("unplugged")));
        }

        const QList<QStringList> bad{{"scan", "--bogus"},          {"plan", "--jump", "abc"},
                                     {"plan", "NOPE.MP4"},         {"scan", "--card", home->path()},
                                     {"import", "--all", "--new"}, {"cards", "extra"}};
        for (const QStringList& arguments : bad) {
            const auto result = runCli(arguments);
            QVERIFY2(result.exitCode == 2, qPrintable(arguments.join(' ')));
            QVERIFY(!result.err.isEmpty());
        }
        QVERIFY(QDir(card->root()).removeRecursively());
        QCOMPARE(runCli({"scan"}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(CliImportTest)
#include "test_cli_import.moc"
