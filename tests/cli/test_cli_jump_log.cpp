#include "tests/support/CardTest.h"
#include "tests/support/TestSupport.h"

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

// The jump log and the verification record as velarix-cli shows them.
class CliJumpLogTest : public CardTest {
    Q_OBJECT

private Q_SLOTS:
    void unverifiedImportAndASecondCamera() {
        freshCard();
        card->addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        card->addVideo("100GOPRO/GX010002.MP4", 1, at(11, 0));
        FakeCard helmet = home->addCard("HELMET");
        helmet.addVideo("100GOPRO/GX010001.MP4", 1, at(10, 8)); // its clock 8 minutes fast
        helmet.addVideo("100GOPRO/GX010002.MP4", 1, at(12, 30));

        auto run = runCli(
            {"import", "--card", card->root(), "--dest", home->destination(), "--no-verify", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray imported = cliJson(run)["imported"].toArray();
        QCOMPARE(imported.size(), 2);
        QCOMPARE(imported[0]["verified"], QJsonValue(false));
        QCOMPARE(imported[0]["jump"].toInt(), 1);
        QCOMPARE(imported[0]["loggedJump"], QJsonValue());

        const auto history = runCli({"history", "--card", card->root(), "--json"});
        QCOMPARE(history.exitCode, 0);
        QCOMPARE(cliJson(history)["files"].toArray().size(), 2);
        QCOMPARE(cliJson(history)["files"][0]["verified"], QJsonValue(false));
        QVERIFY2(runCli({"history", "--card", card->root()}).out.contains("(not verified)"),
                 history.out.constData());

        // --new leaves the unverified copies out and says so.
        const auto again = runCli({"plan", "--card", card->root(), "--new"});
        QCOMPARE(again.exitCode, 0);
        QVERIFY2(again.err.contains("2 videos imported without verification are not selected"),
                 again.err.constData());

        auto jumps = runCli({"jumps", "--date", "2024-05-01", "--json"});
        QCOMPARE(jumps.exitCode, 0);
        const QJsonArray log = cliJson(jumps)["jumps"].toArray();
        QCOMPARE(log.size(), 2);
        QCOMPARE(log[0]["jump"].toInt(), 1);
        QCOMPARE(log[1]["jump"].toInt(), 2);
        QCOMPARE(log[0]["card"].toString(), QStringLiteral("CARD"));
        QVERIFY(cliJson(runCli({"jumps", "--date", "2024-05-02", "--json"}))["jumps"].toArray().isEmpty());
        QCOMPARE(runCli({"jumps", "--date", "May"}).exitCode, 2);

        // The helmet's clip of jump 1 takes it from the log; its other clip, the counter's next.
        const auto scan = runCli({"scan", "--card", helmet.root(), "--json"});
        const QJsonArray videos = cliJson(scan)["videos"].toArray();
        QCOMPARE(videos[1]["loggedJump"]["jump"].toInt(), 1); // newest first
        QCOMPARE(videos[0]["loggedJump"], QJsonValue());
        const auto plan = runCli({"plan", "--card", helmet.root(), "--json"});
        QCOMPARE(cliJson(plan)[0]["jump"].toInt(), 1);
        QCOMPARE(cliJson(plan)[0]["loggedJump"]["card"].toString(), QStringLiteral("CARD"));
        QCOMPARE(cliJson(plan)[1]["jump"].toInt(), 3);
        QVERIFY2(runCli({"plan", "--card", helmet.root()}).out.contains("(jump 1, as on CARD)"),
                 plan.out.constData());
    }
};

QTEST_GUILESS_MAIN(CliJumpLogTest)
#include "test_cli_jump_log.moc"
