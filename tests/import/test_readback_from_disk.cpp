// The read-back of a copy reads what is on the disk, not what the page cache still holds: otherwise a
// copy the disk never got (a skipped flush, a failing card reader) would pass as verified. The copy
// goes to a real ext4 file system on a loop device; while it is read back, the test changes its last
// bytes on the disk image underneath the file system, which only a read from the disk can see.

#include "import/FileCopy.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace velarix;

namespace {

constexpr qint64 MiB = 1024 * 1024;

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Where the file's last byte lies on its device, in bytes; absent while it has no place there yet
// (delayed allocation: the data is only in memory).
std::optional<qint64> lastByteOnDevice(const QString& path, qint64 size) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    auto closeFd = qScopeGuard([fd] { ::close(fd); });
    alignas(fiemap) char buffer[sizeof(fiemap) + sizeof(fiemap_extent)] = {};
    auto* map = reinterpret_cast<fiemap*>(buffer);
    map->fm_start = quint64(size - 1);
    map->fm_length = 1;
    map->fm_extent_count = 1;
    if (::ioctl(fd, FS_IOC_FIEMAP, map) != 0 || map->fm_mapped_extents < 1)
        return std::nullopt;
    const fiemap_extent& extent = map->fm_extents[0];
    if (extent.fe_flags & (FIEMAP_EXTENT_DELALLOC | FIEMAP_EXTENT_UNKNOWN | FIEMAP_EXTENT_UNWRITTEN))
        return std::nullopt;
    return qint64(extent.fe_physical + (quint64(size - 1) - extent.fe_logical));
}

} // namespace

class ReadBackFromDiskTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_image;
    QString m_mount;
    bool m_mounted = false;

private Q_SLOTS:
    void initTestCase() {
        m_image = m_dir.filePath(QStringLiteral("dest.img"));
        m_mount = m_dir.filePath(QStringLiteral("dest"));
        QDir().mkpath(m_mount);
        QFile image(m_image);
        QVERIFY(image.open(QIODevice::WriteOnly) && image.resize(64 * MiB));
        image.close();
        if (!run(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), QStringLiteral("-F"), m_image}))
            QSKIP("mkfs.ext4 is not available here");
        if (!run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), m_image, m_mount}))
            QSKIP("mounting a loop device needs root (CI runs this as root)");
        m_mounted = true;
    }
    void cleanupTestCase() {
        if (m_mounted)
            run(QStringLiteral("umount"), {m_mount});
    }

    void aCopyChangedOnTheDiskFailsVerification() {
        const QString source = m_dir.filePath(QStringLiteral("GX010001.MP4"));
        const qint64 size = 16 * MiB;
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
        QVERIFY(file.write(bytes) == size);
        file.close();

        bool onDisk = false;
        bool changed = false;
        CopyControl control;
        control.verifyProgress = [&](qint64 checked, qint64) {
            if (checked >= size || changed)
                return;
            // The first 4 MiB are read back; the end of the copy is not yet, and must be on the disk.
            const QStringList temporaries =
                QDir(m_mount).entryList({QStringLiteral(".velarix-import-*")}, QDir::Files | QDir::Hidden);
            if (temporaries.size() != 1)
                return;
            const auto at = lastByteOnDevice(m_mount + u'/' + temporaries.first(), size);
            onDisk = at.has_value();
            if (!at)
                return;
            const int image = ::open(QFile::encodeName(m_image).constData(), O_WRONLY | O_CLOEXEC);
            const char flipped = char(~bytes[size - 1]);
            changed = image >= 0 && ::pwrite(image, &flipped, 1, *at) == 1 && ::fdatasync(image) == 0;
            if (image >= 0)
                ::close(image);
        };
        const auto copied = copyFile(source, m_mount + QStringLiteral("/GX010001.MP4"), control);
        QVERIFY2(onDisk, "the copy was read back before it was on the disk");
        QVERIFY(changed);
        QVERIFY2(!copied, "the read-back did not see what is on the disk");
        QVERIFY(copied.error().message.contains(QStringLiteral("does not match")));
        QVERIFY(!QFile::exists(m_mount + QStringLiteral("/GX010001.MP4")));
    }
};

QTEST_GUILESS_MAIN(ReadBackFromDiskTest)
#include "test_readback_from_disk.moc"
