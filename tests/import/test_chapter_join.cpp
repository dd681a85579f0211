#include "import/ChapterJoin.h"
#include "media/ChapterContinuation.h"
#include "media/Mp4Boxes.h"
#include "storage/PosixFile.h"
#include "storage/RegionVerifier.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

namespace {

// Joins into a new file, as the import does; the file stays open for the verification.
struct Joined {
    UniqueFd fd;
    QString path;
    Result<JoinOutcome> outcome = Error::make({}, 0, QStringLiteral("not joined"));
};

std::unique_ptr<Joined> join(const QStringList& chapters, const QString& path,
                             std::unique_ptr<RegionVerifier>* readBack = nullptr) {
    auto joined = std::make_unique<Joined>();
    joined->path = path;
    joined->fd =
        UniqueFd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    JoinControl control;
    if (readBack) {
        *readBack = std::make_unique<RegionVerifier>(joined->fd.get(), nullptr);
        control.verifier = readBack->get();
    }
    joined->outcome = joinChapters(chapters, joined->fd.get(), path, control);
    return joined;
}

// Where ffprobe finds the packets of `streams` ("v", "a"): position and size.
QStringList packetPlaces(const QString& path, const QString& streams) {
    return QString::fromUtf8(
               runProcess(QStringLiteral("ffprobe"),
                          {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                           streams, QStringLiteral("-show_entries"), QStringLiteral("packet=pos,size"),
                           QStringLiteral("-of"), QStringLiteral("csv=p=0"), path})
                   .out)
        .split(u'\n', Qt::SkipEmptyParts);
}

void flipByte(const QString& path, qint64 offset) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    const char byte = file.read(1).at(0);
    file.seek(offset);
    file.write(QByteArray(1, char(byte ^ 0x20)));
}

QStringList column(const QStringList& rows, int index) {
    QStringList values;
    for (const QString& row : rows)
        values.append(row.section(u',', index, index));
    return values;
}

// Presentation times that go on without a gap: each starts where the one before ended.
void verifyContinuous(const QStringList& times, double step, const char* what) {
    for (qsizetype i = 1; i < times.size(); ++i) {
        const double gap = times[i].toDouble() - times[i - 1].toDouble();
        if (std::abs(gap - step) > 1e-3)
            QFAIL(qPrintable(QStringLiteral("%1: %2 s between packets %3 and %4")
                                 .arg(QLatin1String(what))
                                 .arg(gap)
                                 .arg(i - 1)
                                 .arg(i)));
    }
}

// The timecode track's handler, media information header and sample description (with the
// timecode's flags, time scale and frames a second), as the file holds them.
QByteArray timecodeDescription(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto movie = mp4::readMovie(file, nullptr);
    if (!movie)
        return {};
    for (const mp4::Box& trak : movie->children) {
        if (trak.type != "trak" || mp4::handlerType(trak) != "tmcd")
            continue;
        QByteArray description;
        for (const auto& boxPath : {std::initializer_list<const char*>{"mdia", "hdlr"},
                                    {"mdia", "minf", "gmhd"},
                                    {"mdia", "minf", "stbl", "stsd"}})
            if (const mp4::Box* box = trak.find(boxPath))
                description += box->serialize();
        return description;
    }
    return {};
}

QString readerErrors(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    const auto result = runProcess(program, arguments);
    if (result.exitCode != 0)
        return program + QStringLiteral(": ") + QString::fromUtf8(result.err + result.out);
    return {};
}

} // namespace

class ChapterJoinTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_recording;
    QStringList m_chapters;

private Q_SLOTS:
    void initTestCase() {
        ClipRecipe recipe = cameraRecording();
        recipe.creationTime = QStringLiteral("2023-05-01T10:00:00Z");
        m_recording = m_dir.filePath(QStringLiteral("recording.mp4"));
        for (const char* name : {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"})
            m_chapters.append(m_dir.filePath(QLatin1String(name)));
        QCOMPARE(makeChapteredRecording(m_recording, m_chapters, recipe), QString());
        QCOMPARE(summarizeStreams(m_chapters[1]).timecode, QStringLiteral("10:00:04:00"));
    }

    void joinsEveryStreamWithoutAGap() {
        const auto joined = join(m_chapters, m_dir.filePath(QStringLiteral("joined.mp4")));
        if (!joined->outcome)
            QFAIL(qPrintable(joined->outcome.error().message));
        QCOMPARE(joined->outcome->streams.size(), size_t(4));
        const auto verified = verifyJoin(joined->fd.get(), joined->path, *joined->outcome, nullptr);
        if (!verified)
            QFAIL(qPrintable(verified.error().message));

        // The picture is the recording's, packet for packet and time for time.
        QCOMPARE(probePackets(joined->path, QStringLiteral("v")),
                 probePackets(m_recording, QStringLiteral("v")));
        verifyContinuous(column(probePackets(joined->path, QStringLiteral("a")), 0), 1024.0 / 22050, "sound");
        const QStringList telemetry = column(probePackets(joined->path, QStringLiteral("d:0")), 0);
        QCOMPARE(telemetry.size(), 12);
        verifyContinuous(telemetry, 1.0, "telemetry");

        const StreamSummary summary = summarizeStreams(joined->path);
        QCOMPARE(summary.timecode, QStringLiteral("10:00:00:00"));
        QCOMPARE(summary.creationTime, summarizeStreams(m_recording).creationTime);
        QCOMPARE(summary.telemetry, 1);
        QCOMPARE(movieUserData(joined->path).contains("FIRM"), true);
        QCOMPARE(movieUserData(joined->path).contains("GPMF"), true);
        QVERIFY(std::abs(containerDuration(joined->path) - containerDuration(m_recording)) < 0.05);

        QCOMPARE(readerErrors(QStringLiteral("ffmpeg"),
                              {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-xerror"),
                               QStringLiteral("-i"), joined->path, QStringLiteral("-f"),
                               QStringLiteral("null"), QStringLiteral("-")}),
                 QString());
        QCOMPARE(readerErrors(QStringLiteral("gst-discoverer-1.0"), {joined->path}), QString());
        QCOMPARE(readerErrors(QStringLiteral("mpv"),
                              {QStringLiteral("--vo=null"), QStringLiteral("--ao=null"),
                               QStringLiteral("--ao-null-untimed"), QStringLiteral("--untimed"),
                               QStringLiteral("--no-config"), joined->path}),
                 QString());
    }

    // Read from the headers alone, the chapters begin where the recording was cut, as the join puts them.
    void chapterStartsFromTheHeadersMatchTheJoin() {
        const auto starts = chapterStartTimes(m_chapters, nullptr);
        if (!starts)
            QFAIL(qPrintable(starts.error().message));
        QCOMPARE(starts->size(), size_t(4));
        QCOMPARE(starts->at(0), 0.0);
        QVERIFY(std::abs(starts->at(1) - 4.0) < 1e-6);
        QVERIFY(std::abs(starts->at(2) - 8.0) < 1e-6);
        QVERIFY(std::abs(starts->at(3) - 12.0) < 1e-6);
    }

    // The camera's own file: telemetry an independent reader understands, every camera box and tag.
    void joinsARealCameraRecording() {
        const QString sample = QStringLiteral(VELARIX_SAMPLE_MEDIA_DIR "/camera-drone-gpmf.mp4");
        if (!QFile::exists(sample))
            QSKIP("the real camera recording is not beside the checkout");
        if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
            QSKIP("exiftool is not installed");
        QTemporaryDir dir;
        const QStringList chapters{dir.filePath(QStringLiteral("GH010007.MP4")),
                                   dir.filePath(QStringLiteral("GH020007.MP4")),
                                   dir.filePath(QStringLiteral("GH030007.MP4"))};
        QCOMPARE(splitIntoChapters(sample, chapters, {4, 8}), QString());
        const auto joined = join(chapters, dir.filePath(QStringLiteral("joined.mp4")));
        if (!joined->outcome)
            QFAIL(qPrintable(joined->outcome.error().message));
        QVERIFY(verifyJoin(joined->fd.get(), joined->path, *joined->outcome, nullptr));
        QCOMPARE(probePackets(joined->path, QStringLiteral("v")), probePackets(sample, QStringLiteral("v")));
        QCOMPARE(probePackets(joined->path, QStringLiteral("a")), probePackets(sample, QStringLiteral("a")));
        QCOMPARE(summarizeStreams(joined->path).timecode, summarizeStreams(sample).timecode);

        // The telemetry's sample times go on across both boundaries, one a second, as in the recording.
        const auto exif = runProcess(QStringLiteral("exiftool"),
                                     {QStringLiteral("-ee"), QStringLiteral("-SampleTime"),
                                      QStringLiteral("-n"), QStringLiteral("-s3"), joined->path});
        const QStringList times = QString::fromUtf8(exif.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(times.size(), probePackets(sample, QStringLiteral("d:1")).size());
        verifyContinuous(times, 1.001, "telemetry sample times");
        const QByteArray userData = movieUserData(joined->path);
        for (const char* box : {"FIRM", "LENS", "CAME", "SETT", "MUID", "GUMI"})
            QVERIFY2(userData.contains(box), box);
        const auto tags =
            runProcess(QStringLiteral("ffprobe"),
                       {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                        QStringLiteral("stream=codec_tag_string"), QStringLiteral("-of"),
                        QStringLiteral("csv=p=0"), joined->path});
        QCOMPARE(QString::fromUtf8(tags.out).split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("avc1"), QStringLiteral("mp4a"), QStringLiteral("gpmd"),
                              QStringLiteral("tmcd")}));
    }

    // Chapters as the camera writes them: every telemetry sample stated a second long, the last one
    // too, while the picture ends 67 ms after the last one starts. Each chapter ends with its picture.
    void joinsCameraChaptersWhereTheirPictureEnds() {
        const QString sample = QStringLiteral(VELARIX_SAMPLE_MEDIA_DIR "/camera-drone-gpmf.mp4");
        if (!QFile::exists(sample))
            QSKIP("the real camera recording is not beside the checkout");
        for (const char* program : {"exiftool", "mediainfo", "gst-discoverer-1.0"})
            if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(program))));
        QTemporaryDir dir;
        const QStringList chapters{dir.filePath(QStringLiteral("GX010001.MP4")),
                                   dir.filePath(QStringLiteral("GX020001.MP4"))};
        for (const QString& chapter : chapters)
            QVERIFY(QFile::copy(sample, chapter));
        const auto joined = join(chapters, dir.filePath(QStringLiteral("joined.mp4")));
        if (!joined->outcome)
            QFAIL(qPrintable(joined->outcome.error().message));
        QVERIFY(verifyJoin(joined->fd.get(), joined->path, *joined->outcome, nullptr));

        // As long as the picture and sound, for every reader.
        const double picture = 2 * containerDuration(sample);
        QVERIFY2(std::abs(containerDuration(joined->path) - picture) < 0.01,
                 qPrintable(QString::number(containerDuration(joined->path))));
        const double mediainfo =
            QString::fromUtf8(runProcess(QStringLiteral("mediainfo"),
                                         {QStringLiteral("--Inform=General;%Duration%"), joined->path})
                                  .out)
                .trimmed()
                .toDouble() /
            1000;
        QVERIFY2(std::abs(mediainfo - picture) < 0.01, qPrintable(QString::number(mediainfo)));
        const QRegularExpression gstDuration(QStringLiteral("Duration: (\\d+):(\\d+):([\\d.]+)"));
        const auto found = gstDuration.match(
            QString::fromUtf8(runProcess(QStringLiteral("gst-discoverer-1.0"), {joined->path}).out));
        QVERIFY(found.hasMatch());
        const double gst = found.captured(1).toDouble() * 3600 + found.captured(2).toDouble() * 60 +
                           found.captured(3).toDouble();
        QVERIFY2(std::abs(gst - picture) < 0.01, qPrintable(found.captured(0)));

        // The second chapter's telemetry starts with its picture.
        const auto exif = runProcess(QStringLiteral("exiftool"),
                                     {QStringLiteral("-ee"), QStringLiteral("-SampleTime"),
                                      QStringLiteral("-n"), QStringLiteral("-s3"), joined->path});
        const QStringList times = QString::fromUtf8(exif.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(times.size(), 26);
        QVERIFY2(std::abs(times[13].toDouble() - picture / 2) < 0.002, qPrintable(times[13]));
        QVERIFY2(std::abs(times[25].toDouble() - picture / 2 - 12.012) < 0.002, qPrintable(times[25]));

        // The timecode track is described as the camera described it.
        QVERIFY(!timecodeDescription(sample).isEmpty());
        QCOMPARE(timecodeDescription(joined->path), timecodeDescription(sample));
        QCOMPARE(summarizeStreams(joined->path).timecode, summarizeStreams(sample).timecode);
    }

    void theVerificationReadsEveryByteBack() {
        QTemporaryDir dir;
        const auto joined = join(m_chapters, dir.filePath(QStringLiteral("joined.mp4")));
        QVERIFY(joined->outcome);
        // One byte inside the last video packet changes on the disk.
        const QStringList positions =
            QString::fromUtf8(runProcess(QStringLiteral("ffprobe"),
                                         {QStringLiteral("-v"), QStringLiteral("error"),
                                          QStringLiteral("-select_streams"), QStringLiteral("v"),
                                          QStringLiteral("-show_entries"), QStringLiteral("packet=pos,size"),
                                          QStringLiteral("-of"), QStringLiteral("csv=p=0"), joined->path})
                                  .out)
                .split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!positions.isEmpty());
        const qint64 offset = positions.last().section(u',', 1, 1).toLongLong() + 4;
        QFile file(joined->path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(offset);
        const char byte = file.read(1).at(0);
        file.seek(offset);
        file.write(QByteArray(1, char(byte ^ 0x20)));
        file.close();
        const auto verified = verifyJoin(joined->fd.get(), joined->path, *joined->outcome, nullptr);
        QVERIFY(!verified);
        QVERIFY2(verified.error().message.contains(QLatin1String("bytes of stream 0 differ")),
                 qPrintable(verified.error().message));
    }

    // Read back behind the writer, the samples need not be read again: the index is checked against
    // the writes that were read back. A changed byte of a sample is found by the read-back, and an
    // index that points at other bytes than a stream's packets by the check of the index alone.
    void theReadBackBehindTheWriterCoversTheSamples() {
        QTemporaryDir dir;
        std::unique_ptr<RegionVerifier> readBack;
        auto joined = join(m_chapters, dir.filePath(QStringLiteral("joined.mp4")), &readBack);
        QVERIFY(joined->outcome);
        QVERIFY(joined->outcome->samplesEnd > 0);
        QCOMPARE(::fsync(joined->fd.get()), 0);
        auto verdict = readBack->finish();
        QVERIFY(verdict);
        QCOMPARE(*verdict, RegionVerifier::Verdict::matches);
        const auto verified = verifyJoin(joined->fd.get(), joined->path, *joined->outcome, nullptr, true);
        QVERIFY2(verified, qPrintable(verified ? QString() : verified.error().message));

        // The last sound packet's write is noted with other bytes: only the index's check sees it.
        const QStringList sound = packetPlaces(joined->path, QStringLiteral("a"));
        QVERIFY(!sound.isEmpty());
        const qint64 position = sound.last().section(u',', 1, 1).toLongLong();
        JoinOutcome altered = *joined->outcome;
        const auto piece = std::find_if(altered.pieces.begin(), altered.pieces.end(),
                                        [&](const JoinOutcome::Piece& p) { return p.position == position; });
        QVERIFY(piece != altered.pieces.end());
        piece->digest ^= 1;
        const auto refused = verifyJoin(joined->fd.get(), joined->path, altered, nullptr, true);
        QVERIFY(!refused);
        QVERIFY2(refused.error().message.contains(QLatin1String("bytes of stream 1 differ")),
                 qPrintable(refused.error().message));

        // One byte of the last picture changes on the disk before its region is read back.
        joined = join(m_chapters, dir.filePath(QStringLiteral("joined-2.mp4")), &readBack);
        QVERIFY(joined->outcome);
        const QStringList pictures = packetPlaces(joined->path, QStringLiteral("v"));
        QVERIFY(!pictures.isEmpty());
        flipByte(joined->path, pictures.last().section(u',', 1, 1).toLongLong() + 4);
        verdict = readBack->finish();
        QVERIFY(verdict);
        QCOMPARE(*verdict, RegionVerifier::Verdict::differs);
    }

    void refusesChaptersThatDoNotBelong() {
        QTemporaryDir dir;
        // Cut short with its header intact (a file copied from a pulled card), and without one.
        const QString faststart = dir.filePath(QStringLiteral("GX020042.MP4"));
        QCOMPARE(runProcess(QStringLiteral("ffmpeg"),
                            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"),
                             m_chapters[1], QStringLiteral("-map"), QStringLiteral("0:v"),
                             QStringLiteral("-map"), QStringLiteral("0:a"), QStringLiteral("-map"),
                             QStringLiteral("0:d:0"), QStringLiteral("-c"), QStringLiteral("copy"),
                             QStringLiteral("-movflags"), QStringLiteral("+faststart"), faststart})
                     .exitCode,
                 0);
        QVERIFY(QFile::resize(faststart, QFileInfo(faststart).size() - 8000));
        const QString noHeader = dir.filePath(QStringLiteral("GX030042.MP4"));
        QVERIFY(QFile::copy(m_chapters[2], noHeader));
        QVERIFY(QFile::resize(noHeader, QFileInfo(noHeader).size() / 2));
        // Other codec parameters: another picture size.
        ClipRecipe other;
        other.seconds = 4;
        other.fps = 25;
        other.gop = 25;
        other.telemetry = true;
        const QString wider = dir.filePath(QStringLiteral("GX040042.MP4"));
        QCOMPARE(makeClip(wider, other), QString());

        const QList<QPair<QString, QString>> cases{
            {faststart, QStringLiteral("cut short")},
            {noHeader, QStringLiteral("GX030042.MP4")},
            {wider, QStringLiteral("other streams or codec parameters")}};
        for (const auto& [chapter, reason] : cases) {
            const auto joined = join({m_chapters[0], chapter}, dir.filePath(QStringLiteral("joined.mp4")));
            QVERIFY2(!joined->outcome, qPrintable(chapter));
            const QString message = joined->outcome.error().message;
            QVERIFY2(message.contains(QFileInfo(chapter).fileName()) && message.contains(reason),
                     qPrintable(message));
        }
    }
};

QTEST_GUILESS_MAIN(ChapterJoinTest)
#include "test_chapter_join.moc"
