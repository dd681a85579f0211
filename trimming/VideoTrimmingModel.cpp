#include "trimming/VideoTrimmingModel.h"

#include "trimming/FrameDeployment.h"

#include "platform/Log.h"
#include "platform/TrimErrors.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QThread>
#include <QtConcurrent>

namespace velarix {

namespace {

const QString kAnalysisCancelled = QStringLiteral("Analysis cancelled");
const QString kAnalysisTimedOut = QStringLiteral("Analysis timed out");

// Runs `work` on the pool and hands its result to `done` on the GUI thread, unless `context` is gone.
template <class T, class Work, class Done>
void runInBackground(QThreadPool* pool, QObject* context, Work work, Done done) {
    auto* watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        const QFuture<T> future = watcher->future();
        if (future.resultCount() == 0) {
            // The task ended without handing back a result: neither success, failure nor cancellation.
            done(T(trimError(TrimErrorCode::failed, QStringLiteral("Unexpected terminal status ") +
                                                        (future.isCanceled() ? QStringLiteral("canceled")
                                                                             : QStringLiteral("finished")))));
            return;
        }
        done(future.result());
    });
    watcher->setFuture(QtConcurrent::run(pool, std::move(work)));
}

} // namespace

QString VideoTrimCompletionSummary::text() const {
    QString text = QStringLiteral("Done. Trimmed %1 video").arg(trimmedCount);
    if (trimmedCount != 1)
        text += QLatin1Char('s');
    if (failedCount >= 1)
        text += QStringLiteral(", %1 failed.").arg(failedCount);
    else
        text += QLatin1Char('.');
    return text;
}

VideoTrimmingModel::VideoTrimmingModel(QObject* parent)
    : QObject(parent)
    , m_analyze(
          [](const QString& path, const CancelFlag* cancel) { return analyzeVideoWithTimeout(path, cancel); })
    , m_export([](const VideoTrimExportRequest& request, const CancelFlag* cancel) {
        return exportTrimmedVideo(request, cancel);
    })
    , m_processorCount(QThread::idealThreadCount()) {
    // Room for a full analysis batch next to a trim, whatever the machine's own pool allows.
    m_pool.setMaxThreadCount(4);
}

VideoTrimmingModel::~VideoTrimmingModel() {
    if (m_analysisRun)
        m_analysisRun->cancelled = true;
    if (m_trimmingRun)
        m_trimmingRun->cancelled = true;
    // Workers only see their run and their own copies, but must end before the pool goes.
    m_pool.waitForDone();
}

int VideoTrimmingModel::analysisBatchWidth(int processorCount) {
    return std::min(3, std::max(1, processorCount - 2));
}

bool VideoTrimmingModel::isAcceptedVideo(const QUrl& url) {
    const QString extension = QFileInfo(url.path()).suffix().toLower();
    return extension == QLatin1String("mp4") || extension == QLatin1String("360");
}

// --- stored fields ---

void VideoTrimmingModel::setIsDropTargeted(bool value) {
    if (m_isDropTargeted == value)
        return;
    m_isDropTargeted = value;
    Q_EMIT isDropTargetedChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setErrorMessage(const std::optional<QString>& value) {
    if (m_errorMessage == value)
        return;
    m_errorMessage = value;
    Q_EMIT errorMessageChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setIsAnalyzing(bool value) {
    if (m_isAnalyzing == value)
        return;
    m_isAnalyzing = value;
    Q_EMIT isAnalyzingChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setIsTrimming(bool value) {
    if (m_isTrimming == value)
        return;
    m_isTrimming = value;
    Q_EMIT isTrimmingChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setTrimCompletedCount(int value) {
    if (m_trimCompletedCount == value)
        return;
    m_trimCompletedCount = value;
    Q_EMIT trimCompletedCountChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setTrimTotalCount(int value) {
    if (m_trimTotalCount == value)
        return;
    m_trimTotalCount = value;
    Q_EMIT trimTotalCountChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setTrimSavedBytes(qint64 value) {
    if (m_trimSavedBytes == value)
        return;
    m_trimSavedBytes = value;
    Q_EMIT trimSavedBytesChanged();
    Q_EMIT changed();
}

void VideoTrimmingModel::setTrimCompletionSummary(const std::optional<VideoTrimCompletionSummary>& value) {
    if (m_summary == value)
        return;
    m_summary = value;
    Q_EMIT trimCompletionSummaryChanged();
    Q_EMIT changed();
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
    qint64 sum = 0;
    for (const VideoTrimItem* item : trimmableItems())
        sum += item->estimatedSavings();
    return sum;
}

int VideoTrimmingModel::analyzingCount() const {
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const VideoTrimItem* item) { return item->isAnalyzing(); }));
}

int VideoTrimmingModel::analyzedCount() const {
    return int(std::count_if(m_items.begin(), m_items.end(), [](const VideoTrimItem* item) {
        return !item->isAnalyzing() && (item->duration() > 0 || item->analysisError() ||
                                        item->analysisSummary() == kAnalysisCancelled ||
                                        item->analysisSummary() == kAnalysisTimedOut);
    }));
}

std::optional<double> VideoTrimmingModel::analysisProgress() const {
    if (m_items.isEmpty())
        return std::nullopt;
    return double(analyzedCount()) / double(m_items.size());
}

std::optional<double> VideoTrimmingModel::trimProgress() const {
    if (m_trimTotalCount < 1)
        return std::nullopt;
    return double(m_trimCompletedCount) / double(m_trimTotalCount);
}

// --- operations ---

void VideoTrimmingModel::addVideos(const QList<QUrl>& urls) {
    QList<VideoTrimItem*> added;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || !isAcceptedVideo(url))
            continue;
        const QString id = VideoTrimItem::standardizedPath(url);
        // Only items already listed count: the same file twice in one call is added twice.
        const bool listed = std::any_of(m_items.begin(), m_items.end(),
                                        [&](const VideoTrimItem* item) { return item->id() == id; });
        if (!listed)
            added.append(new VideoTrimItem(url, this));
    }
    if (added.isEmpty())
        return;
    setTrimCompletionSummary(std::nullopt);
    setItems(m_items + added);
    startAnalysis(added);
}

void VideoTrimmingModel::startAnalysis(const QList<VideoTrimItem*>& items) {
    ItemList targets;
    for (VideoTrimItem* item : items)
        if (!item->isAnalyzing() && !item->isTrimming())
            targets.append(item);
    if (targets.isEmpty())
        return;
    setIsAnalyzing(true);
    if (m_analysisRun)
        m_analysisRun->cancelled = true;
    auto run = std::make_shared<Run>();
    for (VideoTrimItem* item : std::as_const(targets)) {
        item->setIsAnalyzing(true);
        item->setAnalysisSummary(QStringLiteral("Analyzing audio…"));
        item->setAnalysisError(std::nullopt);
        item->setSuggestedStart(std::nullopt);
        item->setSuggestedEnd(std::nullopt);
        item->resetManualRange();
        m_analysisOwner.insert(item, run.get());
    }
    m_analysisRun = run;
    analyzeBatch(run, targets, 0);
}

void VideoTrimmingModel::analyzeBatch(const RunPtr& run, const ItemList& targets, int from) {
    if (run->cancelled || from >= targets.size()) {
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
        auto analyze = [analyze = m_analyze, path, run]() -> Result<VideoTrimAnalysisResult> {
            if (run->cancelled || path.isEmpty())
                return Error::cancellation();
            return analyze(path, &run->cancelled);
        };
        runInBackground<Result<VideoTrimAnalysisResult>>(
            &m_pool, this, std::move(analyze), [this, run, targets, item, pending, end](const auto& result) {
                if (item)
                    applyAnalysis(run, item, result);
                if (--*pending == 0)
                    analyzeBatch(run, targets, end);
            });
    }
}

void VideoTrimmingModel::applyAnalysis(const RunPtr& run, VideoTrimItem* item,
                                       const Result<VideoTrimAnalysisResult>& result) {
    // The item was taken over by a newer run, or cancelWork/clear dealt with it already.
    if (m_analysisOwner.value(item) != run.get())
        return;
    m_analysisOwner.remove(item);
    if (result.ok()) {
        item->setDuration(result->duration);
        item->setFileSize(result->fileSize);
        item->setSuggestedStart(result->suggestedStart);
        item->setSuggestedEnd(result->suggestedEnd);
        item->setAnalysisSummary(result->summary);
        item->setAnalysisError(result->error);
        item->setAudioLevels(result->levels.value_or(std::vector<double>()));
        item->setExitTime(result->exitTime);
        // The opening the suggestion was built on: the later of the audio and the frame evidence.
        item->setOpeningTime(combineDeployment(result->audioOpeningTime, result->frameOpeningTime));
    } else if (result.isCancelled()) {
        item->setAnalysisSummary(kAnalysisCancelled);
        item->setAnalysisError(std::nullopt);
    } else {
        const QString description = result.error().message;
        qCCritical(lcApp, "Video trimming analysis failed for %s: %s", qPrintable(item->url().toLocalFile()),
                   qPrintable(description));
        item->setAnalysisSummary(VideoTrimAnalysisTimeoutError::matches(result.error())
                                     ? kAnalysisTimedOut
                                     : QStringLiteral("Analysis failed"));
        item->setAnalysisError(description);
    }
    item->setIsAnalyzing(false);
}

void VideoTrimmingModel::finishAnalysisRun(const RunPtr& run, const ItemList& targets, int stoppedAt) {
    // Items of a stopped run whose batch never began would otherwise stay "Analyzing" for good.
    for (int i = stoppedAt; i < targets.size(); ++i) {
        if (targets[i] && m_analysisOwner.value(targets[i]) == run.get())
            applyAnalysis(run, targets[i], Error::cancellation());
    }
    setIsAnalyzing(false);
    // A newer run that is still going keeps the flag up.
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            if (m_analysisRun == run)
                m_analysisRun.reset();
            setIsAnalyzing(std::any_of(m_items.begin(), m_items.end(),
                                       [](const VideoTrimItem* item) { return item->isAnalyzing(); }));
        },
        Qt::QueuedConnection);
}

void VideoTrimmingModel::startTrimming() {
    ItemList targets;
    for (VideoTrimItem* item : trimmableItems())
        if (!item->isTrimming())
            targets.append(item);
    if (targets.isEmpty())
        return;
    setIsTrimming(true);
    setTrimCompletionSummary(std::nullopt);
    setTrimCompletedCount(0);
    setTrimTotalCount(int(targets.size()));
    setTrimSavedBytes(0);
    if (m_trimmingRun)
        m_trimmingRun->cancelled = true;
    auto run = std::make_shared<Run>();
    m_trimmingRun = run;
    trimNext(run, targets, 0, 0, 0);
}

void VideoTrimmingModel::trimNext(const RunPtr& run, const ItemList& targets, int index, int trimmed,
                                  int failed) {
    while (index < targets.size() && !targets[index])
        ++index; // removed meanwhile
    if (run->cancelled || index >= targets.size()) {
        finishTrimmingRun(run, trimmed, failed);
        return;
    }
    QPointer<VideoTrimItem> item = targets[index];
    item->setIsTrimming(true);
    item->setExportMessage(std::nullopt);
    const VideoTrimExportRequest request{item->url(), item->effectiveStart(), item->effectiveEnd()};
    // Counted from the size and duration before the file is replaced.
    const qint64 savings = item->estimatedSavings();
    auto work = [exportVideo = m_export, request, run]() -> Result<QUrl> {
        if (run->cancelled)
            return Error::cancellation();
        return exportVideo(request, &run->cancelled);
    };
    runInBackground<Result<QUrl>>(&m_pool, this, std::move(work), [=, this](const Result<QUrl>& result) {
        const bool current = run == m_trimmingRun;
        int nowTrimmed = trimmed;
        int nowFailed = failed;
        if (result.ok()) {
            if (item) {
                item->setOutputURL(result.value());
                item->setExportMessage(QStringLiteral("Trimmed in place"));
                item->setIsTrimming(false);
            }
            if (current) {
                setTrimCompletedCount(m_trimCompletedCount + 1);
                setTrimSavedBytes(m_trimSavedBytes + savings);
            }
            ++nowTrimmed;
        } else if (result.isCancelled()) {
            if (item) {
                item->setExportMessage(QStringLiteral("Cancelled"));
                item->setIsTrimming(false);
            }
        } else {
            qCCritical(lcApp, "Video trimming failed for %s: %s", qPrintable(request.url.toLocalFile()),
                       qPrintable(result.error().message));
            if (item) {
                item->setExportMessage(result.error().message);
                item->setIsTrimming(false);
            }
            if (current)
                setTrimCompletedCount(m_trimCompletedCount + 1);
            ++nowFailed;
        }
        trimNext(run, targets, index + 1, nowTrimmed, nowFailed);
    });
}

void VideoTrimmingModel::finishTrimmingRun(const RunPtr& run, int trimmed, int failed) {
    if (!run->cancelled && trimmed >= 1) {
        setItems({});
        setTrimCompletionSummary(VideoTrimCompletionSummary{trimmed, failed, m_trimSavedBytes});
    }
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            if (m_trimmingRun == run) {
                m_trimmingRun.reset();
                setIsTrimming(false);
            }
        },
        Qt::QueuedConnection);
}

void VideoTrimmingModel::cancelWork() {
    if (m_analysisRun)
        m_analysisRun->cancelled = true;
    if (m_trimmingRun)
        m_trimmingRun->cancelled = true;
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
            item->setIsAnalyzing(false);
        }
        if (item->isTrimming()) {
            item->setExportMessage(QStringLiteral("Cancelled"));
            item->setIsTrimming(false);
        }
    }
}

void VideoTrimmingModel::clear() {
    cancelWork();
    setItems({});
    setTrimCompletionSummary(std::nullopt);
}

} // namespace velarix
