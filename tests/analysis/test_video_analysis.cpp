#include "analysis/VideoTrimAnalysis.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>
#include <thread>

using namespace velarix;
using namespace velarix::test;

// Whole analyses of synthesised jumps and of files that are not what they claim to be.
class VideoAnalysisTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_jump; // the plain jump, made once

    QString clip(const QString& name, const ClipRecipe& shape) {
        const QString error = makeClip(m_dir.filePath(name), shape);
        if (!error.isEmpty())
            qWarning("%s", qPrintable(error));
        return error.isEmpty() ? m_dir.filePath(name) : QString();
    }

    QString fileOf(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        return writeFile(path, bytes) ? path : QString();
    }

private Q_SLOTS:
    void initTestCase() {
        ClipRecipe jump = ClipRecipe::jump();
        jump.headerFirst = true;
        m_jump = clip("jump.mp4", jump);
        QVERIFY(!m_jump.isEmpty());
    }

    void suggestsTheJump_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("exit");
        QTest::addColumn<double>("opening");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("keyInterval");
        QTest::addColumn<double>("duration");
        QTest::newRow("stereo 48 kHz, 1 s key frames")
            << "" << 20.0 << 75.0 << "stereo" << 48000 << 1.0 << 150.0;
        QTest::newRow("mono 44.1 kHz, exit at the start")
            << "mono.mp4" << 8.0 << 45.0 << "mono" << 44100 << 1.0 << 100.0;
        // The canopy part starts in the second half: the quiet tail is cut before the opening.
        QTest::newRow("5.1 48 kHz, sparse key frames, short canopy ride")
            << "surround.mp4" << 20.0 << 62.0 << "5.1" << 48000 << 10.0 << 100.0;
    }

    void suggestsTheJump() {
        QFETCH(QString, name);
        QFETCH(double, exit);
        QFETCH(double, opening);
        QFETCH(QString, layout);
        QFETCH(int, rate);
        QFETCH(double, keyInterval);
        QFETCH(double, duration);
        ClipRecipe shape = ClipRecipe::jump();
        shape.seconds = duration;
        shape.exitTime = exit;
        shape.openingTime = opening;
        shape.channelLayout = layout;
        shape.sampleRate = rate;
        shape.gop = qRound(keyInterval * shape.fps);
        const QString path = name.isEmpty() ? m_jump : clip(name, shape);
        QVERIFY(!path.isEmpty());

        const auto result = analyzeVideo(path);
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(result->duration, duration);
        QCOMPARE(result->fileSize, QFileInfo(path).size());
        QVERIFY2(!result->error, qPrintable(result->error.value_or(QString())));
        QVERIFY(result->exitTime && result->frameOpeningTime);
        QVERIFY2(qAbs(*result->exitTime - exit) <= 1.0, qPrintable(QString::number(*result->exitTime)));
        QVERIFY2(qAbs(*result->frameOpeningTime - opening) <= 1.0,
                 qPrintable(QString::number(*result->frameOpeningTime)));
        QVERIFY(qAbs(*result->suggestedStart - qMax(0.0, exit - 10)) <= 1.0);
        QVERIFY(qAbs(*result->suggestedEnd - (opening + 10)) <= 1.0);
        QVERIFY(result->summary.startsWith(QLatin1String("Keep ")));
        QCOMPARE(result->levels->size(), size_t(std::ceil(duration * 11025 / 5512)));
    }

    void explainsClipsWithoutSuggestion() {
        ClipRecipe shortClip = ClipRecipe::jump();
        shortClip.seconds = 60;
        shortClip.exitTime = 10;
        shortClip.openingTime = 40;
        auto result = analyzeVideo(clip("short.mp4", shortClip));
        QVERIFY(result.ok());
        QCOMPARE(result->summary, QStringLiteral("Duration 01:00"));
        QCOMPARE(*result->error,
                 QStringLiteral("Clip is shorter than 01:30, so no trim suggestion was generated."));
        QVERIFY(!result->suggestedStart && !result->suggestedEnd && !result->levels);

        ClipRecipe silent = ClipRecipe::jump();
        silent.audio = false;
        result = analyzeVideo(clip("silent.mp4", silent));
        QVERIFY(result.ok());
        QCOMPARE(result->summary, QStringLiteral("Duration 02:30"));
        QCOMPARE(*result->error,
                 QStringLiteral("No audio track found, so no trim suggestion was generated."));

        // Without pictures the audio alone places the opening.
        ClipRecipe audioOnly = ClipRecipe::jump();
        audioOnly.video = false;
        result = analyzeVideo(clip("audio.m4a", audioOnly));
        QVERIFY(result.ok());
        QVERIFY(!result->frameOpeningTime && result->audioOpeningTime);
        QVERIFY(qAbs(*result->audioOpeningTime - 75.0) <= 5.0);
        QVERIFY(result->suggestedStart);
    }

    void readsOddButValidFiles() {
        ClipRecipe rotated = ClipRecipe::jump();
        rotated.rotation = 90;
        auto result = analyzeVideo(clip("rotated.mp4", rotated));
        QVERIFY(result.ok() && result->frameOpeningTime);
        QVERIFY(qAbs(*result->frameOpeningTime - 75.0) <= 1.0);

        ClipRecipe dualLens = ClipRecipe::jump();
        dualLens.secondVideo = true;
        result = analyzeVideo(clip("GS010001.360", dualLens));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QVERIFY(result->suggestedStart && result->frameOpeningTime);
    }

    void failsClearlyOnBrokenFiles() {
        QByteArray random(200'000, Qt::Uninitialized);
        QRandomGenerator generator(4);
        for (auto& byte : random)
            byte = char(generator.bounded(256));
        QFile whole(m_jump);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();

        for (const QString& path :
             {fileOf("empty.mp4", {}), fileOf("noise.mp4", random), m_dir.filePath("missing.mp4")}) {
            const auto result = analyzeVideo(path);
            QVERIFY2(!result.ok() && !result.isCancelled(), qPrintable(path));
            QVERIFY(!result.error().message.isEmpty());
        }

        // The header at the front and half of the data: what is there is still analysed.
        const auto cut = analyzeVideo(fileOf("cut.mp4", bytes.left(bytes.size() / 2)));
        QVERIFY(cut.ok());
        QCOMPARE(cut->duration, 150.0);
        QVERIFY(cut->levels && cut->levels->size() < 250);
        // Cut inside the header: not a video at all.
        QVERIFY(!analyzeVideo(fileOf("stub.mp4", bytes.left(1000))).ok());
        // An MP4 whose header is written last and lost with the end.
        ClipRecipe headerLast = ClipRecipe::jump();
        headerLast.seconds = 95;
        QFile full(clip("last.mp4", headerLast));
        QVERIFY(full.open(QIODevice::ReadOnly));
        const auto lost = analyzeVideo(fileOf("lost.mp4", full.read(full.size() - 2000)));
        QVERIFY(!lost.ok() && lost.error().message.contains(QLatin1String("lost.mp4")));
    }

    void timeOutWinsAndStopsTheAnalysis() {
        QElapsedTimer timer;
        timer.start();
        std::atomic<bool> sawStop{false};
        const auto slow = [&](const CancelToken* stop) -> Result<VideoTrimAnalysisResult> {
            while (!stop->isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sawStop = true;
            return VideoTrimAnalysisResult{}; // a result after the time-out must not count
        };
        const auto result =
            runWithTimeout(slow, QStringLiteral("/cards/clip.mp4"), nullptr, std::chrono::milliseconds(2000));
        QVERIFY(!result.ok() && VideoTrimAnalysisTimeoutError::matches(result.error()));
        QCOMPARE(result.error().message, QStringLiteral("Audio analysis for clip.mp4 exceeded 2 seconds."));
        QVERIFY(sawStop);
        QVERIFY(timer.elapsed() >= 2000 && timer.elapsed() < 3000);
        QCOMPARE(VideoTrimAnalysisTimeoutError{QStringLiteral("a/clip.mp4")}.description(),
                 QStringLiteral("Audio analysis for clip.mp4 exceeded 90 seconds."));
    }

    void cancellationIsNeverAResult() {
        const QString path = m_jump;
        CancelToken cancelled;
        cancelled.cancel();
        QVERIFY(analyzeVideo(path, &cancelled).isCancelled());

        // Cancelled while running: the analysis stops and the caller sees a cancellation.
        CancelToken cancel;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            cancel.cancel();
        });
        QElapsedTimer timer;
        timer.start();
        const auto result = analyzeVideoWithTimeout(path, &cancel);
        canceller.join();
        QVERIFY(result.isCancelled());
        QVERIFY(timer.elapsed() < 1000);

        // From a pool task, as the job queue runs it: a quick analysis wins the race.
        const auto outcome = QtConcurrent::run([&path] { return analyzeVideoWithTimeout(path); }).result();
        QVERIFY(outcome.ok() && outcome->suggestedStart);
    }
};

QTEST_GUILESS_MAIN(VideoAnalysisTest)
#include "test_video_analysis.moc"
