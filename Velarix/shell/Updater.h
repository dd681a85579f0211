#pragma once

#include "Velarix/shell/Appcast.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;

namespace velarix {

// What a check found.
struct UpdateCheckResult {
    enum class Kind { upToDate, updateAvailable, failed, notConfigured };
    Kind kind = Kind::failed;
    std::optional<AppcastItem> update; // with updateAvailable
    QString message;                   // with failed and notConfigured, in words for the user
};

// Reads an appcast feed and tells whether a newer version exists. canCheckForUpdates is true once
// started and while no check runs.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
public:
    // The settings key that overrides the feed address set at build time.
    static inline const QString kFeedSettingsKey = QStringLiteral("updateFeedURL");

    Updater(QUrl feed, QString currentVersion, QObject* parent = nullptr);

    void start();
    bool canCheckForUpdates() const { return m_started && !m_reply; }
    QUrl feed() const { return m_feed; }

    // A user-initiated check; the answer arrives as checkFinished.
    void checkForUpdates();

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool canCheck);
    void checkFinished(const velarix::UpdateCheckResult& result);

private:
    void finish(const UpdateCheckResult& result);

    QUrl m_feed;
    QString m_currentVersion;
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_started = false;
};

// Mirrors the updater's can-check flag for the menu item: false at first, then the updater's current
// value at once and every change after it.
class CheckForUpdatesViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
public:
    explicit CheckForUpdatesViewModel(Updater& updater, QObject* parent = nullptr);
    bool canCheckForUpdates() const { return m_canCheckForUpdates; }

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool canCheck);

private:
    void assign(bool canCheck);
    bool m_canCheckForUpdates = false;
};

} // namespace velarix
