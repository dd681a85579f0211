#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "history/ImportState.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

namespace {
ImportState::Video video(const QString& relativePath, const QDateTime& created, qint64 size = 100) {
    return {relativePath.section(u'/', -1), created, relativePath, size, false};
}
} // namespace

class ImportStateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void marksImportedAndNewer() {
        QTemporaryDir dir;
        auto store = std::move(HistoryStore::open(dir.filePath("default.store")).value());
        const QDateTime now = QDateTime::currentDateTime();
        for (const char* path : {"DCIM/100/B.MP4", "DCIM/100/B.MP4", "DCIM/100/C.MP4"})
            QVERIFY(store
                        ->insertImportHistory(CardFile{QString(path).section(u'/', -1), QString(path), 100},
                                              "CARD", now)
                        .ok());
        QVERIFY(store->insertImportHistory(CardFile{"D.MP4", "DCIM/100/D.MP4", 100}, "OTHER", now).ok());
        QVERIFY(store->save().ok());

        const QDateTime t0(QDate(2024, 5, 1), QTime(10, 0));
        const QList<ImportState::Video> videos{
            video("DCIM/100/A.MP4", t0.addSecs(60)), video("DCIM/100/B.MP4", t0),
            video("DCIM/100/D.MP4", t0.addSecs(120)), video("DCIM/100/E.MP4", t0)};
        ImportState state;
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.recordCount(), 2); // only the card's own clips are read: not C
        QCOMPARE(state.latestImportedCreated(), std::optional(t0));
        QCOMPARE(state.status(videos[1]), ImportStatus::imported);
        QCOMPARE(state.status(videos[0]), ImportStatus::newVideo);
        QCOMPARE(state.status(videos[2]), ImportStatus::newVideo); // another card's file
        QCOMPARE(state.status(videos[3]), ImportStatus::unmarked); // same time: not newer

        state.refresh(*store, std::nullopt, videos);
        QCOMPARE(state.status(videos[1]), ImportStatus::unmarked);
        QCOMPARE(state.status(videos[0]), ImportStatus::unmarked);

        // A refused delete says why and keeps the records.
        QVERIFY(refuseHistoryDeletes(store->filePath()));
        auto cleared = clearCardHistory(*store, "CARD");
        QVERIFY(!cleared);
        QVERIFY2(cleared.error().message.contains("refused the write"), qPrintable(cleared.error().message));
        QCOMPARE(store->fetchImportHistory("CARD").value().size(), 3);
        QVERIFY(refuseHistoryDeletes(store->filePath(), false));
        cleared = clearCardHistory(*store, "CARD");
        QVERIFY(cleared);
        QCOMPARE(*cleared, 3);
        // Nothing of the card left in the history: all of it is new, as on a card never seen.
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.status(videos[1]), ImportStatus::newVideo);
        QCOMPARE(state.status(videos[3]), ImportStatus::newVideo);
        QCOMPARE(store->fetchImportHistory("OTHER").value().size(), 1);
    }

    // A camera's counter reset, or a second camera on the card: the same name in two folders is
    // two clips, and a clip rewritten with other bytes is not the one that was copied.
    void aClipIsItsPathAndSize() {
        QTemporaryDir dir;
        auto store = std::move(HistoryStore::open(dir.filePath("default.store")).value());
        const QDateTime t0(QDate(2024, 5, 1), QTime(10, 0));
        QVERIFY(
            store
                ->insertImportHistory(CardFile{"GX010001.MP4", "DCIM/100GOPRO/GX010001.MP4", 100}, "CARD", t0)
                .ok());
        QVERIFY(store->save().ok());

        const QList<ImportState::Video> videos{video("DCIM/100GOPRO/GX010001.MP4", t0),
                                               video("DCIM/101GOPRO/GX010001.MP4", t0.addSecs(600)),
                                               video("DCIM/102GOPRO/GX010001.MP4", t0.addSecs(700), 100)};
        ImportState state;
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.status(videos[0]), ImportStatus::imported);
        QCOMPARE(state.status(videos[1]), ImportStatus::newVideo);
        QCOMPARE(state.status(videos[2]), ImportStatus::newVideo);
        QCOMPARE(state.status(video("DCIM/100GOPRO/GX010001.MP4", t0, 101)), ImportStatus::unmarked);

        // Unreadable files are named as such unless they were copied.
        ImportState::Video broken = video("DCIM/100GOPRO/GX010009.MP4", t0.addSecs(900));
        broken.unreadable = true;
        QCOMPARE(state.status(broken), ImportStatus::unreadable);
        ImportState::Video copiedBroken = videos[0];
        copiedBroken.unreadable = true;
        QCOMPARE(state.status(copiedBroken), ImportStatus::imported);
    }

    // Which copies were verified: one verified copy is enough; records written before it was kept
    // do not say; a worker's reader sees the same as the store.
    void verifiedCopies() {
        QTemporaryDir dir;
        auto store = std::move(HistoryStore::open(dir.filePath("default.store")).value());
        const QDateTime t0(QDate(2024, 5, 1), QTime(10, 0));
        const auto insert = [&](const char* path, bool verified) {
            QVERIFY(store->insertImportHistory(CardFile{QString(path).section(u'/', -1), path, 100}, "CARD",
                                               t0, verified));
        };
        insert("DCIM/100/A.MP4", false);
        insert("DCIM/100/B.MP4", false);
        insert("DCIM/100/B.MP4", true);
        QVERIFY(store->insertImportHistory(QString("C.MP4"), "CARD", t0));
        QVERIFY(store->save());
        const QList<ImportState::Video> videos{video("DCIM/100/A.MP4", t0), video("DCIM/100/B.MP4", t0),
                                               video("DCIM/100/C.MP4", t0), video("DCIM/100/D.MP4", t0)};
        ImportState state;
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.isVerified(videos[0]), std::optional(false));
        QCOMPARE(state.isVerified(videos[1]), std::optional(true));
        QCOMPARE(state.isVerified(videos[2]), std::nullopt);
        QCOMPARE(state.status(videos[2]), ImportStatus::imported);
        QCOMPARE(state.isVerified(videos[3]), std::nullopt);

        auto reader = std::move(HistoryReader::open(store->filePath()).value());
        ImportState read;
        read.refresh(*reader, QString("CARD"), videos);
        QCOMPARE(read.recordCount(), 4);
        QCOMPARE(read.isVerified(videos[0]), std::optional(false));
        QCOMPARE(read.status(videos[2]), ImportStatus::imported);
    }

    // Records from before paths were kept still mark their clips by name, except where the card
    // holds the name twice and the record cannot say which one was copied.
    void recordsWithoutPathMatchByName() {
        QTemporaryDir dir;
        auto store = std::move(HistoryStore::open(dir.filePath("default.store")).value());
        const QDateTime t0(QDate(2024, 5, 1), QTime(10, 0));
        for (const char* name : {"GX010001.MP4", "GX010002.MP4"})
            QVERIFY(store->insertImportHistory(QString(name), "CARD", t0).ok());
        QVERIFY(store->save().ok());

        QList<ImportState::Video> videos{video("DCIM/100GOPRO/GX010001.MP4", t0),
                                         video("DCIM/100GOPRO/GX010002.MP4", t0.addSecs(60))};
        ImportState state;
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.status(videos[0]), ImportStatus::imported);
        QCOMPARE(state.status(videos[1]), ImportStatus::imported);

        videos.append(video("DCIM/101GOPRO/GX010002.MP4", t0.addSecs(120)));
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.status(videos[0]), ImportStatus::imported);
        QCOMPARE(state.status(videos[1]), ImportStatus::newVideo);
        QCOMPARE(state.status(videos[2]), ImportStatus::newVideo);
    }
};

QTEST_GUILESS_MAIN(ImportStateTest)
#include "test_import_state.moc"
