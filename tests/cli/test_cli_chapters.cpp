#include "tests/support/CardTest.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace velarix::test;

namespace {

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2024, 5, 1), QTime(h, m, s), Qt::UTC);
}

QJsonObject json(const ProcessResult& result) {
    return QJsonDocument::fromJson(result.out).object();
}

// The scan's videos by file name: their chapters.
QMap<QString, QStringList> chaptersByVideo(const QJsonObject& scan) {
    QMap<QString, QStringList> videos;
    for (const auto& video : scan["videos"].toArray()) {
        QStringList chapters;
        for (const auto& chapter : video.toObject()["chapters"].toArray())
            chapters.append(chapter.toString());
        videos.insert(video.toObject()["file"].toString(), chapters);
    }
    return videos;
}

QStringList destinationFolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class CliChaptersTest : public CardTest {
    Q_OBJECT

    QTemporaryDir m_fixtures;
    QString m_recording;
    QStringList m_chapters;
    QString m_other; // the same length with another picture size

    void addChapter(const QString& relativePath, const QString& from, const QDateTime& modified) {
        card->addFile(relativePath, readFile(from), modified);
    }

private Q_SLOTS:
    void initTestCase() {
        ClipRecipe recipe = cameraRecording();
        m_recording = m_fixtures.filePath(QStringLiteral("recording.mp4"));
        for (const char* name : {"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"})
            m_chapters.append(m_fixtures.filePath(QLatin1String(name)));
        QCOMPARE(makeChapteredRecording(m_recording, m_chapters, recipe), QString());
        recipe.seconds = 4;
        recipe.fps = 30;
        m_other = m_fixtures.filePath(QStringLiteral("other.mp4"));
        QCOMPARE(makeClip(m_other, recipe), QString());
    }

    void init() {
        freshCard();
        QDir().mkpath(home->destination());
        for (int i = 0; i < 3; ++i)
            addChapter(QStringLiteral("100GOPRO/") + QFileInfo(m_chapters[i]).fileName(), m_chapters[i],
                       at(10, 0, 4 * (i + 1)));
    }

    void aRecordingIsOneVideo() {
        // Beside it, files that must stay videos of their own: a missing middle chapter, other codec
        // parameters, chapters in two folders, a recording of one chapter.
        addChapter(QStringLiteral("100GOPRO/GX010043.MP4"), m_chapters[0], at(11, 0));
        addChapter(QStringLiteral("100GOPRO/GX030043.MP4"), m_chapters[2], at(11, 1));
        addChapter(QStringLiteral("100GOPRO/GX010044.MP4"), m_chapters[0], at(12, 0));
        addChapter(QStringLiteral("100GOPRO/GX020044.MP4"), m_other, at(12, 1));
        addChapter(QStringLiteral("100GOPRO/GX010045.MP4"), m_chapters[0], at(13, 0));
        addChapter(QStringLiteral("101GOPRO/GX020045.MP4"), m_chapters[1], at(13, 1));
        addChapter(QStringLiteral("100GOPRO/GX010046.MP4"), m_chapters[0], at(14, 0));

        const QJsonObject scan = json(runCli({"scan", "--json"}));
        const auto videos = chaptersByVideo(scan);
        QCOMPARE(videos.value("GX010042.MP4"), (QStringList{"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}));
        for (const char* single : {"GX010043.MP4", "GX030043.MP4", "GX010044.MP4", "GX020044.MP4",
                                   "GX010045.MP4", "GX020045.MP4", "GX010046.MP4"})
            QCOMPARE(videos.value(QLatin1String(single)), QStringList{QLatin1String(single)});
        QCOMPARE(videos.size(), 8);
        for (const auto& value : scan["videos"].toArray()) {
            const QJsonObject video = value.toObject();
            if (video["file"].toString() != QLatin1String("GX010042.MP4"))
                continue;
            qint64 total = 0;
            for (const QString& chapter : m_chapters)
                total += QFileInfo(chapter).size();
            QCOMPARE(qint64(video["fileSize"].toDouble()), total);
            QVERIFY(std::abs(video["duration"].toDouble() - 12) < 0.2);
            QCOMPARE(QDateTime::fromString(video["created"].toString(), Qt::ISODate), at(10, 0, 4));
        }
        QVERIFY(runCli({"scan"}).out.contains("GX010042.MP4 (3 chapters)"));
    }

    void importJoinsAndRecordsEveryChapter() {
        auto import = runCli({"import", "--json", "GX010042.MP4", "--pattern", "{jump} {filename}", "--jump",
                              "5", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        const QString joined = home->destination() + QStringLiteral("/5 GX010042.MP4");
        QCOMPARE(json(import)["imported"].toArray().at(0)["destination"].toString(), joined);
        QCOMPARE(probePackets(joined, QStringLiteral("v")), probePackets(m_recording, QStringLiteral("v")));
        QCOMPARE(probePackets(joined, QStringLiteral("d:0")).size(), 12);
        QCOMPARE(summarizeStreams(joined).timecode, QStringLiteral("10:00:00:00"));
        QCOMPARE(QFileInfo(joined).lastModified(), at(10, 0, 12));
        QCOMPARE(destinationFolderEntries(home->destination()), QStringList{"5 GX010042.MP4"});

        QStringList recorded;
        for (const auto& file : json(runCli({"history", "--json"}))["files"].toArray())
            recorded.append(file.toObject()["fileName"].toString());
        recorded.sort();
        QCOMPARE(recorded, (QStringList{"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}));
        QCOMPARE(json(runCli({"scan", "--json"}))["videos"].toArray().at(0)["state"].toString(),
                 QStringLiteral("imported"));

        // Again: a name of its own, nothing replaced.
        import = runCli({"import", "--json", "GX010042.MP4", "--pattern", "{jump} {filename}", "--jump", "5",
                         "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(destinationFolderEntries(home->destination()),
                 (QStringList{"5 GX010042 - 1.MP4", "5 GX010042.MP4"}));
    }

    void withoutJoiningEachChapterIsCopied() {
        const auto import = runCli(
            {"import", "--json", "--no-join", "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(destinationFolderEntries(home->destination()),
                 (QStringList{"GX010042.MP4", "GX020042.MP4", "GX030042.MP4"}));
        for (const QString& chapter : m_chapters)
            QCOMPARE(readFile(home->destination() + u'/' + QFileInfo(chapter).fileName()), readFile(chapter));
    }

    void aChapterCutShortFailsNamingIt() {
        // Its header intact, its media data short: the scan takes it for a chapter, the join must not.
        const QString shortChapter = card->dcim() + QStringLiteral("/100GOPRO/GX020042.MP4");
        const QString faststart = m_fixtures.filePath(QStringLiteral("faststart.mp4"));
        QCOMPARE(runProcess(QStringLiteral("ffmpeg"),
                            {"-v", "error", "-y", "-i", m_chapters[1], "-map", "0:v", "-map", "0:a", "-map",
                             "0:d:0", "-c", "copy", "-movflags", "+faststart", faststart})
                     .exitCode,
                 0);
        const QByteArray whole = readFile(faststart);
        card->addFile(QStringLiteral("100GOPRO/GX020042.MP4"), whole.left(whole.size() - 6000), at(10, 0, 8));
        const QByteArray before = readFile(shortChapter);
        QCOMPARE(chaptersByVideo(json(runCli({"scan", "--json"}))).value("GX010042.MP4").size(), 3);

        const auto import =
            runCli({"import", "--json", "--pattern", "{filename}", "--dest", home->destination()});
        QCOMPARE(import.exitCode, 1);
        const QString error = json(import)["failed"].toArray().at(0)["error"].toString();
        QVERIFY2(error.contains(QLatin1String("GX020042.MP4")) && error.contains(QLatin1String("cut short")),
                 qPrintable(error));
        QCOMPARE(destinationFolderEntries(home->destination()), QStringList());
        QCOMPARE(json(runCli({"history", "--json"}))["files"].toArray().size(), 0);
        QCOMPARE(readFile(shortChapter), before);
    }
};

QTEST_GUILESS_MAIN(CliChaptersTest)
#include "test_cli_chapters.moc"
