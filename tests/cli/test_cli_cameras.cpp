#include "tests/support/CardTest.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TimedMetadataFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

using namespace velarix::test;

namespace {

const QByteArray kThreeSixtyTrailer = QByteArray(600, '\x07') + "8db42d694ccc418790edff439fe026bf";

QJsonObject json(const ProcessResult& result) {
    return QJsonDocument::fromJson(result.out).object();
}

// The scan's rows by file name.
QMap<QString, QJsonObject> rows(const ProcessResult& scan) {
    QMap<QString, QJsonObject> byName;
    for (const auto& video : json(scan)["videos"].toArray())
        byName.insert(video.toObject()["file"].toString(), video.toObject());
    return byName;
}

QStringList texts(const QJsonValue& array) {
    QStringList list;
    for (const auto& value : array.toArray())
        list.append(value.toString());
    return list;
}

QString put(const QString& path, const QByteArray& bytes, const QDateTime& modified = {}) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!writeFile(path, bytes))
        return {};
    if (modified.isValid())
        setFileTime(path, modified);
    return path;
}

QString probeField(const QString& path, const QString& entry) {
    return readerOutput(QStringLiteral("ffprobe"),
                        {"-v", "error", "-show_entries", entry, "-of", "default=nw=1:nk=1", path})
        .trimmed();
}

} // namespace

class CliCamerasTest : public CardTest {
    Q_OBJECT

    QTemporaryDir m_fixtures;
    QByteArray m_clip;   // 6 s, two lenses, as a 360 camera's file
    QByteArray m_plain;  // 6 s, one picture, with a timecode and a creation time
    QByteArray m_short;  // 2 s
    QString m_recording; // 12 s, as split into m_chapters
    QStringList m_chapters;

private Q_SLOTS:
    void initTestCase() {
        const QString lens = m_fixtures.filePath(QStringLiteral("lens.mp4"));
        QCOMPARE(makeClip(lens, {.seconds = 6, .secondVideo = true}), QString());
        m_clip = readFile(lens);
        const QString plain = m_fixtures.filePath(QStringLiteral("plain.mp4"));
        QCOMPARE(makeClip(plain, {.seconds = 6,
                                  .creationTime = QStringLiteral("2026-12-07T09:15:00Z"),
                                  .timecode = QStringLiteral("09:15:00:00")}),
                 QString());
        m_plain = readFile(plain);
        const QString shortClip = m_fixtures.filePath(QStringLiteral("short.mp4"));
        QCOMPARE(makeClip(shortClip, {.seconds = 2}), QString());
        m_short = readFile(shortClip);
        m_recording = m_fixtures.filePath(QStringLiteral("recording.mp4"));
        for (const char* name : {"one.mp4", "two.mp4", "three.mp4"})
            m_chapters.append(m_fixtures.filePath(QLatin1String(name)));
        QCOMPARE(makeChapteredRecording(m_recording, m_chapters, cameraRecording()), QString());
    }

    void init() {
        freshCard();
        QDir().mkpath(home->destination());
    }

    // A mirrorless camera's card has no DCIM: its clips are listed with the start their clip
    // metadata states (the file times hold local time as if it were UTC), and the metadata comes
    // along byte for byte, even when it is hostile and gives no date. The proxy in PRIVATE/M4ROOT/SUB
    // is its clip's, never a row of its own, and stays behind with --no-proxies.
    void mirrorlessCard() {
        const FakeCard sony = home->addCard(QStringLiteral("ALPHA"), false);
        const QString clip = sony.root() + QStringLiteral("/PRIVATE/M4ROOT/CLIP/");
        const QDateTime wrong(QDate(2026, 12, 7), QTime(10, 15), Qt::UTC);
        put(clip + "C0001.MP4", m_plain, wrong);
        const QByteArray xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<NonRealTimeMeta><Duration value=\"150\"/>"
            "<CreationDate value=\"2026-12-07T10:15:00+01:00\"/></NonRealTimeMeta>\n";
        put(clip + "C0001M01.XML", xml, wrong);
        const QByteArray hostile =
            "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
            "<m><CreationDate value=\"&e;\"/></m>";
        const QDateTime later(QDate(2026, 12, 7), QTime(11, 0), Qt::UTC);
        put(clip + "C0002.MP4", m_plain, later);
        put(clip + "C0002M01.XML", hostile, later);
        put(clip + "C0009M01.XML", xml); // no clip of its own
        put(sony.root() + "/PRIVATE/M4ROOT/THMBNL/C0001T01.JPG", "jpeg");
        put(sony.root() + "/PRIVATE/M4ROOT/SUB/C0001S03.MP4", m_plain, wrong);
        put(sony.root() + "/PRIVATE/M4ROOT/SUB/C0007S03.MP4", m_plain); // its clip was deleted

        QVERIFY(runCli({"cards"}).out.contains("ALPHA"));
        const auto scan = runCli({"scan", "--json", "--card", sony.root()});
        QCOMPARE(scan.exitCode, 0);
        const auto videos = rows(scan);
        QCOMPARE(videos.keys(), (QStringList{"C0001.MP4", "C0002.MP4"}));
        QCOMPARE(QDateTime::fromString(videos["C0001.MP4"]["created"].toString(), Qt::ISODate),
                 QDateTime(QDate(2026, 12, 7), QTime(9, 15), Qt::UTC));
        QCOMPARE(QDateTime::fromString(videos["C0002.MP4"]["created"].toString(), Qt::ISODate), later);
        QCOMPARE(texts(videos["C0001.MP4"]["companions"]), (QStringList{"C0001M01.XML", "C0001S03.MP4"}));

        const QString small = home->destination() + QStringLiteral("/small");
        QDir().mkpath(small);
        auto import = runCli(
            {"import", "--card", sony.root(), "--pattern", "{filename}", "--no-proxies", "--dest", small});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(folderEntries(small),
                 (QStringList{"C0001.MP4", "C0001M01.XML", "C0002.MP4", "C0002M01.XML"}));
        import = runCli(
            {"import", "--card", sony.root(), "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(folderEntries(home->destination()), (QStringList{"C0001.MP4", "C0001M01.XML", "C0001S03.MP4",
                                                                  "C0002.MP4", "C0002M01.XML", "small"}));
        QCOMPARE(readFile(home->destination() + "/C0001S03.MP4"), m_plain);
        QCOMPARE(readFile(home->destination() + "/C0002M01.XML"), hostile);
        QCOMPARE(readFile(home->destination() + "/C0001M01.XML"), xml);
    }

    // A 360 camera's card: the second lens and the proxy are one row with their clip; the proxies can
    // stay behind; the row is imported once both lenses are. The camera's data after the last box is
    // never cut away; a clip without it is trimmed whole, both pictures kept; one lens is not cut alone.
    void threeSixtyCard() {
        const QString folder = card->dcim() + QStringLiteral("/Camera01/");
        put(folder + "VID_20261207_101500_00_001.insv", m_clip + kThreeSixtyTrailer);
        put(folder + "VID_20261207_101500_10_001.insv", m_clip);
        put(folder + "LRV_20261207_101500_11_001.lrv", m_plain);
        put(folder + "VID_20261207_103000_00_002.insv", m_clip);
        put(folder + "VID_20261207_104500_00_003.insv", "RIFF not an MP4 at all");
        put(folder + "LRV_20261207_120000_11_009.lrv", m_plain); // its clip was deleted

        auto videos = rows(runCli({"scan", "--json"}));
        QCOMPARE(videos.size(), 3);
        QCOMPARE(texts(videos["VID_20261207_101500_00_001.insv"]["companions"]),
                 (QStringList{"LRV_20261207_101500_11_001.lrv", "VID_20261207_101500_10_001.insv"}));
        QVERIFY(!videos["VID_20261207_104500_00_003.insv"]["error"].isNull());
        QVERIFY(runCli({"scan"}).out.contains("VID_20261207_101500_00_001.insv (2 lenses)"));

        auto import =
            runCli({"import", "--no-proxies", "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(folderEntries(home->destination()),
                 (QStringList{"VID_20261207_101500_00_001.insv", "VID_20261207_101500_10_001.insv",
                              "VID_20261207_103000_00_002.insv", "VID_20261207_104500_00_003.insv"}));
        videos = rows(runCli({"scan", "--json"}));
        QCOMPARE(videos["VID_20261207_101500_00_001.insv"]["state"].toString(), QStringLiteral("imported"));

        const QString withTrailer = home->destination() + "/VID_20261207_101500_00_001.insv";
        QCOMPARE(readFile(withTrailer), m_clip + kThreeSixtyTrailer);
        const auto analysis = json(runCli({"analyze", "--json", withTrailer}));
        QVERIFY2(texts(analysis["telemetryKinds"]).join(u' ').contains("360 camera"),
                 analysis["explanation"].toString().toUtf8());
        const auto refused = runCli({"trim", withTrailer, "--range", "1-4"});
        QVERIFY(refused.exitCode != 0);
        QVERIFY2(refused.out.contains("360 camera's own data"), refused.out.constData());
        QCOMPARE(readFile(withTrailer), m_clip + kThreeSixtyTrailer);

        // Both lenses without a trailer: the first is still not cut without the second.
        const QString lens = home->destination() + "/VID_20261207_101500_00_001.insv";
        QVERIFY(writeFile(lens, m_clip));
        const auto alone = runCli({"trim", lens, "--range", "1-4"});
        QVERIFY2(alone.out.contains("other lens is VID_20261207_101500_10_001.insv"), alone.out.constData());

        const QString single = home->destination() + "/VID_20261207_103000_00_002.insv";
        const auto trimmed = runCli({"trim", single, "--range", "1-4"});
        QCOMPARE(trimmed.exitCode, 0);
        QVERIFY(std::abs(containerDuration(single) - 3) < 0.2);
        QCOMPARE(summarizeStreams(single).video, 2);
    }

    // The older chapter naming and the numbered split: each recording is one row with its sidecars,
    // imported joined (the same packets as the recording, read back by ffprobe), trimmed as one.
    void olderAndNumberedChapters() {
        const QStringList gopro{"GOPR0002.MP4", "GP010002.MP4", "GP020002.MP4"};
        const QStringList dji{"DJI_20261207101500_0001_D.MP4", "DJI_20261207101500_0002_D.MP4",
                              "DJI_20261207101500_0003_D.MP4"};
        for (int i = 0; i < 3; ++i) {
            put(card->dcim() + "/100GOPRO/" + gopro[i], readFile(m_chapters[i]));
            put(card->dcim() + "/DJI_001/" + dji[i], readFile(m_chapters[i]));
        }
        put(card->dcim() + "/100GOPRO/GOPR0002.THM", "thumbnail");
        put(card->dcim() + "/100GOPRO/GP010002.LRV", m_plain);
        put(card->dcim() + "/DJI_001/DJI_20261207101500_0001_D.SRT",
            "1\n00:00:00,000 --> 00:00:00,033\n[latitude: 47.1]\n");

        const auto videos = rows(runCli({"scan", "--json"}));
        QCOMPARE(videos.keys(), (QStringList{dji[0], gopro[0]}));
        QCOMPARE(texts(videos[gopro[0]]["chapters"]), gopro);
        QCOMPARE(texts(videos[gopro[0]]["companions"]), (QStringList{"GOPR0002.THM", "GP010002.LRV"}));
        QCOMPARE(texts(videos[dji[0]]["chapters"]), dji);
        QCOMPARE(texts(videos[dji[0]]["companions"]), QStringList{"DJI_20261207101500_0001_D.SRT"});

        auto import = runCli({"import", "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(folderEntries(home->destination()), (QStringList{dji[0], "DJI_20261207101500_0001_D.SRT",
                                                                  gopro[0], "GOPR0002.THM", "GP010002.LRV"}));
        for (const QString& joined : {dji[0], gopro[0]})
            QCOMPARE(probePackets(home->destination() + u'/' + joined, QStringLiteral("v")),
                     probePackets(m_recording, QStringLiteral("v")));

        const auto analysis = json(runCli({"analyze", "--json", card->dcim() + "/DJI_001/" + dji[0]}));
        QCOMPARE(texts(analysis["chapters"]), dji);
        QVERIFY2(analysis["explanation"].toString().contains(
                     "GPS subtitles beside the clip (DJI_20261207101500_0001_D.SRT)"),
                 analysis["explanation"].toString().toUtf8());
        QVERIFY(texts(analysis["telemetryKinds"]).contains("GPMF sensors (gpmd)"));

        const auto trimmed = runCli({"trim", card->dcim() + "/100GOPRO/" + gopro[0], "--range", "2-10"});
        QCOMPARE(trimmed.exitCode, 0);
        QVERIFY(std::abs(containerDuration(card->dcim() + "/100GOPRO/" + gopro[0]) - 8) < 0.2);
        QVERIFY(!QFileInfo::exists(card->dcim() + "/100GOPRO/GP010002.MP4"));
    }

    // Chapters of a QuickTime recording are joined into QuickTime, as its trim is written: brand
    // `qt`, the same packets, telemetry under its own tag, the creation time and the first chapter's
    // timecode, as ffprobe, mediainfo and exiftool read them.
    void quickTimeChaptersJoinAsQuickTime() {
        const QStringList names{"DJI_20261207101500_0001_D.MOV", "DJI_20261207101500_0002_D.MOV",
                                "DJI_20261207101500_0003_D.MOV"};
        const QString folder = card->dcim() + QStringLiteral("/DJI_001/");
        QDir().mkpath(folder);
        for (int i = 0; i < 3; ++i) {
            const auto made =
                runProcess(QStringLiteral("ffmpeg"),
                           {"-v", "error", "-y", "-i", m_chapters[i], "-map", "0", "-c", "copy", "-metadata",
                            "creation_time=2026-12-07T09:15:00Z", "-f", "mov", folder + names[i]});
            QCOMPARE(made.exitCode, 0);
        }
        QCOMPARE(texts(rows(runCli({"scan", "--json"}))[names[0]]["chapters"]), names);

        const auto import = runCli({"import", "--pattern", "{filename}", "--dest", home->destination()});
        QVERIFY2(import.exitCode == 0, import.out.constData());
        QCOMPARE(folderEntries(home->destination()), QStringList{names[0]});
        const QString joined = home->destination() + u'/' + names[0];
        QCOMPARE(probeField(joined, "format_tags=major_brand"), QStringLiteral("qt"));
        QCOMPARE(probePackets(joined, QStringLiteral("v")), probePackets(m_recording, QStringLiteral("v")));
        QCOMPARE(probeField(joined, "stream=codec_tag_string").split(u'\n').count(QStringLiteral("gpmd")), 1);
        const StreamSummary streams = summarizeStreams(joined);
        QCOMPARE(streams.video, 1);
        QCOMPARE(streams.audio, 1);
        QCOMPARE(streams.telemetry, 1);
        QCOMPARE(streams.timecode, summarizeStreams(folder + names[0]).timecode);
        QCOMPARE(streams.creationTime.left(19), QStringLiteral("2026-12-07T09:15:00"));
        if (QStandardPaths::findExecutable(QStringLiteral("mediainfo")).isEmpty())
            QSKIP("mediainfo is not installed (scripts/install-deps.sh installs it)");
        QCOMPARE(readerOutput(QStringLiteral("mediainfo"), {"--Inform=General;%Format_Profile%", joined})
                     .trimmed(),
                 QStringLiteral("QuickTime"));
        QVERIFY(std::abs(readerOutput(QStringLiteral("mediainfo"), {"--Inform=General;%Duration%", joined})
                             .toDouble() -
                         12000) < 100);
        if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
            QSKIP("exiftool is not installed (scripts/install-deps.sh installs it)");
        QCOMPARE(readerOutput(QStringLiteral("exiftool"), {"-s3", "-MajorBrand", joined}).trimmed(),
                 QStringLiteral("Apple QuickTime (.MOV/QT)"));
    }

    // Files beside a video that do not fit it (a proxy of another length or larger than its video, a
    // second lens cut short, clip metadata of another day) are named on the video's row, which is
    // listed and imported with them all the same.
    void companionsThatDoNotFit() {
        const QString gopro = card->dcim() + QStringLiteral("/100GOPRO/");
        put(gopro + "GX010050.MP4", m_plain);
        put(gopro + "GL010050.LRV", m_short);
        put(gopro + "GX010051.MP4", m_short);
        put(gopro + "GL010051.LRV", m_plain);
        const QString insta = card->dcim() + QStringLiteral("/Camera01/");
        put(insta + "VID_20261207_111500_00_004.insv", m_clip);
        put(insta + "VID_20261207_111500_10_004.insv", m_short);
        const QString clip = card->root() + QStringLiteral("/PRIVATE/M4ROOT/CLIP/");
        const QDateTime fileTime(QDate(2026, 12, 7), QTime(10, 15), Qt::UTC);
        put(clip + "C0003.MP4", m_plain, fileTime);
        put(clip + "C0003M01.XML",
            "<?xml version=\"1.0\"?><NonRealTimeMeta><CreationDate value=\"2026-11-30T10:15:00+01:00\"/>"
            "</NonRealTimeMeta>");

        const auto scan = runCli({"scan", "--json"});
        const auto videos = rows(scan);
        QCOMPARE(videos.keys(), (QStringList{"C0003.MP4", "GX010050.MP4", "GX010051.MP4",
                                             "VID_20261207_111500_00_004.insv"}));
        const auto note = [&](const char* video) {
            return texts(videos[QLatin1String(video)]["notes"]).join(u' ');
        };
        QVERIFY2(note("GX010050.MP4")
                     .contains("The proxy GL010050.LRV runs 2.0 s, but its video GX010050.MP4 "
                               "runs 6.0 s"),
                 qPrintable(note("GX010050.MP4")));
        QVERIFY2(
            note("GX010051.MP4").contains("The proxy GL010051.LRV is larger than its video GX010051.MP4"),
            qPrintable(note("GX010051.MP4")));
        QVERIFY2(note("VID_20261207_111500_00_004.insv")
                     .contains("The second lens VID_20261207_111500_10_004.insv runs 2.0 s"),
                 qPrintable(note("VID_20261207_111500_00_004.insv")));
        QVERIFY2(
            note("C0003.MP4").contains("C0003M01.XML says the recording began at 2026-11-30T10:15:00+01:00"),
            qPrintable(note("C0003.MP4")));
        // The file's own time stands against metadata of another day.
        QCOMPARE(QDateTime::fromString(videos["C0003.MP4"]["created"].toString(), Qt::ISODate), fileTime);
        QVERIFY(runCli({"scan"}).out.contains("Note: The proxy GL010050.LRV runs 2.0 s"));

        const auto import = runCli({"import", "--pattern", "{filename}", "--dest", home->destination()});
        QVERIFY2(import.exitCode == 0, import.out.constData());
        QCOMPARE(folderEntries(home->destination()),
                 (QStringList{"C0003.MP4", "C0003M01.XML", "GL010050.LRV", "GL010051.LRV", "GX010050.MP4",
                              "GX010051.MP4", "VID_20261207_111500_00_004.insv",
                              "VID_20261207_111500_10_004.insv"}));
        QCOMPARE(readFile(home->destination() + "/GL010051.LRV"), m_plain);
    }

    // Names with spaces, quotes, shell and non-ASCII characters, in each layout: listed with their
    // chapters and companions and imported under their own names.
    void oddNamesInEveryLayout() {
        const QString odd = QStringLiteral(" ü'\"$*");
        const QString gopro = card->dcim() + u'/' + QStringLiteral("100GOPRO") + odd + u'/';
        put(gopro + "GX010060.MP4", readFile(m_chapters[0]));
        put(gopro + "GX020060.MP4", readFile(m_chapters[1]));
        put(gopro + "GL010060.LRV", readFile(m_chapters[0]));
        const QString insta = card->dcim() + QStringLiteral("/Camera01/");
        const QString lens = QStringLiteral("VID_2026") + odd;
        put(insta + lens + "_00_001.insv", m_clip);
        put(insta + lens + "_10_001.insv", m_clip);
        const QString dji = card->dcim() + QStringLiteral("/DJI_001/DJI") + odd;
        put(dji + "_0001_D.MP4", readFile(m_chapters[0]));
        put(dji + "_0002_D.MP4", readFile(m_chapters[1]));
        put(dji + "_0001_D.SRT", "1\n00:00:00,000 --> 00:00:01,000\n[latitude: 47.1]\n");
        const QString sony = card->root() + QStringLiteral("/PRIVATE/M4ROOT/");
        const QString clip = QStringLiteral("C0004") + odd;
        put(sony + "CLIP/" + clip + ".MP4", m_plain);
        put(sony + "CLIP/" + clip + "M01.XML", "<m/>");
        put(sony + "SUB/" + clip + "S03.MP4", m_plain);

        const auto videos = rows(runCli({"scan", "--json"}));
        QCOMPARE(videos.size(), 4);
        QCOMPARE(texts(videos["GX010060.MP4"]["chapters"]), (QStringList{"GX010060.MP4", "GX020060.MP4"}));
        QCOMPARE(texts(videos["GX010060.MP4"]["companions"]), QStringList{"GL010060.LRV"});
        const QString djiName = QFileInfo(dji).fileName();
        QCOMPARE(texts(videos[djiName + "_0001_D.MP4"]["chapters"]),
                 (QStringList{djiName + "_0001_D.MP4", djiName + "_0002_D.MP4"}));
        QCOMPARE(texts(videos[djiName + "_0001_D.MP4"]["companions"]), QStringList{djiName + "_0001_D.SRT"});
        QCOMPARE(texts(videos[lens + "_00_001.insv"]["companions"]), QStringList{lens + "_10_001.insv"});
        QCOMPARE(texts(videos[clip + ".MP4"]["companions"]),
                 (QStringList{clip + "M01.XML", clip + "S03.MP4"}));

        const auto import = runCli({"import", "--pattern", "{filename}", "--dest", home->destination()});
        QVERIFY2(import.exitCode == 0, import.out.constData());
        QCOMPARE(folderEntries(home->destination()),
                 (QStringList{clip + ".MP4", clip + "M01.XML", clip + "S03.MP4", djiName + "_0001_D.MP4",
                              djiName + "_0001_D.SRT", "GL010060.LRV", "GX010060.MP4", lens + "_00_001.insv",
                              lens + "_10_001.insv"}));
        const auto rescan = rows(runCli({"scan", "--json"}));
        for (const auto& row : rescan)
            QCOMPARE(row["state"].toString(), QStringLiteral("imported"));
    }

    // The analysis names the telemetry a clip carries even where Velarix cannot use it.
    void analysisNamesOtherMakersTelemetry() {
        const QString path = m_fixtures.filePath(QStringLiteral("motion.mp4"));
        QCOMPARE(makeTimedMetadataClip(path, {"camm", "mebx"}, 6), QString());
        const auto analysis = json(runCli({"analyze", "--json", path}));
        QCOMPARE(texts(analysis["telemetryKinds"]),
                 (QStringList{"camera motion metadata (camm)", "timed metadata (mebx)"}));
        QVERIFY2(analysis["explanation"].toString().contains(
                     "camera motion metadata (camm), timed metadata (mebx), which Velarix cannot use yet"),
                 analysis["explanation"].toString().toUtf8());
    }

    // A QuickTime clip is cut as QuickTime: its brand, tracks (telemetry too), timecode and creation
    // time stay, and every track ends at the cut.
    void quickTimeTrim() {
        const QString source = m_fixtures.filePath(QStringLiteral("sensors.mp4"));
        QCOMPARE(makeClip(source, {.seconds = 6,
                                   .creationTime = QStringLiteral("2026-12-07T09:15:00Z"),
                                   .timecode = QStringLiteral("09:15:00:00"),
                                   .telemetry = true}),
                 QString());
        const QString mov = m_fixtures.filePath(QStringLiteral("CLIP0001.MOV"));
        const auto made = runProcess(QStringLiteral("ffmpeg"),
                                     {"-v", "error", "-y", "-i", source, "-map", "0", "-c", "copy",
                                      "-metadata", "creation_time=2026-12-07T09:15:00Z", "-f", "mov", mov});
        QCOMPARE(made.exitCode, 0);
        QCOMPARE(probeField(mov, "format_tags=major_brand"), QStringLiteral("qt"));
        const auto trimmed = runCli({"trim", mov, "--range", "2-5"});
        QVERIFY2(trimmed.exitCode == 0, trimmed.out.constData());
        QCOMPARE(probeField(mov, "format_tags=major_brand"), QStringLiteral("qt"));
        QVERIFY(std::abs(containerDuration(mov) - 3) < 0.2);
        const StreamSummary streams = summarizeStreams(mov);
        QCOMPARE(streams.video, 1);
        QCOMPARE(streams.audio, 1);
        QCOMPARE(streams.telemetry, 1);
        QCOMPARE(streams.timecode, QStringLiteral("09:15:02:0")); // frames of a 10 fps timecode, one digit
        QCOMPARE(streams.creationTime.left(19), QStringLiteral("2026-12-07T09:15:00"));
        QCOMPARE(firstFrameNumber(mov), 20);
    }
};

QTEST_GUILESS_MAIN(CliCamerasTest)
#include "test_cli_cameras.moc"
