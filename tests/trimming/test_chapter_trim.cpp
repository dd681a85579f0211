#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/VendorTelemetry.h"
#include "trimming/TrimInPlace.h"
#include "trimming/VideoTrimmingModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace velarix;
using namespace velarix::test;

namespace {

QStringList column(const QStringList& rows) {
    QStringList values;
    for (const QString& row : rows)
        values.append(row.section(u',', 0, 0));
    return values;
}

QString readerErrors(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    const auto result = runProcess(program, arguments);
    return result.exitCode == 0 ? QString() : program + QStringLiteral(": ") + QString::fromUtf8(result.err);
}

} // namespace

// A recording in chapters cut as one video: one file in the first chapter's place.
class ChapterTrimTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_source; // the recording, split once
    QString m_recording;
    QStringList m_split;
    QTemporaryDir m_dir; // a fresh copy of the chapters per test
    QStringList m_chapters;

    Result<QUrl> trim(double start, double end, bool keep = false) {
        VideoTrimExportRequest request{
            QUrl::fromLocalFile(m_chapters.first()), start, end, keep, OriginalDisposal{}, m_chapters.mid(1)};
        return trimVideoInPlace(request);
    }

private Q_SLOTS:
    void initTestCase() {
        ClipRecipe recipe = cameraRecording();
        recipe.creationTime = QStringLiteral("2023-05-01T10:00:00Z");
        m_recording = m_source.filePath(QStringLiteral("recording.mp4"));
        for (const char* name : {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"})
            m_split.append(m_source.filePath(QLatin1String(name)));
        QCOMPARE(makeChapteredRecording(m_recording, m_split, recipe), QString());
    }

    void init() {
        m_chapters.clear();
        for (const QString& chapter : std::as_const(m_split)) {
            const QString copy = m_dir.filePath(QFileInfo(chapter).fileName());
            QFile::remove(copy);
            QVERIFY(QFile::copy(chapter, copy));
            m_chapters.append(copy);
        }
        QVERIFY(setFileTime(m_chapters.first(), QDateTime(QDate(2023, 5, 1), QTime(10, 0), Qt::UTC)));
    }

    // A cut across both boundaries: the recording's frames of the range, sound and telemetry going on
    // through the boundaries, timecode of the first kept frame, the camera's boxes; the first
    // chapter's place and dates, the others gone.
    void cutAcrossTheBoundaries() {
        const QDateTime modified = QFileInfo(m_chapters.first()).lastModified();
        const auto trimmed = trim(2.5, 9.5);
        if (!trimmed)
            QFAIL(qPrintable(trimmed.error().message));
        const QString& out = m_chapters.first();
        QVERIFY(!QFileInfo::exists(m_chapters[1]) && !QFileInfo::exists(m_chapters[2]));
        QCOMPARE(QFileInfo(out).lastModified(), modified);
        // The picture is that of the same cut of the recording in one file.
        const QString whole = m_dir.filePath(QStringLiteral("whole.mp4"));
        QFile::remove(whole);
        QVERIFY(QFile::copy(m_recording, whole));
        QVERIFY(trimVideoInPlace(VideoTrimExportRequest{QUrl::fromLocalFile(whole), 2.5, 9.5}));
        QCOMPARE(probePackets(out, QStringLiteral("v")), probePackets(whole, QStringLiteral("v")));
        QVERIFY(std::abs(containerDuration(out) - 7.0) < 0.1);
        QCOMPARE(firstFrameNumber(out), firstFrameNumber(whole));
        QCOMPARE(lastFrameNumber(out), lastFrameNumber(whole));
        const StreamSummary summary = summarizeStreams(out);
        QCOMPARE(summary.timecode, summarizeStreams(whole).timecode);
        QCOMPARE(summary.telemetry, 1);
        QCOMPARE(summary.audio, 1);
        QVERIFY(movieUserData(out).contains("GPMF"));
        // Telemetry one sample a second, without a gap or a repeat at 4 s and 8 s.
        const QStringList telemetry = column(probePackets(out, QStringLiteral("d:0")));
        QCOMPARE(telemetry, column(probePackets(whole, QStringLiteral("d:0"))));
        QVERIFY(telemetry.size() >= 7);
        for (qsizetype i = 2; i < telemetry.size(); ++i)
            QVERIFY(std::abs(telemetry[i].toDouble() - telemetry[i - 1].toDouble() - 1.0) < 1e-3);
        // Sound without a gap across the boundaries.
        const QStringList sound = column(probePackets(out, QStringLiteral("a")));
        for (qsizetype i = 1; i < sound.size(); ++i)
            QVERIFY(std::abs(sound[i].toDouble() - sound[i - 1].toDouble() - 1024.0 / 22050) < 1e-3);

        QCOMPARE(
            readerErrors(QStringLiteral("ffmpeg"), {"-v", "error", "-xerror", "-i", out, "-f", "null", "-"}),
            QString());
        QCOMPARE(readerErrors(QStringLiteral("gst-discoverer-1.0"), {out}), QString());
        QCOMPARE(readerErrors(QStringLiteral("mpv"), {"--vo=null", "--ao=null", "--ao-null-untimed",
                                                      "--untimed", "--no-config", out}),
                 QString());
    }

    // The camera's own recording in chapters, cut across both boundaries, reads as the same cut of the
    // recording in one file: picture, telemetry sample times (exiftool), timecode, boxes and tags.
    void cutsARealCameraRecordingAsOne() {
        const QString sample = QStringLiteral(VELARIX_SAMPLE_MEDIA_DIR "/camera-drone-gpmf.mp4");
        if (!QFile::exists(sample))
            QSKIP("the real camera recording is not beside the checkout");
        QTemporaryDir dir;
        const QStringList chapters{dir.filePath(QStringLiteral("GH010007.MP4")),
                                   dir.filePath(QStringLiteral("GH020007.MP4")),
                                   dir.filePath(QStringLiteral("GH030007.MP4"))};
        QCOMPARE(splitIntoChapters(sample, chapters, {4, 8}), QString());
        const QString whole = dir.filePath(QStringLiteral("whole.mp4"));
        QVERIFY(QFile::copy(sample, whole));
        QVERIFY(trimVideoInPlace(VideoTrimExportRequest{QUrl::fromLocalFile(whole), 2.5, 10.5}));
        const auto trimmed = trimVideoInPlace(VideoTrimExportRequest{
            QUrl::fromLocalFile(chapters[0]), 2.5, 10.5, false, OriginalDisposal{}, chapters.mid(1)});
        if (!trimmed)
            QFAIL(qPrintable(trimmed.error().message));
        const QString& out = chapters[0];
        // Sound and picture packet for packet at the same times: no gap and no jump at 4 s or 8 s.
        QCOMPARE(probePackets(out, QStringLiteral("v")), probePackets(whole, QStringLiteral("v")));
        QCOMPARE(probePackets(out, QStringLiteral("a")), probePackets(whole, QStringLiteral("a")));
        QCOMPARE(summarizeStreams(out).timecode, summarizeStreams(whole).timecode);
        const QByteArray userData = movieUserData(out);
        for (const char* box : {"FIRM", "LENS", "CAME", "SETT", "MUID", "GUMI"})
            QVERIFY2(userData.contains(box), box);
        // The chapters' timecode track comes last (the muxer made it), the recording's before the telemetry.
        const auto tags = [](const QString& path) {
            QStringList found =
                QString::fromUtf8(
                    runProcess(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries",
                                                           "stream=codec_tag_string", "-of", "csv=p=0", path})
                        .out)
                    .split(u'\n', Qt::SkipEmptyParts);
            found.sort();
            return found;
        };
        QCOMPARE(tags(out), tags(whole));
        if (!QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty()) {
            const auto sampleTimes = [](const QString& path) {
                return runProcess(QStringLiteral("exiftool"), {"-ee", "-SampleTime", "-n", "-s3", path}).out;
            };
            const QByteArray times = sampleTimes(out);
            QVERIFY(times.count('\n') >= 8);
            QCOMPARE(times, sampleTimes(whole));
        }
        // And the camera vendor's parser times every sample alike in both.
        const VendorTelemetry vendorWhole = readVendorTelemetry(whole);
        if (vendorWhole.skipReason.isEmpty()) {
            QVERIFY2(vendorWhole.error.isEmpty(), qPrintable(vendorWhole.error));
            const VendorTelemetry vendorOut = readVendorTelemetry(out);
            for (const QString& stream : {QStringLiteral("ACCL"), QStringLiteral("GYRO")}) {
                QCOMPARE(vendorOut.streams.value(stream).size(), vendorWhole.streams.value(stream).size());
                QVERIFY2(largestTimeError(vendorWhole, vendorOut, stream, 0) < 1, qPrintable(stream));
            }
        }
        QCOMPARE(readerErrors(QStringLiteral("gst-discoverer-1.0"), {out}), QString());
        QCOMPARE(readerErrors(QStringLiteral("mpv"), {"--vo=null", "--ao=null", "--ao-null-untimed",
                                                      "--untimed", "--no-config", out}),
                 QString());
    }

    // Chapters wholly outside the range are not read: damaged ones do not matter, and still go.
    void cutInsideOneChapter_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<int>("damaged");
        QTest::addColumn<int>("firstFrame");
        QTest::newRow("inside chapter 1") << 1.0 << 3.5 << 2 << 25;
        QTest::newRow("inside chapter 2") << 5.0 << 7.0 << 2 << 125;
        QTest::newRow("inside chapter 3") << 8.6 << 11.0 << 1 << 215;
    }
    void cutInsideOneChapter() {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(int, damaged);
        QFETCH(int, firstFrame);
        {
            // Its media data zeroed, its header kept.
            QFile file(m_chapters[damaged]);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QByteArray bytes = file.readAll();
            const qsizetype mdat = bytes.indexOf("mdat");
            QVERIFY(mdat > 0);
            file.seek(mdat + 4);
            file.write(QByteArray(qMin<qsizetype>(bytes.size() / 2, bytes.size() - mdat - 4), '\0'));
        }
        const auto trimmed = trim(start, end);
        if (!trimmed)
            QFAIL(qPrintable(trimmed.error().message));
        QVERIFY(std::abs(containerDuration(m_chapters.first()) - (end - start)) < 0.1);
        QCOMPARE(firstFrameNumber(m_chapters.first()), firstFrame);
        QVERIFY(!QFileInfo::exists(m_chapters[1]) && !QFileInfo::exists(m_chapters[2]));
    }

    // With "Keep originals in the Trash" every chapter goes there, under its own name and place.
    void keepsEveryChapterInTheTrash() {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const auto trimmed = trim(2.0, 10.0, true);
        qunsetenv("XDG_DATA_HOME");
        if (!trimmed)
            QFAIL(qPrintable(trimmed.error().message));
        for (const QString& chapter : std::as_const(m_chapters)) {
            const QString name = QFileInfo(chapter).fileName();
            QVERIFY2(QFileInfo::exists(data.filePath(QStringLiteral("Trash/files/") + name)),
                     qPrintable(name));
            QFile info(data.filePath(QStringLiteral("Trash/info/%1.trashinfo").arg(name)));
            QVERIFY(info.open(QIODevice::ReadOnly));
            QVERIFY(info.readAll().contains(QFile::encodeName(QFileInfo(chapter).absoluteFilePath())));
        }
        QVERIFY(QFileInfo::exists(m_chapters.first()));
        QVERIFY(!QFileInfo::exists(m_chapters[1]));
    }

    // A chapter that is not what it should be fails the trim naming it, and no chapter is touched.
    void badChaptersLeaveEveryFileAlone_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("named");
        QTest::newRow("cut short") << "cut short"
                                   << "GX020042.MP4";
        QTest::newRow("other codec parameters") << "other"
                                                << "GX020042.MP4";
        QTest::newRow("missing") << "missing"
                                 << "GX020042.MP4";
    }
    void badChaptersLeaveEveryFileAlone() {
        QFETCH(QString, fault);
        QFETCH(QString, named);
        const QString second = m_chapters[1];
        if (fault == QLatin1String("cut short")) {
            QVERIFY(QFile::resize(second, QFileInfo(second).size() * 2 / 3));
        } else if (fault == QLatin1String("other")) {
            ClipRecipe other;
            other.seconds = 4;
            other.fps = 30;
            QFile::remove(second);
            QCOMPARE(makeClip(second, other), QString());
        } else {
            QVERIFY(QFile::remove(second));
        }
        QList<QByteArray> before;
        for (const QString& chapter : std::as_const(m_chapters))
            before.append(QFileInfo::exists(chapter) ? fileDigest(chapter) : QByteArray());
        const auto trimmed = trim(2.0, 10.0);
        QVERIFY(!trimmed);
        QVERIFY2(trimmed.error().message.contains(named), qPrintable(trimmed.error().message));
        for (qsizetype i = 0; i < m_chapters.size(); ++i)
            QCOMPARE(QFileInfo::exists(m_chapters[i]) ? fileDigest(m_chapters[i]) : QByteArray(), before[i]);
    }

    // The window: chapters dropped together, or one of them alone, are one row for the recording.
    void theWindowListsTheRecordingOnce() {
        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString&, const CancelToken*, const VideoTrimmingModel::Progress&) {
            return Result<VideoTrimAnalysisResult>(VideoTrimAnalysisResult{});
        });
        model.addVideos({QUrl::fromLocalFile(m_chapters[1])});
        model.addVideos({QUrl::fromLocalFile(m_chapters[0]), QUrl::fromLocalFile(m_chapters[2])});
        QCOMPARE(model.items().size(), 1);
        QCOMPARE(model.items().first()->chapters(), m_chapters);
        QCOMPARE(model.items().first()->displayName(), QStringLiteral("GX010042.MP4 (3 chapters)"));
    }

    // The window trims the recording through its model: one cut across the boundary in the first
    // chapter's place, the others gone, the saving measured over every chapter.
    void theWindowTrimsTheRecording() {
        QTemporaryDir dir;
        ClipRecipe recipe;
        recipe.seconds = 40;
        recipe.telemetry = true;
        const QString recording = dir.filePath(QStringLiteral("recording.mp4"));
        QCOMPARE(makeClip(recording, recipe), QString());
        const QStringList chapters{dir.filePath(QStringLiteral("GX010043.MP4")),
                                   dir.filePath(QStringLiteral("GX020043.MP4"))};
        QCOMPARE(splitIntoChapters(recording, chapters, {15}), QString());
        qint64 sizeBefore = 0;
        for (const QString& chapter : chapters)
            sizeBefore += QFileInfo(chapter).size();

        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString&, const CancelToken*, const VideoTrimmingModel::Progress&) {
            VideoTrimAnalysisResult result;
            result.duration = 40;
            return Result<VideoTrimAnalysisResult>(result);
        });
        model.addVideos({QUrl::fromLocalFile(chapters[1])});
        QTRY_VERIFY(!model.isAnalyzing() && !model.hasAnalysisTask());
        QCOMPARE(model.items().size(), 1);
        VideoTrimItem* item = model.items().first();
        item->setManualStart(10);
        item->setManualEnd(20);
        model.startTrimming();
        QTRY_VERIFY_WITH_TIMEOUT(model.trimCompletionSummary().has_value(), 30000);
        QCOMPARE(model.trimCompletionSummary()->trimmedCount, 1);
        QVERIFY(!QFileInfo::exists(chapters[1]));
        QVERIFY(std::abs(containerDuration(chapters[0]) - 10.0) < 0.2);
        QCOMPARE(firstFrameNumber(chapters[0]), 100);
        QCOMPARE(model.trimCompletionSummary()->savedBytes, sizeBefore - QFileInfo(chapters[0]).size());
        waitForPendingFrees();
    }

    // The command line takes the recording by its first chapter; a later chapter alone is refused.
    void theCommandLineTrimsTheRecordingByItsFirstChapter() {
        const auto refused = runCli({"trim", m_chapters[1], "--range", "1-2"});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.err.contains("GX010042.MP4") || refused.out.contains("GX010042.MP4"),
                 refused.out + refused.err);
        QVERIFY(QFileInfo::exists(m_chapters[1]));

        const auto analysed = runCli({"--json", "analyze", m_chapters[0]});
        QCOMPARE(analysed.exitCode, 0);
        const QJsonObject line = QJsonDocument::fromJson(analysed.out.trimmed()).object();
        QCOMPARE(line.value("chapters").toArray().size(), 3);
        QVERIFY(std::abs(line.value("duration").toDouble() - 12.0) < 0.05);

        const auto trimmed = runCli({"--json", "trim", m_chapters[0], "--range", "3-9"});
        QCOMPARE(trimmed.exitCode, 0);
        QVERIFY(std::abs(containerDuration(m_chapters[0]) - 6.0) < 0.1);
        QCOMPARE(firstFrameNumber(m_chapters[0]), 75);
        QVERIFY(!QFileInfo::exists(m_chapters[1]) && !QFileInfo::exists(m_chapters[2]));
    }
};

QTEST_GUILESS_MAIN(ChapterTrimTest)
#include "test_chapter_trim.moc"
