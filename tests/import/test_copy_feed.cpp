// The feed of a copy's bytes to a second reader: it holds the copy back only while the reader lags
// more than its window, and serves what left the window from the copy on the disk.
#include "media/CopyFeed.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

using namespace velarix;

class CopyFeedTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aLaggingReaderHoldsTheCopyBackAndStepsBackToTheDisk() {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("source.bin"));
        constexpr qint64 kChunk = 1024 * 1024;
        constexpr int kChunks = 64;
        QByteArray bytes(kChunk * kChunks, Qt::Uninitialized);
        char* data = bytes.data();
        for (qsizetype i = 0; i < bytes.size(); ++i)
            data[i] = char((i * 7 + i / 4099) & 0xff);
        QVERIFY(test::writeFile(source, bytes));
        const int out = ::open(qPrintable(dir.filePath(QStringLiteral("copy.bin"))), O_RDWR | O_CREAT, 0600);
        QVERIFY(out >= 0);

        CancelToken cancel;
        CopyFeed feed(&cancel);
        std::atomic<qint64> written = 0;
        // The copy: each chunk to the file, then to the feed, as the import's writer does.
        std::thread copy([&] {
            feed.begin(source, out, bytes.size());
            for (int c = 0; c < kChunks; ++c) {
                const char* chunk = bytes.constData() + c * kChunk;
                if (::pwrite(out, chunk, kChunk, c * kChunk) != kChunk)
                    return;
                feed.append(chunk, kChunk);
                written = (c + 1) * kChunk;
            }
            feed.end(QStringLiteral("copy.bin"));
        });
        QVERIFY(feed.waitForSize() == bytes.size());
        // The reader has not read yet: the copy stops a window ahead of it.
        QTRY_VERIFY(written >= CopyFeed::kWindow);
        QTest::qWait(300);
        QVERIFY2(written <= CopyFeed::kWindow + kChunk, qPrintable(QString::number(written)));

        QByteArray read(bytes.size(), Qt::Uninitialized);
        qint64 at = 0;
        while (at < read.size()) {
            const auto n = feed.read(at, read.data() + at, 64 * 1024);
            QVERIFY(n && *n > 0);
            at += *n;
        }
        QVERIFY(read == bytes);
        QCOMPARE(feed.bytesReadFromDisk(), 0);
        QCOMPARE(*feed.read(bytes.size(), read.data(), 10), 0); // the end
        copy.join();

        // A step back to what left the window is read from the copy on the disk.
        QCOMPARE(*feed.read(4096, read.data(), 4096), 4096);
        QVERIFY(read.left(4096) == bytes.mid(4096, 4096));
        QCOMPARE(feed.bytesReadFromDisk(), 4096);
        QCOMPARE(*feed.waitForName(), QStringLiteral("copy.bin"));
        ::close(out);
    }

    // A copy that fails before the reader's bytes arrive fails the read, never hangs it.
    void aFailedCopyEndsTheRead() {
        CancelToken cancel;
        CopyFeed feed(&cancel);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("source.bin"));
        QVERIFY(test::writeFile(source, QByteArray(1000, 'x')));
        const int out = ::open(qPrintable(dir.filePath(QStringLiteral("copy.bin"))), O_RDWR | O_CREAT, 0600);
        QVERIFY(out >= 0);
        feed.begin(source, out, 1000);
        feed.append("xxxx", 4);
        feed.end(Error::make(QStringLiteral("CopyError"), 2, QStringLiteral("The card was removed.")));
        char buffer[16];
        QCOMPARE(*feed.read(0, buffer, 16), 4);
        QVERIFY(!feed.read(4, buffer, 16));
        ::close(out);
    }
};

QTEST_GUILESS_MAIN(CopyFeedTest)
#include "test_copy_feed.moc"
