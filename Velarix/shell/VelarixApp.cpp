#include "Velarix/shell/VelarixApp.h"

#include "Velarix/importwindow/VelarixView.h"
#include "Velarix/shell/ImportNotifier.h"
#include "Velarix/shell/UpdateDialog.h"
#include "Velarix/shell/Updater.h"
#include "Velarix/shell/VelarixSettings.h"
#include "Velarix/trimwindow/VideoTrimmingView.h"
#include "Velarix/widgets/AppLog.h"
#include "Velarix/widgets/Icons.h"
#include "core/Background.h"
#include "desktop/AppIdentity.h"
#include "desktop/AppPaths.h"
#include "desktop/DesktopNotifications.h"
#include "desktop/Settings.h"
#include "history/HistoryStore.h"
#include "import/CardWatcher.h"
#include "import/VelarixModel.h"
#include "trimming/CopyAnalyses.h"
#include "trimming/TrimWorkingFolder.h"
#include "trimming/VideoTrimmingModel.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QUrl>

#include <cstdio>

// Resources of a static library must be registered by name, outside any namespace.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace velarix {

VelarixApp::VelarixApp(Settings& settings, QObject* parent, DesktopNotifications* notifications)
    : QObject(parent)
    , m_settings(settings)
    , m_notifications(notifications ? notifications : new DBusDesktopNotifications(kBundleIdentifier, this)) {
    initResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velarix/velarix.svg")));
    m_settings.registerDefaults({{QString::fromLatin1(kMenuBarExtraKey), true}});
    createActions();
    createUpdater();

    m_trayMenu = std::make_unique<QMenu>();
    m_trayMenu->addAction(m_openMainAction);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_settingsAction);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_quitAction);
    m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_tray->setToolTip(kApplicationName);
    m_tray->setContextMenu(m_trayMenu.get());
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            showMainWindow();
    });

    connect(&m_settings, &Settings::valueChanged, this, [this](const QString& key) {
        if (key == QLatin1String(kMenuBarExtraKey))
            applyMenuBarExtra();
    });
    applyMenuBarExtra();
    watchForCards();
    // A trim that was killed left its copy in a hidden folder next to the video; freeing that space
    // can take a moment, so not on this thread.
    // An original it held is kept, never freed with it: the user is told where it went.
    runInBackground(
        this, [] { return removeAbandonedTrimFolders(); },
        [this](const LeftoverCleanup& cleanup) {
            if (!cleanup.notes.isEmpty())
                m_notifications->show(QStringLiteral("interrupted-trim"),
                                      {tr("Originals of an interrupted trim were kept"),
                                       cleanup.notes.join(u'\n'), std::nullopt});
        });
}

void VelarixApp::watchForCards() {
    // A card inserted while Velarix runs brings it forward, even with every window closed.
    m_cardWatcher = new CardWatcher(SystemVolumes::shared(), this);
    connect(m_cardWatcher, &CardWatcher::cardInserted, this, [this] { showMainWindow(); });
}

void VelarixApp::watchClosing(QWidget* window) {
    // Our own check rather than QGuiApplication::lastWindowClosed, which only comes inside exec().
    connect(window, &QObject::destroyed, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QWidgetList windows = QApplication::topLevelWidgets();
                const bool anyOpen = std::any_of(windows.begin(), windows.end(), [](QWidget* widget) {
                    return widget->isVisible() && widget->isWindow() &&
                           !(widget->windowType() == Qt::Popup || widget->windowType() == Qt::ToolTip);
                });
                if (!anyOpen)
                    lastWindowClosed();
            },
            Qt::QueuedConnection);
    });
}

void VelarixApp::lastWindowClosed() {
    // Without a tray nothing shows that Velarix still runs: say it once, and how to end it.
    if (!menuBarExtra() || QSystemTrayIcon::isSystemTrayAvailable() || m_toldAboutBackground)
        return;
    m_toldAboutBackground = true;
    m_notifications->show(QStringLiteral("background"),
                          {tr("Velarix keeps watching for camera cards"),
                           tr("It opens when you insert one. To quit, open Velarix and choose File \u203a "
                              "Quit (Ctrl+Q), or turn off \u201cKeep Velarix running in the "
                              "background\u201d in Settings."),
                           std::nullopt});
}

bool VelarixApp::isMainWindowHidden() const {
    return !m_mainWindow || !m_mainWindow->isVisible() || m_mainWindow->isMinimized();
}

VelarixApp::~VelarixApp() {
    // Windows refer to the model and the store: close them first.
    delete m_mainWindow;
    delete m_trimmingWindow;
    delete m_settingsWindow;
    // The model records an import it stops into the store: it goes first.
    m_model.reset();
}

void VelarixApp::requestQuit() {
    ImportProgress* running = m_model ? m_model->importProgress() : nullptr;
    if (!running) {
        QApplication::quit();
        return;
    }
    if (m_quitPending)
        return;
    QuitDuringImport answer = QuitDuringImport::stop;
    if (m_quitDuringImportAnswer) {
        answer = m_quitDuringImportAnswer();
    } else if (m_showsDialogs) {
        QMessageBox question(QMessageBox::Question, kApplicationName, tr("An import is running."),
                             QMessageBox::NoButton, m_mainWindow);
        question.setInformativeText(
            tr("Velarix can finish the import and then quit, or stop it now: the videos copied and verified "
               "so far stay imported, the others are not imported."));
        QPushButton* finish = question.addButton(tr("&Finish Import, Then Quit"), QMessageBox::AcceptRole);
        QPushButton* stop = question.addButton(tr("&Stop Import and Quit"), QMessageBox::DestructiveRole);
        question.addButton(QMessageBox::Cancel);
        question.setDefaultButton(finish);
        question.exec();
        answer = question.clickedButton() == finish ? QuitDuringImport::finishFirst
                 : question.clickedButton() == stop ? QuitDuringImport::stop
                                                    : QuitDuringImport::stay;
    }
    // The import may have ended while the question was open.
    running = m_model->importProgress();
    if (answer == QuitDuringImport::stay)
        return;
    if (!running) {
        QApplication::quit();
        return;
    }
    // Quits once the run has recorded what it verified.
    m_quitPending = true;
    connect(
        m_model.get(), &VelarixModel::importFinished, this, [] { QApplication::quit(); },
        Qt::SingleShotConnection);
    if (answer == QuitDuringImport::stop)
        running->cancel();
}

VelarixModel& VelarixApp::sharedModel() {
    if (!m_model) {
        m_model = std::make_unique<VelarixModel>(m_settings);
        m_copyAnalyses = std::make_unique<CopyAnalyses>();
        m_model->setCopyFeeds(
            [analyses = m_copyAnalyses.get()](const QString& source) { return analyses->feedFor(source); },
            [analyses = m_copyAnalyses.get()](const QString& first) { return analyses->samplesFor(first); });
        new ImportNotifier(
            *m_model, *m_notifications, [this] { return isMainWindowHidden(); }, this);
        connect(m_model.get(), &VelarixModel::importFinished, this, &VelarixApp::openCopiesForTrimming);
    }
    return *m_model;
}

void VelarixApp::openCopiesForTrimming(const ImportReport& report) {
    // What was read of the copies as they were copied waits for the trimming's analysis.
    if (m_copyAnalyses)
        m_copyAnalyses->importEnded();
    // The copies, never the card's files; a cancelled import is left as the user stopped it.
    if (!m_model || !m_model->trimAfterImport() || report.cancelled)
        return;
    QStringList copies;
    for (const auto& file : report.imported)
        if (VideoTrimmingModel::isAcceptedVideo(QUrl::fromLocalFile(file.destination)))
            copies.append(file.destination);
    if (copies.isEmpty())
        return;
    static_cast<VideoTrimmingView*>(showTrimmingWindow())->addFiles(copies);
}

bool VelarixApp::menuBarExtra() const {
    return m_settings.boolValue(QString::fromLatin1(kMenuBarExtraKey)).value_or(true);
}

void VelarixApp::applyMenuBarExtra() {
    const bool on = menuBarExtra();
    // Asked for whether or not a tray is there now: at login the panel may come after Velarix, and
    // Qt puts a wanted icon into a tray that appears later (or comes back after a panel restart).
    m_tray->setVisible(on);
    // Without the background option, closing the last window ends the application.
    QApplication::setQuitOnLastWindowClosed(!on);
}

void VelarixApp::createActions() {
    m_openMainAction = new QAction(themedIcon("window-new", "open.svg"), tr("&Open\u2026"), this);
    connect(m_openMainAction, &QAction::triggered, this, [this] { showMainWindow(); });

    m_settingsAction =
        new QAction(themedIcon("preferences-system", "settings.svg"), tr("&Settings\u2026"), this);
    m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_settingsAction->setShortcutContext(Qt::ApplicationShortcut);
    m_settingsAction->setMenuRole(QAction::PreferencesRole);
    connect(m_settingsAction, &QAction::triggered, this, [this] { showSettingsWindow(); });

    m_quitAction = new QAction(themedIcon("application-exit", "quit.svg"), tr("&Quit"), this);
    m_quitAction->setShortcut(QKeySequence::Quit);
    m_quitAction->setShortcutContext(Qt::ApplicationShortcut);
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, this, &VelarixApp::requestQuit, Qt::QueuedConnection);

    m_trimmingAction = new QAction(tr("Video &Trimming"), this);
    m_trimmingAction->setObjectName(QStringLiteral("openVideoTrimming"));
    m_trimmingAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    m_trimmingAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_trimmingAction, &QAction::triggered, this, [this] { showTrimmingWindow(); });

    m_helpAction = new QAction(QIcon::fromTheme(QStringLiteral("help-contents")), tr("&Help"), this);
    connect(m_helpAction, &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(QStringLiteral(VELARIX_HELP_URL))); });

    m_checkForUpdatesAction = new QAction(tr("&Check for Updates\u2026"), this);
    m_checkForUpdatesAction->setObjectName(QStringLiteral("checkForUpdates"));
    m_checkForUpdatesAction->setEnabled(false);

    m_aboutAction = new QAction(tr("&About Velarix"), this);
    m_aboutAction->setMenuRole(QAction::AboutRole);
    connect(m_aboutAction, &QAction::triggered, this, [this] {
        QMessageBox::about(m_mainWindow ? static_cast<QWidget*>(m_mainWindow) : nullptr, tr("About Velarix"),
                           tr("<h3>Velarix %1</h3><p>Imports skydiving videos from camera cards and trims "
                              "them to the jump.</p>")
                               .arg(kApplicationVersion));
    });
}

void VelarixApp::createUpdater() {
    // The address set at build time, unless the settings file names another.
    QUrl feed(QStringLiteral(VELARIX_UPDATE_FEED));
    if (auto custom = m_settings.stringValue(Updater::kFeedSettingsKey); custom && !custom->isEmpty())
        feed = QUrl(*custom);
    // A build without a feed has nothing to check: no menu entry that could only fail.
    m_checkForUpdatesAction->setVisible(feed.isValid() && !feed.isEmpty());
    m_updater = new Updater(feed, kApplicationVersion, this);
    m_updater->start();
    m_checkForUpdatesViewModel = new CheckForUpdatesViewModel(*m_updater, this);
    m_checkForUpdatesAction->setEnabled(m_checkForUpdatesViewModel->canCheckForUpdates());
    connect(m_checkForUpdatesViewModel, &CheckForUpdatesViewModel::canCheckForUpdatesChanged,
            m_checkForUpdatesAction, &QAction::setEnabled);
    connect(m_checkForUpdatesAction, &QAction::triggered, m_updater, &Updater::checkForUpdates);
    connect(m_updater, &Updater::checkFinished, this, [this](const UpdateCheckResult& result) {
        delete m_updateDialog;
        auto* dialog = new UpdateDialog(result, kApplicationVersion, m_mainWindow);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_updateDialog = dialog;
        dialog->show();
        raise(dialog);
    });
}

void VelarixApp::installMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(m_settingsAction);
    file->addSeparator();
    file->addAction(m_quitAction);
    QMenu* tools = bar->addMenu(tr("&Tools"));
    tools->addAction(m_trimmingAction);
    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(m_helpAction);
    help->addAction(m_checkForUpdatesAction);
    help->addSeparator();
    help->addAction(m_aboutAction);
}

void VelarixApp::raise(QWidget* window) {
    window->show();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    window->activateWindow();
}

void VelarixApp::reportFatal(const QString& message) {
    qCCritical(lcVelarix, "%s", qUtf8Printable(message));
    std::fprintf(stderr, "%s\n", qUtf8Printable(message));
    if (m_showsDialogs)
        QMessageBox::critical(nullptr, kApplicationName, message);
    QCoreApplication::exit(1);
    Q_EMIT fatalError(message);
}

bool VelarixApp::handleLaunch(const QStringList& arguments) {
    QStringList files;
    bool background = false;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--background"))
            background = true;
        else
            files.append(argument);
    }
    if (!files.isEmpty()) {
        auto* trimming = static_cast<VideoTrimmingView*>(showTrimmingWindow());
        trimming->addFiles(files);
        return true;
    }
    if (background)
        return true;
    return showMainWindow() != nullptr;
}

QMainWindow* VelarixApp::showMainWindow() {
    if (m_mainWindow) {
        raise(m_mainWindow);
        return m_mainWindow;
    }
    VelarixModel& model = sharedModel();
    // Opened with the first main window and kept: a card load or import started from a closed
    // window may still be writing to it.
    if (!m_store) {
        auto store = openStore();
        if (!store) {
            reportFatal(tr("Could not create ModelContainer: ") + store.error().message);
            return nullptr;
        }
        m_store = std::move(*store);
    }
    auto* window = new VelarixView(model, *m_store, m_cardWatcher);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &VelarixView::trimVideosRequested, this, [this] { showTrimmingWindow(); });
    watchClosing(window);
    installMenus(window);
    m_mainWindow = window;
    raise(window);
    return window;
}

Result<std::unique_ptr<HistoryStore>> VelarixApp::openStore() {
    const QString path = AppPaths::storeFile();
    auto store = HistoryStore::open(path);
    if (store)
        return store;
    // Only a file we cannot use at all may be moved aside; a busy or newer store is left alone.
    const Error error = store.error();
    if (!isStoreError(error, StoreErrorCode::damaged) && !isStoreError(error, StoreErrorCode::notOurs))
        return store;
    bool move = false;
    if (m_moveAsideAnswer) {
        move = m_moveAsideAnswer(error.message);
    } else if (m_showsDialogs) {
        QMessageBox question(QMessageBox::Warning, kApplicationName, error.message);
        question.setInformativeText(
            tr("Velarix can move it aside (renamed with today's date, not deleted) and start a new, empty "
               "import history. Videos will then not show as imported until they are imported again."));
        QPushButton* moveButton =
            question.addButton(tr("&Move Aside and Start New History"), QMessageBox::AcceptRole);
        question.addButton(tr("Quit"), QMessageBox::RejectRole);
        question.exec();
        move = question.clickedButton() == moveButton;
    }
    if (!move)
        return store;
    auto moved = HistoryStore::moveAside(path);
    if (!moved)
        return moved.error();
    return HistoryStore::open(path);
}

QWidget* VelarixApp::showSettingsWindow() {
    if (!m_settingsWindow) {
        auto* window = new VelarixSettings(m_settings);
        window->setAttribute(Qt::WA_DeleteOnClose);
        watchClosing(window);
        m_settingsWindow = window;
    }
    raise(m_settingsWindow);
    return m_settingsWindow;
}

QMainWindow* VelarixApp::showTrimmingWindow() {
    if (!m_trimmingWindow) {
        auto* window = new VideoTrimmingView();
        window->setAttribute(Qt::WA_DeleteOnClose);
        watchClosing(window);
        installMenus(window);
        m_trimmingWindow = window;
    }
    raise(m_trimmingWindow);
    return m_trimmingWindow;
}

} // namespace velarix
