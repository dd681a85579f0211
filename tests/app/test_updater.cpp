#include "Velarix/shell/Appcast.h"
#include "Velarix/shell/UpdateDialog.h"
#include "Velarix/shell/Updater.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace velarix;

namespace {

const QByteArray kFeed = R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
  <channel>
    <title>Velarix</title>
    <item>
      <title>Version 1.9</title>
      <sparkle:version>1.9</sparkle:version>
      <enclosure url="https://example.invalid/velarix-1.9.tar.gz" length="1000" type="application/octet-stream"/>
    </item>
    <item>
      <title>Version 1.10</title>
      <sparkle:version>1.10</sparkle:version>
      <sparkle:shortVersionString>1.10 "Canopy"</sparkle:shortVersionString>
      <sparkle:releaseNotesLink>https://example.invalid/notes/1.10.html</sparkle:releaseNotesLink>
      <description><![CDATA[<ul><li>Faster scans</li></ul>]]></description>
      <pubDate>Sat, 05 Dec 2026 10:00:00 +0000</pubDate>
      <enclosure url="https://example.invalid/velarix-1.10.tar.gz" length="23456789" type="application/octet-stream"/>
    </item>
    <item>
      <title>Old style</title>
      <enclosure url="https://example.invalid/old.tar.gz" sparkle:version="1.2" sparkle:shortVersionString="1.2"/>
    </item>
    <item><title>No version at all</title></item>
  </channel>
</rss>)";

// Answers every request with one canned HTTP response.
class FeedServer : public QTcpServer {
public:
    QByteArray status = "200 OK";
    QByteArray body = kFeed;
    int requests = 0;

    FeedServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    ++requests;
                    socket->write("HTTP/1.1 " + status +
                                  "\r\nContent-Type: application/rss+xml\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(serverPort())); }
};

UpdateCheckResult check(Updater& updater) {
    QSignalSpy finished(&updater, &Updater::checkFinished);
    updater.checkForUpdates();
    if (finished.isEmpty() && !finished.wait(10'000))
        return {};
    return finished.first().first().value<UpdateCheckResult>();
}

} // namespace

class UpdaterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<UpdateCheckResult>(); }

    void versionsCompareNumerically_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("1.10 after 1.9") << "1.10"
                                        << "1.9" << 1;
        QTest::newRow("trailing zero") << "1.2"
                                       << "1.2.0" << 0;
        QTest::newRow("patch") << "0.1.0"
                               << "0.1.1" << -1;
        QTest::newRow("beta before release") << "2.0b1"
                                             << "2.0" << -1;
        QTest::newRow("beta order") << "2.0b2"
                                    << "2.0b10" << -1;
        QTest::newRow("longer is newer") << "1.0.1"
                                         << "1.0" << 1;
    }

    void versionsCompareNumerically() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(compareVersions(a, b), order);
        QCOMPARE(compareVersions(b, a), -order);
    }

    void parsesFeedItems() {
        const auto items = parseAppcast(kFeed);
        QVERIFY(items);
        QCOMPARE(items->size(), 3);
        const AppcastItem& latest = items->at(1);
        QCOMPARE(latest.version, QStringLiteral("1.10"));
        QCOMPARE(latest.displayVersion(), QStringLiteral("1.10 \"Canopy\""));
        QCOMPARE(latest.releaseNotes, QUrl(QStringLiteral("https://example.invalid/notes/1.10.html")));
        QCOMPARE(latest.download, QUrl(QStringLiteral("https://example.invalid/velarix-1.10.tar.gz")));
        QCOMPARE(latest.length, 23456789);
        QVERIFY(latest.description.contains(QStringLiteral("Faster scans")));
        QVERIFY(latest.published.isValid());
        QCOMPARE(items->at(2).version, QStringLiteral("1.2"));
        QCOMPARE(newestUpdate(*items, QStringLiteral("1.9"))->version, QStringLiteral("1.10"));
        QVERIFY(!newestUpdate(*items, QStringLiteral("1.10")));

        QVERIFY(!parseAppcast("<html><body>Not found</body></html>"));
        QVERIFY(!parseAppcast("<rss><channel><item>"));
    }

    void checksAgainstALocalFeed() {
        FeedServer server;
        QVERIFY(server.isListening());
        Updater updater(server.url(), QStringLiteral("1.9"));
        CheckForUpdatesViewModel before(updater);
        QVERIFY(!before.canCheckForUpdates());
        updater.start();
        QVERIFY(before.canCheckForUpdates());
        // A view model made after the start shows the current flag at once, not its initial false.
        CheckForUpdatesViewModel viewModel(updater);
        QVERIFY(viewModel.canCheckForUpdates());

        QSignalSpy flag(&viewModel, &CheckForUpdatesViewModel::canCheckForUpdatesChanged);
        UpdateCheckResult result = check(updater);
        QCOMPARE(result.kind, UpdateCheckResult::Kind::updateAvailable);
        QCOMPARE(result.update->version, QStringLiteral("1.10"));
        // Disabled while the check ran, enabled again after it.
        QCOMPARE(flag.count(), 2);
        QCOMPARE(flag.at(0).first().toBool(), false);
        QVERIFY(viewModel.canCheckForUpdates());

        UpdateDialog dialog(result, QStringLiteral("1.9"));
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("download"))->isEnabled());

        Updater current(server.url(), QStringLiteral("1.10"));
        current.start();
        QCOMPARE(check(current).kind, UpdateCheckResult::Kind::upToDate);

        server.status = "404 Not Found";
        server.body = "<html>gone</html>";
        result = check(updater);
        QCOMPARE(result.kind, UpdateCheckResult::Kind::failed);
        QVERIFY(!result.message.isEmpty());

        server.status = "200 OK";
        result = check(updater);
        QCOMPARE(result.kind, UpdateCheckResult::Kind::failed);
        QCOMPARE(result.message, QStringLiteral("The update feed is not an RSS feed."));
        QCOMPARE(server.requests, 4);
    }

    void withoutAFeedTheCommandSaysSo() {
        Updater updater(QUrl(), QStringLiteral("1.0"));
        updater.start();
        const UpdateCheckResult result = check(updater);
        QCOMPARE(result.kind, UpdateCheckResult::Kind::notConfigured);
        QVERIFY(result.message.contains(QStringLiteral("no update feed")));
        UpdateDialog dialog(result, QStringLiteral("1.0"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("text"))->text(), result.message);
    }
};

QTEST_MAIN(UpdaterTest)
#include "test_updater.moc"
