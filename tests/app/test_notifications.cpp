#include "tests/support/CardFixture.h"
#include "tests/support/TestSupport.h"

#include "Velarix/shell/ImportNotifier.h"
#include "Velarix/shell/VelarixApp.h"
#include "desktop/DesktopNotifications.h"
#include "desktop/Settings.h"
#include "import/ImportProgress.h"
#include "import/VelarixModel.h"

#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

namespace {

// Keeps what would have gone to the desktop.
class FakeNotifications : public DesktopNotifications {
public:
    struct Shown {
        QString key;
        Notification notification;
    };
    QList<Shown> shown;
    QList<std::optional<double>> taskbar;

    void show(const QString& key, const Notification& notification) override {
        shown.append({key, notification});
    }
    void close(const QString&) override {}
    void setTaskbarProgress(std::optional<double> fraction) override { taskbar.append(fraction); }
};

} // namespace

class NotificationsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CardFixture> m_fixture;

private Q_SLOTS:
    void initTestCase() { m_fixture = std::make_unique<CardFixture>(); }

    void hiddenImportIsFollowedInNotifications() {
        Settings settings(m_fixture->settingsFile());
        VelarixModel model(settings);
        model.setOutputLocation(QStringLiteral("/videos/jumps"));
        FakeNotifications desktop;
        bool hidden = false;
        ImportNotifier notifier(model, desktop, [&] { return hidden; });

        // With the window in sight only the taskbar entry moves.
        auto* progress = new ImportProgress(2, 200);
        model.setImportProgress(progress);
        progress->setCopying(QStringLiteral("GX010001.MP4"), 50);
        QVERIFY(desktop.shown.isEmpty());
        QCOMPARE(desktop.taskbar.last(), std::optional<double>(0.25));

        // Hidden: the progress shows as a notification that names the file.
        hidden = true;
        progress->setCopying(QStringLiteral("GX010001.MP4"), 100);
        QCOMPARE(desktop.shown.size(), 1);
        QCOMPARE(desktop.shown.last().key, QStringLiteral("import"));
        QCOMPARE(desktop.shown.last().notification.percent, std::optional<int>(50));
        QCOMPARE(desktop.shown.last().notification.body, QStringLiteral("Copying GX010001.MP4 (1 of 2)"));

        // The end replaces it, and the taskbar progress goes.
        model.setImportProgress(nullptr);
        QTRY_COMPARE(desktop.shown.size(), 2);
        QCOMPARE(desktop.shown.last().notification.summary, QStringLiteral("Import finished"));
        QCOMPARE(desktop.shown.last().notification.body, QStringLiteral("2 videos copied to /videos/jumps"));
        QCOMPARE(desktop.taskbar.last(), std::nullopt);

        // A failure says what went wrong.
        model.setImportProgress(new ImportProgress(1));
        model.setImportProgress(nullptr);
        model.setError(ApplicationError::userError(QStringLiteral("GX010002.MP4 could not be copied")));
        QTRY_COMPARE(desktop.shown.size(), 4);
        QCOMPARE(desktop.shown.last().notification.summary, QStringLiteral("Import failed"));
        QCOMPARE(desktop.shown.last().notification.body, QStringLiteral("GX010002.MP4 could not be copied"));
    }

    void closingTheLastWindowSaysVelarixKeepsWatchingOnce() {
        QFile::remove(m_fixture->settingsFile());
        Settings settings(m_fixture->settingsFile());
        FakeNotifications desktop;
        VelarixApp app(settings, nullptr, &desktop);
        app.setShowsDialogs(false);
        const auto told = [&] {
            return std::count_if(
                desktop.shown.begin(), desktop.shown.end(),
                [](const FakeNotifications::Shown& s) { return s.key == QLatin1String("background"); });
        };
        // No tray here (offscreen): the notification is all that tells Velarix still runs.
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(app.showMainWindow());
        app.mainWindow()->close();
        QTRY_COMPARE(told(), 1);
        QVERIFY(desktop.shown.last().notification.body.contains(QStringLiteral("Quit (Ctrl+Q)")));
        QVERIFY(app.showMainWindow());
        app.mainWindow()->close();
        QTest::qWait(100);
        QCOMPARE(told(), 1);

        // With the background option off, closing ends Velarix: nothing to tell.
        FakeNotifications other;
        settings.setValue(QStringLiteral("menuBarExtra"), false);
        VelarixApp quitting(settings, nullptr, &other);
        QVERIFY(quitting.showMainWindow());
        quitting.mainWindow()->close();
        QTest::qWait(100);
        QVERIFY(other.shown.isEmpty());
    }
};

QTEST_MAIN(NotificationsTest)
#include "test_notifications.moc"
