#pragma once

#include "desktop/Settings.h"
#include "history/HistoryStore.h"
#include "import/VelarixModel.h"
#include "tests/support/CardTest.h"

#include <QFile>
#include <QTest>
#include <QThreadPool>

namespace velarix::test {

// What the tests of the import model share besides the card: settings, a model and a history store,
// opened for each test.
class ModelFixture : public CardTest {
protected:
    std::unique_ptr<Settings> settings;
    std::unique_ptr<HistoryStore> store;
    std::unique_ptr<VelarixModel> model;

    // `fresh` starts without the settings and history an earlier test left.
    void openModel(bool fresh = true) {
        if (fresh) {
            QFile::remove(home->settingsFile());
            QFile::remove(home->storeFile());
        }
        settings = std::make_unique<Settings>(home->settingsFile());
        model = std::make_unique<VelarixModel>(*settings);
        auto opened = HistoryStore::open(home->storeFile());
        QVERIFY(opened);
        store = std::move(*opened);
    }

    void closeModel() {
        // Work the model started ends, and its queued results are delivered, before the store goes.
        QVERIFY(QThreadPool::globalInstance()->waitForDone(60'000));
        QCoreApplication::sendPostedEvents();
        model.reset();
        store.reset();
        settings.reset();
    }
};

} // namespace velarix::test
