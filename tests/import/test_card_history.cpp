#include "core/Await.h"
#include "import/OutputPlan.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/TestSupport.h"

#include <QTest>

using namespace velarix;
using namespace velarix::test;

namespace {

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m, s));
}

VideoFileRowPtr clip(const QString& name, const QDateTime& created, double duration) {
    auto row = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/") + name, created, 100);
    row->setDuration(duration);
    return row;
}

LoggedJump logged(qint64 jump, const QDateTime& start, const QDateTime& end, const QString& card) {
    return {start.date(), jump, start, end, card, {card}};
}

// "4 CHEST" for a number from the log, "9" for one from the counter.
QStringList numbers(const QList<ResolvedOutputFile>& plan) {
    QStringList list;
    for (const auto& file : plan)
        list.append(file.jumpLoggedOn ? QStringLiteral("%1 %2").arg(file.jump).arg(*file.jumpLoggedOn)
                                      : QString::number(file.jump));
    return list;
}

} // namespace

class CardHistoryTest : public ModelFixture {
    Q_OBJECT

    void loadAndSelectAll(const QString& root) {
        QVERIFY(awaitFuture(model->loadSDCard(root, *store)).ok());
        QSet<QString> all;
        for (const auto& row : model->videoFiles())
            all.insert(row->id());
        model->setSelection(all);
    }

private Q_SLOTS:
    // The chest camera logged jumps 4 and 5; the helmet camera's clock is off by `offset` minutes.
    void aSecondCameraTakesTheLoggedNumbers_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("grouping");
        QTest::addColumn<qint64>("tolerance");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<qint64>("next");
        QTest::newRow("clocks agree")
            << 0 << true << qint64(600) << QStringList{"4 CHEST", "5 CHEST", "9"} << qint64(10);
        QTest::newRow("helmet 7 min fast")
            << 7 << true << qint64(600) << QStringList{"4 CHEST", "5 CHEST", "9"} << qint64(10);
        QTest::newRow("helmet 9 min slow")
            << -9 << true << qint64(600) << QStringList{"4 CHEST", "5 CHEST", "9"} << qint64(10);
        QTest::newRow("17 min off: beyond the tolerance")
            << 17 << true << qint64(600) << QStringList{"9", "10", "11"} << qint64(12);
        QTest::newRow("17 min off, tolerance 20 min")
            << 17 << true << qint64(1200) << QStringList{"4 CHEST", "5 CHEST", "9"} << qint64(10);
        QTest::newRow("grouping off: the counter, as without a log")
            << 0 << false << qint64(600) << QStringList{"9", "10", "11", "12"} << qint64(13);
    }
    void aSecondCameraTakesTheLoggedNumbers() {
        QFETCH(int, offset);
        QFETCH(bool, grouping);
        QFETCH(qint64, tolerance);
        QFETCH(QStringList, expected);
        QFETCH(qint64, next);
        const QList<LoggedJump> log{logged(4, at(10, 0), at(10, 5), "CHEST"),
                                    logged(5, at(11, 0), at(11, 6), "CHEST")};
        const qint64 shift = offset * 60;
        VideoFileList clips{clip("GX010001.MP4", at(10, 1).addSecs(shift), 240),
                            clip("GX010002.MP4", at(11, 0).addSecs(shift), 300),
                            clip("GX010003.MP4", at(14, 0).addSecs(shift), 200)};
        if (!grouping) // grouped, this canopy clip would share jump 5
            clips.append(clip("GX010004.MP4", at(11, 6).addSecs(shift), 100));
        const auto plan = resolveOutputFiles({clips, 9, grouping, "{jump} {filename}", "HELMET", at(18, 0)},
                                             log, tolerance);
        QCOMPARE(numbers(plan), expected);
        QCOMPARE(nextJumpNumber(plan), std::optional<qint64>(next));
        // A number from the log also names the file.
        QCOMPARE(plan.first().fileName, QStringLiteral("%1 GX010001.MP4").arg(plan.first().jump));
    }

    // A clip grouped with one of a logged jump shares its number even outside the span; the
    // nearest of two jumps wins; a card whose clips all are logged leaves the counter alone.
    void groupingAndTheNearestJump() {
        const QList<LoggedJump> log{logged(4, at(10, 0), at(10, 2), "CHEST"),
                                    logged(5, at(10, 20), at(10, 22), "CHEST")};
        const VideoFileList clips{clip("A.MP4", at(10, 1), 60), clip("B.MP4", at(10, 14), 60),
                                  clip("C.MP4", at(10, 19), 60)};
        const auto plan =
            resolveOutputFiles({clips, 9, true, "{jump} {filename}", "HELMET", at(18, 0)}, log, 600);
        // B (10:14) is 12 min after jump 4 and 6 min before jump 5.
        QCOMPARE(numbers(plan), (QStringList{"4 CHEST", "5 CHEST", "5 CHEST"}));
        QCOMPARE(nextJumpNumber(plan), std::nullopt);

        const VideoFileList late{clip("A.MP4", at(10, 1), 60), clip("D.MP4", at(10, 30), 600),
                                 clip("E.MP4", at(10, 43), 60)};
        // D starts 8 min after jump 5 ends; E follows D within the grouping slack, 21 min after it.
        QCOMPARE(numbers(resolveOutputFiles({late, 9, true, "{jump}", "H", at(18, 0)}, log, 300)),
                 (QStringList{"4 CHEST", "9", "9"}));
    }

    // velarix-cli importing the card shown: the model sees the store change and marks the clip.
    void anotherProcessRecordsTheCardShown() {
        freshCard();
        openModel();
        card->addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        QVERIFY(awaitFuture(model->loadSDCard(card->root(), *store)).ok());
        QCOMPARE(model->cardImportState().recordCount(), 0);
        {
            auto other = std::move(HistoryStore::open(home->storeFile()).value());
            const auto row = model->videoFiles().first();
            QVERIFY(
                other->insertImportHistory(CardFile{row->fileName(), row->relativePath(), row->fileSize()},
                                           *model->sdCardVolumeUUID(), QDateTime::currentDateTime()));
            QVERIFY(other->save());
        }
        QTRY_COMPARE(model->cardImportState().recordCount(), 1);
        closeModel();
    }

    // End to end: the chest card's import logs its jumps; the helmet card, its clock 6 minutes fast,
    // is planned with them and logs itself beside them without moving them.
    void twoCardsShareTheLog() {
        freshCard();
        openModel();
        model->setOutputLocation(home->destination());
        model->setFolderOpener([](const QString&) {});
        FakeCard chest = home->addCard("CHEST");
        chest.addVideo("100GOPRO/GX010001.MP4", 2, at(10, 0));
        chest.addVideo("100GOPRO/GX010002.MP4", 1, at(10, 3));
        chest.addVideo("100GOPRO/GX010003.MP4", 1, at(11, 0));
        FakeCard helmet = home->addCard("HELMET");
        helmet.addVideo("100GOPRO/GX010001.MP4", 1, at(10, 6));
        helmet.addVideo("100GOPRO/GX010002.MP4", 1, at(11, 6));
        helmet.addVideo("100GOPRO/GX010003.MP4", 1, at(13, 30));

        model->setJumpNumber(4);
        loadAndSelectAll(chest.root());
        QCOMPARE(numbers(model->resolvedOutputFiles()), (QStringList{"4", "4", "5"}));
        QCOMPARE(awaitFuture(model->importSelectedVideos(*store)).imported.size(), 3);
        QCOMPARE(model->jumpNumber(), 6);

        loadAndSelectAll(helmet.root());
        QCOMPARE(model->jumpLog().size(), 2);
        QCOMPARE(numbers(model->resolvedOutputFiles()), (QStringList{"4 CHEST", "5 CHEST", "6"}));
        QCOMPARE(model->resolvedOutputFiles().first().fileName,
                 QStringLiteral("2024-05-01/4 HELMET GX010001.MP4"));
        ImportOptions unverified;
        unverified.verify = false;
        QCOMPARE(awaitFuture(model->importSelectedVideos(*store, unverified)).imported.size(), 3);
        QCOMPARE(model->jumpNumber(), 7);

        const auto log = store->fetchJumpLog({QDate(2024, 5, 1)}).value();
        QCOMPARE(log.size(), 3);
        QCOMPARE(log[0].jump, 4);
        QCOMPARE(log[0].cardNames, (QStringList{"CHEST", "HELMET"}));
        QCOMPARE(log[0].start, at(10, 0));
        QVERIFY(log[0].end < at(10, 4)); // the helmet's 10:06 clip did not stretch it
        QCOMPARE(log[2].jump, 6);
        QCOMPARE(log[2].cardName, QStringLiteral("HELMET"));
        QVERIFY(store->fetchJumpLog({QDate(2024, 5, 2)}).value().isEmpty());

        // The helmet's records say its copies were not verified; the model re-reads them after the
        // import, and Select All New leaves them out and says how many.
        QTRY_VERIFY(model->cardImportState().recordCount() == 3);
        const auto row = model->videoFiles().first();
        QCOMPARE(model->cardImportState().isVerified(importStateVideos({row}).first()), std::optional(false));
        QCOMPARE(model->selectAllNew(*store), 3);
        QVERIFY(model->selection().isEmpty());
        closeModel();
    }
};

QTEST_GUILESS_MAIN(CardHistoryTest)
#include "test_card_history.moc"
