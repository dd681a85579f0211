#include "import/CardManifest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace velarix;

namespace {
void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class ManifestTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesExactBytes() {
        QCOMPARE(encodeManifest(QStringLiteral("Tandem 2")), QByteArray("{\"name\":\"Tandem 2\"}"));
        QCOMPARE(encodeManifest(QStringLiteral("Tandem 2")).size(), 19);
        QCOMPARE(encodeManifest(QStringLiteral("A/B \"q\"\n")),
                 QByteArray("{\"name\":\"A\\/B \\\"q\\\"\\n\"}"));
        QCOMPARE(encodeManifest(QStringLiteral("Sprünge")), QByteArray("{\"name\":\"Spr\xc3\xbcnge\"}"));
    }

    void roundTripsAndReplaces() {
        QTemporaryDir volume;
        for (const QString& name : {QStringLiteral("A/B"), QString(), QStringLiteral("100% Sprünge\n2")}) {
            writeManifest(volume.path(), name);
            QCOMPARE(readManifest(volume.path()), std::optional(name));
        }
        write(volume.filePath(".velarix"), "{\"name\":\"Tandem\",\"jumps\":12}");
        QCOMPARE(readManifest(volume.path()), std::optional(QStringLiteral("Tandem")));
        writeManifest(volume.path(), QStringLiteral("Tandem"));
        QFile file(volume.filePath(".velarix"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("{\"name\":\"Tandem\"}"));
    }

    void badManifestsGiveNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing is not an error") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("not JSON") << QByteArray("name=Tandem");
        QTest::newRow("capital N") << QByteArray("{\"Name\":\"Tandem\"}");
        QTest::newRow("not a string") << QByteArray("{\"name\":12}");
        QTest::newRow("an array") << QByteArray("[\"Tandem\"]");
        QTest::newRow("huge") << QByteArray("{\"name\":\"") + QByteArray(70 * 1024, 'x') + QByteArray("\"}");
    }
    void badManifestsGiveNothing() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir volume;
        if (QString::fromLatin1(QTest::currentDataTag()) != QLatin1String("missing is not an error")) {
            write(volume.filePath(".velarix"), bytes);
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Failed to read .velarix manifest: .+"));
        }
        QCOMPARE(readManifest(volume.path()), std::nullopt);
    }

    void neitherFolderNorFifoIsRead() {
        QTemporaryDir volume;
        QVERIFY(QDir(volume.path()).mkdir(".velarix"));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Failed to read .velarix manifest: .+"));
        QCOMPARE(readManifest(volume.path()), std::nullopt);
        QTemporaryDir other;
        QVERIFY(::mkfifo(QFile::encodeName(other.filePath(".velarix")).constData(), 0600) == 0);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^Failed to read .velarix manifest: .+"));
        QCOMPARE(readManifest(other.path()), std::nullopt);
    }

    void writeFailureIsLogged() {
        QTest::ignoreMessage(
            QtCriticalMsg,
            QRegularExpression("^Failed to write .velarix manifest at /proc/velarix-none/.velarix: .+"));
        writeManifest(QStringLiteral("/proc/velarix-none"), QStringLiteral("Tandem"));
    }
};

QTEST_GUILESS_MAIN(ManifestTest)
#include "test_manifest.moc"
