#include "CardFixture.h"

#include "Velarix/OutputFilesView.h"
#include "Velarix/PatternField.h"
#include "Velarix/VelarixFormView.h"
#include "history/HistoryStore.h"
#include "import/VelarixModel.h"
#include "platform/Settings.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>

using namespace velarix;
using namespace velarix::test;

// The options form on its own, over a model whose rows are set by hand: what it lists must always
// be what an import would write.
class ImportFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CardFixture> m_fixture;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<VelarixModel> m_model;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<VelarixFormView> m_form;

    QStringList listedNames() const {
        QStringList names;
        for (const ResolvedOutputFile& file : m_form->filesView()->files())
            names << file.fileName;
        return names;
    }
    QStringList plannedNames() const {
        QStringList names;
        for (const ResolvedOutputFile& file : m_model->resolvedOutputFiles())
            names << file.fileName;
        return names;
    }

private Q_SLOTS:
    void initTestCase() { m_fixture = std::make_unique<CardFixture>(); }

    void init() {
        QFile::remove(m_fixture->settingsFile());
        QFile::remove(m_fixture->storeFile());
        m_settings = std::make_unique<Settings>(m_fixture->settingsFile());
        m_model = std::make_unique<VelarixModel>(*m_settings);
        auto store = HistoryStore::open(m_fixture->storeFile());
        QVERIFY(store);
        m_store = std::move(*store);
        m_form = std::make_unique<VelarixFormView>(*m_model, *m_store);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        m_model.reset();
        m_store.reset();
        m_settings.reset();
    }

    void namesFollowArrivingDurations() {
        // Two 200 s clips 6 min 40 s apart: one jump once their durations are known, two before.
        const QDateTime start(QDate(2024, 5, 1), QTime(10, 0));
        auto first = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX01.MP4"), start, 1000);
        auto second = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX02.MP4"), start.addSecs(400), 1000);
        m_model->setImportPattern(QStringLiteral("{jump} {filename}"));
        m_model->setJumpNumber(3);
        m_model->setVideoFiles({second, first});
        m_model->setSelection({first->id(), second->id()});
        QCOMPARE(listedNames(), (QStringList{QStringLiteral("3 GX01.MP4"), QStringLiteral("4 GX02.MP4")}));

        first->setDuration(200);
        second->setDuration(200);
        QCOMPARE(listedNames(), (QStringList{QStringLiteral("3 GX01.MP4"), QStringLiteral("3 GX02.MP4")}));
        QCOMPARE(listedNames(), plannedNames());
    }

    void todayTurnsOverAtMidnight() {
        // A clock a moment before midnight: the list turns to the new day by itself.
        QElapsedTimer elapsed;
        elapsed.start();
        const QDateTime almostMidnight(QDate(2024, 5, 1), QTime(23, 59, 59, 700));
        m_model->setClock([=] { return almostMidnight.addMSecs(elapsed.elapsed()); });
        auto row = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/GX01.MP4"), almostMidnight, 1000);
        m_model->setImportPattern(QStringLiteral("{today}/{filename}"));
        m_model->setVideoFiles({row});
        m_model->setSelection({row->id()});
        QCOMPARE(listedNames(), QStringList{QStringLiteral("2024-05-01/GX01.MP4")});
        QTRY_COMPARE_WITH_TIMEOUT(listedNames(), QStringList{QStringLiteral("2024-05-02/GX01.MP4")}, 3000);
        QCOMPARE(listedNames(), plannedNames());
    }
};

QTEST_MAIN(ImportFormTest)
#include "test_import_form.moc"
