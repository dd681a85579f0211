#include "tests/support/CardFixture.h"
#include "tests/support/TestSupport.h"

#include "Velarix/shell/VelarixApp.h"
#include "Velarix/shell/VelarixSettings.h"
#include "desktop/Settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

class SettingsTrayTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CardFixture> m_fixture;

private Q_SLOTS:
    void init() { m_fixture = std::make_unique<CardFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void toggleDrivesTheTrayAtOnce() {
        Settings settings(m_fixture->settingsFile());
        VelarixApp app(settings);
        app.setShowsDialogs(false);
        QSystemTrayIcon* tray = app.trayIcon();
        QVERIFY(tray);
        // Wanted even with no tray yet (a headless run has none): a panel started after Velarix, as
        // at login, then shows it.
        QVERIFY(tray->isVisible());

        QWidget* window = app.showSettingsWindow();
        QVERIFY(qobject_cast<VelarixSettings*>(window));
        auto* toggle = window->findChild<QCheckBox*>(QStringLiteral("menuBarExtraToggle"));
        QVERIFY(toggle);
        QCOMPARE(toggle->text(), QStringLiteral("Keep Velarix running in the background and open it when a "
                                                "camera card is inserted"));
        QVERIFY(toggle->isChecked());

        toggle->click();
        QCOMPARE(settings.boolValue(QStringLiteral("menuBarExtra")), std::optional<bool>(false));
        QVERIFY(!tray->isVisible());
        QVERIFY(QApplication::quitOnLastWindowClosed());

        toggle->click();
        QCOMPARE(settings.boolValue(QStringLiteral("menuBarExtra")), std::optional<bool>(true));
        QVERIFY(tray->isVisible());

        // The stored choice is what a new settings window shows.
        toggle->click();
        window->close();
        QTRY_VERIFY(!app.settingsWindow());
        auto* again = app.showSettingsWindow()->findChild<QCheckBox*>(QStringLiteral("menuBarExtraToggle"));
        QVERIFY(!again->isChecked());
    }

    void trayMenuOpensWindowsOnce() {
        Settings settings(m_fixture->settingsFile());
        VelarixApp app(settings);
        app.setShowsDialogs(false);
        QMenu* menu = app.trayIcon()->contextMenu();
        QVERIFY(menu);
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(entries, QStringList({QStringLiteral("&Open\u2026"), QStringLiteral("-"),
                                       QStringLiteral("&Settings\u2026"), QStringLiteral("-"),
                                       QStringLiteral("&Quit")}));
        for (QAction* action : menu->actions())
            QVERIFY(action->isSeparator() || !action->icon().isNull());

        menu->actions().at(0)->trigger();
        QMainWindow* main = app.mainWindow();
        QVERIFY(main);
        menu->actions().at(0)->trigger();
        QCOMPARE(app.mainWindow(), main);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(
                     windows.begin(), windows.end(),
                     [](QWidget* w) { return w->objectName() == QStringLiteral("main") && w->isVisible(); }),
                 1);
        menu->actions().at(2)->trigger();
        QVERIFY(app.settingsWindow());
        QVERIFY(app.settingsWindow()->isVisible());
    }
};

QTEST_MAIN(SettingsTrayTest)
#include "test_settings_tray.moc"
