#include "trimming/TrimDecision.h"

#include "trimming/TrimSuggestion.h"
#include "trimming/TrimmingLog.h"

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

constexpr double kAgreement = 5.0;         // seconds apart that still count as the same moment
constexpr double kUsableTelemetry = 0.4;   // below this a telemetry moment is not used at all
constexpr double kKeptAfterOpening = 10.0; // the suggestion's margin after the opening

QString sourceWords(const QString& source, const TelemetryFinding& telemetry) {
    if (source == kSourceTelemetry)
        return telemetry.source == QLatin1String("gps") ? QStringLiteral("the camera's GPS altitude")
                                                        : QStringLiteral("the camera's accelerometer");
    if (source == kSourceFrames)
        return QStringLiteral("the picture");
    return QStringLiteral("the sound");
}

struct Pick {
    std::optional<double> time;
    QString source;
    QString overruled; // "the sound put the exit at 01:02", empty when nothing was overruled
};

Pick pick(const char* moment, std::optional<double> audio, double audioConfidence, const QString& audioSource,
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
    const QString loser =
        telemetryWins ? sourceWords(audioSource, finding) : sourceWords(kSourceTelemetry, finding);
    const double lost = telemetryWins ? *audio : telemetry->time;
    qCInfo(lcTrimming, "The %s from %s (%s) overrules %s (%s)", moment,
           qUtf8Printable(sourceWords(telemetryWins ? kSourceTelemetry : audioSource, finding)),
           qUtf8Printable(formatClock(telemetryWins ? telemetry->time : *audio)), qUtf8Printable(loser),
           qUtf8Printable(formatClock(lost)));
    const QString overruled =
        QStringLiteral("%1 put the %2 at %3.").arg(loser, QLatin1String(moment), formatClock(lost));
    if (telemetryWins)
        return {telemetry->time, kSourceTelemetry, overruled};
    return {audio, audioSource, overruled};
}

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// Why a range built on these picks could throw the jump away, or nothing.
QString reviewReason(const Pick& exit, const Pick& opening, const AudioEvidence& audio,
                     const TelemetryFinding& telemetry) {
    if (!exit.time || !opening.time)
        return {};
    if (!telemetry.doubt.isEmpty())
        return telemetry.doubt;
    const double freefall = *opening.time - *exit.time;
    if (freefall < kShortestPlausibleFreefall)
        return QStringLiteral("the range keeps only %1 s of freefall")
            .arg(std::max(0.0, freefall), 0, 'f', 0);
    // An opening another source found after the kept range's end.
    const double keptUntil = *opening.time + kKeptAfterOpening;
    if (audio.opening && *audio.opening > keptUntil)
        return QStringLiteral("%1 puts the opening at %2, after the kept range")
            .arg(sourceWords(audio.openingSource, telemetry), formatClock(*audio.opening));
    if (telemetry.opening && telemetry.opening->time > keptUntil)
        return QStringLiteral("%1 puts the opening at %2, after the kept range")
            .arg(sourceWords(kSourceTelemetry, telemetry), formatClock(telemetry.opening->time));
    const auto disagreement = [&](const char* moment, std::optional<double> heard,
                                  const std::optional<TelemetryEvent>& sensed, const QString& source) {
        if (!heard || !sensed || sensed->confidence < kUsableTelemetry)
            return QString();
        const double apart = std::abs(*heard - sensed->time);
        if (apart <= kAgreement)
            return QString();
        return QStringLiteral("%1 and %2 disagree by %3 s about the %4")
            .arg(sourceWords(source, telemetry), sourceWords(kSourceTelemetry, telemetry))
            .arg(apart, 0, 'f', 0)
            .arg(QLatin1String(moment));
    };
    QString reason = disagreement("exit", audio.exit, telemetry.exit, kSourceAudio);
    if (reason.isEmpty())
        reason = disagreement("opening", audio.opening, telemetry.opening, audio.openingSource);
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
            qCInfo(lcTrimming, "The sound's freefall from %s is under the canopy; left out",
                   qUtf8Printable(formatClock(*audio.exit)));
            audio.exit.reset();
            audio.opening.reset();
        }
        // And its quiet after that is no opening: the canopy was already flying.
        if (audio.opening && *audio.opening > *telemetry.canopyFrom) {
            qCInfo(lcTrimming, "The %s's opening at %s comes after the canopy flies; left out",
                   qUtf8Printable(audio.openingSource), qUtf8Printable(formatClock(*audio.opening)));
            audio.opening.reset();
        }
    }
    const Pick exit = pick("exit", audio.exit, audio.exitConfidence, kSourceAudio, telemetry.exit, telemetry);
    const Pick opening = pick("opening", audio.opening, audio.openingConfidence, audio.openingSource,
                              telemetry.opening, telemetry);
    decision.exit = exit.time;
    decision.exitSource = exit.source;
    decision.opening = opening.time;
    decision.openingSource = opening.source;

    QStringList lines;
    if (exit.time)
        lines << QStringLiteral("Exit at %1 from %2.")
                     .arg(formatClock(*exit.time), sourceWords(exit.source, telemetry));
    if (opening.time)
        lines << QStringLiteral("Canopy opening at %1 from %2.")
                     .arg(formatClock(*opening.time), sourceWords(opening.source, telemetry));
    for (const QString& overruled : {exit.overruled, opening.overruled})
        if (!overruled.isEmpty())
            lines << capitalised(overruled);
    if (!telemetry.usable() && !telemetry.problem.isEmpty())
        lines << QStringLiteral("No usable telemetry: %1.").arg(telemetry.problem);
    decision.explanation = lines.join(u'\n');
    decision.review = reviewReason(exit, opening, audio, telemetry);
    return decision;
}

} // namespace velarix
