#include "core/Await.h"
#include "desktop/Volumes.h"
#include "history/ImportState.h"
#include "import/RecordingStatus.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

namespace {

QDateTime at(int h, int m) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m));
}

} // namespace

// The window's model: a clip's companions travel with it as the two options say, each recorded.
class CompanionImportTest : public ModelFixture {
    Q_OBJECT

    QStringList importAll() {
        [&] {
            QVERIFY(awaitFuture(model->loadSDCard(card->root(), *store)).ok());
        }();
        QSet<QString> all;
        for (const auto& row : model->videoFiles())
            all.insert(row->id());
        model->setSelection(all);
        const ImportReport report = awaitFuture(model->importSelectedVideos(*store));
        [&] {
            QVERIFY(report.failed.isEmpty());
        }();
        QStringList names = QDir(home->destination()).entryList(QDir::Files, QDir::Name);
        return names;
    }

private Q_SLOTS:
    void init() {
        freshCard();
        QDir().mkpath(home->destination());
        openModel();
        model->setOutputLocation(home->destination());
        model->setFolderOpener([](const QString&) {});
        model->setImportPattern(QStringLiteral("{jump} {filename}"));
        model->setJumpNumber(7);
        model->setAutoIncrementJumpNumber(false);
        card->addVideo("100GOPRO/GX010001.MP4", 1, at(10, 0));
        card->addFile("100GOPRO/GL010001.LRV", "proxy", at(10, 0));
        card->addFile("100GOPRO/GX010001.THM", "thumbnail", at(10, 0));
    }
    void cleanup() {
        closeModel();
        card.reset();
    }

    void sidecarsByDefault() {
        QVERIFY(model->copySidecars() && model->copyProxies());
        QCOMPARE(importAll(), (QStringList{"7 GL010001.LRV", "7 GX010001.MP4", "7 GX010001.THM"}));
        QCOMPARE(model->videoFiles().size(), 1);
        QCOMPARE(model->videoFiles()[0]->companionPaths().size(), 2);
        const auto records = store->fetchImportHistory(folderUUID(card->root())).value();
        QCOMPARE(records.size(), 3);
        ImportState state;
        state.refresh(*store, folderUUID(card->root()), importStateVideos(model->videoFiles()));
        QCOMPARE(recordingStatus(state, *model->videoFiles()[0]), ImportStatus::imported);
    }

    void proxiesLeftOut() {
        model->setCopyProxies(false);
        QCOMPARE(importAll(), (QStringList{"7 GX010001.MP4", "7 GX010001.THM"}));
        // The choice is saved for the next start.
        closeModel();
        openModel(false);
        QVERIFY(!model->copyProxies());
        QVERIFY(model->copySidecars());
    }

    void videosOnly() {
        model->setCopySidecars(false);
        QCOMPARE(importAll(), QStringList{"7 GX010001.MP4"});
    }
};

QTEST_GUILESS_MAIN(CompanionImportTest)
#include "test_companion_import.moc"
