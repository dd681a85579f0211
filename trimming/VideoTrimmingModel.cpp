#include "trimming/VideoTrimmingModel.h"

#include "analysis/FrameDeployment.h"
#include "core/SetField.h"
#include "media/ChapterGroups.h"
#include "media/StreamSignature.h"
#include "storage/FileNames.h"
#include "trimming/CopyAnalyses.h"
#include "trimming/TrimFlow.h"
#include "trimming/TrimInPlace.h"

#include "core/Background.h"
#include "core/Log.h"
#include "trimming/TrimmingLog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

namespace velarix {

namespace {

const QString kAnalysisCancelled = QStringLiteral("Analysis cancelled");
const QString kAnalysisTimedOut = QStringLiteral("Analysis timed out");

// The recordings the files belong to: a chapter brings its sibling chapters beside it.
QList<QStringList> recordingsOf(const QStringList& paths) {
    return groupRecordings(paths, [](const QString& path) { return streamSignature(path); });
}

} // namespace

QString VideoTrimCompletionSummary::text() const {
    QString text =
        failedCount >= 1
            ? QCoreApplication::translate("velarix::VideoTrimmingModel",
                                          "Done. Trimmed %n video(s), %1 failed.", nullptr, int(trimmedCount))
                  .arg(failedCount)
            : QCoreApplication::translate("velarix::VideoTrimmingModel", "Done. Trimmed %n video(s).",
                                          nullptr, int(trimmedCount));
    if (reviewSkippedCount >= 1)
        text +=
            u' ' + QCoreApplication::translate("velarix::VideoTrimmingModel",
                                               "%n skipped: their suggestions need a check before trimming.",
                                               nullptr, int(reviewSkippedCount));
    return text;
}

namespace {

QString reviewSkipMessage(const VideoTrimItem* item) {
    //: A file not trimmed because its suggestion needs a look; %1 says why.
    return QCoreApplication::translate("velarix::VideoTrimmingModel", "Kept: check before trimming (%1)")
        .arg(item->reviewReason());
}

} // namespace

qint64 VideoTrimCompletionSummary::bytesInTrash() const {
    qint64 bytes = 0;
    for (const VideoTrimFileOutcome& file : files)
        if (file.kind == VideoTrimFileOutcome::Kind::Trimmed && file.originalInTrash)
            bytes += file.savedBytes;
    return bytes;
}

VideoTrimmingModel::VideoTrimmingModel(QObject* parent)
    : QObject(parent)
    , m_analyze([](const QString& path, const CancelToken* cancel, const Progress& progress) {
        // An item's path is its recording's first chapter.
        const QStringList chapters = recordingsOf({path}).value(0, {path});
        // A copy the import read for its analysis as it was copied is not read again.
        if (auto reading = chapters.size() == 1 ? takeCopyReading(path) : std::nullopt)
            return runWithTimeout(
                [&path, &reading, &progress](const CancelToken* token) {
                    return analyzeVideo(path, std::move(*reading), token, progress);
                },
                path, cancel, kAnalysisTimeout);
        return analyzeRecordingWithTimeout(chapters, cancel, progress);
    })
    , m_export([](const VideoTrimExportRequest& request, const CancelToken* cancel,
                  const Progress& progress) { return trimVideoInPlace(request, cancel, progress); })
    , m_processorCount(QThread::idealThreadCount()) {
    // Room for a full analysis batch next to a trim, whatever the machine's own pool allows.
    m_pool.setMaxThreadCount(4);
}

VideoTrimmingModel::~VideoTrimmingModel() {
    if (m_analysisRun)
        m_analysisRun->cancel.cancel();
    if (m_trimmingRun)
        m_trimmingRun->cancel.cancel();
    // Workers only see their run and their own copies, but must end before the pool goes.
    m_pool.waitForDone();
}

int VideoTrimmingModel::analysisBatchWidth(int processorCount) {
    return std::min(3, std::max(1, processorCount - 2));
}

bool VideoTrimmingModel::isAcceptedVideo(const QUrl& url) {
    const QString extension = QFileInfo(url.path()).suffix().toLower();
    return extension == QLatin1String("mp4") || extension == QLatin1String("360") ||
           extension == QLatin1String("mov") || extension == QLatin1String("insv");
}

// --- stored fields ---

void VideoTrimmingModel::setIsDropTargeted(bool value) {
    setField(this, m_isDropTargeted, value, &VideoTrimmingModel::isDropTargetedChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setErrorMessage(const std::optional<QString>& value) {
    setField(this, m_errorMessage, value, &VideoTrimmingModel::errorMessageChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setIsAnalyzing(bool value) {
    setField(this, m_isAnalyzing, value, &VideoTrimmingModel::isAnalyzingChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setIsTrimming(bool value) {
    setField(this, m_isTrimming, value, &VideoTrimmingModel::isTrimmingChanged, &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setTrimCompletedCount(int value) {
    setField(this, m_trimCompletedCount, value, &VideoTrimmingModel::trimCompletedCountChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setTrimTotalCount(int value) {
    setField(this, m_trimTotalCount, value, &VideoTrimmingModel::trimTotalCountChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setTrimSavedBytes(qint64 value) {
    setField(this, m_trimSavedBytes, value, &VideoTrimmingModel::trimSavedBytesChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setTrimCompletionSummary(const std::optional<VideoTrimCompletionSummary>& value) {
    setField(this, m_summary, value, &VideoTrimmingModel::trimCompletionSummaryChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setKeepOriginalsInTrash(bool value) {
    setField(this, m_keepOriginalsInTrash, value, &VideoTrimmingModel::keepOriginalsInTrashChanged,
             &VideoTrimmingModel::changed);
}

void VideoTrimmingModel::setItems(QList<VideoTrimItem*> items) {
    if (m_items == items)
        return;
    for (VideoTrimItem* item : std::as_const(m_items)) {
        if (!items.contains(item)) {
            m_analysisOwner.remove(item);
            item->deleteLater();
        }
    }
    for (VideoTrimItem* item : std::as_const(items))
        if (!m_items.contains(item))
            connect(item, &VideoTrimItem::changed, this, &VideoTrimmingModel::changed);
    m_items = std::move(items);
    Q_EMIT itemsChanged();
    Q_EMIT changed();
}

// --- computed values ---

QList<VideoTrimItem*> VideoTrimmingModel::trimmableItems() const {
    QList<VideoTrimItem*> result;
    for (VideoTrimItem* item : m_items)
        if (item->canTrim())
            result.append(item);
    return result;
}

qint64 VideoTrimmingModel::estimatedSavings() const {
    // A file whose last trim failed saves nothing until a new trim succeeds.
    qint64 sum = 0;
    for (const VideoTrimItem* item : trimmableItems())
        if (!item->trimFailed())
            sum += item->estimatedSavings();
    return sum;
}

int VideoTrimmingModel::analyzingCount() const {
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const VideoTrimItem* item) { return item->isAnalyzing(); }));
}

int VideoTrimmingModel::analyzedCount() const {
    return int(std::count_if(m_items.begin(), m_items.end(), [](const VideoTrimItem* item) {
        return !item->isAnalyzing() && item->hasAnalysisEnded();
    }));
}

// Finished files count whole, running ones by how far they are, so the bar moves within a file.
std::optional<double> VideoTrimmingModel::analysisProgress() const {
    if (m_items.isEmpty())
        return std::nullopt;
    double running = 0;
    for (const VideoTrimItem* item : m_items)
        if (item->isAnalyzing())
            running += item->workProgress().value_or(0.0);
    return (double(analyzedCount()) + running) / double(m_items.size());
}

std::optional<double> VideoTrimmingModel::trimProgress() const {
    if (m_trimTotalCount < 1)
        return std::nullopt;
    double running = 0;
    for (const VideoTrimItem* item : m_items)
        if (item->isTrimming())
            running += item->workProgress().value_or(0.0);
    return std::min(1.0, (double(m_trimCompletedCount) + running) / double(m_trimTotalCount));
}

int VideoTrimmingModel::untrimmedManualRangeCount() const {
    return int(std::count_if(m_items.begin(), m_items.end(), [](const VideoTrimItem* item) {
        return item->hasManualRange() && !item->isTrimmedInPlace();
    }));
}

VideoTrimmingModel::Progress VideoTrimmingModel::progressFor(VideoTrimItem* item, const RunPtr& run) {
    QPointer<VideoTrimItem> target = item;
    QPointer<VideoTrimmingModel> self = this;
    auto shown = std::make_shared<std::atomic<int>>(-1);
    return [target, self, run, shown](double fraction) {
        const int percent = int(std::clamp(fraction, 0.0, 1.0) * 100);
        if (shown->exchange(percent) == percent)
            return;
        QMetaObject::invokeMethod(
            self.data(),
            [target, self, run, percent] {
                if (!self || !target || (self->m_analysisRun != run && self->m_trimmingRun != run))
                    return;
                if (target->isAnalyzing() || target->isTrimming())
                    target->setWorkProgress(percent / 100.0);
            },
            Qt::QueuedConnection);
    };
}

// --- operations ---

QFuture<void> VideoTrimmingModel::addVideos(const QList<QUrl>& urls) {
    QList<VideoTrimItem*> added;
    QStringList paths;
    QStringList refused;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || !isAcceptedVideo(url))
            continue;
        // Decoded, a name that is not UTF-8 would name another file (or none): refused by name.
        if (const QByteArray raw = localFileBytes(url); !isFaithfulFileName(raw))
            refused.append(unfaithfulFileNameError(raw).message);
        else
            paths.append(url.toLocalFile());
    }
    if (!refused.isEmpty())
        setErrorMessage(refused.join(u'\n'));
    // Chapters dropped together, or one whose siblings lie beside it, are one recording: one row.
    // Ordinary files keep their count (the same file twice in one call is added twice).
    QStringList recordingsAdded;
    for (const QStringList& chapters : recordingsOf(paths)) {
        if (chapters.size() > 1 && recordingsAdded.contains(chapters.first()))
            continue;
        recordingsAdded.append(chapters.first());
        const QUrl url = QUrl::fromLocalFile(chapters.first());
        const QString id = VideoTrimItem::standardizedPath(url);
        // Only items already listed count.
        const bool listed = std::any_of(m_items.begin(), m_items.end(),
                                        [&](const VideoTrimItem* item) { return item->id() == id; });
        if (listed)
            continue;
        auto* item = new VideoTrimItem(url, this);
        item->setChapters(chapters);
        added.append(item);
    }
    if (added.isEmpty())
        return QtFuture::makeReadyFuture();
    setTrimCompletionSummary(std::nullopt);
    setItems(m_items + added);
    return startAnalysis(added);
}

QFuture<void> VideoTrimmingModel::startAnalysis(const QList<VideoTrimItem*>& items) {
    ItemList targets;
    for (VideoTrimItem* item : items)
        if (!item->isAnalyzing() && !item->isTrimming())
            targets.append(item);
    if (targets.isEmpty())
        return QtFuture::makeReadyFuture();
    setIsAnalyzing(true);
    if (m_analysisRun)
        m_analysisRun->cancel.cancel();
    auto run = std::make_shared<AnalysisRun>();
    run->promise.start();
    QFuture<void> future = run->promise.future();
    for (VideoTrimItem* item : std::as_const(targets)) {
        item->setIsAnalyzing(true);
        item->setAnalysisEnded(false);
        item->setAnalysisSummary(
            QCoreApplication::translate("velarix::VideoTrimmingModel", "Analyzing audio…"));
        item->setAnalysisError(std::nullopt);
        item->setReviewReason({});
        item->setSuggestedStart(std::nullopt);
        item->setSuggestedEnd(std::nullopt);
        item->resetManualRange();
        m_analysisOwner.insert(item, run.get());
    }
    m_analysisRun = run;
    analyzeBatch(run, targets, 0);
    return future;
}

void VideoTrimmingModel::analyzeBatch(const AnalysisRunPtr& run, const ItemList& targets, int from) {
    if (run->cancel.isCancelled() || from >= targets.size()) {
        finishAnalysisRun(run, targets, from);
        return;
    }
    // A slow file holds back the next batch: at most `width` files are read at once.
    const int width = analysisBatchWidth(m_processorCount);
    const int end = std::min<int>(from + width, targets.size());
    auto pending = std::make_shared<int>(end - from);
    for (int i = from; i < end; ++i) {
        QPointer<VideoTrimItem> item = targets[i];
        const QString path = item ? item->url().toLocalFile() : QString();
        auto analyze = [analyze = m_analyze, path, run,
                        progress = progressFor(item, run)]() -> Result<VideoTrimAnalysisResult> {
            if (run->cancel.isCancelled() || path.isEmpty())
                return Error::cancellation();
            return analyze(path, &run->cancel, progress);
        };
        runInBackground(
            this, std::move(analyze),
            [this, run, targets, item, pending, end](const Result<VideoTrimAnalysisResult>& result) {
                if (item)
                    applyAnalysis(run.get(), item, result);
                if (--*pending == 0)
                    analyzeBatch(run, targets, end);
            },
            &m_pool);
    }
}

void VideoTrimmingModel::applyAnalysis(const Run* run, VideoTrimItem* item,
                                       const Result<VideoTrimAnalysisResult>& result) {
    // The item was taken over by a newer run, or cancelWork/clear dealt with it already.
    if (m_analysisOwner.value(item) != run)
        return;
    m_analysisOwner.remove(item);
    if (result.ok()) {
        item->setDuration(result->duration);
        item->setFileSize(result->fileSize);
        item->setSuggestedStart(result->suggestedStart);
        item->setSuggestedEnd(result->suggestedEnd);
        item->setAnalysisSummary(result->shownSummary());
        item->setAnalysisError(result->shownError());
        item->setAudioLevels(result->levels.value_or(std::vector<double>()));
        // The exit and the opening the suggestion was built on, whichever source decided them.
        item->setExitTime(result->decidedExitTime);
        item->setOpeningTime(result->decidedOpeningTime);
        item->setTelemetryTrace(TelemetryTrace{result->telemetryCurveKind, result->telemetryCurve,
                                               result->telemetryExitTime, result->telemetryOpeningTime});
        item->setAnalysisExplanation(result->shownExplanation());
        item->setReviewReason(result->shownReview());
    } else if (result.isCancelled()) {
        item->setAnalysisSummary(kAnalysisCancelled);
        item->setAnalysisError(std::nullopt);
    } else {
        const QString description = result.error().message;
        qCCritical(lcApp, "Video trimming analysis failed for %s: %s", qPrintable(item->url().toLocalFile()),
                   qPrintable(description));
        item->setAnalysisSummary(
            VideoTrimAnalysisTimeoutError::matches(result.error())
                ? kAnalysisTimedOut
                : QCoreApplication::translate("velarix::VideoTrimmingModel", "Analysis failed"));
        item->setAnalysisError(description);
    }
    item->setAnalysisEnded(true);
    item->setIsAnalyzing(false);
    item->setWorkProgress(std::nullopt);
}

void VideoTrimmingModel::finishAnalysisRun(const AnalysisRunPtr& run, const ItemList& targets,
                                           int stoppedAt) {
    // Items of a stopped run whose batch never began would otherwise stay "Analyzing" for good.
    for (int i = stoppedAt; i < targets.size(); ++i) {
        if (targets[i] && m_analysisOwner.value(targets[i]) == run.get())
            applyAnalysis(run.get(), targets[i], Error::cancellation());
    }
    // A newer run that is still going keeps the flag up.
    const auto anyAnalyzing = [this] {
        return std::any_of(m_items.begin(), m_items.end(),
                           [](const VideoTrimItem* item) { return item->isAnalyzing(); });
    };
    setIsAnalyzing(anyAnalyzing());
    QMetaObject::invokeMethod(
        this,
        [this, run, anyAnalyzing] {
            if (m_analysisRun == run)
                m_analysisRun.reset();
            setIsAnalyzing(anyAnalyzing());
            run->promise.finish();
        },
        Qt::QueuedConnection);
}

QList<VideoTrimItem*> VideoTrimmingModel::itemsNeedingReview() const {
    QList<VideoTrimItem*> result;
    for (VideoTrimItem* item : trimmableItems())
        if (item->needsReview() && !item->isTrimming())
            result.append(item);
    return result;
}

QFuture<VideoTrimCompletionSummary> VideoTrimmingModel::startTrimming(bool trustSuggestions) {
    ItemList targets;
    for (VideoTrimItem* item : trimmableItems())
        if (!item->isTrimming() && (trustSuggestions || !item->needsReview()))
            targets.append(item);
    if (targets.isEmpty()) {
        VideoTrimCompletionSummary nothing;
        for (VideoTrimItem* item : std::as_const(m_items))
            if (!trustSuggestions && item->canTrim() && item->needsReview()) {
                ++nothing.reviewSkippedCount;
                nothing.files.append({item->url().toLocalFile(), VideoTrimFileOutcome::Kind::Kept, 0,
                                      reviewSkipMessage(item)});
            }
        return QtFuture::makeReadyFuture(nothing);
    }
    setIsTrimming(true);
    setTrimCompletionSummary(std::nullopt);
    setTrimCompletedCount(0);
    setTrimTotalCount(int(targets.size()));
    setTrimSavedBytes(0);
    if (m_trimmingRun)
        m_trimmingRun->cancel.cancel();
    auto run = std::make_shared<TrimmingRun>();
    run->promise.start();
    // Every file of the list has a line on the finish screen: those not trimmed say why.
    for (VideoTrimItem* item : std::as_const(m_items)) {
        VideoTrimFileOutcome outcome{item->url().toLocalFile(), VideoTrimFileOutcome::Kind::Kept, 0, {}};
        if (item->savesTooLittle())
            outcome.message = item->hasManualRange()
                                  ? QCoreApplication::translate("velarix::VideoTrimmingModel", "Kept in full")
                                  : QCoreApplication::translate("velarix::VideoTrimmingModel",
                                                                "Kept: less than 15 seconds to remove");
        else if (!item->canTrim())
            outcome.message =
                QStringLiteral("Kept: ") + item->analysisError().value_or(item->analysisSummary());
        else if (!targets.contains(item) && item->needsReview()) {
            outcome.message = reviewSkipMessage(item);
            ++run->reviewSkipped;
        }
        run->outcomeIndex.insert(item, int(run->outcomes.size()));
        run->outcomes.append(outcome);
    }
    m_trimmingRun = run;
    QFuture<VideoTrimCompletionSummary> future = run->promise.future();
    trimNext(run, targets, 0, 0, 0);
    return future;
}

void VideoTrimmingModel::trimNext(const TrimmingRunPtr& run, const ItemList& targets, int index, int trimmed,
                                  int failed) {
    while (index < targets.size() && !targets[index])
        ++index; // removed meanwhile
    if (run->cancel.isCancelled() || index >= targets.size()) {
        finishTrimmingRun(run, trimmed, failed);
        return;
    }
    QPointer<VideoTrimItem> item = targets[index];
    item->setIsTrimming(true);
    item->setExportMessage(std::nullopt);
    item->setTrimFailed(false);
    // The row says "Trimmed" at the swap; the original is freed meanwhile (the application waits
    // for that before it quits).
    const VideoTrimExportRequest request =
        TrimFlow::inPlaceRequest(item->url(), item->effectiveStart(), item->effectiveEnd(),
                                 m_keepOriginalsInTrash, item->laterChapters());
    // The estimate stands in where nothing could be measured.
    const qint64 savings = item->estimatedSavings();
    auto work = [exportVideo = m_export, request, run,
                 progress = progressFor(item, run)]() -> Result<TrimFlow::Trimmed> {
        if (run->cancel.isCancelled())
            return Error::cancellation();
        return TrimFlow::trim(request, &run->cancel, progress, exportVideo);
    };
    const auto done = [=, this](const Result<TrimFlow::Trimmed>& result) {
        const bool current = run == m_trimmingRun;
        if (item)
            item->setWorkProgress(std::nullopt);
        VideoTrimFileOutcome* outcome = nullptr;
        if (item && run->outcomeIndex.contains(item))
            outcome = &run->outcomes[run->outcomeIndex.value(item)];
        int nowTrimmed = trimmed;
        int nowFailed = failed;
        if (result.ok()) {
            if (item) {
                item->setOutputURL(result->url);
                item->setExportMessage(
                    QCoreApplication::translate("velarix::VideoTrimmingModel", "Trimmed in place"));
                item->setIsTrimming(false);
            }
            const qint64 saved = result->savedBytes.value_or(savings);
            if (current) {
                setTrimCompletedCount(m_trimCompletedCount + 1);
                setTrimSavedBytes(m_trimSavedBytes + saved);
            }
            if (outcome)
                *outcome = {outcome->path,
                            VideoTrimFileOutcome::Kind::Trimmed,
                            saved,
                            {},
                            request.keepOriginalInTrash};
            ++nowTrimmed;
        } else if (result.isCancelled()) {
            if (item) {
                item->setExportMessage(QStringLiteral("Cancelled"));
                item->setIsTrimming(false);
            }
            if (outcome)
                *outcome = {outcome->path, VideoTrimFileOutcome::Kind::Cancelled, 0,
                            QStringLiteral("Cancelled")};
        } else {
            qCCritical(lcTrimming, "Video trimming failed for %s: %s", qPrintable(request.url.toLocalFile()),
                       qPrintable(result.error().message));
            if (item) {
                item->setExportMessage(result.error().message);
                item->setTrimFailed(true);
                item->setIsTrimming(false);
            }
            if (current)
                setTrimCompletedCount(m_trimCompletedCount + 1);
            if (outcome)
                *outcome = {outcome->path, VideoTrimFileOutcome::Kind::Failed, 0, result.error().message};
            ++nowFailed;
        }
        trimNext(run, targets, index + 1, nowTrimmed, nowFailed);
    };
    runInBackground(this, std::move(work), done, &m_pool);
}

void VideoTrimmingModel::finishTrimmingRun(const TrimmingRunPtr& run, int trimmed, int failed) {
    qint64 saved = 0;
    for (const VideoTrimFileOutcome& outcome : std::as_const(run->outcomes))
        saved += outcome.savedBytes;
    const VideoTrimCompletionSummary summary{trimmed, failed, saved, run->outcomes, run->reviewSkipped};
    if (!run->cancel.isCancelled() && trimmed >= 1) {
        setItems({});
        setTrimCompletionSummary(summary);
    }
    // The run ends with its summary: "Done" on the finish screen must not find it still trimming.
    if (m_trimmingRun == run) {
        m_trimmingRun.reset();
        setIsTrimming(false);
    }
    QMetaObject::invokeMethod(
        this,
        [run, summary] {
            run->promise.addResult(summary);
            run->promise.finish();
        },
        Qt::QueuedConnection);
}

void VideoTrimmingModel::cancelWork() {
    if (m_analysisRun)
        m_analysisRun->cancel.cancel();
    if (m_trimmingRun)
        m_trimmingRun->cancel.cancel();
    m_analysisRun.reset();
    m_trimmingRun.reset();
    setIsAnalyzing(false);
    setIsTrimming(false);
    setTrimCompletedCount(0);
    setTrimTotalCount(0);
    m_analysisOwner.clear();
    for (VideoTrimItem* item : std::as_const(m_items)) {
        if (item->isAnalyzing()) {
            item->setAnalysisSummary(kAnalysisCancelled);
            item->setAnalysisError(std::nullopt);
            item->setAnalysisEnded(true);
            item->setIsAnalyzing(false);
        }
        if (item->isTrimming()) {
            item->setExportMessage(QStringLiteral("Cancelled"));
            item->setIsTrimming(false);
        }
        item->setWorkProgress(std::nullopt);
    }
}

void VideoTrimmingModel::removeItem(VideoTrimItem* item) {
    if (!item || item->isTrimming() || !m_items.contains(item))
        return;
    // Its analysis result is dropped on arrival; the batch it is in still finishes.
    m_analysisOwner.remove(item);
    if (m_trimmingRun)
        m_trimmingRun->outcomeIndex.remove(item);
    QList<VideoTrimItem*> rest = m_items;
    rest.removeOne(item);
    setItems(rest);
}

void VideoTrimmingModel::clear() {
    cancelWork();
    setItems({});
    setTrimCompletionSummary(std::nullopt);
}

} // namespace velarix
