#include "Velarix/importwindow/PreviewWindow.h"
#include "Velarix/widgets/VideoPlayerView.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"

#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace velarix;

namespace {

// A media pipeline on a loaded machine (the suite runs in parallel) can take several times as long
// as alone to switch sources and reach a chapter's end.
constexpr int kSlowPlayer = 30000;

} // namespace

// The table's preview window: its controls and keys move the real player.
class PreviewWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip;

private Q_SLOTS:
    void initTestCase() {
        m_clip = m_dir.filePath(QStringLiteral("clip.mp4"));
        test::ClipRecipe clip;
        clip.seconds = 12;
        clip.picture = test::ClipRecipe::Picture::testPattern;
        QCOMPARE(test::makeClip(m_clip, clip), QString());
    }

    void clockTextReadsAsAClock() {
        QCOMPARE(PreviewWindow::clockText(0), QStringLiteral("0:00"));
        QCOMPARE(PreviewWindow::clockText(65.9), QStringLiteral("1:05"));
        QCOMPARE(PreviewWindow::clockText(3723), QStringLiteral("1:02:03"));
        QCOMPARE(PreviewWindow::clockText(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("0:00"));
    }

    void keysAndControlsMoveThePlayer() {
        PreviewWindow window;
        window.player()->setMuted(true);
        window.showVideo(m_clip);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        VideoPlayerView* player = window.player();
        QTRY_VERIFY_WITH_TIMEOUT(player->isReady(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(window.timeText().endsWith(QStringLiteral(" / 0:12")), 5000);
        QCOMPARE(window.seekBar()->maximum(), qRound(player->duration() * 1000));

        // Space pauses; the button says what it would do next.
        QTRY_VERIFY_WITH_TIMEOUT(player->isPlaying(), 5000);
        QTest::keyClick(&window, Qt::Key_Space);
        QTRY_VERIFY(!player->isPlaying());
        QCOMPARE(window.playButton()->toolTip(), QStringLiteral("Play [Space]"));

        // Right and Left step five seconds, and the bar and the time follow.
        player->setPosition(2);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player->position() - 2) < 0.3, 5000);
        QTest::keyClick(&window, Qt::Key_Right);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player->position() - 7) < 0.3, 5000);
        QTRY_VERIFY(qAbs(window.seekBar()->value() - 7000) < 300);
        QTRY_VERIFY(window.timeText().startsWith(QStringLiteral("0:0")));
        QTest::keyClick(&window, Qt::Key_Left);
        QTest::keyClick(&window, Qt::Key_Left);
        QTRY_VERIFY_WITH_TIMEOUT(player->position() < 0.3, 5000); // not below the start

        // Dragging the bar seeks.
        window.seekBar()->setSliderDown(true);
        window.seekBar()->setSliderPosition(9000);
        window.seekBar()->setSliderDown(false);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player->position() - 9) < 0.3, 5000);

        // The button plays again.
        window.playButton()->click();
        QTRY_VERIFY(player->isPlaying());
    }

    // A 12 s recording in three 4 s chapters plays as one: the time spans all three, a seek lands in
    // the chapter that holds it, and the end of a chapter goes on into the next.
    void chaptersPlayAsOneRecording() {
        QStringList chapters;
        for (const char* name : {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"})
            chapters << m_dir.filePath(QLatin1String(name));
        QCOMPARE(test::makeChapteredRecording(m_dir.filePath(QStringLiteral("whole.mp4")), chapters,
                                              test::cameraRecording()),
                 QString());
        PreviewWindow window;
        window.player()->setMuted(true);
        window.showRecording(chapters);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("GX010042.MP4 (3 chapters)"));
        QTRY_VERIFY_WITH_TIMEOUT(window.timeText().endsWith(QStringLiteral(" / 0:12")), kSlowPlayer);
        QVERIFY(qAbs(window.seekBar()->maximum() - 12000) < 200);

        // Into the last chapter, and back to the first one near its end.
        window.seekBar()->setSliderDown(true);
        window.seekBar()->setSliderPosition(10000);
        window.seekBar()->setSliderDown(false);
        QTRY_COMPARE_WITH_TIMEOUT(window.currentChapter(), 2, kSlowPlayer);
        QCOMPARE(window.player()->source(), chapters[2]);
        QTRY_VERIFY_WITH_TIMEOUT(window.timeText().startsWith(QStringLiteral("0:10")), kSlowPlayer);
        window.seekBar()->setSliderDown(true);
        window.seekBar()->setSliderPosition(3000);
        window.seekBar()->setSliderDown(false);
        QTRY_COMPARE_WITH_TIMEOUT(window.currentChapter(), 0, kSlowPlayer);
        // The recording was playing from the start, so every chapter it moved to plays, and while one
        // loads the button already offers to pause.
        QVERIFY(window.player()->playRequested());
        QCOMPARE(window.playButton()->toolTip(), QStringLiteral("Pause [Space]"));
        // Played past 4 s, the second chapter takes over, still playing.
        QTRY_COMPARE_WITH_TIMEOUT(window.currentChapter(), 1, kSlowPlayer);
        QCOMPARE(window.player()->source(), chapters[1]);
        QTRY_VERIFY_WITH_TIMEOUT(window.player()->isPlaying(), kSlowPlayer);
        QTRY_VERIFY_WITH_TIMEOUT(window.timeText().startsWith(QStringLiteral("0:05")), kSlowPlayer);
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "test_preview_window.moc"
