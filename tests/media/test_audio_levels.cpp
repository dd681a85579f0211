#include "media/AudioLevelReader.h"
#include "media/MediaStreams.h"
#include "tests/support/TestSupport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;
using namespace velarix::test;

class AudioLevelsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Five seconds of digital silence, then five of a 440 Hz tone at half scale.
    QString toneFile(const QString& name, const QString& layout, int rate) {
        const QString path = m_dir.filePath(name);
        const auto result =
            runProcess(QStringLiteral("ffmpeg"),
                       {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        QStringLiteral("aevalsrc='if(gte(t,5),0.5*sin(2*PI*440*t),0)':s=%1:d=10:c=%2")
                            .arg(rate)
                            .arg(layout),
                        "-c:a", "aac", path});
        return result.exitCode == 0 ? path : QString();
    }

private Q_SLOTS:
    void windowsRunAcrossBuffers() {
        LevelAccumulator levels;
        const std::vector<float> half(3 * kLevelWindowSamples, 0.5f);
        // 3 windows in uneven buffers, then one sample more.
        levels.add(half.data(), 1000);
        levels.add(half.data(), kLevelWindowSamples);
        levels.add(half.data(), 2 * kLevelWindowSamples - 1000);
        const float full = 1.0f;
        levels.add(&full, 1);
        const auto result = levels.finish();
        QCOMPARE(result.size(), size_t(4));
        QVERIFY(qAbs(result[0] - 20 * std::log10(0.5)) < 1e-9);
        QCOMPARE(result[3], 0.0); // the last window over its single sample

        LevelAccumulator silence;
        const std::vector<float> zeros(kLevelWindowSamples * 2, 0.0f);
        silence.add(zeros.data(), qsizetype(zeros.size()));
        QCOMPARE(silence.finish(), (std::vector<double>{-120.0, -120.0}));

        LevelAccumulator square;
        std::vector<float> wave(kLevelWindowSamples);
        for (size_t i = 0; i < wave.size(); ++i)
            wave[i] = (i / 25) % 2 ? 1.0f : -1.0f;
        square.add(wave.data(), qsizetype(wave.size()));
        QCOMPARE(square.finish(), std::vector<double>{0.0});
    }

    void readsAnyLayoutAndRate_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("rate");
        QTest::newRow("mono 44.1 kHz") << "mono" << 44100;
        QTest::newRow("mono 48 kHz") << "mono" << 48000;
        QTest::newRow("5.1 44.1 kHz") << "5.1" << 44100;
        QTest::newRow("5.1 48 kHz") << "5.1" << 48000;
    }

    void readsAnyLayoutAndRate() {
        QFETCH(QString, layout);
        QFETCH(int, rate);
        const QString path = toneFile(QStringLiteral("tone-%1-%2.m4a").arg(layout).arg(rate), layout, rate);
        QVERIFY(!path.isEmpty());
        auto input = openVideoAsset(path, audioReadingOptions(nullptr));
        QVERIFY(input.ok());
        const auto levels = readAudioLevels(*input, audioStreams(input->get()).first(), nullptr);
        QVERIFY(levels.ok());
        // 10 s at 11,025 Hz: 20 whole windows and a short last one (the encoder may pad a little).
        QVERIFY2(levels->size() == 21 || levels->size() == 22, qPrintable(QString::number(levels->size())));
        for (int i = 0; i < 8; ++i)
            QCOMPARE((*levels)[size_t(i)], -120.0);
        for (int i = 11; i < 19; ++i)
            QVERIFY2((*levels)[size_t(i)] > -12 && (*levels)[size_t(i)] < 6,
                     qPrintable(QString::number((*levels)[size_t(i)])));
    }

    void readsOnlyTheAudioBytes() {
        // Video of noise dwarfs the audio; the reader must skip it rather than read through it.
        const QString path = m_dir.filePath("noisy.mp4");
        const auto made = runProcess(QStringLiteral("ffmpeg"), {"-hide_banner",
                                                                "-loglevel",
                                                                "error",
                                                                "-y",
                                                                "-f",
                                                                "lavfi",
                                                                "-i",
                                                                "testsrc2=s=320x240:r=25:d=8",
                                                                "-f",
                                                                "lavfi",
                                                                "-i",
                                                                "sine=d=8",
                                                                "-vf",
                                                                "noise=alls=60:allf=t",
                                                                "-c:v",
                                                                "libx264",
                                                                "-preset",
                                                                "ultrafast",
                                                                "-qp",
                                                                "5",
                                                                "-c:a",
                                                                "aac",
                                                                path});
        QCOMPARE(made.exitCode, 0);
        auto input = openVideoAsset(path, audioReadingOptions(nullptr));
        QVERIFY(input.ok());
        QVERIFY(readAudioLevels(*input, audioStreams(input->get()).first(), nullptr).ok());
        const double share = double(input->bytesRead()) / double(QFileInfo(path).size());
        QVERIFY2(share < 0.15, qPrintable(QString::number(share)));
    }

    void cancellation() {
        const QString path = toneFile(QStringLiteral("cancel.m4a"), QStringLiteral("stereo"), 48000);
        CancelToken cancel;
        auto input = openVideoAsset(path, audioReadingOptions(&cancel));
        QVERIFY(input.ok());
        cancel.cancel();
        QVERIFY(readAudioLevels(*input, audioStreams(input->get()).first(), &cancel).isCancelled());
    }
};

QTEST_GUILESS_MAIN(AudioLevelsTest)
#include "test_audio_levels.moc"
