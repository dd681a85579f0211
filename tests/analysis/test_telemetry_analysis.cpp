// Whole clips with the camera's telemetry through the analysis, as the trimming window and the
// command line run it.
#include "analysis/VideoTrimAnalysis.h"
#include "demo/SyntheticJump.h"
#include "tests/support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace velarix;
using namespace velarix::test;

namespace {

constexpr double kExit = 45;
constexpr double kOpening = 102;

enum class Sensors { None, Accelerometer, Gps, GpsWithoutFix };

// A small, cheap clip of the jump: the pictures hardly matter here, the sound and sensors do.
SyntheticJump jumpWith(JumpAudio audio, Sensors sensors) {
    SyntheticJump jump;
    jump.duration = 170;
    jump.exitTime = kExit;
    jump.openingTime = kOpening;
    jump.width = 96;
    jump.height = 54;
    jump.framesPerSecond = 2;
    jump.audio = audio;
    jump.audioSampleRate = 16'000;
    jump.seed = 11;
    if (sensors != Sensors::None) {
        JumpTelemetry telemetry;
        telemetry.gps = sensors != Sensors::Accelerometer;
        telemetry.accelerometer = sensors != Sensors::GpsWithoutFix;
        telemetry.gpsFix = sensors == Sensors::GpsWithoutFix ? 0 : 3;
        jump.telemetry = telemetry;
    }
    return jump;
}

} // namespace

class TelemetryAnalysisTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_clips = 0;

    QString write(const SyntheticJump& jump) {
        const QString path =
            m_dir.filePath(QStringLiteral("GX01%1.MP4").arg(++m_clips, 4, 10, QLatin1Char('0')));
        const auto written = writeSyntheticJump(path, jump);
        return written ? path : QString();
    }

private Q_SLOTS:
    void initTestCase() { av_log_set_level(AV_LOG_ERROR); }

    // The kept range from 10 s before the exit to 10 s after the opening, whatever the sound does.
    void telemetryFindsTheJump_data() {
        QTest::addColumn<int>("audio");
        QTest::addColumn<int>("sensors");
        QTest::addColumn<QString>("exitSource");
        QTest::newRow("wind, GPS") << int(JumpAudio::Wind) << int(Sensors::Gps) << "telemetry";
        QTest::newRow("silent, GPS") << int(JumpAudio::Silent) << int(Sensors::Gps) << "telemetry";
        QTest::newRow("muffled, GPS") << int(JumpAudio::Muffled) << int(Sensors::Gps) << "telemetry";
        QTest::newRow("music, GPS") << int(JumpAudio::Music) << int(Sensors::Gps) << "telemetry";
        QTest::newRow("no audio track, GPS") << int(JumpAudio::None) << int(Sensors::Gps) << "telemetry";
        QTest::newRow("silent, accelerometer")
            << int(JumpAudio::Silent) << int(Sensors::Accelerometer) << "telemetry";
        QTest::newRow("music, accelerometer")
            << int(JumpAudio::Music) << int(Sensors::Accelerometer) << "telemetry";
        QTest::newRow("no audio track, accelerometer")
            << int(JumpAudio::None) << int(Sensors::Accelerometer) << "telemetry";
        // The wind's exit is as good as the accelerometer's guess; they agree, the sharper one counts.
        QTest::newRow("wind, accelerometer")
            << int(JumpAudio::Wind) << int(Sensors::Accelerometer) << "telemetry";
    }
    void telemetryFindsTheJump() {
        QFETCH(int, audio);
        QFETCH(int, sensors);
        QFETCH(QString, exitSource);
        const QString path = write(jumpWith(JumpAudio(audio), Sensors(sensors)));
        QVERIFY(!path.isEmpty());
        const auto result = analyzeVideo(path);
        QVERIFY(result);
        QVERIFY2(result->suggestedStart && result->suggestedEnd, qPrintable(result->explanation));
        QVERIFY2(std::abs(*result->suggestedStart - (kExit - 10)) <= 1,
                 qPrintable(QString::number(*result->suggestedStart)));
        QVERIFY2(std::abs(*result->suggestedEnd - (kOpening + 10)) <= 1,
                 qPrintable(QString::number(*result->suggestedEnd)));
        QVERIFY(!result->error);
        QCOMPARE(result->exitSource, exitSource);
        QCOMPARE(result->openingSource, QStringLiteral("telemetry"));
        QCOMPARE(result->telemetrySource,
                 Sensors(sensors) == Sensors::Gps ? QStringLiteral("gps") : QStringLiteral("accelerometer"));
        QVERIFY(result->explanation.contains(QStringLiteral("from the camera's")));
        QCOMPARE(result->levels.has_value(), JumpAudio(audio) != JumpAudio::None);
        QVERIFY(!result->telemetryCurve.empty());
    }

    // Without telemetry, or with telemetry that cannot be used, the sound decides as it always did:
    // the same range for the same sound, and nothing where the sound says nothing.
    void withoutUsableTelemetryTheSoundDecides() {
        const auto plain = analyzeVideo(write(jumpWith(JumpAudio::Wind, Sensors::None)));
        QVERIFY(plain && plain->suggestedStart && plain->suggestedEnd);
        QCOMPARE(plain->exitSource, QStringLiteral("audio"));
        QVERIFY(plain->telemetrySource.isEmpty() && plain->telemetryProblem.isEmpty());
        QVERIFY(!plain->telemetryExitTime && plain->telemetryCurve.empty());

        const auto noFix = analyzeVideo(write(jumpWith(JumpAudio::Wind, Sensors::GpsWithoutFix)));
        QVERIFY(noFix);
        QCOMPARE(noFix->suggestedStart, plain->suggestedStart);
        QCOMPARE(noFix->suggestedEnd, plain->suggestedEnd);
        QVERIFY(noFix->telemetrySource.isEmpty());
        QCOMPARE(noFix->telemetryProblem, QStringLiteral("the GPS has no fix"));
        QVERIFY(noFix->explanation.contains(QStringLiteral("No usable telemetry: the GPS has no fix.")));

        SyntheticJump damaged = jumpWith(JumpAudio::Wind, Sensors::None);
        damaged.telemetryPayloads.assign(170, QByteArray("DEVC\0\x01\xff\xffSTRM", 12));
        const auto lying = analyzeVideo(write(damaged));
        QVERIFY(lying);
        QCOMPARE(lying->suggestedStart, plain->suggestedStart);
        QCOMPARE(lying->suggestedEnd, plain->suggestedEnd);
        QCOMPARE(lying->telemetryProblem, QStringLiteral("DEVC runs past the end of its container"));

        const auto silent = analyzeVideo(write(jumpWith(JumpAudio::Silent, Sensors::None)));
        QVERIFY(silent && !silent->suggestedStart);
        QCOMPARE(*silent->error, QStringLiteral("No confident trim suggestion found."));
        const auto mute = analyzeVideo(write(jumpWith(JumpAudio::None, Sensors::None)));
        QVERIFY(mute && !mute->suggestedStart);
        QCOMPARE(*mute->error, QStringLiteral("No audio track found, so no trim suggestion was generated."));
    }

    // The command line names the telemetry's moments and which source decided.
    void commandLineSaysWhichSourceDecided() {
        const QString path = write(jumpWith(JumpAudio::None, Sensors::Gps));
        const auto run = runCli({"--json", "analyze", path});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject line = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(line.value("telemetrySource").toString(), QStringLiteral("gps"));
        QVERIFY(std::abs(line.value("telemetryExitTime").toDouble() - kExit) <= 1);
        QVERIFY(std::abs(line.value("telemetryOpeningTime").toDouble() - kOpening) <= 1);
        QCOMPARE(line.value("exitSource").toString(), QStringLiteral("telemetry"));
        QCOMPARE(line.value("openingSource").toString(), QStringLiteral("telemetry"));
        QVERIFY(line.value("exitTime").isNull() && line.value("telemetryProblem").isNull());
        QVERIFY(line.value("summary").toString().startsWith(QStringLiteral("Keep ")));
    }
};

QTEST_GUILESS_MAIN(TelemetryAnalysisTest)
#include "test_telemetry_analysis.moc"
