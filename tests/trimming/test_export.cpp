#include "media/TrimErrors.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"
#include "trimming/TrimWorkingFolder.h"
#include "trimming/VideoTrimExport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

namespace {

VideoTrimExportRequest requestFor(const QString& path, std::optional<double> start,
                                  std::optional<double> end) {
    return VideoTrimExportRequest{QUrl::fromLocalFile(path), start, end};
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_fixtures;
    QString m_camera; // 70 s, B-frames, every kind of stream and tag a camera file has
    QString m_threeSixty;

    QString copyOf(const QString& fixture, const QTemporaryDir& dir, const QString& name) {
        const QString path = dir.filePath(name);
        QFile::copy(fixture, path);
        return path;
    }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", m_fixtures.filePath(QStringLiteral("data")).toUtf8());
        ClipRecipe camera;
        camera.seconds = 70;
        camera.creationTime = QStringLiteral("2023-05-01T10:00:00Z");
        camera.timecode = QStringLiteral("10:00:00:00");
        camera.rotation = 90;
        camera.telemetry = true;
        camera.cameraUserData = true;
        m_camera = m_fixtures.filePath(QStringLiteral("camera.mp4"));
        QCOMPARE(makeClip(m_camera, camera), QString());

        ClipRecipe lenses;
        lenses.seconds = 40;
        lenses.secondVideo = true;
        lenses.telemetry = true;
        lenses.cameraUserData = true;
        m_threeSixty = m_fixtures.filePath(QStringLiteral("lenses.360"));
        QCOMPARE(makeClip(m_threeSixty, lenses), QString());
    }

    // The cut starts exactly at the requested time (30.5 s lies between key frames at 30 and 31 s),
    // with every stream and tag of the camera file kept and the file's date unchanged.
    void trimKeepsPictureStreamsAndDates() {
        QTemporaryDir dir;
        const QString path = copyOf(m_camera, dir, QStringLiteral("GX010042.MP4"));
        const QDateTime modified(QDate(2023, 5, 1), QTime(12, 0), Qt::UTC);
        QVERIFY(setFileTime(path, modified));
        const StreamSummary before = summarizeStreams(path);

        auto result = exportTrimmedVideo(requestFor(path, 30.5, 60.5));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(result->toLocalFile(), path);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("GX010042.MP4")});

        QCOMPARE(firstFrameNumber(path), 305);
        QVERIFY2(std::abs(containerDuration(path) - 30.0) < 0.2,
                 qPrintable(QString::number(containerDuration(path))));
        QCOMPARE(QFileInfo(path).lastModified().toUTC(), modified);

        const StreamSummary after = summarizeStreams(path);
        QVERIFY(after.ok);
        QCOMPARE(after.video, before.video);
        QCOMPARE(after.audio, 1);
        // Both begin at the cut: the pre-roll of each is hidden by its edit list.
        QVERIFY(std::abs(after.videoStart) < 0.01);
        QVERIFY(std::abs(after.audioStart) < 0.01);
        QCOMPARE(after.telemetry, 1);
        QCOMPARE(after.creationTime, before.creationTime);
        QCOMPARE(after.rotation, before.rotation);
        // Moved on by 305 frames at 10 fps (the demuxer writes the frames unpadded).
        QCOMPARE(after.timecode, QStringLiteral("10:00:30:5"));

        const QByteArray userData = movieUserData(path);
        QVERIFY(userData.contains("FIRM"));
        QVERIFY(userData.contains("GPMF"));
    }

    // x265's defaults make open groups of pictures: the frames shown just before a key frame are
    // decoded after it, from the group before. A cut starting on such a frame still shows it first.
    void trimStartsOnAFrameThatNeedsTheGroupBefore() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("PXL_0001.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 6;
        recipe.fps = 30;
        recipe.gop = 30;
        recipe.bFrames = 3;
        recipe.audio = false;
        recipe.hevc = true;
        QCOMPARE(makeClip(path, recipe), QString());
        auto result = exportTrimmedVideo(requestFor(path, 59.0 / 30, 150.0 / 30));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(firstFrameNumber(path), 59);
        QCOMPARE(lastFrameNumber(path), 149);
        const QString counted = readerOutput(
            QStringLiteral("ffprobe"), {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                        "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", path});
        QCOMPARE(counted.trimmed(), QStringLiteral("91"));
    }

    // A .360 keeps its path, name and both lenses; each lens starts at the cut.
    // With B-frames the copy ends by decoding time and so holds frames shown after the end (those the
    // last kept ones refer to); the last picture shown is still the one before the end.
    void trimEndsAtTheRequestedEnd() {
        QTemporaryDir dir;
        const QString path = copyOf(m_camera, dir, QStringLiteral("GX010043.MP4"));
        auto result = exportTrimmedVideo(requestFor(path, 30.5, 45.5));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(firstFrameNumber(path), 305);
        QCOMPARE(lastFrameNumber(path), 454);
        QVERIFY2(std::abs(containerDuration(path) - 15.0) < 0.05,
                 qPrintable(QString::number(containerDuration(path))));
    }

    void trimThreeSixtyInPlace() {
        QTemporaryDir dir;
        const QString path = copyOf(m_threeSixty, dir, QStringLiteral("GS010007.360"));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        auto result = exportTrimmedVideo(requestFor(path, 12.3, 30.0));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(result->toLocalFile(), path);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("GS010007.360")});
        // Owner, group and others (0x7077): the owner only may read and write, as before.
        QCOMPARE(QFile::permissions(path) & QFile::Permissions(0x7077), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(summarizeStreams(path).video, 2);
        QCOMPARE(summarizeStreams(path).telemetry, 1);
        QCOMPARE(firstFrameNumber(path, 0), 123);
        QCOMPARE(firstFrameNumber(path, 1), 123);
        QCOMPARE(lastFrameNumber(path, 1), 299);
        QVERIFY(std::abs(containerDuration(path) - 17.7) < 0.2);
        QVERIFY(movieUserData(path).contains("GPMF"));
    }

    // Through a link the file it names is trimmed, and the link stays a link.
    void trimThroughSymbolicLink() {
        QTemporaryDir dir;
        const QString target = copyOf(m_camera, dir, QStringLiteral("clip.mp4"));
        const QString link = dir.filePath(QStringLiteral("link.mp4"));
        QVERIFY(QFile::link(target, link));
        auto result = exportTrimmedVideo(requestFor(link, 10, 40));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(result->toLocalFile(), link);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(firstFrameNumber(target), 100);
        QCOMPARE(folderEntries(dir.path()),
                 (QStringList{QStringLiteral("clip.mp4"), QStringLiteral("link.mp4")}));
    }

    // A container MP4 cannot carry as it is (lossless video, PCM sound in Matroska) is re-encoded.
    void reencodeWhereCopyIsImpossible() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("odd.mp4"));
        const QString base = dir.filePath(QStringLiteral("base.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 20;
        QCOMPARE(makeClip(base, recipe), QString());
        auto made = runProcess(QStringLiteral("ffmpeg"),
                               {"-hide_banner", "-loglevel", "error", "-i", base, "-c:v", "ffv1", "-g", "10",
                                "-c:a", "pcm_s16le", "-f", "matroska", path});
        QCOMPARE(made.exitCode, 0);
        QFile::remove(base);

        auto result = exportTrimmedVideo(requestFor(path, 10.5, 18.0));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().message));
        QCOMPARE(firstFrameNumber(path), 105);
        QVERIFY(std::abs(containerDuration(path) - 7.5) < 0.2);
        const StreamSummary after = summarizeStreams(path);
        QCOMPARE(after.video, 1);
        QCOMPARE(after.audio, 1);
        // Both begin at the cut: the pre-roll of each is hidden by its edit list.
        QVERIFY(std::abs(after.videoStart) < 0.01);
        QVERIFY(std::abs(after.audioStart) < 0.01);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("odd.mp4")});
    }

    // Bad requests fail with a clear error before anything is written.
    void badRequests_data() {
        QTest::addColumn<std::optional<double>>("start");
        QTest::addColumn<std::optional<double>>("end");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing end") << std::optional<double>(10) << std::optional<double>()
                                     << "No trim range available.";
        QTest::newRow("missing start")
            << std::optional<double>() << std::optional<double>(10) << "No trim range available.";
        QTest::newRow("beyond the duration")
            << std::optional<double>(40) << std::optional<double>(90) << "does not lie within";
        QTest::newRow("end before start")
            << std::optional<double>(30) << std::optional<double>(20) << "does not lie within";
        QTest::newRow("negative start")
            << std::optional<double>(-2) << std::optional<double>(20) << "does not lie within";
    }
    void badRequests() {
        QFETCH(std::optional<double>, start);
        QFETCH(std::optional<double>, end);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = copyOf(m_camera, dir, QStringLiteral("clip.mp4"));
        const QByteArray digest = fileDigest(path);
        auto result = exportTrimmedVideo(requestFor(path, start, end));
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.contains(message), qPrintable(result.error().message));
        if (message == QLatin1String("No trim range available."))
            QCOMPARE(result.error().code, int(TrimErrorCode::noRange));
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("clip.mp4")});
    }

    void notAVideo() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.mp4"));
        QVERIFY(writeFile(path, "these are my notes, not a video\n"));
        auto result = exportTrimmedVideo(requestFor(path, 1, 2));
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.contains(QLatin1String("could not be opened as a video")),
                 qPrintable(result.error().message));
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("notes.mp4")});
    }

    // Cancelling, or the source vanishing, while the copy is written: the source is as it was (or
    // stays gone) and the working folder goes.
    void interruptedExport_data() {
        QTest::addColumn<bool>("deleteSource");
        QTest::newRow("cancelled") << false;
        QTest::newRow("source deleted") << true;
    }
    void interruptedExport() {
        QFETCH(bool, deleteSource);
        QTemporaryDir dir;
        const QString path = copyOf(m_camera, dir, QStringLiteral("clip.mp4"));
        const QByteArray digest = fileDigest(path);
        CancelToken cancel;
        bool sawWorkingFolder = false;
        auto result = exportTrimmedVideo(requestFor(path, 20, 60), &cancel, [&](double fraction) {
            if (fraction < 0.3)
                return;
            sawWorkingFolder = sawWorkingFolder || folderEntries(dir.path()).size() == 2;
            if (deleteSource)
                QFile::remove(path);
            else
                cancel.cancel();
        });
        QVERIFY(sawWorkingFolder);
        QVERIFY(!result.ok());
        if (deleteSource) {
            QVERIFY(!result.isCancelled());
            QVERIFY2(result.error().message.contains(QLatin1String("deleted")),
                     qPrintable(result.error().message));
            QVERIFY(folderEntries(dir.path()).isEmpty());
        } else {
            QVERIFY(result.isCancelled());
            QCOMPARE(fileDigest(path), digest);
            QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("clip.mp4")});
        }
    }

    // Root writes into read-only permission bits, so a read-only file system stands in for them.
    void readOnlyFolder() {
        QTemporaryDir dir;
        TmpfsMount mount(dir.filePath(QStringLiteral("card")));
        if (!mount.mounted)
            QSKIP("mounting a tmpfs is not allowed here");
        const QString path = copyOf(m_threeSixty, dir, QStringLiteral("card/clip.360"));
        const QByteArray digest = fileDigest(path);
        QVERIFY(mount.remountReadOnly());
        auto result = exportTrimmedVideo(requestFor(path, 5, 30));
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.contains(
                     QLatin1String("Could not create a working folder next to clip.360")),
                 qPrintable(result.error().message));
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(folderEntries(mount.path), QStringList{QStringLiteral("clip.360")});
    }

    // A file its owner made read-only is not replaced behind their back (the folder would allow it).
    void readOnlyFileIsRefused() {
        QTemporaryDir dir;
        const QString path = copyOf(m_threeSixty, dir, QStringLiteral("kept.360"));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray digest = fileDigest(path);
        auto result = exportTrimmedVideo(requestFor(path, 5, 30));
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.startsWith(QLatin1String("kept.360 is read-only")),
                 qPrintable(result.error().message));
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("kept.360")});
    }

    // Another file put in the source's place during the export is what the user wants there now.
    void sourceReplacedDuringExport() {
        QTemporaryDir dir;
        const QString path = copyOf(m_camera, dir, QStringLiteral("clip.mp4"));
        bool replaced = false;
        auto result = exportTrimmedVideo(requestFor(path, 20, 60), nullptr, [&](double fraction) {
            if (fraction < 0.3 || replaced)
                return;
            QFile other(dir.filePath(QStringLiteral("other")));
            QVERIFY(other.open(QIODevice::WriteOnly));
            other.write("the new one");
            other.close();
            replaced = ::rename(QFile::encodeName(other.fileName()).constData(),
                                QFile::encodeName(path).constData()) == 0;
        });
        QVERIFY(replaced);
        QVERIFY(!result.ok());
        QVERIFY2(result.error().message.contains(QLatin1String("changed")),
                 qPrintable(result.error().message));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the new one"));
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("clip.mp4")});
    }

    // A trim killed half-way leaves the source as it was; the folder it left, wherever that is, goes
    // at the next start, found through its entry in the application's data.
    void killedExportIsCleanedUpLater() {
        QTemporaryDir dir;
        const QString path = copyOf(m_camera, dir, QStringLiteral("clip.mp4"));
        const QByteArray digest = fileDigest(path);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            (void)exportTrimmedVideo(requestFor(path, 20, 60), nullptr, [](double fraction) {
                if (fraction >= 0.3)
                    ::kill(::getpid(), SIGKILL);
            });
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(folderEntries(dir.path()).size(), 2);
        QCOMPARE(folderEntries(trimWorkingFolderRegistry()).size(), 1);

        // An entry pointing elsewhere is dropped, and what it names is left alone.
        QTemporaryDir elsewhere;
        const QString stranger = elsewhere.filePath(TrimWorkingFolder::namePrefix() +
                                                    QUuid::createUuid().toString(QUuid::WithoutBraces));
        QVERIFY(QDir().mkpath(stranger));
        QVERIFY(QFile::link(stranger, trimWorkingFolderRegistry() + QStringLiteral("/") +
                                          QUuid::createUuid().toString(QUuid::WithoutBraces)));

        QCOMPARE(removeAbandonedTrimFolders().removed, 1);
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("clip.mp4")});
        QVERIFY(folderEntries(trimWorkingFolderRegistry()).isEmpty());
        QVERIFY(QFileInfo::exists(stranger));
    }

    void leftoverFoldersAreRemovedUnlessInUse() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        QFile(path).open(QIODevice::WriteOnly);
        const QString stale = dir.filePath(TrimWorkingFolder::namePrefix() +
                                           QUuid::createUuid().toString(QUuid::WithoutBraces));
        QVERIFY(QDir().mkpath(stale + QStringLiteral("/sub")));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral(".velarix-trim-notauuid"))));
        auto live = TrimWorkingFolder::create(path);
        QVERIFY(live.ok());
        QCOMPARE(removeLeftoverTrimFolders(path).removed, 1);
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(live->path()));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral(".velarix-trim-notauuid"))));
    }
};

QTEST_GUILESS_MAIN(ExportTest)
#include "test_export.moc"
