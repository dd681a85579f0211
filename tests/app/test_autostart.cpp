#include "Velarix/shell/Autostart.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;

class AutostartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entryIsWrittenAndRemoved() {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        QCOMPARE(Autostart::entryPath(),
                 dir.filePath(QStringLiteral("autostart/app.tarnwick.Velarix.desktop")));
        QVERIFY(!Autostart::isEnabled());

        QVERIFY(Autostart::setEnabled(true, QStringLiteral("/opt/my apps/velarix\"$x")));
        QVERIFY(Autostart::isEnabled());
        QFile entry(Autostart::entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY2(text.contains(QStringLiteral("Exec=\"/opt/my apps/velarix\\\"\\$x\" --background\n")),
                 qPrintable(text));
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));

        QVERIFY(Autostart::setEnabled(false));
        QVERIFY(!Autostart::isEnabled());
        QVERIFY(Autostart::setEnabled(false)); // removing twice is fine
    }
};

QTEST_GUILESS_MAIN(AutostartTest)
#include "test_autostart.moc"
