// Cancel takes effect within a file: a long copy, read-back, join or trim stops at its next piece,
// not at the end of the file. Each operation is slowed down per piece from its own progress hook, so
// that finishing the file after the cancel would take seconds; stopping must take a fraction of one.

#include "import/FileCopy.h"
#include "import/RecordingImport.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "trimming/VideoTrimExport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace velarix;
using namespace velarix::test;

namespace {

constexpr qint64 MiB = 1024 * 1024;
// Stopping takes 0.1–0.3 s on a loaded machine; going on to the end of the file takes over 2 s here.
constexpr qint64 kStopLimitMs = 600;

// Cancels at the first piece, then slows every later piece down. Measures from the cancel to the
// operation's return.
struct SlowPieces {
    CancelToken token;
    QElapsedTimer sinceCancel;
    qint64 lastBytes = 0;
    int pieces = 0;
    int msecsPerMiB = 0;
    int msecsPerPiece = 0;

    void piece(qint64 bytes = 0) {
        if (pieces++ == 0) {
            token.cancel();
            sinceCancel.start();
        } else {
            QThread::msleep(msecsPerPiece + msecsPerMiB * (bytes - lastBytes) / MiB);
        }
        lastBytes = bytes;
    }
    qint64 stoppedAfterMs() const { return sinceCancel.isValid() ? sinceCancel.elapsed() : -1; }
};

} // namespace

class CancelWithinAFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_big;
    QStringList m_chapters;

private Q_SLOTS:
    void initTestCase() {
        m_big = m_dir.filePath(QStringLiteral("BIG.MP4"));
        QFile file(m_big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray piece(MiB, Qt::Uninitialized);
        for (int i = 0; i < 64; ++i) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(piece.data()), MiB / 4);
            QVERIFY(file.write(piece) == MiB);
        }
        file.close();

        // Noise does not compress: 12 s make some 30 MB, so the join reports progress several times.
        const QString recording = m_dir.filePath(QStringLiteral("recording.mp4"));
        const auto made = runProcess(
            QStringLiteral("ffmpeg"),
            {"-v",        "error",     "-f",
             "lavfi",     "-i",        "nullsrc=s=640x360:r=25:d=12,geq=lum='random(1)*255':cb=128:cr=128",
             "-f",        "lavfi",     "-i",
             "sine=d=12", "-c:v",      "libx264",
             "-preset",   "ultrafast", "-g",
             "25",        "-pix_fmt",  "yuv420p",
             "-c:a",      "aac",       "-shortest",
             recording});
        QVERIFY2(made.exitCode == 0, made.err.constData());
        for (const char* name : {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"})
            m_chapters.append(m_dir.filePath(QLatin1String(name)));
        QCOMPARE(splitIntoChapters(recording, m_chapters, {4, 8}), QString());
    }

    void copyStopsWithinTheFile_data() {
        QTest::addColumn<bool>("readBack");
        QTest::newRow("while copying") << false;
        QTest::newRow("while reading back") << true;
    }
    void copyStopsWithinTheFile() {
        QFETCH(bool, readBack);
        SlowPieces slow;
        slow.msecsPerMiB = 40; // 64 MiB: 2.5 s
        CopyControl control;
        control.cancel = &slow.token;
        control.verify = readBack;
        if (readBack)
            control.verifyProgress = [&slow](qint64 checked, qint64) {
                slow.piece(checked);
            };
        else
            control.afterChunk = [&slow](qint64 copied) {
                slow.piece(copied);
            };
        const QString destination = m_dir.filePath(QStringLiteral("copy-%1.MP4").arg(readBack));
        const auto copied = copyFile(m_big, destination, control);
        QVERIFY(copied.isCancelled());
        QVERIFY2(slow.stoppedAfterMs() >= 0 && slow.stoppedAfterMs() < kStopLimitMs,
                 qPrintable(QStringLiteral("stopped after %1 ms").arg(slow.stoppedAfterMs())));
        QVERIFY(!QFile::exists(destination));
    }

    void joinStopsWithinTheRecording() {
        SlowPieces slow;
        slow.msecsPerMiB = 80; // reported every 4 MiB of some 30 MB: seconds
        CopyControl control;
        control.cancel = &slow.token;
        control.afterChunk = [&slow](qint64 done) {
            slow.piece(done);
        };
        const QString destination = m_dir.filePath(QStringLiteral("joined.MP4"));
        const auto joined = importRecording(m_chapters, destination, control);
        QVERIFY(joined.isCancelled());
        QVERIFY2(slow.pieces > 0 && slow.stoppedAfterMs() < kStopLimitMs,
                 qPrintable(QStringLiteral("stopped after %1 ms").arg(slow.stoppedAfterMs())));
        QVERIFY(!QFile::exists(destination));
    }

    void trimStopsWithinTheVideo() {
        const QString video = m_dir.filePath(QStringLiteral("trim.MP4"));
        QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("recording.mp4")), video));
        const QByteArray before = fileDigest(video);
        SlowPieces slow;
        slow.msecsPerPiece = 15; // hundreds of packets: seconds
        const auto trimmed = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(video), 0.5, 11.5},
                                                &slow.token, [&slow](double) { slow.piece(); });
        QVERIFY(trimmed.isCancelled());
        QVERIFY2(slow.pieces > 0 && slow.stoppedAfterMs() < kStopLimitMs,
                 qPrintable(QStringLiteral("stopped after %1 ms").arg(slow.stoppedAfterMs())));
        QCOMPARE(fileDigest(video), before);
    }
};

QTEST_GUILESS_MAIN(CancelWithinAFileTest)
#include "test_cancel_within_a_file.moc"
