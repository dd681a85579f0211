#include "analysis/TrimDecision.h"

#include "analysis/AnalysisLog.h"
#include "analysis/TrimSuggestion.h"

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

constexpr double kAgreement = 5.0;         // seconds apart that still count as the same moment
constexpr double kUsableTelemetry = 0.4;   // below this a telemetry moment is not used at all
constexpr double kKeptAfterOpening = 10.0; // the suggestion's margin after the opening

constexpr const char* kContext = "velarix::TrimDecision";

AnalysisText said(const char* source) {
    return analysisText(kContext, source);
}

AnalysisText sourceWords(const QString& source, const TelemetryFinding& telemetry) {
    if (source == kSourceTelemetry)
        return telemetry.source == QLatin1String("gps")
                   ? said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "the camera's GPS altitude"))
                   : said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "the camera's accelerometer"));
    if (source == kSourceFrames)
        return said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "the picture"));
    return said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "the sound"));
}

enum class Moment { exit, opening };

const char* momentName(Moment moment) {
    return moment == Moment::exit ? "exit" : "opening";
}

struct Pick {
    std::optional<double> time;
    QString source;
    AnalysisText overruled; // "the sound put the exit at 01:02", empty when nothing was overruled
};

Pick pick(Moment moment, std::optional<double> audio, double audioConfidence, const QString& audioSource,
          const std::optional<TelemetryEvent>& telemetry, const TelemetryFinding& finding) {
    const bool haveTelemetry = telemetry && telemetry->confidence >= kUsableTelemetry;
    if (!haveTelemetry)
        return {audio, audio ? audioSource : QString(), {}};
    if (!audio)
        return {telemetry->time, kSourceTelemetry, {}};
    const bool agree = std::abs(*audio - telemetry->time) <= kAgreement;
    const bool telemetryWins =
        agree || telemetry->confidence >= kConfidentTelemetry || telemetry->confidence >= audioConfidence;
    if (agree)
        return {telemetry->time, kSourceTelemetry, {}};
    const AnalysisText loser =
        telemetryWins ? sourceWords(audioSource, finding) : sourceWords(kSourceTelemetry, finding);
    const double lost = telemetryWins ? *audio : telemetry->time;
    qCInfo(lcAnalysis, "The %s from %s (%s) overrules %s (%s)", momentName(moment),
           qUtf8Printable(sourceWords(telemetryWins ? kSourceTelemetry : audioSource, finding).english),
           qUtf8Printable(formatClock(telemetryWins ? telemetry->time : *audio)),
           qUtf8Printable(loser.english), qUtf8Printable(formatClock(lost)));
    // Whole sentences per moment: a translation may need the noun in the middle.
    const AnalysisText overruled =
        (moment == Moment::exit
             ? said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "%1 put the exit at %2."))
             : said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "%1 put the opening at %2.")))
            .arg(loser, AnalysisText::verbatim(formatClock(lost)));
    if (telemetryWins)
        return {telemetry->time, kSourceTelemetry, overruled};
    return {audio, audioSource, overruled};
}

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

AnalysisText capitalised(const AnalysisText& text) {
    return {capitalised(text.english), capitalised(text.shown)};
}

// Why a range built on these picks could throw the jump away, or nothing.
AnalysisText reviewReason(const Pick& exit, const Pick& opening, const AudioEvidence& audio,
                          const TelemetryFinding& telemetry) {
    if (!exit.time || !opening.time)
        return {};
    if (!telemetry.doubt.isEmpty())
        return telemetry.doubt;
    const double freefall = *opening.time - *exit.time;
    if (freefall < kShortestPlausibleFreefall)
        return said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "the range keeps only %1 s of freefall"))
            .arg(QString::number(std::max(0.0, freefall), 'f', 0));
    // An opening another source found after the kept range's end.
    const double keptUntil = *opening.time + kKeptAfterOpening;
    const auto lateOpening = [&](const AnalysisText& source, double time) {
        return said(QT_TRANSLATE_NOOP("velarix::TrimDecision",
                                      "%1 puts the opening at %2, after the kept range"))
            .arg(source, AnalysisText::verbatim(formatClock(time)));
    };
    if (audio.opening && *audio.opening > keptUntil)
        return lateOpening(sourceWords(audio.openingSource, telemetry), *audio.opening);
    if (telemetry.opening && telemetry.opening->time > keptUntil)
        return lateOpening(sourceWords(kSourceTelemetry, telemetry), telemetry.opening->time);
    const auto disagreement = [&](Moment moment, std::optional<double> heard,
                                  const std::optional<TelemetryEvent>& sensed, const QString& source) {
        if (!heard || !sensed || sensed->confidence < kUsableTelemetry)
            return AnalysisText();
        const double apart = std::abs(*heard - sensed->time);
        if (apart <= kAgreement)
            return AnalysisText();
        return (moment == Moment::exit
                    ? said(QT_TRANSLATE_NOOP("velarix::TrimDecision",
                                             "%1 and %2 disagree by %3 s about the exit"))
                    : said(QT_TRANSLATE_NOOP("velarix::TrimDecision",
                                             "%1 and %2 disagree by %3 s about the opening")))
            .arg(sourceWords(source, telemetry), sourceWords(kSourceTelemetry, telemetry))
            .arg(QString::number(apart, 'f', 0));
    };
    AnalysisText reason = disagreement(Moment::exit, audio.exit, telemetry.exit, kSourceAudio);
    if (reason.isEmpty())
        reason = disagreement(Moment::opening, audio.opening, telemetry.opening, audio.openingSource);
    return reason;
}

} // namespace

AudioEvidence audioEvidence(std::optional<double> exit, double spread, std::optional<double> audioOpening,
                            std::optional<double> frameOpening) {
    AudioEvidence evidence;
    evidence.exit = exit;
    evidence.exitConfidence = std::clamp(0.4 + (spread - 2.5) * 0.025, 0.4, 0.75);
    if (audioOpening && frameOpening) {
        // The later of the two, as the stages always combined them.
        const bool framesLater = *frameOpening > *audioOpening;
        evidence.opening = framesLater ? frameOpening : audioOpening;
        evidence.openingSource = framesLater ? kSourceFrames : kSourceAudio;
        evidence.openingConfidence = std::abs(*frameOpening - *audioOpening) <= 3 ? 0.8 : 0.5;
    } else if (audioOpening || frameOpening) {
        evidence.opening = audioOpening ? audioOpening : frameOpening;
        evidence.openingSource = audioOpening ? kSourceAudio : kSourceFrames;
        evidence.openingConfidence = 0.6;
    }
    if (!std::isfinite(spread))
        evidence.exitConfidence = 0.4;
    return evidence;
}

TrimDecision decideTrim(const AudioEvidence& heard, const TelemetryFinding& telemetry) {
    TrimDecision decision;
    AudioEvidence audio = heard;
    if (telemetry.canopyFrom && telemetry.opening && telemetry.opening->confidence >= kUsableTelemetry) {
        // Wind heard while the altitude shows the canopy flying is a spiral, not a second freefall.
        if (audio.exit && *audio.exit >= *telemetry.canopyFrom) {
            qCInfo(lcAnalysis, "The sound's freefall from %s is under the canopy; left out",
                   qUtf8Printable(formatClock(*audio.exit)));
            audio.exit.reset();
            audio.opening.reset();
        }
        // And its quiet after that is no opening: the canopy was already flying.
        if (audio.opening && *audio.opening > *telemetry.canopyFrom) {
            qCInfo(lcAnalysis, "The %s's opening at %s comes after the canopy flies; left out",
                   qUtf8Printable(audio.openingSource), qUtf8Printable(formatClock(*audio.opening)));
            audio.opening.reset();
        }
    }
    const Pick exit =
        pick(Moment::exit, audio.exit, audio.exitConfidence, kSourceAudio, telemetry.exit, telemetry);
    const Pick opening = pick(Moment::opening, audio.opening, audio.openingConfidence, audio.openingSource,
                              telemetry.opening, telemetry);
    decision.exit = exit.time;
    decision.exitSource = exit.source;
    decision.opening = opening.time;
    decision.openingSource = opening.source;

    QList<AnalysisText> lines;
    if (exit.time)
        lines << said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "Exit at %1 from %2."))
                     .arg(AnalysisText::verbatim(formatClock(*exit.time)),
                          sourceWords(exit.source, telemetry));
    if (opening.time)
        lines << said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "Canopy opening at %1 from %2."))
                     .arg(AnalysisText::verbatim(formatClock(*opening.time)),
                          sourceWords(opening.source, telemetry));
    for (const AnalysisText& overruled : {exit.overruled, opening.overruled})
        if (!overruled.isEmpty())
            lines << capitalised(overruled);
    if (!telemetry.usable() && !telemetry.problem.isEmpty())
        lines << said(QT_TRANSLATE_NOOP("velarix::TrimDecision", "No usable telemetry: %1."))
                     .arg(telemetry.problem);
    decision.explanation = joinedText(lines, QStringLiteral("\n"));
    decision.review = reviewReason(exit, opening, audio, telemetry);
    return decision;
}

} // namespace velarix
