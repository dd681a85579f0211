// The analysis of a copy read from the import's own bytes as they are copied (a recording's, from
// what its join kept): the same result as analysing the finished copy, without reading the copy
// again; and a copy whose reading fails or stops is still copied.
#include "demo/SyntheticJump.h"
#include "import/FileCopy.h"
#include "import/RecordingImport.h"
#include "media/Mp4Boxes.h"
#include "tests/support/CardFixture.h"
#include "tests/support/ChapterFixtures.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "trimming/CopyAnalyses.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace velarix;
using namespace velarix::test;

namespace {

// Equal, where a gap (NaN) in one is a gap in the other.
bool sameCurve(const std::vector<double>& a, const std::vector<double>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

// Every field of two results, by name, so that a difference says where it is.
void compareResults(const VideoTrimAnalysisResult& fed, const VideoTrimAnalysisResult& file) {
#define SAME(field) QVERIFY2(fed.field == file.field, #field)
    SAME(duration);
    SAME(fileSize);
    SAME(suggestedStart);
    SAME(suggestedEnd);
    SAME(summary);
    SAME(error);
    SAME(levels);
    SAME(exitTime);
    SAME(audioOpeningTime);
    SAME(frameOpeningTime);
    SAME(telemetryExitTime);
    SAME(telemetryOpeningTime);
    SAME(telemetrySource);
    SAME(telemetryProblem);
    SAME(telemetryCurveKind);
    QVERIFY2(sameCurve(fed.telemetryCurve, file.telemetryCurve), "telemetryCurve");
    SAME(decidedExitTime);
    SAME(decidedOpeningTime);
    SAME(exitSource);
    SAME(openingSource);
    SAME(explanation);
    SAME(review);
    SAME(telemetryKinds);
#undef SAME
}

// A jump of 150 s with sound and telemetry, in small pictures.
SyntheticJump smallJump(double exitTime, double openingTime) {
    SyntheticJump jump;
    jump.duration = 150;
    jump.exitTime = exitTime;
    jump.openingTime = openingTime;
    jump.width = 160;
    jump.height = 90;
    jump.framesPerSecond = 10;
    jump.telemetry = JumpTelemetry{.duration = 150, .exitTime = exitTime, .openingTime = openingTime};
    return jump;
}

} // namespace

class AnalysisOnCopyTest : public QObject {
    Q_OBJECT

    CardFixture m_fixture;
    QString m_card;

    // Copies `source` into the destination with its bytes also feeding an analysis; the copy's path.
    QString importFed(const QString& source, CopyAnalyses& analyses, std::shared_ptr<CopyFeed>* feed,
                      const CancelToken* cancel = nullptr) {
        CopyControl control;
        control.cancel = cancel;
        control.feed = analyses.feedFor(source);
        *feed = control.feed;
        const auto copied =
            copyFile(source, m_fixture.destination() + u'/' + QFileInfo(source).fileName(), control);
        analyses.importEnded();
        return copied ? *copied : QString();
    }

private Q_SLOTS:
    void initTestCase() {
        m_card = m_fixture.addCard(QStringLiteral("CARD")).dcim();
        QVERIFY(QDir().mkpath(m_card + QStringLiteral("/100GOPRO")));
        QVERIFY(QDir().mkpath(m_fixture.destination()));
    }

    void sameResultAsAnalysingTheCopy_data() {
        QTest::addColumn<QString>("source");
        const QString real = QStringLiteral(VELARIX_SAMPLE_MEDIA_DIR "/camera-drone-gpmf.mp4");
        if (QFile::exists(real)) {
            const QString onCard = m_card + QStringLiteral("/100GOPRO/GX010001.MP4");
            QVERIFY(QFile::copy(real, onCard));
            QTest::newRow("a camera's recording (index at the end, telemetry)") << onCard;
        }
        const SyntheticJump jump = smallJump(30, 95);
        const QString synthetic = m_card + QStringLiteral("/100GOPRO/GX010002.MP4");
        QVERIFY(writeSyntheticJump(synthetic, jump));
        QTest::newRow("a whole jump with sound and telemetry") << synthetic;
    }

    void sameResultAsAnalysingTheCopy() {
        QFETCH(QString, source);
        CopyAnalyses analyses;
        std::shared_ptr<CopyFeed> feed;
        const QString copy = importFed(source, analyses, &feed);
        QVERIFY(!copy.isEmpty());
        QCOMPARE(fileDigest(copy), fileDigest(source));
        // Not one byte of the copy was read again for the pass over it.
        QCOMPARE(feed->bytesReadFromDisk(), 0);

        auto reading = takeCopyReading(copy);
        QVERIFY(reading);
        QVERIFY(!takeCopyReading(copy)); // taken once
        const auto fed = analyzeVideo(copy, std::move(*reading));
        const auto file = analyzeVideo(copy);
        QVERIFY2(fed, qPrintable(fed ? QString() : fed.error().message));
        QVERIFY2(file, qPrintable(file ? QString() : file.error().message));
        compareResults(*fed, *file);
        if (QTest::currentDataTag() == QLatin1String("a whole jump with sound and telemetry")) {
            QVERIFY(fed->suggestedStart && !fed->telemetrySource.isEmpty()); // the case worth comparing
        }
    }

    // A recording's chapters joined: the joined file's headers are read from the disk, its sound and
    // telemetry from what the join kept, and none of its picture.
    void aJoinedRecordingFromWhatTheJoinKept() {
        const SyntheticJump jump = smallJump(50, 110);
        const QString whole = m_fixture.path(QStringLiteral("recording.mp4"));
        QVERIFY(writeSyntheticJump(whole, jump));
        QStringList chapters;
        for (const char* name : {"GX010009.MP4", "GX020009.MP4", "GX030009.MP4"})
            chapters.append(m_card + QStringLiteral("/100GOPRO/") + QLatin1String(name));
        QCOMPARE(splitIntoChapters(whole, chapters, {40, 90}), QString());

        CopyAnalyses analyses;
        CopyControl control;
        control.samples = analyses.samplesFor(chapters.first());
        QVERIFY(control.samples);
        const auto joined =
            importRecording(chapters, m_fixture.destination() + QStringLiteral("/GX010009.MP4"), control);
        control.samples->end(joined);
        analyses.importEnded();
        QVERIFY2(joined, qPrintable(joined ? QString() : joined.error().message));
        // Only what lies outside the media data (headers and index, read at the open and again by
        // the demuxer) came from the disk.
        QFile joinedFile(*joined);
        QVERIFY(joinedFile.open(QIODevice::ReadOnly));
        const auto mediaData = mp4::findTopLevel(joinedFile, "mdat");
        QVERIFY(mediaData);
        const qint64 outside = joinedFile.size() - mediaData->size;
        QVERIFY2(
            control.samples->bytesReadFromDisk() <= 2 * outside + 64 * 1024,
            qPrintable(QStringLiteral("%1 of %2").arg(control.samples->bytesReadFromDisk()).arg(outside)));

        auto reading = takeCopyReading(*joined);
        QVERIFY(reading);
        const auto fed = analyzeVideo(*joined, std::move(*reading));
        const auto file = analyzeVideo(*joined);
        QVERIFY2(fed, qPrintable(fed ? QString() : fed.error().message));
        QVERIFY2(file, qPrintable(file ? QString() : file.error().message));
        compareResults(*fed, *file);
        QVERIFY(fed->suggestedStart && !fed->telemetrySource.isEmpty());
    }

    // What is not a video is copied all the same, and left to the ordinary analysis; a cancelled
    // copy leaves no reading behind and no reader waiting.
    void aFailedReadingNeverFailsTheCopy() {
        const QString notVideo = m_card + QStringLiteral("/100GOPRO/GX010003.MP4");
        QVERIFY(writeFile(notVideo, QByteArray(3 * 1024 * 1024, 'x')));
        CopyAnalyses analyses;
        std::shared_ptr<CopyFeed> feed;
        const QString copy = importFed(notVideo, analyses, &feed);
        QVERIFY(!copy.isEmpty());
        QCOMPARE(fileDigest(copy), fileDigest(notVideo));
        QVERIFY(!takeCopyReading(copy));

        CancelToken cancel;
        cancel.cancel();
        CopyAnalyses cancelled;
        const QString none =
            importFed(m_card + QStringLiteral("/100GOPRO/GX010002.MP4"), cancelled, &feed, &cancel);
        QVERIFY(none.isEmpty());
    }
};

QTEST_GUILESS_MAIN(AnalysisOnCopyTest)
#include "test_analysis_on_copy.moc"
