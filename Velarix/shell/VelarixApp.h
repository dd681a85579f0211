#pragma once

#include "Velarix/shell/ShellKeys.h"
#include "core/Result.h"
#include "import/ImportReport.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace velarix {

class CardWatcher;
class CopyAnalyses;
class CheckForUpdatesViewModel;
class DesktopNotifications;
class HistoryStore;
class Settings;
class Updater;
class VelarixModel;

// The application shell: owns the shared import model, the windows (one each), the tray icon and the
// actions behind the menus and shortcuts. Windows are created on demand and deleted when closed.
class VelarixApp : public QObject {
    Q_OBJECT
public:
    // `notifications`: where desktop notifications go; the session bus's service when null.
    explicit VelarixApp(Settings& settings, QObject* parent = nullptr,
                        DesktopNotifications* notifications = nullptr);
    ~VelarixApp() override;

    // The one import model, created on first use.
    VelarixModel& sharedModel();

    // Each opens its window, or brings it forward when it is open already. showMainWindow opens the
    // history store first; when that fails it reports and quits with status 1 and returns null.
    QMainWindow* showMainWindow();
    QWidget* showSettingsWindow();
    QMainWindow* showTrimmingWindow();

    // Acts on the arguments of a launch, this process's own or one handed over by a later launch:
    // files open in the trimming window; otherwise the main window comes forward unless "--background".
    // False when the main window was asked for and could not be built.
    bool handleLaunch(const QStringList& arguments);

    QMainWindow* mainWindow() const { return m_mainWindow; }
    QMainWindow* trimmingWindow() const { return m_trimmingWindow; }
    QWidget* settingsWindow() const { return m_settingsWindow; }
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    Updater& updater() const { return *m_updater; }

    bool menuBarExtra() const;
    CardWatcher& cardWatcher() const { return *m_cardWatcher; }

    // The menus every window shows; actions are shared so that shortcuts work from any window.
    void installMenus(QMainWindow* window);

    // What Quit does while an import runs: waits for it, stops it (keeping what is verified), or
    // does not quit. Without an import it quits at once.
    enum class QuitDuringImport { finishFirst, stop, stay };
    void requestQuit();
    // Answers the question Quit asks during an import; by default a dialog asks, and without dialogs
    // the import is stopped.
    void setQuitDuringImportAnswer(std::function<QuitDuringImport()> answer) {
        m_quitDuringImportAnswer = std::move(answer);
    }

    // Tests turn off modal dialogs (the fatal store error is then only printed).
    void setShowsDialogs(bool shows) { m_showsDialogs = shows; }
    // Answers the offer to move a damaged store aside (given the message); by default a dialog asks,
    // and without dialogs the answer is no.
    void setMoveAsideAnswer(std::function<bool(const QString&)> answer) {
        m_moveAsideAnswer = std::move(answer);
    }

Q_SIGNALS:
    // The store could not be opened; the message is the one shown to the user.
    void fatalError(const QString& message);

private:
    void createActions();
    void createUpdater();
    void watchForCards();
    void applyMenuBarExtra();
    void watchClosing(QWidget* window);
    void lastWindowClosed();
    bool isMainWindowHidden() const;
    // "Trim after import": the verified copies of a finished import open in the trimming window.
    void openCopiesForTrimming(const ImportReport& report);
    void reportFatal(const QString& message);
    Result<std::unique_ptr<HistoryStore>> openStore();
    static void raise(QWidget* window);

    Settings& m_settings;
    DesktopNotifications* m_notifications = nullptr;
    CardWatcher* m_cardWatcher = nullptr;
    bool m_toldAboutBackground = false;
    // Before the model: an import still running when the model goes feeds these to the end.
    std::unique_ptr<CopyAnalyses> m_copyAnalyses;
    std::unique_ptr<VelarixModel> m_model;
    std::unique_ptr<HistoryStore> m_store;
    QPointer<QMainWindow> m_mainWindow;
    QPointer<QMainWindow> m_trimmingWindow;
    QPointer<QWidget> m_settingsWindow;
    QSystemTrayIcon* m_tray = nullptr;
    std::unique_ptr<QMenu> m_trayMenu;
    Updater* m_updater = nullptr;
    CheckForUpdatesViewModel* m_checkForUpdatesViewModel = nullptr;
    QPointer<QWidget> m_updateDialog;

    QAction* m_openMainAction = nullptr;
    QAction* m_settingsAction = nullptr;
    QAction* m_quitAction = nullptr;
    QAction* m_trimmingAction = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_checkForUpdatesAction = nullptr;
    QAction* m_aboutAction = nullptr;
    bool m_showsDialogs = true;
    std::function<bool(const QString&)> m_moveAsideAnswer;
    std::function<QuitDuringImport()> m_quitDuringImportAnswer;
    bool m_quitPending = false;
};

} // namespace velarix
