#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix::test;

class AnalyzeCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_jump;
    QString m_short;

    static QList<QJsonObject> lines(const QByteArray& out) {
        QList<QJsonObject> objects;
        for (const QByteArray& line : out.split('\n'))
            if (!line.isEmpty())
                objects.append(QJsonDocument::fromJson(line).object());
        return objects;
    }

private Q_SLOTS:
    void initTestCase() {
        m_jump = m_dir.filePath(QStringLiteral("jump.mp4"));
        QCOMPARE(makeClip(m_jump, ClipRecipe::jump()), QString());
        ClipRecipe shortClip = ClipRecipe::jump();
        shortClip.seconds = 30;
        shortClip.exitTime = 5;
        shortClip.openingTime = 20;
        m_short = m_dir.filePath(QStringLiteral("short.mp4"));
        QCOMPARE(makeClip(m_short, shortClip), QString());
    }

    void jsonLinePerFile() {
        const auto result = runCli({"analyze", m_jump, m_short, "--json", "--levels"});
        QCOMPARE(result.exitCode, 0);
        const auto objects = lines(result.out);
        QCOMPARE(objects.size(), 2);

        const QJsonObject jump = objects[0];
        QCOMPARE(jump.value("file").toString(), m_jump);
        QCOMPARE(jump.value("duration").toDouble(), 150.0);
        QCOMPARE(jump.value("fileSize").toInteger(), QFileInfo(m_jump).size());
        QVERIFY(qAbs(jump.value("suggestedStart").toDouble() - 10) <= 1);
        QVERIFY(qAbs(jump.value("suggestedEnd").toDouble() - 85) <= 1);
        QVERIFY(jump.value("summary").toString().startsWith("Keep "));
        QVERIFY(jump.value("error").isNull());
        QCOMPARE(jump.value("exitTime").toDouble(), jump.value("suggestedStart").toDouble() + 10);
        QVERIFY(jump.value("audioOpeningTime").isDouble() && jump.value("frameOpeningTime").isDouble());
        // 150 s at 11,025 Hz: 300 windows of 5,512 samples and a last one of 150 samples.
        QCOMPARE(jump.value("levels").toArray().size(), 301);

        const QJsonObject shortClip = objects[1];
        QCOMPARE(shortClip.value("summary").toString(), QStringLiteral("Duration 00:30"));
        QCOMPARE(shortClip.value("error").toString(),
                 QStringLiteral("Clip is shorter than 01:30, so no trim suggestion was generated."));
        for (const char* key :
             {"suggestedStart", "suggestedEnd", "exitTime", "audioOpeningTime", "frameOpeningTime", "levels"})
            QVERIFY2(shortClip.contains(key) && shortClip.value(key).isNull(), key);
    }

    void exitStatus() {
        const QString broken = m_dir.filePath("broken.mp4");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a video at all");
        file.close();

        auto result = runCli({"--json", "analyze", m_short, broken});
        QCOMPARE(result.exitCode, 1);
        const auto objects = lines(result.out);
        QCOMPARE(objects.size(), 2);
        QVERIFY(objects[1].value("duration").isNull());
        QVERIFY(objects[1].value("error").toString().contains("broken.mp4"));
        QVERIFY(!objects[1].contains("levels"));

        result = runCli({"analyze", broken});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.contains("broken.mp4"));
        QCOMPARE(runCli({"analyze"}).exitCode, 2);
        QCOMPARE(runCli({"analyze", "--fast", m_short}).exitCode, 2);

        // Human-readable by default.
        result = runCli({"analyze", m_jump});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.startsWith(m_jump.toUtf8() + ": Keep 00:"));
        QVERIFY(result.out.contains("exit 00:1"));
    }
};

QTEST_GUILESS_MAIN(AnalyzeCommandTest)
#include "test_analyze_command.moc"
