#include "storage/DirectFileWriter.h"
#include "storage/PosixFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>

using namespace velarix;

namespace {

QByteArray randomBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

} // namespace

class DirectFileWriterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Appends of odd sizes across buffer ends, rewrites of bytes already on the disk, in the buffer
    // being filled and across both, then an end that is no whole block: the file holds exactly the
    // last bytes written everywhere, at its exact size. Run on the disk (direct I/O) and on a tmpfs
    // where one can be had.
    void holdsWhatWasLastWritten_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("disk") << QString();
        QTest::newRow("/dev/shm") << QStringLiteral("/dev/shm");
    }
    void holdsWhatWasLastWritten() {
        QFETCH(QString, folder);
        QTemporaryDir dir(folder.isEmpty() ? QDir::tempPath() + "/dfw-XXXXXX" : folder + "/dfw-XXXXXX");
        if (!dir.isValid())
            QSKIP("no folder to write in");
        const QString path = dir.filePath("out.bin");
        UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        QVERIFY(fd.valid());
        const qint64 size = 3 * DirectFileWriter::kBufferSize * DirectFileWriter::kBufferCount / 2 + 12345;
        QByteArray expected = randomBytes(size);
        {
            DirectFileWriter writer(fd.get());
            QVERIFY(writer.reserve(size + 5 * DirectFileWriter::kBufferSize));
            for (qint64 at = 0, step = 1; at < size; step = step * 3 % 1000003 + 17) {
                const qint64 n = std::min(step, size - at);
                QVERIFY(writer.append(expected.constData() + at, n));
                at += n;
            }
            QCOMPARE(writer.size(), size);
            const QByteArray header("HEADER!!"), across(16 * 1024, 'x'), tail("tail");
            const qint64 acrossAt = size - 12345 - across.size() / 2; // partly written, partly buffered
            QVERIFY(writer.writeAt(8, header.constData(), header.size()));
            QVERIFY(writer.writeAt(acrossAt, across.constData(), across.size()));
            QVERIFY(writer.writeAt(size - 4, tail.constData(), tail.size()));
            expected.replace(8, header.size(), header);
            expected.replace(acrossAt, across.size(), across);
            expected.replace(size - 4, tail.size(), tail);
            QVERIFY(!writer.writeAt(size - 2, tail.constData(), tail.size())); // past the end
            QVERIFY(writer.finish());
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.size(), size);
        QVERIFY(file.readAll() == expected);
    }

    // Pieces of another file written from its mapped pages: the copy is exact up to a last piece
    // that ends inside a block; a piece past the source's end (cut short meanwhile) fails the writer
    // with an address fault instead of killing the process, and so does every later call.
    void writesPiecesOfAMappedFile_data() { holdsWhatWasLastWritten_data(); }
    void writesPiecesOfAMappedFile() {
        QFETCH(QString, folder);
        QTemporaryDir dir(folder.isEmpty() ? QDir::tempPath() + "/dfw-XXXXXX" : folder + "/dfw-XXXXXX");
        if (!dir.isValid())
            QSKIP("no folder to write in");
        const qint64 piece = 4 * 1024 * 1024, size = 5 * piece + 777;
        const QByteArray expected = randomBytes(size);
        QFile source(dir.filePath("in.bin"));
        QVERIFY(source.open(QIODevice::ReadWrite) && source.write(expected) == size && source.flush());
        const auto open = [&](const char* name) {
            return UniqueFd(::open(QFile::encodeName(dir.filePath(name)).constData(),
                                   O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        };
        const UniqueFd out = open("out.bin"), cut = open("cut.bin");
        {
            DirectFileWriter writer(out.get());
            QVERIFY(writer.reserve(size));
            for (qint64 at = 0; at < size; at += piece)
                QVERIFY(writer.appendFrom(source.handle(), at, std::min(piece, size - at)));
            QVERIFY(writer.finish());
        }
        QFile copy(dir.filePath("out.bin"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.size(), size);
        QVERIFY(copy.readAll() == expected);

        QVERIFY(source.resize(piece));
        DirectFileWriter writer(cut.get());
        QVERIFY(writer.appendFrom(source.handle(), 0, piece));
        Result<void> failed;
        for (qint64 at = piece; at < size && failed; at += piece)
            failed = writer.appendFrom(source.handle(), at, piece);
        if (failed)
            failed = writer.finish();
        QVERIFY(!failed);
        QCOMPARE(failed.error().code, EFAULT);
        QVERIFY(!writer.finish());
    }
};

QTEST_GUILESS_MAIN(DirectFileWriterTest)
#include "test_direct_file_writer.moc"
