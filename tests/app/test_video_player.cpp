#include "Velarix/widgets/VideoPlayerView.h"
#include "tests/support/MediaFixtures.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velarix;

// The preview player against real clips: pictures arrive without an OpenGL surface, seeks asked for
// too early are not lost, and playback stays inside a held range.
class VideoPlayerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip;

    // The mean colour of the painted picture, to tell two frames of the test pattern apart.
    static bool framesDiffer(const QImage& a, const QImage& b) { return a.scaled(8, 8) != b.scaled(8, 8); }

private Q_SLOTS:
    void initTestCase() {
        m_clip = m_dir.filePath(QStringLiteral("clip.mp4"));
        test::ClipRecipe clip;
        clip.seconds = 6;
        clip.picture = test::ClipRecipe::Picture::testPattern;
        QCOMPARE(test::makeClip(m_clip, clip), QString());
    }

    void showsAPictureAndSeeksOnceReady() {
        // The early seek must not break the pipeline, even once (a failure is loaded again).
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Preview of .* failed")));
        VideoPlayerView player;
        player.setMuted(true);
        player.resize(320, 180);
        player.show();
        QVERIFY(!player.hasFrame());
        player.setSource(m_clip);
        // Asked before the media is ready: applied when it is.
        player.setPosition(3.0);
        QTRY_VERIFY_WITH_TIMEOUT(player.isReady(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(player.hasFrame(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.position() - 3.0) < 0.25, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(qRound(player.duration()), 6, 5000);

        // What is painted is the frame, not a black surface.
        const QImage grabbed = player.grab().toImage();
        const QColor centre = grabbed.pixelColor(grabbed.width() / 2, grabbed.height() / 4);
        QVERIFY2(centre.value() > 30, "the painted preview is black");

        // A seek to another time shows another picture.
        const QImage before = player.currentFrame();
        player.setPosition(0.5);
        QTRY_VERIFY_WITH_TIMEOUT(framesDiffer(before, player.currentFrame()), 5000);
    }

    void heldRangePausesAtItsEndAndRestartsFromItsStart() {
        VideoPlayerView player;
        player.setMuted(true);
        player.setSource(m_clip);
        QTRY_VERIFY_WITH_TIMEOUT(player.isReady(), 10000);
        player.setHeldRange(1.0, 2.0);
        player.setPosition(4.0);
        // Play from outside the range starts at its start and stops at its end.
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.isPlaying(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 5000);
        QVERIFY2(player.position() >= 1.9 && player.position() <= 2.1,
                 qPrintable(QString::number(player.position())));

        // Looping goes back to the start bound instead.
        player.setEndAction(VideoPlayerView::EndAction::Loop);
        QSignalSpy positions(&player, &VideoPlayerView::positionChanged);
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.isPlaying(), 5000);
        bool wrapped = false;
        double last = -1;
        QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                     for (const auto& args : positions) {
                                         const double p = args.at(0).toDouble();
                                         if (last > 1.7 && p < 1.3)
                                             wrapped = true;
                                         last = p;
                                     }
                                     positions.clear();
                                     return wrapped;
                                 }()),
                                 6000);
        QVERIFY(player.isPlaying());
        player.pause();
        QTRY_VERIFY(!player.isPlaying());
    }

    void threeSixtyFilePlaysAndSourceChangesStartOver() {
        const QString threeSixty = m_dir.filePath(QStringLiteral("GS010001.360"));
        QVERIFY(QFile::copy(m_clip, threeSixty));
        VideoPlayerView player;
        player.setMuted(true);
        player.setSource(threeSixty);
        QTRY_VERIFY_WITH_TIMEOUT(player.hasFrame(), 10000);
        QVERIFY(player.errorString().isEmpty());

        // A new source is not ready until it has buffered again, and the seek waits for it.
        player.setSource(m_clip);
        QVERIFY(!player.isReady());
        QVERIFY(!player.hasFrame());
        player.setPosition(2.0);
        QTRY_VERIFY_WITH_TIMEOUT(player.isReady(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.position() - 2.0) < 0.25, 5000);
    }

    void unplayableFileSaysSo() {
        const QString broken = m_dir.filePath(QStringLiteral("broken.mp4"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        VideoPlayerView player;
        player.setSource(broken);
        QTRY_VERIFY_WITH_TIMEOUT(!player.errorString().isEmpty(), 10000);
        QVERIFY(!player.isReady());
    }
};

QTEST_MAIN(VideoPlayerTest)
#include "test_video_player.moc"
