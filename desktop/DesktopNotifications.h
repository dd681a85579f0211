#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <optional>

namespace velarix {

// What a user sees of Velarix while no window is open: desktop notifications and the progress on
// its taskbar entry. The desktop's is DBusDesktopNotifications; tests use their own.
class DesktopNotifications {
public:
    struct Notification {
        QString summary;
        QString body;
        // 0–100, shown as a bar where the notification server draws one.
        std::optional<int> percent;
    };

    virtual ~DesktopNotifications() = default;
    // Shows the notification under `key`, replacing the one shown under it before. Without a
    // notification service nothing is shown and nothing fails.
    virtual void show(const QString& key, const Notification& notification) = 0;
    virtual void close(const QString& key) = 0;
    // Progress on the application's taskbar entry, 0–1; absent hides it.
    virtual void setTaskbarProgress(std::optional<double> fraction) = 0;
};

// org.freedesktop.Notifications on the session bus, and the com.canonical.Unity.LauncherEntry signal
// that docks and task managers (KDE's, Dash to Dock, Plank) read for an entry's progress. All calls
// are asynchronous: a missing or hanging service never blocks the caller.
class DBusDesktopNotifications : public QObject, public DesktopNotifications {
    Q_OBJECT
public:
    // `desktopEntry`: the application's desktop file name without ".desktop".
    explicit DBusDesktopNotifications(QString desktopEntry, QObject* parent = nullptr);

    void show(const QString& key, const Notification& notification) override;
    void close(const QString& key) override;
    void setTaskbarProgress(std::optional<double> fraction) override;

private:
    QString m_desktopEntry;
    // The server's id of what is shown under each key, so that an update replaces it.
    QHash<QString, uint> m_ids;
    // An update asked for while the first Notify of its key is still unanswered.
    QHash<QString, Notification> m_waiting;
    QHash<QString, bool> m_pending;
};

} // namespace velarix
