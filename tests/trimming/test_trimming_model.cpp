#include "analysis/TrimSuggestion.h"
#include "tests/support/MediaFixtures.h"
#include "trimming/VideoTrimmingModel.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>
#include <thread>

using namespace velarix;
using namespace velarix::test;

namespace {

VideoTrimAnalysisResult suggestion(double duration, qint64 size, double start, double end) {
    VideoTrimAnalysisResult result;
    result.duration = duration;
    result.fileSize = size;
    result.suggestedStart = start;
    result.suggestedEnd = end;
    result.summary = QStringLiteral("Keep %1-%2").arg(formatClock(start), formatClock(end));
    result.levels = std::vector<double>{-30, -10, -12};
    return result;
}

// An item as it stands after an analysis, without running one.
struct AnalysedItem {
    VideoTrimItem item{QUrl::fromLocalFile(QStringLiteral("/videos/jump.mp4"))};
    AnalysedItem(double duration, qint64 size, std::optional<double> start, std::optional<double> end) {
        item.setDuration(duration);
        item.setFileSize(size);
        item.setSuggestedStart(start);
        item.setSuggestedEnd(end);
    }
};

QList<QUrl> urls(const QStringList& paths) {
    QList<QUrl> list;
    for (const QString& path : paths)
        list.append(QUrl::fromLocalFile(path));
    return list;
}

// Records how many calls run at once, and their order.
struct Concurrency {
    std::mutex mutex;
    int running = 0;
    int peak = 0;
    QStringList events;
    void enter(const QString& name) {
        std::lock_guard lock(mutex);
        peak = std::max(peak, ++running);
        events << QStringLiteral("start ") + name;
    }
    void leave(const QString& name) {
        std::lock_guard lock(mutex);
        --running;
        events << QStringLiteral("end ") + name;
    }
};

} // namespace

class TrimmingModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void itemArithmetic() {
        AnalysedItem jump(300, 1'000'000'000, 40, 150);
        QVERIFY(jump.item.canTrim());
        QVERIFY(!jump.item.savesTooLittle());
        QCOMPARE(jump.item.removedPercent(), 63);
        QCOMPARE(jump.item.estimatedSavings(), qint64(633'333'333));
        QCOMPARE(jump.item.rangeText(), QStringLiteral("00:40-02:30"));

        // Keeping 290 of 300 s is not worth a new file.
        jump.item.setManualStart(5);
        jump.item.setManualEnd(295);
        QVERIFY(!jump.item.canTrim());
        QVERIFY(jump.item.savesTooLittle());

        // Removing exactly 15 s is.
        jump.item.setManualEnd(290);
        QVERIFY(jump.item.canTrim());

        jump.item.resetManualRange();
        jump.item.keepFullVideo();
        QCOMPARE(jump.item.rangeText(), QStringLiteral("00:00-05:00"));
        QVERIFY(!jump.item.canTrim());
        QCOMPARE(jump.item.removedPercent(), 0);
        QCOMPARE(jump.item.estimatedSavings(), qint64(0));

        AnalysedItem none(300, 1000, std::nullopt, std::nullopt);
        QCOMPARE(none.item.rangeText(), QStringLiteral("00:00-05:00"));
        QVERIFY(!none.item.canTrim());
        QCOMPARE(none.item.estimatedSavings(), qint64(0));
        AnalysedItem unreadable(0, 1000, std::nullopt, std::nullopt);
        QCOMPARE(unreadable.item.rangeText(), QStringLiteral("No suggestion"));
        unreadable.item.keepFullVideo();
        QCOMPARE(unreadable.item.manualStart(), std::nullopt);
    }

    void manualBoundsAreClamped() {
        AnalysedItem jump(300, 1000, 40, 150);
        jump.item.setManualStart(-5);
        QCOMPARE(jump.item.manualStart(), std::optional<double>(0));
        jump.item.setManualStart(1000);
        QCOMPARE(jump.item.manualStart(), std::optional<double>(299));
        QCOMPARE(jump.item.manualEnd(), std::optional<double>(300));

        AnalysedItem other(300, 1000, 40, 150);
        other.item.setManualEnd(10);
        QCOMPARE(other.item.manualEnd(), std::optional<double>(41));
        other.item.setManualEnd(1000);
        QCOMPARE(other.item.manualEnd(), std::optional<double>(300));

        AnalysedItem bare(120, 1000, std::nullopt, std::nullopt);
        bare.item.prepareManualRange();
        QCOMPARE(bare.item.manualStart(), std::optional<double>(0));
        QCOMPARE(bare.item.manualEnd(), std::optional<double>(120));
        AnalysedItem suggested(120, 1000, 10, 50);
        suggested.item.prepareManualRange();
        QCOMPARE(suggested.item.manualStart(), std::nullopt);
    }

    void equalValuesDoNotNotify() {
        AnalysedItem jump(300, 1000, 40, 150);
        QSignalSpy duration(&jump.item, &VideoTrimItem::durationChanged);
        QSignalSpy any(&jump.item, &VideoTrimItem::changed);
        jump.item.setDuration(300);
        jump.item.setSuggestedStart(40);
        jump.item.setAnalysisSummary(QStringLiteral("Waiting to analyze…"));
        QCOMPARE(any.count(), 0);
        jump.item.setDuration(301);
        QCOMPARE(duration.count(), 1);
    }

    // Which stage found nothing, and whether a kept range leaves out what the analysis found.
    void analysisEvidenceOnTheItem() {
        VideoTrimItem item(QUrl::fromLocalFile(QStringLiteral("/v/clip.mp4")));
        item.setDuration(300);
        item.setAudioLevels(std::vector<double>(600, -30.0));
        item.setAnalysisError(QStringLiteral("No confident trim suggestion found."));
        QCOMPARE(item.noSuggestionReason(), QStringLiteral("no freefall noise found"));
        item.setExitTime(50);
        QCOMPARE(item.noSuggestionReason(), QStringLiteral("opening not found"));
        item.setOpeningTime(140);
        item.setSuggestedStart(40);
        item.setSuggestedEnd(150);
        item.setAnalysisError(std::nullopt);
        QCOMPARE(item.noSuggestionReason(), QString());
        QVERIFY(!item.leavesOutExit() && !item.leavesOutOpening());
        item.setManualStart(55);
        item.setManualEnd(120);
        QVERIFY(item.leavesOutExit() && item.leavesOutOpening());
    }

    // The bar moves within a file: running files count by how far they are.
    void progressWithinFiles() {
        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString&, const CancelToken* cancel,
                                    const VideoTrimmingModel::Progress&) -> Result<VideoTrimAnalysisResult> {
            while (!cancel->isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return Error::cancellation();
        });
        model.setProcessorCount(8);
        model.addVideos(urls({"/v/a.mp4", "/v/b.mp4"}));
        QCOMPARE(model.analysisProgress(), std::optional<double>(0.0));
        model.items()[0]->setWorkProgress(0.5);
        model.items()[1]->setWorkProgress(0.25);
        QCOMPARE(model.analysisProgress(), std::optional<double>(0.375));
        model.cancelWork();
        QCOMPARE(model.items()[0]->workProgress(), std::nullopt);
    }

    void summaryText() {
        QCOMPARE((VideoTrimCompletionSummary{1, 0, 0, {}}.text()), QStringLiteral("Done. Trimmed 1 video."));
        QCOMPARE((VideoTrimCompletionSummary{3, 1, 0, {}}.text()),
                 QStringLiteral("Done. Trimmed 3 videos, 1 failed."));
        QCOMPARE((VideoTrimCompletionSummary{0, 2, 0, {}}.text()),
                 QStringLiteral("Done. Trimmed 0 videos, 2 failed."));
    }

    void addVideosFiltersAndSkipsListedFiles() {
        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString&, const CancelToken*, const VideoTrimmingModel::Progress&) {
            return Result<VideoTrimAnalysisResult>(Error::make("Test", 1, "no"));
        });
        model.addVideos(urls({"/v/a.MP4", "/v/b.360", "/v/c.mkv", "/v/d"}));
        QCOMPARE(model.items().size(), 2);
        QCOMPARE(model.items()[0]->id(), QStringLiteral("/v/a.MP4"));
        QCOMPARE(model.items()[1]->analysisSummary(), QStringLiteral("Analyzing audio…"));
        model.addVideos(urls({"/v/x/../a.MP4"}));
        QCOMPARE(model.items().size(), 2);
        model.addVideos(urls({"/v/e.mp4", "/v/e.mp4"}));
        QCOMPARE(model.items().size(), 4);
        // Dropped as file managers send them (text/uri-list): a name that is not UTF-8 would decode
        // to "jump\uFFFD.mp4", another file; it is refused by name, beside ones that are fine.
        model.addVideos({QUrl(QStringLiteral("file:///v/jump%FF.mp4")),
                         QUrl(QStringLiteral("file:///v/Sprung%20M%C3%BCnchen.mp4"))});
        QCOMPARE(model.items().size(), 5);
        QCOMPARE(model.items().last()->id(), QStringLiteral("/v/Sprung M\u00fcnchen.mp4"));
        QVERIFY(model.errorMessage());
        QVERIFY2(model.errorMessage()->startsWith(
                     QStringLiteral("The name \u201c/v/jump\\xFF.mp4\u201d is not valid "
                                    "UTF-8")),
                 qPrintable(*model.errorMessage()));
        QTRY_VERIFY(!model.isAnalyzing());
        QTRY_VERIFY(!model.hasAnalysisTask());
    }

    void batchWidths() {
        QCOMPARE(VideoTrimmingModel::analysisBatchWidth(8), 3);
        QCOMPARE(VideoTrimmingModel::analysisBatchWidth(4), 2);
        QCOMPARE(VideoTrimmingModel::analysisBatchWidth(2), 1);
        QCOMPARE(VideoTrimmingModel::analysisBatchWidth(1), 1);
    }

    // Each batch is awaited: the next one starts only when every file of the last has finished.
    void analysisRunsInAwaitedBatches_data() {
        QTest::addColumn<int>("processors");
        QTest::addColumn<int>("peak");
        QTest::newRow("8 processors") << 8 << 3;
        QTest::newRow("4 processors") << 4 << 2;
        QTest::newRow("2 processors") << 2 << 1;
    }
    void analysisRunsInAwaitedBatches() {
        QFETCH(int, processors);
        QFETCH(int, peak);
        Concurrency concurrency;
        VideoTrimmingModel model;
        model.setProcessorCount(processors);
        model.setAnalyzeFunction([&](const QString& path, const CancelToken*,
                                     const VideoTrimmingModel::Progress&) -> Result<VideoTrimAnalysisResult> {
            const QString name = QFileInfo(path).baseName();
            concurrency.enter(name);
            // The first file of each batch is the slow one.
            std::this_thread::sleep_for(std::chrono::milliseconds(name == QLatin1String("a") ? 150 : 20));
            concurrency.leave(name);
            return suggestion(300, 1000, 40, 150);
        });
        model.addVideos(urls({"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"}));
        QVERIFY(model.isAnalyzing());
        QTRY_COMPARE(model.analyzedCount(), 3);
        QTRY_VERIFY(!model.isAnalyzing());
        QCOMPARE(concurrency.peak, peak);
        if (peak == 2) {
            // c waits for the slow a, though b finished long before.
            QCOMPARE(concurrency.events.indexOf("start c"), concurrency.events.indexOf("end a") + 1);
        }
        QCOMPARE(model.items()[2]->analysisSummary(), QStringLiteral("Keep 00:40-02:30"));
        QCOMPARE(model.items()[2]->audioLevels().size(), size_t(3));
        QCOMPARE(model.analysisProgress(), std::optional<double>(1.0));
    }

    void analysisOutcomesOnItems() {
        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString& path, const CancelToken*,
                                    const VideoTrimmingModel::Progress&) -> Result<VideoTrimAnalysisResult> {
            const QString name = QFileInfo(path).baseName();
            if (name == QLatin1String("short")) {
                VideoTrimAnalysisResult result;
                result.duration = 60;
                result.summary = QStringLiteral("Duration 01:00");
                result.error =
                    QStringLiteral("Clip is shorter than 01:30, so no trim suggestion was generated.");
                return result;
            }
            if (name == QLatin1String("slow"))
                return VideoTrimAnalysisTimeoutError{path}.toError();
            if (name == QLatin1String("broken"))
                return Error::make(QStringLiteral("Media"), 1,
                                   QStringLiteral("broken.mp4 could not be read."));
            if (name == QLatin1String("stopped"))
                return Error::cancellation();
            return suggestion(300, 1000, 40, 150);
        });
        model.addVideos(
            urls({"/v/jump.mp4", "/v/short.mp4", "/v/slow.mp4", "/v/broken.mp4", "/v/stopped.mp4"}));
        QTRY_VERIFY(!model.isAnalyzing());
        const auto& items = model.items();
        QCOMPARE(items[0]->analysisSummary(), QStringLiteral("Keep 00:40-02:30"));
        QCOMPARE(items[1]->analysisSummary(), QStringLiteral("Duration 01:00"));
        QVERIFY(items[1]->analysisError()->startsWith(QLatin1String("Clip is shorter")));
        QCOMPARE(items[2]->analysisSummary(), QStringLiteral("Analysis timed out"));
        QCOMPARE(items[2]->analysisError(),
                 std::optional<QString>("Audio analysis for slow.mp4 exceeded 90 seconds."));
        QCOMPARE(items[3]->analysisSummary(), QStringLiteral("Analysis failed"));
        QCOMPARE(items[3]->analysisError(), std::optional<QString>("broken.mp4 could not be read."));
        QCOMPARE(items[4]->analysisSummary(), QStringLiteral("Analysis cancelled"));
        QCOMPARE(items[4]->analysisError(), std::nullopt);
        QCOMPARE(model.analyzedCount(), 5);
        QCOMPARE(model.trimmableItems(), QList<VideoTrimItem*>{items[0]});
        QCOMPARE(model.estimatedSavings(), qint64(633));
    }

    void cancelWorkDuringAnalysis() {
        VideoTrimmingModel model;
        model.setProcessorCount(8);
        model.setAnalyzeFunction([](const QString& path, const CancelToken* cancel,
                                    const VideoTrimmingModel::Progress&) -> Result<VideoTrimAnalysisResult> {
            if (path.endsWith(QLatin1String("quick.mp4")))
                return suggestion(300, 1000, 40, 150);
            while (!cancel->isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return Error::cancellation();
        });
        model.addVideos(urls({"/v/quick.mp4", "/v/long.mp4", "/v/later1.mp4", "/v/later2.mp4"}));
        QTRY_COMPARE(model.items()[0]->analysisSummary(), QStringLiteral("Keep 00:40-02:30"));
        model.cancelWork();
        QVERIFY(!model.isAnalyzing());
        QCOMPARE(model.analyzingCount(), 0);
        QCOMPARE(model.items()[0]->analysisSummary(), QStringLiteral("Keep 00:40-02:30"));
        for (int i = 1; i < 4; ++i)
            QCOMPARE(model.items()[i]->analysisSummary(), QStringLiteral("Analysis cancelled"));
        QTest::qWait(50); // late results of the cancelled run change nothing
        QCOMPARE(model.items()[1]->analysisSummary(), QStringLiteral("Analysis cancelled"));
        QVERIFY(!model.isAnalyzing());
    }

    // An older analysis of a file that ends late changes nothing: not when the file was analysed
    // again, nor when it was taken off the list and added again. Nor does the older run's end drop
    // the "analysing" flag while the newer run still works.
    void lateResultsOfAnOlderRunAreDropped_data() {
        QTest::addColumn<bool>("readd");
        QTest::newRow("analysed again") << false;
        QTest::newRow("removed and added again") << true;
    }
    void lateResultsOfAnOlderRunAreDropped() {
        QFETCH(bool, readd);
        // Each call waits for its own release and ignores cancellation, like a blocked read.
        std::atomic<int> calls{0};
        std::atomic<int> released{0};
        VideoTrimmingModel model;
        model.setProcessorCount(8);
        model.setAnalyzeFunction([&](const QString&, const CancelToken*,
                                     const VideoTrimmingModel::Progress&) -> Result<VideoTrimAnalysisResult> {
            const int call = calls++;
            while (released <= call)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return call == 0 ? suggestion(300, 1000, 10, 100) : suggestion(300, 1000, 40, 150);
        });
        // A failed check must not leave a worker waiting: the model's destructor waits for them.
        const auto releaseAll = qScopeGuard([&] { released = 100; });
        const QFuture<void> older = model.addVideos(urls({"/v/a.mp4"}));
        QTRY_COMPARE(calls.load(), 1);
        QFuture<void> newer;
        if (readd) {
            model.removeItem(model.items()[0]);
            newer = model.addVideos(urls({"/v/a.mp4"}));
        } else {
            model.cancelWork();
            newer = model.startAnalysis(model.items());
        }
        QTRY_COMPARE(calls.load(), 2);
        QSignalSpy flag(&model, &VideoTrimmingModel::isAnalyzingChanged);

        released = 1;                    // the older run ends late
        QTRY_VERIFY(older.isFinished()); // after the older run's last queued step
        QCOMPARE(model.items().size(), 1);
        VideoTrimItem* item = model.items()[0];
        QVERIFY(item->isAnalyzing());
        QVERIFY(model.isAnalyzing());
        QCOMPARE(flag.count(), 0);

        released = 2;
        QTRY_VERIFY(newer.isFinished());
        QVERIFY(!model.isAnalyzing());
        QCOMPARE(item->suggestedStart(), std::optional<double>(40));
        QCOMPARE(item->analysisSummary(), QStringLiteral("Keep 00:40-02:30"));
        QCOMPARE(model.analyzedCount(), 1);
    }

    // One file at a time, in list order; a failure counts as completed and the run goes on.
    void trimmingRun_data() {
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<int>("completed");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<qint64>("saved");
        QTest::newRow("second fails")
            << QStringList{"b"} << 2 << "Done. Trimmed 1 video, 1 failed." << qint64(666'666'666);
        QTest::newRow("all succeed") << QStringList{} << 2 << "Done. Trimmed 2 videos."
                                     << qint64(1'299'999'999);
        QTest::newRow("all fail") << QStringList{"a", "b"} << 2 << "" << qint64(0);
    }
    void trimmingRun() {
        QFETCH(QStringList, failing);
        QFETCH(int, completed);
        QFETCH(QString, summary);
        QFETCH(qint64, saved);
        Concurrency concurrency;
        QList<VideoTrimExportRequest> requests;
        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString&, const CancelToken*, const VideoTrimmingModel::Progress&) {
            return Result(suggestion(300, 1'000'000'000, 40, 150));
        });
        model.setExportFunction([&](const VideoTrimExportRequest& request, const CancelToken*,
                                    const VideoTrimmingModel::Progress&) -> Result<QUrl> {
            const QString name = QFileInfo(request.url.toLocalFile()).baseName();
            concurrency.enter(name);
            requests.append(request);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            concurrency.leave(name);
            if (failing.contains(name))
                return Error::make(QStringLiteral("VideoTrimming"), 0, QStringLiteral("The disk is full."));
            return request.url;
        });
        model.addVideos(urls({"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"}));
        QTRY_VERIFY(!model.isAnalyzing());
        model.items()[2]->keepFullVideo(); // c removes nothing: not trimmed
        model.items()[0]->setManualStart(50);
        const QFuture<VideoTrimCompletionSummary> run = model.startTrimming();
        QVERIFY(model.isTrimming());
        QCOMPARE(model.trimTotalCount(), 2);
        QTRY_VERIFY(run.isFinished());
        QVERIFY(!model.isTrimming());
        // The future says what became of each file, whether or not the window gets a summary.
        QCOMPARE(run.result().trimmedCount, 2 - int(failing.size()));
        QCOMPARE(run.result().failedCount, int(failing.size()));
        QCOMPARE(run.result().files.size(), 3);

        QCOMPARE(concurrency.peak, 1);
        QCOMPARE(concurrency.events, (QStringList{"start a", "end a", "start b", "end b"}));
        QCOMPARE(requests[0].trimStart, std::optional<double>(50));
        QCOMPARE(requests[0].trimEnd, std::optional<double>(150));
        QCOMPARE(model.trimCompletedCount(), completed);
        if (summary.isEmpty()) {
            QCOMPARE(model.items().size(), 3);
            QVERIFY(!model.trimCompletionSummary());
            QCOMPARE(model.items()[0]->exportMessage(), std::optional<QString>("The disk is full."));
            // Failed files save nothing: only c's nothing is left, and c removes nothing.
            QCOMPARE(model.estimatedSavings(), 0);
        } else {
            QVERIFY(model.items().isEmpty());
            QCOMPARE(model.trimCompletionSummary()->text(), summary);
            // Every file of the list has its line; failed files save nothing.
            using Kind = VideoTrimFileOutcome::Kind;
            const auto& files = model.trimCompletionSummary()->files;
            QCOMPARE(files.size(), 3);
            QCOMPARE(files[0], (VideoTrimFileOutcome{"/v/a.mp4", Kind::Trimmed, 666'666'666, {}}));
            if (failing.contains("b"))
                QCOMPARE(files[1], (VideoTrimFileOutcome{"/v/b.mp4", Kind::Failed, 0, "The disk is full."}));
            else
                QCOMPARE(files[1], (VideoTrimFileOutcome{"/v/b.mp4", Kind::Trimmed, 633'333'333, {}}));
            QCOMPARE(files[2], (VideoTrimFileOutcome{"/v/c.mp4", Kind::Kept, 0, "Kept in full"}));
            QCOMPARE(model.trimCompletionSummary()->savedBytes, saved);
        }
        // a keeps 100 of 300 s (666,666,666 bytes saved), b 110 (633,333,333).
        QCOMPARE(model.trimSavedBytes(), saved);
        QVERIFY(!model.hasTrimmingTask());
    }

    // A suggestion marked for review is not trimmed without a look: the user's own range, or their
    // word that the suggestions are right, trims it.
    void skipsSuggestionsToCheck_data() {
        QTest::addColumn<bool>("trust");
        QTest::addColumn<QStringList>("exported");
        QTest::newRow("skipped") << false << QStringList{"b", "c"};
        QTest::newRow("trusted") << true << QStringList{"a", "b", "c"};
    }
    void skipsSuggestionsToCheck() {
        QFETCH(bool, trust);
        QFETCH(QStringList, exported);
        const QString why = QStringLiteral("the range keeps only 2 s of freefall");
        VideoTrimmingModel model;
        model.setAnalyzeFunction(
            [&](const QString& path, const CancelToken*, const VideoTrimmingModel::Progress&) {
                VideoTrimAnalysisResult result = suggestion(300, 1000, 40, 150);
                if (!path.endsWith(QLatin1String("c.mp4")))
                    result.review = why;
                return Result(result);
            });
        QStringList trimmed;
        model.setExportFunction([&](const VideoTrimExportRequest& request, const CancelToken*,
                                    const VideoTrimmingModel::Progress&) -> Result<QUrl> {
            trimmed << QFileInfo(request.url.toLocalFile()).baseName();
            return request.url;
        });
        model.addVideos(urls({"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"}));
        QTRY_VERIFY(!model.isAnalyzing());
        QCOMPARE(model.items()[0]->reviewReason(), why);
        model.items()[1]->setManualStart(45); // b: the user looked
        QCOMPARE(model.itemsNeedingReview(), QList<VideoTrimItem*>{model.items()[0]});
        const QFuture<VideoTrimCompletionSummary> run = model.startTrimming(trust);
        QTRY_VERIFY(run.isFinished());
        QCOMPARE(trimmed, exported);
        QCOMPARE(run.result().reviewSkippedCount, trust ? 0 : 1);
        if (!trust) {
            QCOMPARE(run.result().files[0].message,
                     QStringLiteral("Kept: check before trimming (%1)").arg(why));
            QCOMPARE(run.result().text(), QStringLiteral("Done. Trimmed 2 videos. 1 skipped: its suggestion "
                                                         "needs a check before trimming."));
        }
    }

    void cancelWorkDuringTrimming() {
        VideoTrimmingModel model;
        model.setAnalyzeFunction([](const QString&, const CancelToken*, const VideoTrimmingModel::Progress&) {
            return Result(suggestion(300, 1000, 40, 150));
        });
        std::atomic<int> exports{0};
        model.setExportFunction([&](const VideoTrimExportRequest&, const CancelToken* cancel,
                                    const VideoTrimmingModel::Progress&) -> Result<QUrl> {
            ++exports;
            while (!cancel->isCancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return Error::cancellation();
        });
        const QFuture<void> analysed = model.addVideos(urls({"/v/a.mp4", "/v/b.mp4"}));
        QTRY_VERIFY(analysed.isFinished());
        QVERIFY(!model.isAnalyzing());
        const QFuture<VideoTrimCompletionSummary> run = model.startTrimming();
        QVERIFY(model.items()[0]->isTrimming());
        QTRY_COMPARE(exports.load(), 1);
        model.cancelWork();
        QVERIFY(!model.isTrimming());
        QCOMPARE(model.trimTotalCount(), 0);
        QCOMPARE(model.items()[0]->exportMessage(), std::optional<QString>("Cancelled"));
        QTest::qWait(50);
        QCOMPARE(exports.load(), 1); // b was never started
        QCOMPARE(model.items().size(), 2);
        QVERIFY(!model.trimCompletionSummary());
        QTRY_VERIFY(run.isFinished());
        using Kind = VideoTrimFileOutcome::Kind;
        QCOMPARE(run.result().files.value(0).kind, Kind::Cancelled);
        QCOMPARE(run.result().files.value(1).kind, Kind::Kept);
        QCOMPARE(run.result().trimmedCount + run.result().failedCount, 0);
        model.clear();
        QVERIFY(model.items().isEmpty());
    }

    // The real analysis and export on a synthesised jump, end to end.
    void realAnalysisAndTrim() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("jump.mp4"));
        QCOMPARE(makeClip(path, ClipRecipe::jump()), QString());
        const QDateTime modified(QDate(2023, 5, 1), QTime(9, 30), Qt::UTC);
        QVERIFY(setFileTime(path, modified));

        VideoTrimmingModel model;
        model.addVideos({QUrl::fromLocalFile(path)});
        QTRY_VERIFY_WITH_TIMEOUT(!model.isAnalyzing(), 60'000);
        VideoTrimItem* item = model.items().value(0);
        QVERIFY(item);
        QVERIFY2(item->canTrim(),
                 qPrintable(item->analysisSummary() + item->analysisError().value_or(QString())));
        QVERIFY(!item->audioLevels().empty());
        const double kept = *item->effectiveEnd() - *item->effectiveStart();
        const qint64 sizeBefore = QFileInfo(path).size();

        model.startTrimming();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isTrimming(), 60'000);
        QVERIFY(model.trimCompletionSummary());
        QCOMPARE(model.trimCompletionSummary()->text(), QStringLiteral("Done. Trimmed 1 video."));
        // What was saved is measured, not estimated from the header.
        QCOMPARE(model.trimCompletionSummary()->savedBytes, sizeBefore - QFileInfo(path).size());
        QVERIFY(std::abs(containerDuration(path) - kept) < 1.0);
        QCOMPARE(QFileInfo(path).lastModified().toUTC(), modified);
        // The original is freed after the row says "Trimmed"; the working folder goes with it.
        waitForPendingFrees();
        QCOMPARE(pendingFreeCount(), 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("jump.mp4")});
    }
};

QTEST_GUILESS_MAIN(TrimmingModelTest)
#include "test_trimming_model.moc"
