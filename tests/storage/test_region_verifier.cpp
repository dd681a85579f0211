#include "storage/DirectFileWriter.h"
#include "storage/PosixFile.h"
#include "storage/RegionVerifier.h"
#include "tests/support/LoopMount.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

Q_DECLARE_METATYPE(velarix::RegionVerifier::Reads)

namespace {

constexpr qint64 kRegion = RegionVerifier::kRegionSize;
constexpr qint64 kHead = RegionVerifier::kHeadSize;

QByteArray randomBytes(qint64 size, quint32 seed = 7) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

UniqueFd create(const QString& path) {
    return UniqueFd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
}

// Writes `bytes` at `offset` as another program would, past our writer.
void overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class RegionVerifierTest : public QObject {
    Q_OBJECT

    std::unique_ptr<LoopMount> m_fuse;

private Q_SLOTS:
    void initTestCase() {
        // exFAT through FUSE: a file system that may refuse direct reads and sync_file_range.
        m_fuse = std::make_unique<LoopMount>(QDir::tempPath() + "/region-verifier-fuse", 160);
    }

    // A file of two whole regions and a partial one, written as a copy writes it: every byte read
    // back matches, on the disk, on a tmpfs and on FUSE exFAT, and the progress covers it all once.
    void aFileWrittenWholeMatches_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<RegionVerifier::Reads>("reads");
        for (const auto reads : {RegionVerifier::Reads::direct, RegionVerifier::Reads::pageCache}) {
            const char* how = reads == RegionVerifier::Reads::direct ? "direct reads" : "page cache";
            QTest::addRow("disk, %s", how) << QDir::tempPath() << reads;
            QTest::addRow("tmpfs, %s", how) << QStringLiteral("/dev/shm") << reads;
            QTest::addRow("FUSE exFAT, %s", how) << QStringLiteral("fuse") << reads;
        }
    }
    void aFileWrittenWholeMatches() {
        QFETCH(QString, folder);
        QFETCH(RegionVerifier::Reads, reads);
        if (folder == "fuse") {
            if (!m_fuse->mounted())
                QSKIP(qPrintable(m_fuse->skipReason()));
            folder = m_fuse->path();
        }
        QTemporaryDir dir(folder + "/region-XXXXXX");
        if (!dir.isValid())
            QSKIP("no folder to write in");
        const QString path = dir.filePath("copy.bin");
        const QByteArray bytes = randomBytes(kHead + 2 * kRegion + 123457);
        UniqueFd fd = create(path);
        QVERIFY(fd.valid());
        std::atomic<qint64> checked = 0;
        RegionVerifier verifier(
            fd.get(), nullptr, [&](qint64 done) { checked = done; }, reads);
        {
            DirectFileWriter writer(fd.get());
            writer.setVerifier(&verifier);
            QVERIFY(writer.reserve(bytes.size()));
            QVERIFY(writer.append(bytes.constData(), bytes.size()));
            QVERIFY(writer.finish());
        }
        QCOMPARE(::fdatasync(fd.get()), 0);
        const auto verdict = verifier.finish();
        QVERIFY2(verdict, qPrintable(verdict ? QString() : verdict.error().message));
        QCOMPARE(*verdict, RegionVerifier::Verdict::matches);
        QCOMPARE(checked.load(), qint64(bytes.size()));
    }

    // A byte that differs in a region in the middle, at the end or in the head is found; the middle
    // region is read back while the rest is still to come.
    void aChangedByteIsFound_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<RegionVerifier::Reads>("reads");
        for (const auto reads : {RegionVerifier::Reads::direct, RegionVerifier::Reads::pageCache}) {
            const char* how = reads == RegionVerifier::Reads::direct ? "direct reads" : "page cache";
            QTest::addRow("head, %s", how) << qint64(100) << reads;
            QTest::addRow("middle region, %s", how) << kHead + kRegion + 4242 << reads;
            QTest::addRow("last region, %s", how) << kHead + 2 * kRegion + 7 << reads;
        }
    }
    void aChangedByteIsFound() {
        QFETCH(qint64, offset);
        QFETCH(RegionVerifier::Reads, reads);
        QTemporaryDir dir;
        const QString path = dir.filePath("copy.bin");
        QByteArray bytes = randomBytes(kHead + 2 * kRegion + 4096);
        UniqueFd fd = create(path);
        QVERIFY(fd.valid());
        overwrite(path, 0, bytes);
        // What was meant to be written differs from what the disk holds in one byte.
        bytes[offset] = char(bytes[offset] ^ 0x10);
        RegionVerifier verifier(fd.get(), nullptr, {}, reads);
        verifier.expect(bytes.constData(), kHead + 2 * kRegion);
        verifier.written(kHead + 2 * kRegion);
        verifier.expect(bytes.constData() + kHead + 2 * kRegion, 4096);
        verifier.written(bytes.size());
        const auto verdict = verifier.finish();
        QVERIFY(verdict);
        QCOMPARE(*verdict, RegionVerifier::Verdict::differs);
    }

    // A muxer fixes a header field once the rest is written: a change in the head is followed, one
    // elsewhere is not (the caller then reads everything back another way), one past the expected end
    // is not the verifier's.
    void rewritesOfTheHeadAreFollowed() {
        QTemporaryDir dir;
        const QString path = dir.filePath("joined.bin");
        const QByteArray bytes = randomBytes(kHead + kRegion / 2);
        const QByteArray field("\x00\x00\x10\x00", 4);
        for (const qint64 at : {qint64(40), kHead + 4096, qint64(bytes.size()) + 10}) {
            QFile::remove(path);
            UniqueFd fd = create(path);
            QVERIFY(fd.valid());
            RegionVerifier verifier(fd.get(), nullptr);
            {
                DirectFileWriter writer(fd.get());
                writer.setVerifier(&verifier);
                QVERIFY(writer.append(bytes.constData(), bytes.size()));
                verifier.expectUpTo(bytes.size());
                QVERIFY(writer.append("tail", 4));
                QVERIFY(writer.append(QByteArray(200, 'x').constData(), 200));
                QVERIFY(writer.writeAt(at, field.constData(), field.size()));
                QVERIFY(writer.finish());
            }
            QCOMPARE(::fdatasync(fd.get()), 0);
            const auto verdict = verifier.finish();
            QVERIFY(verdict);
            const auto expected =
                at == kHead + 4096 ? RegionVerifier::Verdict::untracked : RegionVerifier::Verdict::matches;
            QCOMPARE(*verdict, expected);
        }
    }

    void aCancelledReadBackSaysSo() {
        QTemporaryDir dir;
        const QString path = dir.filePath("copy.bin");
        const QByteArray bytes = randomBytes(kHead + 4096);
        UniqueFd fd = create(path);
        overwrite(path, 0, bytes);
        CancelToken cancel;
        RegionVerifier verifier(fd.get(), &cancel);
        verifier.expect(bytes.constData(), bytes.size());
        verifier.written(bytes.size());
        cancel.cancel();
        const auto verdict = verifier.finish();
        QVERIFY(!verdict);
        QVERIFY(verdict.isCancelled());
    }
};

QTEST_GUILESS_MAIN(RegionVerifierTest)
#include "test_region_verifier.moc"
