#include "media/FrameMotion.h"
#include "media/FrameSampler.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace velarix;
using namespace velarix::test;

namespace {

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGBA8888);
    image.fill(colour);
    return image;
}

} // namespace

class FrameSamplerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString clip(const QString& name, ClipRecipe shape) {
        shape.seconds = 20;
        shape.exitTime = 5;
        shape.openingTime = 12;
        shape.audio = false;
        const QString error = makeClip(m_dir.filePath(name), shape);
        if (!error.isEmpty())
            qWarning("%s", qPrintable(error));
        return error.isEmpty() ? m_dir.filePath(name) : QString();
    }

private Q_SLOTS:
    void thumbnailSizes() {
        QCOMPARE(thumbnailSize(1920, 1080), QSize(96, 54));
        QCOMPARE(thumbnailSize(1080, 1920), QSize(54, 96));
        QCOMPARE(thumbnailSize(1, 1000), QSize(1, 96));
        QCOMPARE(thumbnailSize(0, 0), QSize(96, 96));
    }

    void motion() {
        const auto white = frameMotion(filled({1920, 1080}, Qt::white));
        QCOMPARE(white.motion, 0.0);
        QCOMPARE(white.luminance.size(), 96 * 54);
        QCOMPARE(frameMotion(filled({1920, 1080}, Qt::white), white.luminance).motion, 0.0);
        QCOMPARE(frameMotion(filled({1920, 1080}, Qt::black), white.luminance).motion, 1.0);
        // A reference of another pixel count gives no motion.
        QCOMPARE(frameMotion(filled({1000, 1000}, Qt::black), white.luminance).motion, 0.0);
        // Y = 0.299 R + 0.587 G + 0.114 B, rounded: pure red is 76.245 → 76.
        const auto red = frameMotion(filled({4, 4}, QColor(255, 0, 0)));
        QCOMPARE(quint8(red.luminance.at(0)), quint8(76));
    }

    void nearestFrames_data() {
        QTest::addColumn<double>("keyInterval");
        QTest::addColumn<int>("bFrames");
        QTest::newRow("key frames every second") << 1.0 << 0;
        QTest::newRow("key frames every second, B-frames") << 1.0 << 3;
        QTest::newRow("key frames every 8 s") << 8.0 << 0;
    }

    void nearestFrames() {
        QFETCH(double, keyInterval);
        QFETCH(int, bFrames);
        ClipRecipe shape = ClipRecipe::jump();
        shape.gop = qRound(keyInterval * shape.fps);
        shape.bFrames = bFrames;
        const QString path = clip(QStringLiteral("keys-%1-%2.mp4").arg(keyInterval).arg(bFrames), shape);
        QVERIFY(!path.isEmpty());
        const std::vector<double> times{0.0, 2.3, 3.3, 9.9, 11.5, 12.5, 19.8, 25.0};
        const auto frames = sampleFrames(path, times, nullptr);
        QVERIFY(frames.ok());
        QCOMPARE(frames->size(), times.size());
        for (size_t i = 0; i + 1 < times.size(); ++i) {
            const auto& frame = (*frames)[i];
            QVERIFY2(frame.time, qPrintable(frame.failure));
            QVERIFY(qAbs(*frame.time - times[i]) <= 0.5);
            QCOMPARE(frame.image.size(), QSize(96, 72));
            // With a key frame within reach (every second up to 19 s), that key frame is the answer,
            // at its own time: a fallback to decoding up to the time would give a frame in between.
            if (keyInterval == 1.0 && times[i] <= 19.5)
                QCOMPARE(*frame.time, std::round(*frame.time));
        }
        // Past the end: a reason, not a frame.
        QVERIFY(!frames->back().time && !frames->back().failure.isEmpty());
        // The picture turns over at 12 s: frames on both sides differ, frames on one side hardly.
        const auto before = frameMotion((*frames)[4].image);
        QVERIFY(frameMotion((*frames)[5].image, before.luminance).motion > 0.08);
        QVERIFY(frameMotion((*frames)[3].image, before.luminance).motion < 0.08);
    }

    void uprightLikeFfmpeg() {
        ClipRecipe shape = ClipRecipe::jump();
        shape.rotation = 90;
        const QString path = clip(QStringLiteral("rotated.mp4"), shape);
        QVERIFY(!path.isEmpty());
        const auto frames = sampleFrames(path, {3.0}, nullptr);
        QVERIFY(frames.ok() && frames->front().time);
        const QImage image = frames->front().image;
        QCOMPARE(image.size(), QSize(72, 96));
        // ffmpeg turns the picture upright the same way.
        const auto reference = runProcess(
            QStringLiteral("ffmpeg"),
            {"-hide_banner", "-loglevel", "error", "-ss", QString::number(*frames->front().time), "-i", path,
             "-frames:v", "1", "-vf", "scale=72:96", "-f", "rawvideo", "-pix_fmt", "rgba", "-"});
        QCOMPARE(reference.out.size(), 72 * 96 * 4);
        const QImage expected(reinterpret_cast<const uchar*>(reference.out.constData()), 72, 96,
                              QImage::Format_RGBA8888);
        const auto ours = frameMotion(image);
        QVERIFY(frameMotion(expected, ours.luminance).motion < 0.05);
        QVERIFY(frameMotion(expected.mirrored(true, true), ours.luminance).motion > 0.1);
    }

    void failures() {
        QVERIFY(!sampleFrames(m_dir.filePath("missing.mp4"), {1.0}, nullptr).ok());
        const QString path = clip(QStringLiteral("cancel.mp4"), ClipRecipe::jump());
        CancelToken cancel;
        cancel.cancel();
        QVERIFY(sampleFrames(path, {1.0, 2.0}, &cancel).isCancelled());
        QVERIFY(sampleFrames(path, {}, nullptr)->empty());
    }
};

QTEST_GUILESS_MAIN(FrameSamplerTest)
#include "test_frame_sampler.moc"
