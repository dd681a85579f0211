#include "Velarix/shell/SingleInstance.h"
#include "tests/support/TestSupport.h"

#include <QFuture>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

using namespace velarix;

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void handsArgumentsToTheRunningInstance() {
        const QString socket = m_dir.filePath(QStringLiteral("velarix.socket"));
        SingleInstance first(socket);
        QVERIFY(!first.sendToRunning({}, 200)); // nobody runs yet
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        // The second launch blocks while it waits for the answer, so it runs on another thread.
        const QStringList arguments{QStringLiteral("/videos/jump 1.MP4"), QStringLiteral("/videos/ü.360")};
        QFuture<bool> sent =
            QtConcurrent::run([&] { return SingleInstance(socket).sendToRunning(arguments); });
        QTRY_VERIFY(sent.isFinished());
        QVERIFY(sent.result());
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.first().first().toStringList(), arguments);
    }

    void staleSocketIsReplaced() {
        const QString socket = m_dir.filePath(QStringLiteral("stale.socket"));
        {
            QFile leftOver(socket);
            QVERIFY(leftOver.open(QIODevice::WriteOnly));
        }
        SingleInstance instance(socket);
        QVERIFY(!instance.sendToRunning({}, 200));
        QVERIFY(instance.listen());
    }

    void secondLaunchEndsAndLeavesTheFirstRunning() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("VELARIX_VOLUMES_DIR"), m_dir.filePath(QStringLiteral("volumes")));

        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(VELARIX_APP_PATH), {QStringLiteral("--background")});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir.filePath(QStringLiteral("app.tarnwick.Velarix.socket"))),
                                 10'000);

        const auto second = test::runProcess(QStringLiteral(VELARIX_APP_PATH), {}, 20'000, environment);
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(10'000));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
