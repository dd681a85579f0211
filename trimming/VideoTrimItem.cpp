#include "trimming/VideoTrimItem.h"

#include "analysis/TrimSuggestion.h"
#include "core/SetField.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace velarix {

VideoTrimItem::VideoTrimItem(const QUrl& url, QObject* parent)
    : QObject(parent)
    , m_id(standardizedPath(url))
    , m_url(url)
    , m_analysisSummary(QCoreApplication::translate("velarix::VideoTrimItem", "Waiting to analyze…")) {}

QString VideoTrimItem::standardizedPath(const QUrl& url) {
    return QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
}

void VideoTrimItem::setDuration(double value) {
    setField(this, m_duration, value, &VideoTrimItem::durationChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setFileSize(qint64 value) {
    setField(this, m_fileSize, value, &VideoTrimItem::fileSizeChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setSuggestedStart(std::optional<double> value) {
    setField(this, m_suggestedStart, value, &VideoTrimItem::suggestedStartChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setSuggestedEnd(std::optional<double> value) {
    setField(this, m_suggestedEnd, value, &VideoTrimItem::suggestedEndChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::assignManualStart(std::optional<double> value) {
    setField(this, m_manualStart, value, &VideoTrimItem::manualStartChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::assignManualEnd(std::optional<double> value) {
    setField(this, m_manualEnd, value, &VideoTrimItem::manualEndChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setAnalysisSummary(const QString& value) {
    setField(this, m_analysisSummary, value, &VideoTrimItem::analysisSummaryChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setAnalysisError(const std::optional<QString>& value) {
    setField(this, m_analysisError, value, &VideoTrimItem::analysisErrorChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setExportMessage(const std::optional<QString>& value) {
    setField(this, m_exportMessage, value, &VideoTrimItem::exportMessageChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setOutputURL(const std::optional<QUrl>& value) {
    setField(this, m_outputURL, value, &VideoTrimItem::outputURLChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setIsAnalyzing(bool value) {
    setField(this, m_isAnalyzing, value, &VideoTrimItem::isAnalyzingChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setIsTrimming(bool value) {
    setField(this, m_isTrimming, value, &VideoTrimItem::isTrimmingChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setTrimFailed(bool value) {
    setField(this, m_trimFailed, value, &VideoTrimItem::trimFailedChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setAnalysisEnded(bool value) {
    setField(this, m_analysisEnded, value, &VideoTrimItem::analysisEndedChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setWorkProgress(std::optional<double> value) {
    setField(this, m_workProgress, value, &VideoTrimItem::workProgressChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setAudioLevels(std::vector<double> levels) {
    setField(this, m_audioLevels, levels, &VideoTrimItem::audioLevelsChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setExitTime(std::optional<double> value) {
    setField(this, m_exitTime, value, &VideoTrimItem::exitTimeChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setOpeningTime(std::optional<double> value) {
    setField(this, m_openingTime, value, &VideoTrimItem::openingTimeChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setTelemetryTrace(const TelemetryTrace& value) {
    setField(this, m_telemetryTrace, value, &VideoTrimItem::telemetryTraceChanged, &VideoTrimItem::changed);
}
void VideoTrimItem::setAnalysisExplanation(const QString& value) {
    setField(this, m_analysisExplanation, value, &VideoTrimItem::analysisExplanationChanged,
             &VideoTrimItem::changed);
}
void VideoTrimItem::setReviewReason(const QString& value) {
    setField(this, m_reviewReason, value, &VideoTrimItem::reviewReasonChanged, &VideoTrimItem::changed);
}

bool TelemetryTrace::operator==(const TelemetryTrace& other) const {
    // Unknown values (NaN) count as equal, so that assigning the same trace again changes nothing.
    const auto same = [](double a, double b) {
        return a == b || (std::isnan(a) && std::isnan(b));
    };
    return kind == other.kind && exitTime == other.exitTime && openingTime == other.openingTime &&
           std::equal(curve.begin(), curve.end(), other.curve.begin(), other.curve.end(), same);
}

std::optional<double> VideoTrimItem::kept() const {
    if (!hasRange())
        return std::nullopt;
    return *effectiveEnd() - *effectiveStart();
}

QString VideoTrimItem::rangeText() const {
    const double start = effectiveStart().value_or(0);
    const double end = effectiveEnd().value_or(m_duration);
    if (m_duration <= 0 || end <= start)
        return QCoreApplication::translate("velarix::VideoTrimItem", "No suggestion");
    return formatClock(start) + QLatin1Char('-') + formatClock(end);
}

bool VideoTrimItem::canTrim() const {
    const auto keptSeconds = kept();
    return m_duration > 0 && keptSeconds && *keptSeconds > 0 &&
           m_duration - *keptSeconds >= kMinimumRemovedSeconds;
}

bool VideoTrimItem::savesTooLittle() const {
    const auto keptSeconds = kept();
    return m_duration > 0 && keptSeconds && *keptSeconds > 0 &&
           m_duration - *keptSeconds < kMinimumRemovedSeconds;
}

int VideoTrimItem::removedPercent() const {
    const auto keptSeconds = kept();
    if (m_duration <= 0 || !keptSeconds || *keptSeconds <= 0)
        return 0;
    return int(std::round((m_duration - *keptSeconds) / m_duration * 100));
}

qint64 VideoTrimItem::estimatedSavings() const {
    if (m_duration <= 0 || m_fileSize < 1 || !hasRange())
        return 0;
    const double keptSeconds = std::max(0.0, *effectiveEnd() - *effectiveStart());
    const double removed = std::max(0.0, m_duration - keptSeconds);
    return qint64(std::trunc(double(m_fileSize) * removed / m_duration));
}

void VideoTrimItem::setManualStart(double value) {
    assignManualStart(std::min(std::max(value, 0.0), std::max(m_duration - 1, 0.0)));
    if (const auto end = effectiveEnd(); end && *m_manualStart >= *end)
        assignManualEnd(std::min(*m_manualStart + 1, m_duration));
}

void VideoTrimItem::setManualEnd(double value) {
    const double lower = effectiveStart().value_or(0) + 1;
    assignManualEnd(std::max(std::min(value, m_duration), std::min(lower, m_duration)));
}

void VideoTrimItem::resetManualRange() {
    assignManualStart(std::nullopt);
    assignManualEnd(std::nullopt);
}

void VideoTrimItem::keepFullVideo() {
    if (m_duration <= 0 || m_isAnalyzing || m_isTrimming)
        return;
    const ManualRange before = manualRange();
    assignManualStart(0.0);
    assignManualEnd(m_duration);
    m_beforeKeepFull = before;
    Q_EMIT changed();
}

bool VideoTrimItem::canUndoKeepFull() const {
    // Any other edit since "Keep Full" is the user's newer choice, not something to take back.
    return m_beforeKeepFull && !m_isAnalyzing && !m_isTrimming && m_manualStart == 0.0 &&
           m_manualEnd == m_duration;
}

void VideoTrimItem::undoKeepFull() {
    if (!canUndoKeepFull())
        return;
    const ManualRange before = *m_beforeKeepFull;
    m_beforeKeepFull.reset();
    restoreManualRange(before);
    Q_EMIT changed();
}

void VideoTrimItem::restoreManualRange(const ManualRange& range) {
    assignManualStart(range.start);
    assignManualEnd(range.end);
}

QString VideoTrimItem::noSuggestionReason() const {
    if (m_isAnalyzing || m_duration <= 0 || m_suggestedStart || !m_analysisError || m_audioLevels.empty())
        return {};
    if (!m_exitTime)
        return QCoreApplication::translate("velarix::VideoTrimItem", "no freefall noise found");
    if (!m_openingTime)
        return QCoreApplication::translate("velarix::VideoTrimItem", "opening not found");
    return QCoreApplication::translate(
        "velarix::VideoTrimItem",
        "the jump fills nearly the whole clip, so trimming would save less than 15 seconds");
}

bool VideoTrimItem::leavesOutExit() const {
    const auto start = effectiveStart();
    return m_exitTime && start && *start > *m_exitTime;
}

bool VideoTrimItem::leavesOutOpening() const {
    const auto end = effectiveEnd();
    return m_openingTime && end && *end < *m_openingTime;
}

void VideoTrimItem::prepareManualRange() {
    if (m_duration <= 0)
        return;
    if (!m_manualStart && !m_suggestedStart)
        assignManualStart(0.0);
    if (!m_manualEnd && !m_suggestedEnd)
        assignManualEnd(m_duration);
}

QString VideoTrimItem::displayName() const {
    const QString name = QFileInfo(m_url.toLocalFile()).fileName();
    return m_chapters.isEmpty() ? name : QStringLiteral("%1 (%2 chapters)").arg(name).arg(m_chapters.size());
}

} // namespace velarix
