#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/VendorTelemetry.h"
#include "trimming/VideoTrimExport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/xattr.h>

using namespace velarix;
using namespace velarix::test;

namespace {

QString errorOf(const Result<QUrl>& result) {
    return result.ok() ? QString() : result.error().message;
}

// Every line of an independent reader's output that names one of the keys.
QStringList linesWith(const QString& output, const QStringList& keys) {
    QStringList lines;
    for (const QString& line : output.split(QLatin1Char('\n')))
        for (const QString& key : keys)
            if (line.contains(key))
                lines.append(line.simplified());
    return lines;
}

QString ffprobe(const QString& path, const QString& entries) {
    return readerOutput(QStringLiteral("ffprobe"),
                        {"-v", "error", "-show_entries", entries, "-of", "compact", path});
}

bool decodesCleanly(const QString& path) {
    const auto result = runProcess(QStringLiteral("ffmpeg"), {"-v", "error", "-i", path, "-f", "null", "-"});
    return result.exitCode == 0 && result.err.trimmed().isEmpty();
}

// The names of the tags exiftool reads, with their group ("[Track3] ImageWidth"); not the file's own.
QStringList exiftoolTagNames(const QString& path) {
    QStringList names;
    const QString output = readerOutput(QStringLiteral("exiftool"), {"-a", "-G1", "-s", path});
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        const QString name = line.section(QLatin1Char(':'), 0, 0).simplified();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("[File]")) &&
            !name.startsWith(QLatin1String("[System]")) && !name.startsWith(QLatin1String("[ExifTool]")))
            names.append(name);
    }
    return names;
}

void requireReaders() {
    for (const char* program : {"exiftool", "mediainfo", "gst-discoverer-1.0"})
        if (runProcess(QString::fromLatin1(program), {QStringLiteral("--help")}).exitCode < 0)
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh installs it)")
                                 .arg(QString::fromLatin1(program))));
}

} // namespace

// What readers other than our own see in a trimmed file: every stream, tag, key, attribute and
// timecode of the source, less the cut time.
class TrimFidelityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_DATA_HOME", QDir::tempPath().toUtf8() + "/velarix-fidelity-data"); }

    // The real action-camera recording: picture, sound, timecode and telemetry come through with
    // their tags, the camera's user data with them; the telemetry starts at the cut.
    void cameraRecording() {
        requireReaders();
        const QString sample = QStringLiteral(VELARIX_SAMPLE_MEDIA_DIR "/camera-drone-gpmf.mp4");
        if (!QFileInfo::exists(sample))
            QSKIP("the real camera recording is not beside the checkout");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GOPR0001.MP4"));
        QVERIFY(QFile::copy(sample, path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        const QString streams = QStringLiteral("stream=codec_type,codec_tag_string:stream_tags=timecode");
        const QString before = ffprobe(path, streams);
        QVERIFY(before.contains(QLatin1String("fdsc")));

        const QStringList tagsBefore = exiftoolTagNames(path);
        const VendorTelemetry vendorBefore = readVendorTelemetry(path);

        auto result = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(path), 3.3, 10.0});
        QVERIFY2(result.ok(), qPrintable(errorOf(result)));
        QVERIFY(decodesCleanly(path));
        // Every tag exiftool reads, less those of the fifth track (fdsc) and the QuickTime-only
        // handler class, which MP4 files leave empty.
        const QStringList tagsAfter = exiftoolTagNames(path);
        for (const QString& tag : tagsBefore)
            if (!tag.startsWith(QLatin1String("[Track5]")) && !tag.endsWith(QLatin1String("HandlerClass")))
                QVERIFY2(tagsAfter.contains(tag), qPrintable(tag));
        // The camera's repair index (fdsc) is the one track left out; 3.3 s is 99 frames at 29.97.
        QString expected = before;
        expected.remove(
            QRegularExpression(QStringLiteral("stream\\|codec_type=data\\|codec_tag_string=fdsc\\n")));
        expected.replace(QLatin1String("19:26:48:04"), QLatin1String("19:26:51:13"));
        QCOMPARE(ffprobe(path, streams), expected);
        const QByteArray userData = movieUserData(path);
        for (const char* entry : {"FIRM", "LENS", "CAME", "SETT", "MUID", "GUMI"})
            QVERIFY2(userData.contains(entry), entry);
        // The camera's timecode entry says 29 frames a second, which mediainfo takes at its word: it
        // reads 20:07:02:06 in the source, and 99 frames later here.
        QVERIFY(readerOutput(QStringLiteral("mediainfo"), {path}).contains(QLatin1String("20:07:05:18")));

        // Telemetry readers mostly go by the sample table alone: the second payload (4.004 s in the
        // source) must lie 0.70 s after the cut for them.
        const QStringList times =
            linesWith(readerOutput(QStringLiteral("exiftool"), {"-ee", "-G3", "-SampleTime", path}),
                      {QStringLiteral("Sample Time")});
        QVERIFY2(times.size() >= 7, qPrintable(times.join(u'\n')));
        QVERIFY2(times[0].endsWith(QLatin1String(": 0 s")), qPrintable(times[0]));
        QVERIFY2(times[1].endsWith(QLatin1String(": 0.70 s")), qPrintable(times[1]));
        const QString discovered = readerOutput(QStringLiteral("gst-discoverer-1.0"), {path});
        QVERIFY(discovered.contains(QLatin1String("video #")) &&
                discovered.contains(QLatin1String("audio #")));

        // The camera vendor's parser spreads each payload's samples evenly over its time in the
        // sample table: the payloads the cut goes through must hold only their part's samples, or
        // theirs come out squeezed and late.
        if (!vendorBefore.skipReason.isEmpty())
            QSKIP(qPrintable(vendorBefore.skipReason));
        QVERIFY2(vendorBefore.error.isEmpty(), qPrintable(vendorBefore.error));
        const VendorTelemetry vendorAfter = readVendorTelemetry(path);
        QVERIFY2(vendorAfter.error.isEmpty(), qPrintable(vendorAfter.error));
        for (const QString& stream : {QStringLiteral("ACCL"), QStringLiteral("GYRO")}) {
            const double error = largestTimeError(vendorBefore, vendorAfter, stream, 3300);
            QVERIFY2(error < 8, qPrintable(QStringLiteral("%1 samples %2 ms off").arg(stream).arg(error)));
        }
    }

    // An HEVC clip keeps its hvc1 tag; phone keys survive where phones and ffmpeg put them; user
    // attributes are copied.
    void tagsKeysAndAttributes_data() {
        QTest::addColumn<bool>("hevc");
        QTest::addColumn<int>("keys");
        QTest::newRow("hvc1") << true << int(ClipRecipe::PhoneKeys::none);
        QTest::newRow("keys in the movie box") << false << int(ClipRecipe::PhoneKeys::inMovie);
        QTest::newRow("keys in the user data") << false << int(ClipRecipe::PhoneKeys::inUserData);
    }
    void tagsKeysAndAttributes() {
        QFETCH(bool, hevc);
        QFETCH(int, keys);
        requireReaders();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("IMG_0001.MP4"));
        ClipRecipe recipe;
        recipe.seconds = 8;
        recipe.hevc = hevc;
        recipe.phoneKeys = ClipRecipe::PhoneKeys(keys);
        QCOMPARE(makeClip(path, recipe), QString());
        const QByteArray encoded = QFile::encodeName(path);
        const QByteArray comment = "Exit over the lake";
        if (::setxattr(encoded.constData(), "user.xdg.comment", comment.constData(), size_t(comment.size()),
                       0) != 0)
            QSKIP("this file system keeps no extended attributes");

        const QStringList wanted = {QStringLiteral("GPS Coordinates"), QStringLiteral("Make"),
                                    QStringLiteral("Model"), QStringLiteral("Codec ID")};
        const auto readers = [&] {
            return linesWith(readerOutput(QStringLiteral("exiftool"), {"-G3", "-a", path}) +
                                 readerOutput(QStringLiteral("mediainfo"), {path}),
                             wanted);
        };
        const QStringList before = readers();
        if (recipe.phoneKeys != ClipRecipe::PhoneKeys::none)
            QVERIFY2(before.join(u' ').contains(QLatin1String("iPhone 12")), qPrintable(before.join(u'\n')));

        auto result = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(path), 2.5, 7.0});
        QVERIFY2(result.ok(), qPrintable(errorOf(result)));
        QVERIFY(decodesCleanly(path));
        QCOMPARE(readers(), before);
        QCOMPARE(ffprobe(path, QStringLiteral("stream=codec_tag_string")).split(u'\n').first(),
                 hevc ? QStringLiteral("stream|codec_tag_string=hvc1")
                      : QStringLiteral("stream|codec_tag_string=avc1"));
        char value[64] = {};
        QCOMPARE(::getxattr(encoded.constData(), "user.xdg.comment", value, sizeof value),
                 ssize_t(comment.size()));
        QCOMPARE(QByteArray(value), comment);
    }

    // A variable-frame-rate clip's timecode runs at its own 30 fps, not at the picture's average (about
    // 17 fps), and its description keeps its time scale and frame duration.
    void timecodeOfVariableFrameRate() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 10;
        recipe.fps = 30;
        recipe.gop = 30;
        recipe.variableFrameRate = true;
        recipe.timecode = QStringLiteral("01:00:00:00");
        QCOMPARE(makeClip(path, recipe), QString());
        const QString timecodeRate = QStringLiteral("stream=codec_tag_string,avg_frame_rate");
        const QString before = ffprobe(path, timecodeRate);
        QVERIFY2(!before.contains(QLatin1String("avc1|avg_frame_rate=30/1")), qPrintable(before));

        auto result = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(path), 6.2, 9.5});
        QVERIFY2(result.ok(), qPrintable(errorOf(result)));
        QCOMPARE(summarizeStreams(path).timecode, QStringLiteral("01:00:06:06"));
        const QString after = ffprobe(path, timecodeRate);
        const auto timecodeLine = [](const QString& text) {
            return linesWith(text, {QStringLiteral("tmcd")});
        };
        QCOMPARE(timecodeLine(after), timecodeLine(before));
        QVERIFY(readerOutput(QStringLiteral("mediainfo"), {path}).contains(QLatin1String("01:00:06:06")));
    }

    // A file another program has open for writing is left alone, whether the writer was there at
    // the start or came while the copy was made.
    void fileStillBeingWritten_data() {
        QTest::addColumn<bool>("lateWriter");
        QTest::newRow("writer from the start") << false;
        QTest::newRow("writer during the copy") << true;
    }
    void fileStillBeingWritten() {
        QFETCH(bool, lateWriter);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 20;
        QCOMPARE(makeClip(path, recipe), QString());
        const QByteArray digest = fileDigest(path);
        QFile writer(path);
        if (!lateWriter)
            QVERIFY(writer.open(QIODevice::Append));
        auto result = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(path), 5, 15}, nullptr,
                                         [&](double fraction) {
                                             if (lateWriter && fraction > 0.3 && !writer.isOpen())
                                                 QVERIFY(writer.open(QIODevice::Append));
                                         });
        QVERIFY(!result.ok());
        QVERIFY2(errorOf(result).contains(QLatin1String("is still being written by another program")),
                 qPrintable(errorOf(result)));
        writer.close();
        QCOMPARE(fileDigest(path), digest);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("clip.mp4")});
    }

    // mpv with FFmpeg's edit-list handling on (as the README tells mpv users) shows the frame at the
    // cut first, not one of the hidden frames before it.
    void mpvStartsAtTheCut() {
        if (runProcess(QStringLiteral("mpv"), {QStringLiteral("--version")}).exitCode != 0)
            QSKIP("mpv is not installed (scripts/install-deps.sh installs it)");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.mp4"));
        ClipRecipe recipe;
        recipe.seconds = 20;
        QCOMPARE(makeClip(path, recipe), QString());
        auto result = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(path), 10.5, 18.0});
        QVERIFY2(result.ok(), qPrintable(errorOf(result)));
        const auto played =
            runProcess(QStringLiteral("mpv"),
                       {"--no-config", "--ao=null", "--frames=1", "--vo=image", "--vo-image-format=png",
                        "--vo-image-outdir=" + dir.path(), "--demuxer-lavf-o=advanced_editlist=1", path});
        QCOMPARE(played.exitCode, 0);
        const QImage shown(dir.filePath(QStringLiteral("00000001.png")));
        QVERIFY(!shown.isNull());
        QCOMPARE(frameNumberShown(shown), 105);
    }

    void soundOnlyFileSaysSo() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("VOICE.MP4"));
        ClipRecipe sound;
        sound.seconds = 20;
        sound.video = false;
        QCOMPARE(makeClip(path, sound), QString());
        auto result = exportTrimmedVideo(VideoTrimExportRequest{QUrl::fromLocalFile(path), 5, 15});
        QVERIFY(!result.ok());
        QVERIFY2(errorOf(result).contains(QLatin1String("VOICE.MP4 has no video")),
                 qPrintable(errorOf(result)));
    }
};

QTEST_GUILESS_MAIN(TrimFidelityTest)
#include "test_trim_fidelity.moc"
