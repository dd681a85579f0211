#include "platform/Trash.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"
#include "trimming/ReplacedOriginal.h"
#include "trimming/TrimInPlace.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

namespace {

template <class T> QByteArray errorOf(const Result<T>& result) {
    return result.ok() ? QByteArray() : result.error().message.toUtf8();
}

VideoTrimExportRequest keepingRequest(const QString& path) {
    VideoTrimExportRequest request{QUrl::fromLocalFile(path), 5, 20, true, OriginalDisposal{}};
    request.original.inBackground = true;
    return request;
}

} // namespace

// "Keep originals in the Trash": the replaced original lands in the Trash of the file's own file
// system, where a file manager finds it and can put it back; without a usable Trash nothing is cut.
class KeepOriginalTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip; // 30 s

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        m_clip = m_dir.filePath(QStringLiteral("fixture.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 30;
        QCOMPARE(makeClip(m_clip, recipe), QString());
    }

    // On another file system: its own .Trash-$uid at its top, or the shared sticky .Trash; the
    // entry names the path relative to the top. A second trim of a same-named file gets its own name.
    void trashOnAnotherFileSystem_data() {
        QTest::addColumn<bool>("sharedTrash");
        QTest::newRow("own .Trash-uid") << false;
        QTest::newRow("shared sticky .Trash") << true;
    }
    void trashOnAnotherFileSystem() {
        QFETCH(bool, sharedTrash);
        QTemporaryDir dir;
        TmpfsMount mount(dir.filePath(QStringLiteral("card")));
        if (!mount.mounted)
            QSKIP("mounting a tmpfs is not allowed here (needs root or CAP_SYS_ADMIN)");
        const QString uid = QString::number(::getuid());
        QString trash = mount.path + QStringLiteral("/.Trash-") + uid;
        if (sharedTrash) {
            QVERIFY(QDir().mkdir(mount.path + QStringLiteral("/.Trash")));
            QVERIFY(::chmod(QFile::encodeName(mount.path + QStringLiteral("/.Trash")).constData(), 01777) ==
                    0);
            trash = mount.path + QStringLiteral("/.Trash/") + uid;
        }
        QVERIFY(QDir().mkpath(mount.path + QStringLiteral("/DCIM")));
        const QString path = mount.path + QStringLiteral("/DCIM/clip 1%.mp4");
        for (int round = 1; round <= 2; ++round) {
            QVERIFY(QFile::copy(m_clip, path));
            const QByteArray original = readFile(path);
            auto result = trimVideoInPlace(keepingRequest(path));
            QVERIFY2(result.ok(), errorOf(result).constData());
            waitForPendingFrees();
            QVERIFY(std::abs(containerDuration(path) - 15) < 1.0);
            const QString name =
                round == 1 ? QStringLiteral("clip 1%.mp4") : QStringLiteral("clip 1% (2).mp4");
            QCOMPARE(readFile(trash + QStringLiteral("/files/") + name), original);
            const QString info = QString::fromUtf8(
                readFile(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo")));
            QVERIFY2(
                info.startsWith(QStringLiteral("[Trash Info]\nPath=DCIM/clip%201%25.mp4\nDeletionDate=20")),
                qPrintable(info));
            QCOMPARE(folderEntries(mount.path + QStringLiteral("/DCIM")),
                     QStringList{QStringLiteral("clip 1%.mp4")});
            QFile::remove(path);
        }
    }

    // On the home's file system the home Trash takes it, with the absolute path.
    void homeTrash() {
        QTemporaryDir dir(m_dir.filePath(QStringLiteral("videos-XXXXXX")));
        const QString path = dir.filePath(QStringLiteral("jump.mp4"));
        QVERIFY(QFile::copy(m_clip, path));
        const QByteArray original = readFile(path);
        auto result = trimVideoInPlace(keepingRequest(path));
        QVERIFY2(result.ok(), errorOf(result).constData());
        waitForPendingFrees();
        const QString trash = m_dir.filePath(QStringLiteral("data/Trash"));
        QCOMPARE(readFile(trash + QStringLiteral("/files/jump.mp4")), original);
        QVERIFY(readFile(trash + QStringLiteral("/info/jump.mp4.trashinfo"))
                    .contains("\nPath=" + QUrl::toPercentEncoding(QFileInfo(path).canonicalFilePath(), "/") +
                              '\n'));
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("jump.mp4")});
    }

    // No Trash can be made on that file system: the trim says so before it starts, and the file,
    // its folder and the file system are as they were.
    void noTrashLeavesTheFileAlone() {
        QTemporaryDir dir;
        TmpfsMount mount(dir.filePath(QStringLiteral("card")));
        if (!mount.mounted)
            QSKIP("mounting a tmpfs is not allowed here (needs root or CAP_SYS_ADMIN)");
        // A file where the Trash folder would go, and no shared .Trash.
        QFile blocker(mount.path + QStringLiteral("/.Trash-") + QString::number(::getuid()));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString path = mount.path + QStringLiteral("/clip.mp4");
        QVERIFY(QFile::copy(m_clip, path));
        const QByteArray original = readFile(path);
        bool cutStarted = false;
        auto result = trimVideoInPlace(keepingRequest(path), nullptr, [&](double) { cutStarted = true; });
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.startsWith(
                     QStringLiteral("Not trimmed, because its original could not be kept in the Trash: ")),
                 qPrintable(result.error().message));
        QVERIFY(!cutStarted);
        QCOMPARE(readFile(path), original);
        QCOMPARE(folderEntries(mount.path),
                 (QStringList{QStringLiteral(".Trash-") + QString::number(::getuid()),
                              QStringLiteral("clip.mp4")}));
    }

    // A claim that is never used leaves no trace in the Trash.
    void unusedClaimLeavesNothing() {
        QTemporaryDir dir(m_dir.filePath(QStringLiteral("claims-XXXXXX")));
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(QFile::copy(m_clip, path));
        const QString trash = m_dir.filePath(QStringLiteral("data/Trash"));
        const QStringList before = folderEntries(trash + QStringLiteral("/files"));
        {
            auto claim = TrashClaim::claim(path);
            QVERIFY2(claim.ok(), errorOf(claim).constData());
            QVERIFY(QFileInfo::exists(claim->trashedPath()));
        }
        QCOMPARE(folderEntries(trash + QStringLiteral("/files")), before);
        QCOMPARE(folderEntries(trash + QStringLiteral("/info")).size(), before.size());
    }
};

QTEST_GUILESS_MAIN(KeepOriginalTest)
#include "test_keep_original.moc"
