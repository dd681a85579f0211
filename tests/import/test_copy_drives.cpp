#include "import/FileCopy.h"
#include "tests/support/LoopMount.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

namespace {

QByteArray randomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// Marks every contiguous file of an exFAT image as one whose clusters follow the allocation table,
// which holds no chain for them: reading past a file's first cluster fails.
bool breakClusterChains(const QString& image) {
    QFile file(image);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    int changed = 0;
    for (qsizetype at = 32; at + 32 <= bytes.size(); at += 32) {
        // A stream extension entry (0xC0, "no FAT chain" set) right after its file entry (0x85).
        if (uchar(bytes[at]) != 0xC0 || (bytes[at + 1] & 0x02) == 0 || uchar(bytes[at - 32]) != 0x85)
            continue;
        bytes[at + 1] = char(bytes[at + 1] & ~0x02);
        // The entry set's checksum, over every byte of the set but the checksum's own two.
        const qsizetype start = at - 32;
        const qsizetype end = start + 32 * (uchar(bytes[start + 1]) + 1);
        quint16 sum = 0;
        for (qsizetype k = start; k < end; ++k)
            if (k != start + 2 && k != start + 3)
                sum = quint16(((sum << 15) | (sum >> 1)) + uchar(bytes[k]));
        bytes[start + 2] = char(sum & 0xFF);
        bytes[start + 3] = char(sum >> 8);
        ++changed;
    }
    return changed > 0 && file.seek(0) && file.write(bytes) == bytes.size();
}

} // namespace

// The drives people copy to, mounted as they are on a desktop, and a card that fails to read.
class CopyDrivesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    // FUSE file systems (exFAT through exfat-fuse here; ntfs-3g, sshfs and gvfs alike) have neither
    // RENAME_NOREPLACE (EINVAL) nor hard links (EPERM): copies still arrive, verified or not, and
    // never over a file already there, nor leave a temporary file behind.
    void fuseExfatNeverOverwrites() {
        LoopMount drive(m_dir.filePath(QStringLiteral("ssd")));
        if (!drive.mounted())
            QSKIP(qPrintable(drive.skipReason()));
        const QString source = m_dir.filePath(QStringLiteral("GX010001.MP4"));
        const QByteArray bytes = randomBytes(5 << 20);
        QVERIFY(writeFile(source, bytes));
        QVERIFY(writeFile(drive.path() + QStringLiteral("/GX010001.MP4"), "theirs"));
        for (const bool verify : {true, false}) {
            CopyControl control;
            control.verify = verify;
            auto copied = copyFile(source, drive.path() + QStringLiteral("/GX010001.MP4"), control);
            QVERIFY2(copied.ok(), copied.ok() ? "" : qPrintable(copied.error().message));
            QCOMPARE(*copied, drive.path() + (verify ? QStringLiteral("/GX010001 - 1.MP4")
                                                     : QStringLiteral("/GX010001 - 2.MP4")));
            QCOMPARE(readFile(*copied), bytes);
        }
        QVERIFY(drive.remount()); // what the drive holds, not what the page cache remembers
        QCOMPARE(readFile(drive.path() + QStringLiteral("/GX010001.MP4")), QByteArray("theirs"));
        QCOMPARE(readFile(drive.path() + QStringLiteral("/GX010001 - 1.MP4")), bytes);
        QCOMPARE(folderEntries(drive.path()),
                 (QStringList{QStringLiteral("GX010001 - 1.MP4"), QStringLiteral("GX010001 - 2.MP4"),
                              QStringLiteral("GX010001.MP4")}));
    }

    // A card that fails mid-read (exFAT whose file claims a cluster chain the table does not hold:
    // exfat-fuse answers EIO after the first cluster) is named as the card's failure, never as
    // "Bad address"; verified and unverified (mapped) copies alike, and nothing is left behind.
    void failingCardRead_data() {
        QTest::addColumn<bool>("verify");
        QTest::newRow("verified") << true;
        QTest::newRow("not verified (mapped)") << false;
    }
    void failingCardRead() {
        QFETCH(bool, verify);
        LoopMount card(m_dir.filePath(QStringLiteral("card")));
        if (!card.mounted())
            QSKIP(qPrintable(card.skipReason()));
        const QString clip = card.path() + QStringLiteral("/GX010002.MP4");
        QVERIFY(writeFile(clip, randomBytes(8 << 20)));
        QVERIFY(card.unmount());
        QVERIFY(breakClusterChains(card.image()));
        QVERIFY(card.remount());
        CopyControl control;
        control.verify = verify;
        QTemporaryDir destination;
        auto copied = copyFile(clip, destination.filePath(QStringLiteral("GX010002.MP4")), control);
        QVERIFY(!copied.ok());
        QVERIFY2(copied.error().message.startsWith(QStringLiteral("Reading the card failed (")),
                 qPrintable(copied.error().message));
        QVERIFY(!copied.error().message.contains(QStringLiteral("Bad address")));
        QVERIFY(folderEntries(destination.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(CopyDrivesTest)
#include "test_copy_drives.moc"
