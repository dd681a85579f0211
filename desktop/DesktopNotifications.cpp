#include "desktop/DesktopNotifications.h"

#include "desktop/AppIdentity.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace velarix {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
} // namespace

DBusDesktopNotifications::DBusDesktopNotifications(QString desktopEntry, QObject* parent)
    : QObject(parent)
    , m_desktopEntry(std::move(desktopEntry)) {}

void DBusDesktopNotifications::show(const QString& key, const Notification& notification) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Until the server has told the id of this key's first notification, a second Notify would
    // open a second bubble: keep only the latest and send it when the id is known.
    if (m_pending.value(key)) {
        m_waiting.insert(key, notification);
        return;
    }
    QVariantMap hints{{QStringLiteral("desktop-entry"), m_desktopEntry}};
    if (notification.percent)
        hints.insert(QStringLiteral("value"), std::clamp(*notification.percent, 0, 100));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QString(kApplicationName) << m_ids.value(key, 0u) << m_desktopEntry << notification.summary
         << notification.body << QStringList() << hints << -1;
    m_pending.insert(key, true);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, key](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        m_pending.remove(key);
        const QDBusPendingReply<uint> reply = *done;
        // No service, or it refused: nothing is shown, and that is all.
        if (reply.isError())
            m_ids.remove(key);
        else
            m_ids.insert(key, reply.value());
        if (m_waiting.contains(key))
            show(key, m_waiting.take(key));
    });
}

void DBusDesktopNotifications::close(const QString& key) {
    m_waiting.remove(key);
    const uint id = m_ids.take(key);
    if (id == 0)
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().asyncCall(call);
}

void DBusDesktopNotifications::setTaskbarProgress(std::optional<double> fraction) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/app/tarnwick/Velarix/LauncherEntry"),
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    const QVariantMap properties{{QStringLiteral("progress"), std::clamp(fraction.value_or(0.0), 0.0, 1.0)},
                                 {QStringLiteral("progress-visible"), fraction.has_value()}};
    signal << QStringLiteral("application://%1.desktop").arg(m_desktopEntry) << properties;
    bus.send(signal);
}

} // namespace velarix
