// A suggestion marked "check before trimming", on a clip made from a real jump: the command line
// says why, and trims it only when told to trust it.
#include "demo/RealJump.h"
#include "demo/SyntheticJump.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

class CliReviewTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_fixtures;
    QString m_clip;
    JumpTruth m_truth;

private Q_SLOTS:
    // A hop-and-pop filmed by a camera with an accelerometer only and a silent microphone, on through a
    // spiral under the canopy: the spiral's sustained turn is a shock as strong as an opening.
    void initTestCase() {
        const QString data = QStringLiteral(VELARIX_SOURCE_DIR "/tests/data/real-jumps/");
        auto log = readJumpLog(data + QStringLiteral("hop-spiral.csv"));
        QVERIFY2(log, qPrintable(log ? QString() : log.error().message));
        const auto truth = jumpTruth(*log);
        QVERIFY(truth);
        const double start = truth->exit - 30;
        const double duration = log->duration() - start;
        m_truth = {truth->exit - start, truth->opening - start};
        m_clip = m_fixtures.filePath(QStringLiteral("jump.mp4"));
        const auto written = writeSyntheticJump(
            m_clip,
            SyntheticJump{.duration = duration,
                          .exitTime = m_truth.exit,
                          .openingTime = m_truth.opening,
                          .width = 160,
                          .height = 90,
                          .framesPerSecond = 10,
                          .audio = JumpAudio::Silent,
                          .telemetryPayloads = cameraTelemetry(*log, start, duration, {false, true, 3})});
        QVERIFY2(written, qPrintable(written ? QString() : written.error().message));
    }

    void analyzeSaysWhy() {
        const auto run = runCli({QStringLiteral("--json"), QStringLiteral("analyze"), m_clip});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject line = QJsonDocument::fromJson(run.out.trimmed()).object();
        QCOMPARE(line.value("review").toString(),
                 QStringLiteral("the accelerometer shows more than one shock that could be the opening"));
        QVERIFY(line.value("summary").toString().endsWith(QLatin1String("(check before trimming)")));
        // Whichever shock was the opening, the range keeps the jump.
        QVERIFY(std::abs(line.value("suggestedStart").toDouble() - (m_truth.exit - 10)) <= 2);
        QVERIFY(line.value("suggestedEnd").toDouble() >= m_truth.opening + 10);
    }

    void trimSkipsUnlessTrusted() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GX010001.MP4"));
        QVERIFY(QFile::copy(m_clip, path));
        const QByteArray digest = fileDigest(path);
        const double duration = containerDuration(path);
        auto run = runCli({QStringLiteral("trim"), path});
        QVERIFY(run.exitCode != 0);
        QCOMPARE(fileDigest(path), digest);
        QVERIFY2(
            run.out.contains("Skipped: check before trimming (the accelerometer shows more than one shock"),
            run.out.constData());
        QVERIFY2(run.out.contains("1 file was skipped"), run.out.constData());
        QVERIFY(run.out.contains("--trust-suggestions"));

        run = runCli({QStringLiteral("trim"), path, QStringLiteral("--trust-suggestions")});
        QCOMPARE(run.exitCode, 0);
        const double kept = containerDuration(path);
        QVERIFY2(kept < duration - 15 && kept >= m_truth.opening - m_truth.exit + 16,
                 qPrintable(QString::number(kept)));
    }
};

QTEST_GUILESS_MAIN(CliReviewTest)
#include "test_cli_review.moc"
