#include "Velarix/shell/Updater.h"

#include "Velarix/widgets/AppLog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace velarix {

namespace {
constexpr int kTimeoutMs = 20'000;
constexpr qint64 kMaxFeedBytes = 4 * 1024 * 1024;
} // namespace

Updater::Updater(QUrl feed, QString currentVersion, QObject* parent)
    : QObject(parent)
    , m_feed(std::move(feed))
    , m_currentVersion(std::move(currentVersion))
    , m_network(new QNetworkAccessManager(this)) {}

void Updater::start() {
    if (m_started)
        return;
    m_started = true;
    Q_EMIT canCheckForUpdatesChanged(canCheckForUpdates());
}

void Updater::checkForUpdates() {
    if (!canCheckForUpdates())
        return;
    if (!m_feed.isValid() || m_feed.isEmpty()) {
        finish({UpdateCheckResult::Kind::notConfigured, std::nullopt,
                tr("This build of Velarix has no update feed configured, so it cannot look for updates. "
                   "Set \"%1\" in the settings file to the address of an appcast feed.")
                    .arg(kFeedSettingsKey)});
        return;
    }
    QNetworkRequest request(m_feed);
    request.setTransferTimeout(kTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Velarix/%1").arg(m_currentVersion));
    m_reply = m_network->get(request);
    Q_EMIT canCheckForUpdatesChanged(false);

    connect(m_reply, &QNetworkReply::downloadProgress, m_reply, [reply = m_reply](qint64 received, qint64) {
        if (received > kMaxFeedBytes)
            reply->abort();
    });
    connect(m_reply, &QNetworkReply::finished, this, [this, reply = m_reply] {
        reply->deleteLater();
        m_reply = nullptr;
        if (reply->error() != QNetworkReply::NoError) {
            qCWarning(lcVelarix, "update check failed: %s", qUtf8Printable(reply->errorString()));
            finish({UpdateCheckResult::Kind::failed, std::nullopt,
                    tr("Velarix could not reach the update server: %1").arg(reply->errorString())});
            return;
        }
        const auto items = parseAppcast(reply->readAll());
        if (!items) {
            finish({UpdateCheckResult::Kind::failed, std::nullopt, items.error().message});
            return;
        }
        if (auto update = newestUpdate(*items, m_currentVersion))
            finish({UpdateCheckResult::Kind::updateAvailable, update, {}});
        else
            finish({UpdateCheckResult::Kind::upToDate, std::nullopt, {}});
    });
}

void Updater::finish(const UpdateCheckResult& result) {
    Q_EMIT canCheckForUpdatesChanged(canCheckForUpdates());
    Q_EMIT checkFinished(result);
}

CheckForUpdatesViewModel::CheckForUpdatesViewModel(Updater& updater, QObject* parent)
    : QObject(parent) {
    connect(&updater, &Updater::canCheckForUpdatesChanged, this, &CheckForUpdatesViewModel::assign);
    assign(updater.canCheckForUpdates());
}

void CheckForUpdatesViewModel::assign(bool canCheck) {
    if (m_canCheckForUpdates == canCheck)
        return;
    m_canCheckForUpdates = canCheck;
    Q_EMIT canCheckForUpdatesChanged(canCheck);
}

} // namespace velarix
