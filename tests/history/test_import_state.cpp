#include "history/HistoryStore.h"
#include "history/ImportState.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velarix;

class ImportStateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void marksImportedAndNewer() {
        QTemporaryDir dir;
        auto store = std::move(HistoryStore::open(dir.filePath("default.store")).value());
        const QDateTime now = QDateTime::currentDateTime();
        for (const char* name : {"B.MP4", "B.MP4", "C.MP4"})
            QVERIFY(store->insertImportHistory(name, "CARD", now).ok());
        QVERIFY(store->insertImportHistory("D.MP4", "OTHER", now).ok());
        QVERIFY(store->save().ok());

        const QDateTime t0(QDate(2024, 5, 1), QTime(10, 0));
        const QList<ImportState::Video> videos{
            {"A.MP4", t0.addSecs(60)}, {"B.MP4", t0}, {"D.MP4", t0.addSecs(120)}, {"E.MP4", t0}};
        ImportState state;
        state.refresh(*store, QString("CARD"), videos);
        QCOMPARE(state.importedFileNames(), (QSet<QString>{"B.MP4", "C.MP4"}));
        QCOMPARE(state.latestImportedCreated(), std::optional(t0));
        QCOMPARE(state.status("B.MP4", t0), ImportStatus::imported);
        QCOMPARE(state.status("A.MP4", t0.addSecs(60)), ImportStatus::newVideo);
        QCOMPARE(state.status("D.MP4", t0.addSecs(120)), ImportStatus::newVideo); // another card's file
        QCOMPARE(state.status("E.MP4", t0), ImportStatus::unmarked);              // same time: not newer

        state.refresh(*store, std::nullopt, videos);
        QCOMPARE(state.status("B.MP4", t0), ImportStatus::unmarked);
        QCOMPARE(state.status("A.MP4", t0.addSecs(60)), ImportStatus::unmarked);

        QVERIFY(clearCardHistory(*store, "CARD"));
        state.refresh(*store, QString("CARD"), videos);
        QVERIFY(state.importedFileNames().isEmpty());
        QCOMPARE(store->fetchImportHistory("OTHER").value().size(), 1);
    }
};

QTEST_GUILESS_MAIN(ImportStateTest)
#include "test_import_state.moc"
