#include "desktop/MountTable.h"
#include "desktop/VolumeEject.h"
#include "desktop/VolumeIdentity.h"
#include "desktop/VolumeWatch.h"
#include "desktop/Volumes.h"
#include "media/ContentTypes.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"
#include "tests/support/CardFixture.h"
#include "tests/support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>

using namespace velarix;

namespace {

class FakeBus : public UDisksBus {
public:
    QStringList calls;
    bool known = true;
    bool unmountFails = false;
    bool canOff = true;
    Result<std::optional<QString>> blockObject(const QString& device) override {
        calls.append("block " + device);
        return known ? std::optional<QString>("/block/sdb1") : std::nullopt;
    }
    Result<void> unmount(const QString& object) override {
        calls.append("unmount " + object);
        if (unmountFails)
            return Error::make("Eject", 1, "target is busy");
        return {};
    }
    Result<std::optional<QString>> driveOf(const QString&) override {
        return std::optional<QString>("/drive/sdb");
    }
    Result<bool> canPowerOff(const QString&) override { return canOff; }
    Result<void> powerOff(const QString& drive) override {
        calls.append("off " + drive);
        return {};
    }
};

} // namespace

class VolumesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesTheMountTable() {
        const auto entries =
            parseMountTable("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "40 22 8:17 / /media/me/MY\\040CARD rw,nosuid shared:5 - vfat /dev/sdb1 rw\n");
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[1].mountPoint, QStringLiteral("/media/me/MY CARD"));
        QCOMPARE(entries[1].source, QStringLiteral("/dev/sdb1"));
        QCOMPARE(entries[1].fileSystemType, QStringLiteral("vfat"));
    }

    void knowsMovies() {
        QVERIFY(isMovieFileName("GX010001.MP4"));
        QVERIFY(isMovieFileName("clip.mov"));
        QVERIFY(isMovieFileName("GS010001.360"));
        QVERIFY(!isMovieFileName("GOPR0001.JPG"));
        QVERIFY(!isMovieFileName("notes.txt"));
    }

    void creationIsTheEarlierDate() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.MP4");
        QFile(path).open(QIODevice::WriteOnly);
        const QDateTime old(QDate(2024, 5, 1), QTime(10, 0));
        QVERIFY(test::setFileTime(path, old));
        QCOMPARE(fileStatus(path)->creationDate(), old);
        QVERIFY(fileStatus(path)->born.value_or(QDateTime::currentDateTime()) > old);
    }

    void listsFoldersAndWatchesThem() {
        test::CardFixture home;
        test::FakeCard b(home.volumes(), "B");
        test::FakeCard a(home.volumes(), "A", false);
        QCOMPARE(SystemVolumes().mountedVolumes().value(), (QStringList{a.root(), b.root()}));
        QVERIFY(hasDcimFolder(b.root()));
        QVERIFY(!hasDcimFolder(a.root()));
        // A plain folder's identity is stable and its own.
        QCOMPARE(SystemVolumes().volumeUUID(b.root()).value(), std::optional(folderUUID(b.root())));
        QVERIFY(folderUUID(a.root()) != folderUUID(b.root()));

        VolumeWatch watch;
        QVERIFY(watch.isActive());
        QSignalSpy changed(&watch, &VolumeWatch::volumesChanged);
        QDir().mkdir(home.volumes() + "/C");
        QVERIFY(changed.wait(5000));
    }

    void watchesTheMountTable() {
        VolumeWatch watch;
        QVERIFY(watch.isActive());
        QSignalSpy changed(&watch, &VolumeWatch::volumesChanged);
        const QByteArray point = "/mnt/velarix-watch-test";
        QDir().mkpath(point);
        if (::mount("tmpfs", point.constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("cannot mount here");
        const bool seen = changed.wait(5000);
        const bool listed = SystemVolumes().mountedVolumes().value().contains(QString(point));
        const auto uuid = SystemVolumes().volumeUUID(point);
        ::umount(point.constData());
        QDir().rmdir(point);
        QVERIFY(seen);
        QVERIFY(listed);
        QCOMPARE(uuid.value(), std::nullopt); // tmpfs has no device and no UUID
    }

    // udev's link names are escaped; a link is matched by the device it points to, not by its name.
    void readsUdevLinks() {
        QCOMPARE(decodeUdevName("My\\x20Card\\x2fA"), QStringLiteral("My Card/A"));
        QCOMPARE(decodeUdevName("1234-ABCD"), QStringLiteral("1234-ABCD"));
        QString device;
        for (const QString& name : QDir("/dev").entryList(QDir::System)) {
            struct stat info {};
            if (::stat(QFile::encodeName("/dev/" + name).constData(), &info) == 0 && S_ISBLK(info.st_mode)) {
                device = "/dev/" + name;
                break;
            }
        }
        if (device.isEmpty())
            QSKIP("no block device here");
        QTemporaryDir links;
        QVERIFY(QFile::link("/dev/null", links.filePath("0000-0000")));
        QCOMPARE(uuidFromUdevLinks(device, links.path()), std::nullopt);
        QVERIFY(QFile::link(device, links.filePath("My\\x20Card")));
        QCOMPARE(uuidFromUdevLinks(device, links.path()), std::optional<QString>("My Card"));
        QCOMPARE(uuidFromUdevLinks("/dev/null", links.path()), std::nullopt);
    }

    void identitySourcesCanBeNarrowed() {
        qputenv("VELARIX_IDENTITY_SOURCES", "udisks,udev");
        QCOMPARE(identitySources(), (QList{IdentitySource::udevLinks, IdentitySource::udisks}));
        qputenv("VELARIX_IDENTITY_SOURCES", "none");
        QVERIFY(identitySources().isEmpty());
        const auto unread = readVolumeIdentity("/dev/sdz9", "/media/me/CARD", "vfat");
        QVERIFY(unread.error().message.startsWith("The identity of /dev/sdz9 could not be read"));
        qunsetenv("VELARIX_IDENTITY_SOURCES");
        QCOMPARE(identitySources().size(), 4);
    }

    void ejects() {
        FakeBus bus;
        QVERIFY(ejectVolume(bus, "/media/me/CARD", "/dev/sdb1").ok());
        QCOMPARE(bus.calls, (QStringList{"block /dev/sdb1", "unmount /block/sdb1", "off /drive/sdb"}));
        bus.unmountFails = true;
        auto failed = ejectVolume(bus, "/media/me/CARD", "/dev/sdb1");
        QCOMPARE(failed.error().message, QStringLiteral("CARD could not be ejected. target is busy"));
        bus.known = false;
        QVERIFY(ejectVolume(bus, "/media/me/CARD", "/dev/sdb1").error().message.contains("does not know"));
    }

    void renamesWithoutReplacing() {
        QTemporaryDir dir;
        QFile(dir.filePath("a")).open(QIODevice::WriteOnly);
        QFile(dir.filePath("b")).open(QIODevice::WriteOnly);
        UniqueFd fd(::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY));
        QCOMPARE(renameNoReplace(fd.get(), "a", "b").error().code, EEXIST);
        QVERIFY(renameNoReplace(fd.get(), "a", "c").ok());
        QVERIFY(!QFile::exists(dir.filePath("a")));
    }
};

QTEST_GUILESS_MAIN(VolumesTest)
#include "test_volumes.moc"
