#pragma once

#include "analysis/VideoTrimAnalysis.h"
#include "trimming/VideoTrimExport.h"
#include "trimming/VideoTrimItem.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace velarix {

// What a trimming run did to one file of the list.
struct VideoTrimFileOutcome {
    // Cancelled: its trim was under way when the run was cancelled.
    enum class Kind { Trimmed, Kept, Failed, Cancelled };
    QString path;
    Kind kind = Kind::Kept;
    qint64 savedBytes = 0; // estimated, for trimmed files
    QString message;       // why it failed, or why it was kept
    // The original went to the Trash: its space comes back only when the Trash is emptied.
    bool originalInTrash = false;
    bool operator==(const VideoTrimFileOutcome&) const = default;
};

struct VideoTrimCompletionSummary {
    int trimmedCount = 0;
    int failedCount = 0;
    qint64 savedBytes = 0; // of the trimmed files only
    // Every file of the list when the run started, in list order.
    QList<VideoTrimFileOutcome> files;
    int reviewSkippedCount = 0; // kept because their suggestion needs a look first

    // "Done. Trimmed 1 video." or "Done. Trimmed 3 videos, 1 failed.", then "2 skipped: their
    // suggestions need a check before trimming." when suggestions in doubt were left alone.
    QString text() const;
    // Of `savedBytes`, what waits in the Trash.
    qint64 bytesInTrash() const;
    bool operator==(const VideoTrimCompletionSummary&) const = default;
};

// The state behind the trimming window (and `velarix-cli trim`): the videos, their analysis in
// batches on worker threads, and the trimming run, one file at a time in list order. GUI thread only;
// results of the workers come back as queued steps and are checked against the run they belong to.
class VideoTrimmingModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<velarix::VideoTrimItem*> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(bool isDropTargeted READ isDropTargeted WRITE setIsDropTargeted NOTIFY isDropTargetedChanged)
    Q_PROPERTY(bool isAnalyzing READ isAnalyzing NOTIFY isAnalyzingChanged)
    Q_PROPERTY(bool isTrimming READ isTrimming NOTIFY isTrimmingChanged)
    Q_PROPERTY(std::optional<QString> errorMessage READ errorMessage WRITE setErrorMessage NOTIFY
                   errorMessageChanged)
    Q_PROPERTY(int trimCompletedCount READ trimCompletedCount NOTIFY trimCompletedCountChanged)
    Q_PROPERTY(int trimTotalCount READ trimTotalCount NOTIFY trimTotalCountChanged)
    Q_PROPERTY(qint64 trimSavedBytes READ trimSavedBytes NOTIFY trimSavedBytesChanged)
    Q_PROPERTY(bool keepOriginalsInTrash READ keepOriginalsInTrash WRITE setKeepOriginalsInTrash NOTIFY
                   keepOriginalsInTrashChanged)
public:
    // Workers report how far they are (0…1) through the progress function, from their own thread.
    using Progress = std::function<void(double)>;
    using AnalyzeFunction = std::function<Result<VideoTrimAnalysisResult>(
        const QString& path, const CancelToken*, const Progress&)>;
    using ExportFunction =
        std::function<Result<QUrl>(const VideoTrimExportRequest&, const CancelToken*, const Progress&)>;

    explicit VideoTrimmingModel(QObject* parent = nullptr);
    ~VideoTrimmingModel() override;

    // The user's choice of keeping replaced originals in the Trash (a Bool in the settings).
    static inline const QString kKeepOriginalsInTrashKey = QStringLiteral("keepOriginalsInTrash");

    // Analysis width: min(3, max(1, processors − 2)).
    static int analysisBatchWidth(int processorCount);
    static bool isAcceptedVideo(const QUrl& url);

    // The real analysis (90 s limit) and export by default; tests put in their own.
    void setAnalyzeFunction(AnalyzeFunction function) { m_analyze = std::move(function); }
    void setExportFunction(ExportFunction function) { m_export = std::move(function); }
    void setProcessorCount(int count) { m_processorCount = count; }

    const QList<VideoTrimItem*>& items() const { return m_items; }
    bool isDropTargeted() const { return m_isDropTargeted; }
    bool isAnalyzing() const { return m_isAnalyzing; }
    bool isTrimming() const { return m_isTrimming; }
    const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    int trimCompletedCount() const { return m_trimCompletedCount; }
    int trimTotalCount() const { return m_trimTotalCount; }
    qint64 trimSavedBytes() const { return m_trimSavedBytes; }
    const std::optional<VideoTrimCompletionSummary>& trimCompletionSummary() const { return m_summary; }
    bool hasAnalysisTask() const { return bool(m_analysisRun); }
    bool hasTrimmingTask() const { return bool(m_trimmingRun); }
    // Replaced originals go to the Trash instead of being deleted.
    bool keepOriginalsInTrash() const { return m_keepOriginalsInTrash; }
    void setKeepOriginalsInTrash(bool value);

    void setIsDropTargeted(bool value);
    void setErrorMessage(const std::optional<QString>& value);
    // The window drops the summary ("Done", "Analyze Again").
    void setTrimCompletionSummary(const std::optional<VideoTrimCompletionSummary>& value);

    QList<VideoTrimItem*> trimmableItems() const;
    qint64 estimatedSavings() const;
    int analyzingCount() const;
    int analyzedCount() const;
    std::optional<double> analysisProgress() const;
    std::optional<double> trimProgress() const;
    // Items whose range the user set and that are not trimmed yet: closing would throw them away.
    int untrimmedManualRangeCount() const;

    // The futures finish when the run has dealt with every file it took (also when it is cancelled or
    // superseded). A trimming run's future holds what became of every file of the list, cancelled or not.
    QFuture<void> addVideos(const QList<QUrl>& urls);
    QFuture<void> startAnalysis(const QList<VideoTrimItem*>& items);
    // Suggestions marked "check before trimming" are skipped (and say so) unless `trustSuggestions`:
    // the user confirmed, or asked for it on the command line.
    QFuture<VideoTrimCompletionSummary> startTrimming(bool trustSuggestions = false);
    // Items that would be trimmed to a suggestion in doubt.
    QList<VideoTrimItem*> itemsNeedingReview() const;
    void cancelWork();
    void clear();
    // Takes one video off the list; its analysis stops. A video being trimmed stays.
    void removeItem(VideoTrimItem* item);

Q_SIGNALS:
    void itemsChanged();
    void isDropTargetedChanged();
    void isAnalyzingChanged();
    void isTrimmingChanged();
    void errorMessageChanged();
    void trimCompletedCountChanged();
    void trimTotalCountChanged();
    void trimSavedBytesChanged();
    void trimCompletionSummaryChanged();
    void keepOriginalsInTrashChanged();
    // After any change of the model or of one of its items.
    void changed();

private:
    struct Run {
        CancelToken cancel;
        virtual ~Run() = default;
    };
    struct AnalysisRun : Run {
        QPromise<void> promise;
    };
    struct TrimmingRun : Run {
        QPromise<VideoTrimCompletionSummary> promise;
        // The list as the run found it, with what became of each file.
        QList<VideoTrimFileOutcome> outcomes;
        QHash<VideoTrimItem*, int> outcomeIndex;
        int reviewSkipped = 0;
    };
    using RunPtr = std::shared_ptr<Run>;
    using AnalysisRunPtr = std::shared_ptr<AnalysisRun>;
    using TrimmingRunPtr = std::shared_ptr<TrimmingRun>;
    using ItemList = QList<QPointer<VideoTrimItem>>;

    void setIsAnalyzing(bool value);
    void setIsTrimming(bool value);
    void setTrimCompletedCount(int value);
    void setTrimTotalCount(int value);
    void setTrimSavedBytes(qint64 value);
    void setItems(QList<VideoTrimItem*> items);

    void analyzeBatch(const AnalysisRunPtr& run, const ItemList& targets, int from);
    void applyAnalysis(const Run* run, VideoTrimItem* item, const Result<VideoTrimAnalysisResult>& result);
    void finishAnalysisRun(const AnalysisRunPtr& run, const ItemList& targets, int stoppedAt);
    void trimNext(const TrimmingRunPtr& run, const ItemList& targets, int index, int trimmed, int failed);
    void finishTrimmingRun(const TrimmingRunPtr& run, int trimmed, int failed);
    // A progress function for a worker: hands the fraction to `item` on the GUI thread, in whole
    // percent steps, while `run` is the current one.
    Progress progressFor(VideoTrimItem* item, const RunPtr& run);

    AnalyzeFunction m_analyze;
    ExportFunction m_export;
    int m_processorCount;
    QThreadPool m_pool;

    QList<VideoTrimItem*> m_items;
    bool m_isDropTargeted = false;
    bool m_isAnalyzing = false;
    bool m_isTrimming = false;
    std::optional<QString> m_errorMessage;
    int m_trimCompletedCount = 0;
    int m_trimTotalCount = 0;
    qint64 m_trimSavedBytes = 0;
    std::optional<VideoTrimCompletionSummary> m_summary;
    bool m_keepOriginalsInTrash = false;

    AnalysisRunPtr m_analysisRun;
    TrimmingRunPtr m_trimmingRun;
    // Which analysis run an analysing item belongs to: late results of a superseded run are dropped.
    QHash<VideoTrimItem*, const Run*> m_analysisOwner;
};

} // namespace velarix
