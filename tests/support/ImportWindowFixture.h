#pragma once

#include "Velarix/importwindow/CardListView.h"
#include "Velarix/importwindow/JumpTableView.h"
#include "Velarix/importwindow/OutputFilesView.h"
#include "Velarix/importwindow/VelarixFormView.h"
#include "Velarix/importwindow/VelarixView.h"
#include "Velarix/importwindow/VideoTableModel.h"
#include "Velarix/importwindow/VideoTableSort.h"
#include "import/CardListModel.h"
#include "tests/support/ModelFixture.h"

#include <QAbstractItemModelTester>

namespace velarix::test {

// Checks every change of an item model against the rules views rely on, for as long as it lives;
// a broken rule fails the running test.
inline void testModel(QAbstractItemModel* model) {
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
}

// What the import window's tests share besides the model: the window, when a test opens it.
class ImportWindowFixture : public ModelFixture {
protected:
    std::unique_ptr<VelarixView> m_view;
    const QDateTime m_base = QDateTime(QDate(2024, 5, 1), QTime(10, 0));

    void openWindow() {
        m_view = std::make_unique<VelarixView>(*model, *store);
        testModel(m_view->cards());
        testModel(m_view->table()->tableModel());
        testModel(m_view->form()->filesView()->model());
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void closeWindow() {
        m_view.reset();
        // The window's children (the preview's media player among them) go now, not at exit, where
        // their threads would still run under the leak checker.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        closeModel();
    }
};

} // namespace velarix::test
