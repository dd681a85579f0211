#pragma once

#include "analysis/TelemetryDetection.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

namespace velarix {

// What the camera's sensors showed, for drawing under the levels: the altitude (or, without GPS, the
// acceleration) every half second, and where the telemetry put the exit and the opening.
struct TelemetryTrace {
    TelemetryCurveKind kind = TelemetryCurveKind::None;
    std::vector<double> curve; // NaN where unknown
    std::optional<double> exitTime;
    std::optional<double> openingTime;

    bool operator==(const TelemetryTrace& other) const;
};

// A removal below this many seconds is not worth a new file.
inline constexpr double kMinimumRemovedSeconds = 15.0;

// One video in the trimming list: its analysis outcome, the user's adjustment of the kept range and
// the outcome of its trim. GUI thread only. Every stored field notifies its own signal (and
// `changed()`), and only when the assigned value differs.
class VideoTrimItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString id READ id CONSTANT)
    Q_PROPERTY(QUrl url READ url CONSTANT)
    Q_PROPERTY(double duration READ duration WRITE setDuration NOTIFY durationChanged)
    Q_PROPERTY(qint64 fileSize READ fileSize WRITE setFileSize NOTIFY fileSizeChanged)
    Q_PROPERTY(std::optional<double> suggestedStart READ suggestedStart WRITE setSuggestedStart NOTIFY
                   suggestedStartChanged)
    Q_PROPERTY(
        std::optional<double> suggestedEnd READ suggestedEnd WRITE setSuggestedEnd NOTIFY suggestedEndChanged)
    Q_PROPERTY(std::optional<double> manualStart READ manualStart NOTIFY manualStartChanged)
    Q_PROPERTY(std::optional<double> manualEnd READ manualEnd NOTIFY manualEndChanged)
    Q_PROPERTY(
        QString analysisSummary READ analysisSummary WRITE setAnalysisSummary NOTIFY analysisSummaryChanged)
    Q_PROPERTY(std::optional<QString> analysisError READ analysisError WRITE setAnalysisError NOTIFY
                   analysisErrorChanged)
    Q_PROPERTY(std::optional<QString> exportMessage READ exportMessage WRITE setExportMessage NOTIFY
                   exportMessageChanged)
    Q_PROPERTY(std::optional<QUrl> outputURL READ outputURL WRITE setOutputURL NOTIFY outputURLChanged)
    Q_PROPERTY(bool isAnalyzing READ isAnalyzing WRITE setIsAnalyzing NOTIFY isAnalyzingChanged)
    Q_PROPERTY(bool isTrimming READ isTrimming WRITE setIsTrimming NOTIFY isTrimmingChanged)
    Q_PROPERTY(
        std::optional<double> workProgress READ workProgress WRITE setWorkProgress NOTIFY workProgressChanged)
public:
    // The user's bounds as they are stored, unset ones included: what an editor restores on Cancel.
    struct ManualRange {
        std::optional<double> start;
        std::optional<double> end;
        bool operator==(const ManualRange&) const = default;
    };

    explicit VideoTrimItem(const QUrl& url, QObject* parent = nullptr);

    // The path with "." and ".." resolved, without percent encoding: the identity in lists.
    static QString standardizedPath(const QUrl& url);

    const QString& id() const { return m_id; }
    const QUrl& url() const { return m_url; }
    // For a recording the camera split into chapters: every chapter's path in order, the first
    // being url()'s; empty for an ordinary video.
    const QStringList& chapters() const { return m_chapters; }
    QStringList laterChapters() const { return m_chapters.mid(1); }
    void setChapters(const QStringList& chapters) {
        m_chapters = chapters.size() > 1 ? chapters : QStringList();
    }
    // "GX010042.MP4" or "GX010042.MP4 (3 chapters)".
    QString displayName() const;
    double duration() const { return m_duration; }
    qint64 fileSize() const { return m_fileSize; }
    std::optional<double> suggestedStart() const { return m_suggestedStart; }
    std::optional<double> suggestedEnd() const { return m_suggestedEnd; }
    std::optional<double> manualStart() const { return m_manualStart; }
    std::optional<double> manualEnd() const { return m_manualEnd; }
    const QString& analysisSummary() const { return m_analysisSummary; }
    const std::optional<QString>& analysisError() const { return m_analysisError; }
    const std::optional<QString>& exportMessage() const { return m_exportMessage; }
    const std::optional<QUrl>& outputURL() const { return m_outputURL; }
    bool isAnalyzing() const { return m_isAnalyzing; }
    bool isTrimming() const { return m_isTrimming; }
    // Its last analysis ended, whether with a result, an error, a cancellation or a time-out.
    bool hasAnalysisEnded() const { return m_analysisEnded; }
    // How far the running analysis or trim of this file is, 0…1; absent while none runs.
    std::optional<double> workProgress() const { return m_workProgress; }
    // The raw half-second audio levels of the analysis (dB), for drawing; empty when none.
    const std::vector<double>& audioLevels() const { return m_audioLevels; }
    // Where the analysis found the exit and the canopy opening (seconds), shown with the levels.
    std::optional<double> exitTime() const { return m_exitTime; }
    std::optional<double> openingTime() const { return m_openingTime; }
    const TelemetryTrace& telemetryTrace() const { return m_telemetryTrace; }
    // Which source decided the exit and the opening, in words, for the summary's tooltip.
    const QString& analysisExplanation() const { return m_analysisExplanation; }
    // Why the suggestion should be checked before trimming; empty when it needs no look.
    const QString& reviewReason() const { return m_reviewReason; }
    // The suggested range is in doubt and the user has not set one of their own: trimming without a
    // look skips it.
    bool needsReview() const { return !m_reviewReason.isEmpty() && !hasManualRange(); }

    void setDuration(double value);
    void setFileSize(qint64 value);
    void setSuggestedStart(std::optional<double> value);
    void setSuggestedEnd(std::optional<double> value);
    void setAnalysisSummary(const QString& value);
    void setAnalysisError(const std::optional<QString>& value);
    void setExportMessage(const std::optional<QString>& value);
    void setOutputURL(const std::optional<QUrl>& value);
    void setIsAnalyzing(bool value);
    void setIsTrimming(bool value);
    void setAnalysisEnded(bool value);
    void setTrimFailed(bool value);
    void setWorkProgress(std::optional<double> value);
    void setAudioLevels(std::vector<double> levels);
    void setExitTime(std::optional<double> value);
    void setOpeningTime(std::optional<double> value);
    void setTelemetryTrace(const TelemetryTrace& value);
    void setAnalysisExplanation(const QString& value);
    void setReviewReason(const QString& value);

    // The manual bound if set, else the suggested one.
    std::optional<double> effectiveStart() const { return m_manualStart ? m_manualStart : m_suggestedStart; }
    std::optional<double> effectiveEnd() const { return m_manualEnd ? m_manualEnd : m_suggestedEnd; }
    bool hasRange() const { return effectiveStart() && effectiveEnd(); }
    bool hasManualRange() const { return m_manualStart || m_manualEnd; }
    // The last trim of this file failed (a cancellation is not a failure).
    bool trimFailed() const { return m_trimFailed; }
    bool isTrimmedInPlace() const { return m_outputURL && *m_outputURL == m_url; }
    // Why an analysed clip has no suggestion, by the stage that found nothing; empty otherwise.
    QString noSuggestionReason() const;
    // The effective range leaves out what the analysis found: the exit, the canopy opening.
    bool leavesOutExit() const;
    bool leavesOutOpening() const;

    QString rangeText() const;
    bool canTrim() const;
    bool savesTooLittle() const;
    int removedPercent() const;
    qint64 estimatedSavings() const;

    // The user's adjustments, kept inside the clip and at least a second long.
    void setManualStart(double value);
    void setManualEnd(double value);
    void resetManualRange();
    void keepFullVideo();
    // "Keep Full" taken back: the range before it returns, while the full range is still the one set.
    bool canUndoKeepFull() const;
    void undoKeepFull();
    void prepareManualRange();
    ManualRange manualRange() const { return {m_manualStart, m_manualEnd}; }
    // Puts back bounds read with manualRange(), as they were (an editor's Cancel).
    void restoreManualRange(const ManualRange& range);

Q_SIGNALS:
    void durationChanged();
    void fileSizeChanged();
    void suggestedStartChanged();
    void suggestedEndChanged();
    void manualStartChanged();
    void manualEndChanged();
    void analysisSummaryChanged();
    void analysisErrorChanged();
    void exportMessageChanged();
    void outputURLChanged();
    void isAnalyzingChanged();
    void isTrimmingChanged();
    void workProgressChanged();
    void audioLevelsChanged();
    void exitTimeChanged();
    void openingTimeChanged();
    void telemetryTraceChanged();
    void analysisExplanationChanged();
    void reviewReasonChanged();
    void analysisEndedChanged();
    void trimFailedChanged();
    // After any of the above: computed values may have changed.
    void changed();

private:
    void assignManualStart(std::optional<double> value);
    void assignManualEnd(std::optional<double> value);
    // Seconds kept by the effective range, when there is one.
    std::optional<double> kept() const;

    QString m_id;
    QUrl m_url;
    QStringList m_chapters;
    double m_duration = 0;
    qint64 m_fileSize = 0;
    std::optional<double> m_suggestedStart;
    std::optional<double> m_suggestedEnd;
    std::optional<double> m_manualStart;
    std::optional<double> m_manualEnd;
    QString m_analysisSummary;
    std::optional<QString> m_analysisError;
    std::optional<QString> m_exportMessage;
    std::optional<QUrl> m_outputURL;
    bool m_isAnalyzing = false;
    bool m_isTrimming = false;
    bool m_analysisEnded = false;
    bool m_trimFailed = false;
    std::optional<double> m_workProgress;
    std::optional<ManualRange> m_beforeKeepFull;
    std::vector<double> m_audioLevels;
    std::optional<double> m_exitTime;
    std::optional<double> m_openingTime;
    TelemetryTrace m_telemetryTrace;
    QString m_analysisExplanation;
    QString m_reviewReason;
};

} // namespace velarix
