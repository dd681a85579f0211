#include "desktop/Trash.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/LoopMount.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"
#include "trimming/ReplacedOriginal.h"
#include "trimming/TrimInPlace.h"
#include "trimming/TrimWorkingFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
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
    QString m_clip;         // 30 s
    QStringList m_chapters; // one 12 s recording in three chapters, GX0N0070.MP4

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        m_clip = m_dir.filePath(QStringLiteral("fixture.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 30;
        QCOMPARE(makeClip(m_clip, recipe), QString());
        for (const char* name : {"GX010070.MP4", "GX020070.MP4", "GX030070.MP4"})
            m_chapters.append(m_dir.filePath(QStringLiteral("chapters/") + QLatin1String(name)));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("chapters"))));
        QCOMPARE(makeChapteredRecording(m_dir.filePath(QStringLiteral("recording.mp4")), m_chapters,
                                        cameraRecording()),
                 QString());
    }

    // A trim killed right after the swap (a crash, a logout, a power cut) has the trimmed file in
    // place and the originals not yet in the Trash. The next clean-up completes the move into the
    // places claimed there, or, with those gone (the Trash emptied meanwhile), keeps the originals
    // beside the file under names that say so; it never deletes them. Killed during the cut, the
    // claims are given back and the Trash holds no empty placeholder.
    void killedTrimKeepsOriginals_data() {
        QTest::addColumn<bool>("chapters");
        QTest::addColumn<bool>("duringCut");
        QTest::addColumn<bool>("trashEmptied");
        QTest::addColumn<int>("number"); // names differ per row: the Trash is shared
        QTest::newRow("after the swap: into the Trash") << false << false << false << 71;
        QTest::newRow("after the swap, Trash emptied: beside the file") << false << false << true << 72;
        QTest::newRow("chapters after the swap: into the Trash") << true << false << false << 73;
        QTest::newRow("chapters after the swap, Trash emptied: beside") << true << false << true << 74;
        QTest::newRow("during the cut: claims given back") << true << true << false << 75;
    }
    void killedTrimKeepsOriginals() {
        QFETCH(bool, chapters);
        QFETCH(bool, duringCut);
        QFETCH(bool, trashEmptied);
        QFETCH(int, number);
        QTemporaryDir dir(m_dir.filePath(QStringLiteral("killed-XXXXXX")));
        QStringList files;
        for (const QString& source : chapters ? m_chapters : QStringList{m_clip}) {
            const QString name = chapters ? QFileInfo(source).fileName().replace(
                                                QStringLiteral("0070"), QStringLiteral("00%1").arg(number))
                                          : QStringLiteral("jump%1.mp4").arg(number);
            files.append(dir.filePath(name));
            QVERIFY(QFile::copy(source, files.last()));
        }
        QList<QByteArray> originals;
        for (const QString& file : std::as_const(files))
            originals.append(readFile(file));

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            VideoTrimExportRequest request{QUrl::fromLocalFile(files.first()), 2, 10, true,
                                           OriginalDisposal{}};
            request.laterChapters = files.mid(1);
            const auto kill = [] {
                ::kill(::getpid(), SIGKILL);
            };
            if (!duringCut)
                request.afterSwap = kill;
            (void)trimVideoInPlace(request, nullptr, [&](double fraction) {
                if (duringCut && fraction >= 0.3)
                    kill();
            });
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const QString trash = m_dir.filePath(QStringLiteral("data/Trash"));
        QStringList names;
        for (const QString& file : std::as_const(files))
            names.append(QFileInfo(file).fileName());
        for (const QString& name : std::as_const(names)) {
            // The claims a crash leaves: an empty file and its info.
            QCOMPARE(QFileInfo(trash + QStringLiteral("/files/") + name).size(), 0);
            QVERIFY(
                QFileInfo::exists(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo")));
            if (trashEmptied) {
                QVERIFY(QFile::remove(trash + QStringLiteral("/files/") + name));
                QVERIFY(
                    QFile::remove(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo")));
            }
        }

        const LeftoverCleanup cleanup = removeAbandonedTrimFolders();
        QCOMPARE(cleanup.removed, 1);
        QCOMPARE(cleanup.notes.size(), duringCut ? 0 : files.size());
        if (duringCut) {
            for (qsizetype i = 0; i < files.size(); ++i) {
                QCOMPARE(readFile(files[i]), originals[i]);
                QVERIFY(!QFileInfo::exists(trash + QStringLiteral("/files/") + names[i]));
                QVERIFY(!QFileInfo::exists(trash + QStringLiteral("/info/") + names[i] +
                                           QStringLiteral(".trashinfo")));
            }
            QCOMPARE(folderEntries(dir.path()), names);
            return;
        }
        QVERIFY(std::abs(containerDuration(files.first()) - 8) < 1.0);
        QStringList expectedEntries{names.first()};
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QFileInfo file(files[i]);
            const QString kept = file.completeBaseName() + QStringLiteral(" (original).") + file.suffix();
            if (trashEmptied)
                expectedEntries.append(kept);
            QCOMPARE(
                readFile(trashEmptied ? dir.filePath(kept) : trash + QStringLiteral("/files/") + names[i]),
                originals[i]);
        }
        expectedEntries.sort();
        QCOMPARE(folderEntries(dir.path()), expectedEntries);
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

    // exFAT (here through FUSE, as desktops mount it) cannot swap two files, so the original cannot
    // be kept: refused before the cut, and the Trash folders made to find that out go again.
    void noSwapLeavesNoTrashFolder() {
        QTemporaryDir dir;
        LoopMount card(dir.filePath(QStringLiteral("card")));
        if (!card.mounted())
            QSKIP(qPrintable(card.skipReason()));
        const QString path = card.path() + QStringLiteral("/clip.mp4");
        QVERIFY(QFile::copy(m_clip, path));
        const QByteArray original = readFile(path);
        auto result = trimVideoInPlace(keepingRequest(path));
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.contains(QStringLiteral("cannot keep the original")),
                 qPrintable(result.error().message));
        QCOMPARE(readFile(path), original);
        QCOMPARE(folderEntries(card.path()), QStringList{QStringLiteral("clip.mp4")});
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
