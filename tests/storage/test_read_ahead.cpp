#include "storage/ReadAhead.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace velarix;

namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kSize = 16 * kMiB;

// How much of [from, from + length) of the file is in the page cache.
qint64 cachedBytes(int fd, qint64 from, qint64 length) {
    void* map = ::mmap(nullptr, size_t(kSize), PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED)
        return -1;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident(size_t(kSize / page));
    qint64 cached = -1;
    if (::mincore(map, size_t(kSize), resident.data()) == 0) {
        cached = 0;
        for (qint64 p = from / page; p < (from + length) / page; ++p)
            cached += (resident[size_t(p)] & 1) ? page : 0;
    }
    ::munmap(map, size_t(kSize));
    return cached;
}

} // namespace

class ReadAheadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The file is read into the cache a fixed depth ahead of the reader and no further, follows the
    // reader, and what was read ahead but never used leaves the cache again.
    void staysTheDepthAheadOfTheReader() {
        QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/read-ahead-XXXXXX"));
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write(QByteArray(kSize, 'x')) == kSize);
            QVERIFY(file.flush());
            QVERIFY(::fsync(file.handle()) == 0);
        }
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        if (cachedBytes(fd, 0, kSize) != 0)
            QSKIP("this file system keeps every page in memory");
        {
            ReadAhead ahead(fd, kSize, 4 * kMiB);
            QTRY_COMPARE(cachedBytes(fd, 0, 4 * kMiB), 4 * kMiB);
            QTest::qWait(50);
            QCOMPARE(cachedBytes(fd, 4 * kMiB, kSize - 4 * kMiB), 0);

            ahead.consumed(10 * kMiB);
            QTRY_COMPARE(cachedBytes(fd, 10 * kMiB, 4 * kMiB), 4 * kMiB);
            QTest::qWait(50);
            QCOMPARE(cachedBytes(fd, 14 * kMiB, 2 * kMiB), 0);
            // Skipped over by the reader: never read.
            QCOMPARE(cachedBytes(fd, 4 * kMiB, 6 * kMiB), 0);
        }
        QCOMPARE(cachedBytes(fd, 10 * kMiB, 4 * kMiB), 0);
        ::close(fd);
    }

    // The end of the file stops it, and so does destroying it while it waits for the reader.
    void endsAtTheEndOfTheFile() {
        QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/read-ahead-XXXXXX"));
        const QString path = dir.filePath(QStringLiteral("short.mp4"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(300 * 1024, 'y')) == 300 * 1024);
        file.close();
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        {
            ReadAhead ahead(fd, 300 * 1024, 4 * kMiB);
            ahead.consumed(100 * 1024);
        }
        { ReadAhead waiting(fd, kSize, 128 * 1024); }
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(ReadAheadTest)
#include "test_read_ahead.moc"
