#include "analysis/VideoTrimAnalysis.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace velarix;
using namespace velarix::test;

// A jump recorded in chapters: analysed as the one recording it is.
class ChapterRecordingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_jump;
    QStringList m_chapters;

private Q_SLOTS:
    void initTestCase() {
        // The exit falls into chapter 2 and the opening into chapter 3.
        ClipRecipe jump = ClipRecipe::jump();
        jump.exitTime = 50;
        jump.openingTime = 80;
        m_jump = m_dir.filePath(QStringLiteral("jump.mp4"));
        const QString error = makeClip(m_jump, jump);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        for (const char* name : {"GX010007.MP4", "GX020007.MP4", "GX030007.MP4"})
            m_chapters.append(m_dir.filePath(QLatin1String(name)));
        QCOMPARE(splitIntoChapters(m_jump, m_chapters, {40, 70}), QString());
    }

    // Levels, frames and the suggestion run across the boundaries, in the recording's times: the
    // same as for the recording in one file.
    void analysesTheChaptersAsOneRecording() {
        const auto whole = analyzeVideo(m_jump);
        const auto chapters = analyzeRecording(m_chapters);
        if (!whole)
            QFAIL(qPrintable(whole.error().message));
        if (!chapters)
            QFAIL(qPrintable(chapters.error().message));
        QVERIFY(std::abs(chapters->duration - whole->duration) < 0.05);
        QVERIFY(chapters->suggestedStart && chapters->suggestedEnd);
        QVERIFY(std::abs(*chapters->suggestedStart - *whole->suggestedStart) < 0.6);
        QVERIFY(std::abs(*chapters->suggestedEnd - *whole->suggestedEnd) < 0.6);
        QVERIFY(std::abs(*chapters->exitTime - 50) < 1.5);
        QVERIFY(chapters->frameOpeningTime && std::abs(*chapters->frameOpeningTime - 80) < 1.5);
        QVERIFY(std::abs(double(chapters->levels->size()) - double(whole->levels->size())) <= 1);
        qint64 size = 0;
        for (const QString& chapter : m_chapters)
            size += QFileInfo(chapter).size();
        QCOMPARE(chapters->fileSize, size);
    }

    // One chapter alone is a video of its own, with its own times.
    void aChapterAloneHasItsOwnTimes() {
        const auto second = analyzeVideo(m_chapters[1]);
        if (!second)
            QFAIL(qPrintable(second.error().message));
        QVERIFY(std::abs(second->duration - 30) < 0.5);
    }
};

QTEST_GUILESS_MAIN(ChapterRecordingsTest)
#include "test_chapter_recordings.moc"
