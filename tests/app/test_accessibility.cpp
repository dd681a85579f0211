#include "Velarix/importwindow/PlaceholderColors.h"
#include "Velarix/importwindow/ThumbnailLoader.h"
#include "Velarix/trimwindow/TrimRangeSelector.h"
#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/trimwindow/VideoTrimEditorSheet.h"
#include "Velarix/trimwindow/VideoTrimItemRow.h"
#include "Velarix/trimwindow/VideoTrimmingView.h"
#include "Velarix/widgets/ThemeColours.h"
#include "Velarix/widgets/WindowCloseGuard.h"
#include "tests/app/TrimWindowTestKit.h"
#include "tests/support/ImportWindowFixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace velarix;
using namespace velarix::test;

namespace {

// A dark theme as Breeze Dark and Adwaita-dark set it, with every role a widget reads.
QPalette darkPalette() {
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xee, 0xee, 0xee);
    for (const auto& [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, window},
             {QPalette::WindowText, text},
             {QPalette::Base, base},
             {QPalette::AlternateBase, QColor(0x26, 0x26, 0x26)},
             {QPalette::Text, text},
             {QPalette::Button, QColor(0x3a, 0x3a, 0x3a)},
             {QPalette::ButtonText, text},
             {QPalette::Highlight, QColor(0x3d, 0xae, 0xe9)},
             {QPalette::HighlightedText, QColor(0xfc, 0xfc, 0xfc)},
             {QPalette::ToolTipBase, QColor(0x31, 0x36, 0x3b)},
             {QPalette::ToolTipText, text},
             {QPalette::PlaceholderText, QColor(0xee, 0xee, 0xee, 0x99)},
             {QPalette::Light, QColor(0x4a, 0x4a, 0x4a)},
             {QPalette::Midlight, QColor(0x3f, 0x3f, 0x3f)},
             {QPalette::Mid, QColor(0x55, 0x55, 0x55)},
             {QPalette::Dark, QColor(0x18, 0x18, 0x18)},
             {QPalette::Shadow, Qt::black},
             {QPalette::Link, QColor(0x3d, 0xae, 0xe9)}})
        p.setColor(role, colour);
    return p;
}

QString nameOf(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The widgets Tab reaches from `start`, in order, once round.
QList<QWidget*> tabChain(QWidget* start) {
    QList<QWidget*> chain;
    start->window()->activateWindow();
    QApplication::setActiveWindow(start->window());
    if (!QTest::qWaitForWindowActive(start->window()))
        return chain;
    start->setFocus(Qt::TabFocusReason);
    QWidget* first = QApplication::focusWidget();
    for (int i = 0; i < 200 && first; ++i) {
        chain << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
    }
    return chain;
}

// Every control a user could tab to, which so must be reachable and have a name.
QList<QWidget*> tabbableControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && !qobject_cast<QScrollBar*>(w))
            controls << w;
    return controls;
}

} // namespace

class AccessibilityTest : public ImportWindowFixture {
    Q_OBJECT

private:
    const QPalette m_light = QApplication::palette();

    // Fails with the widget that has no name or cannot be reached by Tab.
    static void checkControls(QWidget* window, QWidget* start) {
        QVERIFY(start);
        const QList<QWidget*> chain = tabChain(start);
        for (QWidget* control : tabbableControls(window)) {
            const QString what = control->objectName().isEmpty()
                                     ? QString::fromLatin1(control->metaObject()->className())
                                     : control->objectName();
            QStringList names;
            for (QWidget* w : chain)
                names << (w ? w->objectName() + QLatin1Char('/') + QLatin1String(w->metaObject()->className())
                            : QStringLiteral("null"));
            QVERIFY2(chain.contains(control), qPrintable(what + QStringLiteral(" is not reached by Tab: ") +
                                                         names.join(QStringLiteral(", "))));
            QVERIFY2(!nameOf(control).trimmed().isEmpty(), qPrintable(what + QStringLiteral(" has no name")));
        }
    }

private Q_SLOTS:
    void initTestCase() {
        FakeCard inserted = home->addCard(QStringLiteral("CARD"));
        inserted.addVideos({1, 2}, m_base, 600);
    }
    void init() { openModel(); }
    void cleanup() {
        QApplication::setPalette(m_light);
        closeWindow();
    }

    void tableRowsReadAsSentences() {
        ThumbnailLoader thumbnails(QSize(64, 48));
        VideoTableModel table(thumbnails);
        const QDateTime now(QDate(2026, 12, 7), QTime(10, 0));
        table.setNow(now);
        auto row = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/GX010101.MP4"),
                                           QStringLiteral("DCIM/100GOPRO/GX010101.MP4"),
                                           QDateTime(now.date(), QTime(8, 5)), 80'500'000);
        row->setDuration(300.2);
        auto old = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/GX010100.MP4"),
                                           QStringLiteral("DCIM/100GOPRO/GX010100.MP4"),
                                           QDateTime(now.date().addDays(-1), QTime(21, 10)), 1'500);
        // Imported before: what is newer than it is "new".
        auto imported = VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/GX010099.MP4"),
                                                QStringLiteral("DCIM/100GOPRO/GX010099.MP4"), now.addDays(-3),
                                                2'000'000'000);
        QVERIFY(store->insertImportHistory(imported->fileName(), QStringLiteral("card-uuid"), now).ok());
        QVERIFY(store->save().ok());
        table.setRows({row, old, imported});
        ImportState state;
        QList<ImportState::Video> videos;
        for (const VideoFileRowPtr& video : {row, old, imported})
            videos.append({video->fileName(), video->created(), video->relativePath(), video->fileSize()});
        state.refresh(*store, QStringLiteral("card-uuid"), videos);
        table.setImportState(state);

        const auto spoken = [&](int r, int column) {
            return table.index(r, column).data(Qt::AccessibleTextRole).toString();
        };
        const QString at0805 = QLocale().toString(QTime(8, 5), QLocale::ShortFormat);
        const QString sentence =
            QStringLiteral("GX010101.MP4, new, 80.5 MB, 5 minutes, today %1").arg(at0805);
        QCOMPARE(spoken(0, VideoTableModel::fileColumn), sentence);
        // The picture has no words of its own: it reads the row too.
        QCOMPARE(spoken(0, VideoTableModel::thumbnailColumn), sentence);
        QCOMPARE(spoken(0, VideoTableModel::sizeColumn), QStringLiteral("80.5 MB, 5 minutes"));
        QCOMPARE(spoken(0, VideoTableModel::stateColumn), QStringLiteral("new"));
        // No duration yet: left out rather than read as "-:-".
        QCOMPARE(spoken(1, VideoTableModel::fileColumn),
                 QStringLiteral("GX010100.MP4, new, 1.5 KB, yesterday %1")
                     .arg(QLocale().toString(QTime(21, 10), QLocale::ShortFormat)));
        QVERIFY(spoken(2, VideoTableModel::fileColumn)
                    .startsWith(QStringLiteral("GX010099.MP4, imported, 2.0 GB, ")));
        QCOMPARE(table.index(0, VideoTableModel::fileColumn).data(Qt::AccessibleDescriptionRole).toString(),
                 row->path());

        // The file's cell follows a duration that arrives later.
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        old->setDuration(3725);
        QVERIFY(!changed.isEmpty());
        QVERIFY(spoken(1, VideoTableModel::fileColumn).contains(QStringLiteral(", 1 hour, 2 minutes, ")));
    }

    void rangeHandlesAreSlidersMovedByKeys() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QPushButton(QStringLiteral("before"), &window);
        auto* selector = new TrimRangeSelector(&window);
        auto* after = new QPushButton(QStringLiteral("after"), &window);
        layout->addWidget(before);
        layout->addWidget(selector);
        layout->addWidget(after);
        double start = 8, end = 81;
        selector->setDuration(130);
        selector->setStartBinding({[&] { return start; },
                                   [&](double v) {
                                       start = v;
                                   }});
        selector->setEndBinding({[&] { return end; },
                                 [&](double v) {
                                     end = v;
                                 }});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(selector);
        QVERIFY(group);
        QCOMPARE(group->childCount(), 2);
        QAccessibleInterface* startHandle = group->child(0);
        QAccessibleInterface* endHandle = group->child(1);
        QCOMPARE(startHandle->role(), QAccessible::Slider);
        QCOMPARE(startHandle->text(QAccessible::Name), QStringLiteral("Start of the kept range, 8 seconds"));
        QCOMPARE(endHandle->text(QAccessible::Name),
                 QStringLiteral("End of the kept range, 1 minute, 21 seconds"));
        QCOMPARE(group->indexOfChild(endHandle), 1);
        QCOMPARE(endHandle->parent(), group);
        QVERIFY(group->rect().contains(startHandle->rect()));

        // Tab enters on the start handle, then the end handle, then leaves.
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(selector->hasFocus());
        QCOMPARE(group->focusChild(), startHandle);
        QVERIFY(startHandle->state().focused);
        QTest::keyClick(selector, Qt::Key_Right);
        QCOMPARE(start, 9.0);
        QTest::keyClick(selector, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(start, 19.0);
        QCOMPARE(startHandle->valueInterface()->currentValue().toDouble(), 19.0);
        QTest::keyClick(selector, Qt::Key_Home);
        QCOMPARE(start, 0.0);
        // As far as it goes is a second before the other handle.
        QTest::keyClick(selector, Qt::Key_End);
        QCOMPARE(start, 80.0);
        QTest::keyClick(selector, Qt::Key_Tab);
        QVERIFY(selector->hasFocus());
        QCOMPARE(group->focusChild(), endHandle);
        QTest::keyClick(selector, Qt::Key_End);
        QCOMPARE(end, 130.0);
        QTest::keyClick(selector, Qt::Key_Home);
        QCOMPARE(end, 81.0);
        QTest::keyClick(selector, Qt::Key_Tab);
        QVERIFY(after->hasFocus());
        // Back in from behind: the end handle first.
        QTest::keyClick(after, Qt::Key_Backtab);
        QVERIFY(selector->hasFocus());
        QCOMPARE(selector->keyboardHandle(), TrimRangeSelector::Handle::End);

        // A screen reader sets the value like a user moves the handle, with the same limits.
        startHandle->valueInterface()->setCurrentValue(200.0);
        QCOMPARE(start, 80.0);
        startHandle->valueInterface()->setCurrentValue(42.0);
        QCOMPARE(start, 42.0);
        QCOMPARE(startHandle->text(QAccessible::Value), QStringLiteral("00:42"));
    }

    // Every control of both windows can be reached with Tab and has a name a screen reader says.
    void everyControlIsNamedAndReachable() {
        openWindow();
        QTRY_VERIFY(!model->isLoadingVideos());
        QTRY_COMPARE(m_view->table()->tableModel()->rowCount(), 2);
        checkControls(m_view.get(), m_view->table()->findChild<QTableView*>(QStringLiteral("videoTable")));
        if (QTest::currentTestFailed())
            return;

        VideoTrimmingView trimming;
        auto gate = std::make_shared<Gate>();
        gate->open = true;
        trimming.model().setAnalyzeFunction(heldAnalysis(gate));
        trimming.show();
        QVERIFY(QTest::qWaitForWindowActive(&trimming));
        checkControls(&trimming, trimming.findChild<QPushButton*>(QStringLiteral("chooseVideos")));
        if (QTest::currentTestFailed())
            return;
        trimming.model().addVideos({QUrl::fromLocalFile(QStringLiteral("/v/one.mp4"))});
        QTRY_VERIFY(!trimming.model().isAnalyzing());
        auto* row = trimming.findChild<VideoTrimItemRow*>();
        QVERIFY(row);
        QCOMPARE(nameOf(row), QStringLiteral("one.mp4"));
        QVERIFY2(row->accessibleDescription().startsWith(QStringLiteral("5 minutes, 1.0 GB, 00:40-02:30")),
                 qPrintable(row->accessibleDescription()));
        checkControls(&trimming, row);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(nameOf(row->findChild<QToolButton*>(QStringLiteral("rowRemove"))),
                 QStringLiteral("Remove from List"));

        // The range editor: its preview and its two handles.
        row->findChild<QPushButton*>(QStringLiteral("rowAdjust"))->click();
        QTRY_VERIFY(trimming.editorSheet() && trimming.editorSheet()->isVisible());
        VideoTrimEditorSheet* sheet = trimming.editorSheet();
        checkControls(sheet, sheet->findChild<QPushButton*>(QStringLiteral("editorDone")));
        if (QTest::currentTestFailed())
            return;
        QAccessibleInterface* selector =
            QAccessible::queryAccessibleInterface(sheet->findChild<TrimRangeSelector*>());
        QCOMPARE(selector->child(0)->text(QAccessible::Name),
                 QStringLiteral("Start of the kept range, 40 seconds"));
        sheet->reject();
    }

    // The close question opens on the harmless button; the other is one Tab away.
    void closeQuestionIsSafeFromTheKeyboard() {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Video Trimming"));
        bool cancelled = false;
        auto* guard = new WindowCloseGuard(&window, [&] { cancelled = true; });
        guard->setBusy(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QString focused;
        QString afterTab;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QTRY_VERIFY(box->focusWidget());
            focused = qobject_cast<QAbstractButton*>(box->focusWidget())->text();
            QTest::keyClick(box->focusWidget(), Qt::Key_Tab);
            afterTab = qobject_cast<QAbstractButton*>(box->focusWidget())->text();
            // Space presses the focused button.
            QTest::keyClick(box->focusWidget(), Qt::Key_Space);
        });
        window.close();
        QCOMPARE(focused, QStringLiteral("Keep Window Open"));
        QCOMPARE(afterTab, QStringLiteral("Cancel Work and Close"));
        QTRY_VERIFY(cancelled);
        QTRY_VERIFY(!window.isVisible());
    }

    void coloursKeepContrast_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << m_light;
        QTest::newRow("dark") << darkPalette();
    }

    // Text at least 4.5:1 on the backgrounds it is drawn on, in the light theme and in a dark one.
    void coloursKeepContrast() {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        const QColor window = palette.color(QPalette::Window);
        const QColor base = palette.color(QPalette::Base);
        auto check = [](const QColor& text, const QColor& background, const char* what) {
            const double ratio = contrastRatio(text, background);
            QVERIFY2(ratio >= kTextContrast,
                     qPrintable(QStringLiteral("%1: %2 on %3 is %4:1")
                                    .arg(QLatin1String(what), text.name(QColor::HexArgb), background.name())
                                    .arg(ratio, 0, 'f', 2)));
        };
        for (Tone tone : {Tone::success, Tone::failure, Tone::warning, Tone::exitMark, Tone::openingMark}) {
            check(toneColour(tone, palette), window, "tone on window");
            check(toneColourOnBase(tone, palette), base, "tone on base");
        }
        for (Placeholder placeholder : allPlaceholders()) {
            for (const QColor& plate : {fieldPlateColor(placeholder), tokenLinePlateColor(placeholder)}) {
                if (plate.alpha() == 0)
                    continue;
                const QColor shown = composited(plate, base);
                check(tokenTextColor(placeholder, plate, palette), shown, "placeholder on its plate");
            }
        }

        // What the windows' labels really use, on the window and on the rows' base.
        VideoTrimmingView trimming;
        auto gate = std::make_shared<Gate>();
        gate->open = true;
        trimming.model().setAnalyzeFunction(heldAnalysis(gate));
        trimming.show();
        QVERIFY(QTest::qWaitForWindowExposed(&trimming));
        trimming.model().addVideos({QUrl::fromLocalFile(QStringLiteral("/v/one.mp4"))});
        QTRY_VERIFY(!trimming.model().isAnalyzing());
        check(trimstyle::secondary(&trimming), window, "secondary text");
        check(trimstyle::secondary(&trimming), base, "secondary text in a row");
        openWindow();
        QTRY_COMPARE(m_view->table()->tableModel()->rowCount(), 2);
        for (QWidget* top : std::initializer_list<QWidget*>{&trimming, m_view.get()})
            for (QLabel* label : top->findChildren<QLabel*>()) {
                if (!label->isVisibleTo(top) || label->text().isEmpty())
                    continue;
                const QColor text = label->palette().color(QPalette::WindowText);
                const QByteArray what =
                    (label->objectName().isEmpty() ? label->text() : label->objectName()).toUtf8();
                check(text, window, what.constData());
                check(text, base, what.constData());
            }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
