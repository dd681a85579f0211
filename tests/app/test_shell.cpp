#include "Velarix/shell/VelarixApp.h"
#include "Velarix/trimwindow/VideoTrimmingView.h"
#include "desktop/Settings.h"
#include "desktop/Volumes.h"
#include "import/VelarixModel.h"
#include "trimming/TrimWorkingFolder.h"
#include "trimming/VideoTrimmingModel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QUuid>

using namespace velarix;

class ShellTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Settings> m_settings;

private Q_SLOTS:
    void init() {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        m_settings = std::make_unique<Settings>(m_dir.filePath(QStringLiteral("settings.json")));
    }

    // "Trim after import": the copies of a finished import (videos only) open in the trimming
    // window; not while the option is off, and not after a cancelled import.
    void trimAfterImportOpensTheCopies() {
        VelarixApp app(*m_settings);
        app.setShowsDialogs(false);
        VelarixModel& model = app.sharedModel();
        QVERIFY(!model.trimAfterImport());
        ImportReport report;
        report.imported = {
            {QStringLiteral("/card/DCIM/GX010001.MP4"), QStringLiteral("/dest/1 CARD GX010001.MP4")},
            {QStringLiteral("/card/DCIM/GX010001.LRV"), QStringLiteral("/dest/1 CARD GX010001.LRV")}};
        Q_EMIT model.importFinished(report);
        QVERIFY(!app.trimmingWindow());
        model.setTrimAfterImport(true);
        report.cancelled = true;
        Q_EMIT model.importFinished(report);
        QVERIFY(!app.trimmingWindow());
        report.cancelled = false;
        Q_EMIT model.importFinished(report);
        auto* trimming = qobject_cast<VideoTrimmingView*>(app.trimmingWindow());
        QVERIFY(trimming);
        QCOMPARE(trimming->model().items().size(), 1);
        QCOMPARE(trimming->model().items().first()->url().toLocalFile(),
                 QStringLiteral("/dest/1 CARD GX010001.MP4"));
    }

    // Quit during an import asks first. Staying leaves the import alone; finishing quits once it has
    // ended; stopping cancels it and quits once it has recorded what it verified.
    void quitDuringAnImportAsksFirst_data() {
        QTest::addColumn<VelarixApp::QuitDuringImport>("answer");
        QTest::newRow("stay") << VelarixApp::QuitDuringImport::stay;
        QTest::newRow("finish first") << VelarixApp::QuitDuringImport::finishFirst;
        QTest::newRow("stop") << VelarixApp::QuitDuringImport::stop;
    }
    void quitDuringAnImportAsksFirst() {
        QFETCH(VelarixApp::QuitDuringImport, answer);
        VelarixApp app(*m_settings);
        app.setShowsDialogs(false);
        VelarixModel& model = app.sharedModel();
        auto* running = new ImportProgress(1);
        model.setImportProgress(running);
        int asked = 0;
        app.setQuitDuringImportAnswer([&] {
            ++asked;
            return answer;
        });
        bool runEnded = false;
        QTimer::singleShot(0, &app, [&] {
            app.requestQuit();
            QCOMPARE(running->isCancelled(), answer == VelarixApp::QuitDuringImport::stop);
            // The run ends: quitting happens only now.
            QTimer::singleShot(50, &app, [&] {
                runEnded = true;
                model.setImportProgress(nullptr);
                Q_EMIT model.importFinished(ImportReport{});
            });
        });
        QTimer::singleShot(1000, &app, [] { QCoreApplication::exit(2); });
        const int status = QCoreApplication::exec();
        QCOMPARE(asked, 1);
        QVERIFY(runEnded);
        QCOMPARE(status, answer == VelarixApp::QuitDuringImport::stay ? 2 : 0);
    }

    void windowsOpenOnceAndComeForward() {
        VelarixApp app(*m_settings);
        app.setShowsDialogs(false);
        QMainWindow* main = app.showMainWindow();
        QVERIFY(main);
        QCOMPARE(main->windowTitle(), QStringLiteral("Velarix"));
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("data/app.tarnwick.Velarix/default.store"))));
        QCOMPARE(app.showMainWindow(), main);
        QCOMPARE(&app.sharedModel(), &app.sharedModel());
        QVERIFY(!app.trimmingWindow());
        QVERIFY(!app.settingsWindow());

        // Ctrl+Shift+T from the main window, twice: one trimming window.
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTest::keyClick(main, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QMainWindow* trimming = app.trimmingWindow();
        QVERIFY(trimming);
        QCOMPARE(trimming->windowTitle(), QStringLiteral("Video Trimming"));
        QVERIFY(QTest::qWaitForWindowActive(trimming));
        QTest::keyClick(trimming, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(app.trimmingWindow(), trimming);

        // Closing discards it; reopening builds a fresh one.
        QPointer<QMainWindow> closed = trimming;
        trimming->close();
        QTRY_VERIFY(closed.isNull());
        QVERIFY(app.showTrimmingWindow());
    }

    // A working folder a killed trim left next to a video goes when the application starts.
    void startRemovesAbandonedTrimFolders() {
        const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString left =
            m_dir.filePath(QStringLiteral("videos/") + TrimWorkingFolder::namePrefix() + uuid);
        QVERIFY(QDir().mkpath(left));
        QVERIFY(QFile(left + QStringLiteral("/clip.mp4")).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkpath(trimWorkingFolderRegistry()));
        QVERIFY(QFile::link(left, trimWorkingFolderRegistry() + u'/' + uuid));
        VelarixApp app(*m_settings);
        QThreadPool::globalInstance()->waitForDone();
        QVERIFY(!QFileInfo::exists(left));
        QVERIFY(QDir(m_dir.filePath(QStringLiteral("videos"))).exists());
    }

    void backgroundOptionDrivesTheQuitPolicy() {
        VelarixApp app(*m_settings);
        // Registered default: on, so closing the last window keeps the application running.
        QVERIFY(app.menuBarExtra());
        QVERIFY(!QApplication::quitOnLastWindowClosed());

        QWidget* settings = app.showSettingsWindow();
        auto* toggle = settings->findChild<QCheckBox*>(QStringLiteral("menuBarExtraToggle"));
        QVERIFY(toggle && toggle->isChecked());
        toggle->click();
        QCOMPARE(m_settings->boolValue(QStringLiteral("menuBarExtra")), std::optional<bool>(false));
        QVERIFY(QApplication::quitOnLastWindowClosed());
        // The import model's own flag is a different key and is not touched.
        QVERIFY(!m_settings->value(QStringLiteral("import.menubarextra")));

        // The login item follows its own toggle.
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        auto* login = settings->findChild<QCheckBox*>(QStringLiteral("startAtLoginToggle"));
        QVERIFY(login && !login->isChecked());
        login->click();
        QVERIFY(
            QFile::exists(m_dir.filePath(QStringLiteral("config/autostart/app.tarnwick.Velarix.desktop"))));
        login->click();
        QVERIFY(
            !QFile::exists(m_dir.filePath(QStringLiteral("config/autostart/app.tarnwick.Velarix.desktop"))));

        // A change made elsewhere shows in the open settings window.
        m_settings->setValue(QStringLiteral("menuBarExtra"), true);
        QVERIFY(toggle->isChecked());
        QVERIFY(!QApplication::quitOnLastWindowClosed());
    }

    void checkForUpdatesOnlyWithAFeed() {
        // This build has no feed: the entry is absent rather than failing when chosen.
        {
            VelarixApp app(*m_settings);
            auto* check = app.findChild<QAction*>(QStringLiteral("checkForUpdates"));
            QVERIFY(check);
            QVERIFY(!check->isVisible());
        }
        m_settings->setValue(QStringLiteral("updateFeedURL"),
                             QStringLiteral("https://example.invalid/appcast.xml"));
        VelarixApp app(*m_settings);
        QVERIFY(app.findChild<QAction*>(QStringLiteral("checkForUpdates"))->isVisible());
    }

    void cameraFolderTest() {
        QTemporaryDir volume;
        QVERIFY(!hasDcimFolder(volume.path()));
        QDir(volume.path()).mkpath(QStringLiteral("PRIVATE/DCIM"));
        QVERIFY(!hasDcimFolder(volume.path())); // only the root counts
        QFile file(volume.filePath(QStringLiteral("DCIM")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!hasDcimFolder(volume.path())); // a file named DCIM
        QVERIFY(QFile::remove(file.fileName()));
        QVERIFY(QDir(volume.path()).mkdir(QStringLiteral("DCIM")));
        QVERIFY(hasDcimFolder(volume.path()));
    }

    void insertedCardBringsTheMainWindowBack() {
        const QString volumes = m_dir.filePath(QStringLiteral("volumes"));
        QVERIFY(QDir().mkpath(volumes));
        qputenv("VELARIX_VOLUMES_DIR", volumes.toUtf8());
        VelarixApp app(*m_settings);
        app.setShowsDialogs(false);
        QVERIFY(app.handleLaunch({QStringLiteral("--background")}));
        QVERIFY(!app.mainWindow());

        // A volume without a camera folder does nothing; a card does.
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("staging/BACKUP"))));
        QVERIFY(QDir().rename(m_dir.filePath(QStringLiteral("staging/BACKUP")),
                              volumes + QStringLiteral("/BACKUP")));
        QTest::qWait(500);
        QVERIFY(!app.mainWindow());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("staging/CARD/DCIM/100GOPRO"))));
        QVERIFY(
            QDir().rename(m_dir.filePath(QStringLiteral("staging/CARD")), volumes + QStringLiteral("/CARD")));
        QTRY_VERIFY_WITH_TIMEOUT(app.mainWindow() != nullptr, 5000);
        qunsetenv("VELARIX_VOLUMES_DIR");
    }

    void unreadableStoreIsFatal() {
        const QString storePath = m_dir.filePath(QStringLiteral("data/app.tarnwick.Velarix/default.store"));
        QDir().mkpath(QFileInfo(storePath).absolutePath());
        QFile file(storePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
        file.close();

        VelarixApp app(*m_settings);
        app.setShowsDialogs(false);
        QSignalSpy fatal(&app, &VelarixApp::fatalError);
        QVERIFY(!app.showMainWindow());
        QCOMPARE(fatal.count(), 1);
        QVERIFY(
            fatal.first().first().toString().startsWith(QStringLiteral("Could not create ModelContainer: ")));
        QCOMPARE(QFileInfo(storePath).size(), 8192);

        // Offered and accepted: the damaged file is kept beside a new, empty history.
        VelarixApp accepting(*m_settings);
        accepting.setShowsDialogs(false);
        QString offered;
        accepting.setMoveAsideAnswer([&offered](const QString& message) {
            offered = message;
            return true;
        });
        QVERIFY(accepting.showMainWindow());
        QVERIFY(offered.contains(storePath) && offered.contains(QStringLiteral("damaged")));
        const QString aside =
            storePath + QStringLiteral(".damaged-") + QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(QFileInfo(aside).size(), 8192);
        QVERIFY(QFileInfo(storePath).size() > 0);
    }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
