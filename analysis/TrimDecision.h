#pragma once

#include "analysis/TelemetryDetection.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velarix {

// Where a moment of the suggestion came from.
inline const QString kSourceAudio = QStringLiteral("audio");
inline const QString kSourceFrames = QStringLiteral("frames");
inline const QString kSourceTelemetry = QStringLiteral("telemetry");

// What the sound and the picture say, with how sure each is (0 to 1).
struct AudioEvidence {
    std::optional<double> exit;
    double exitConfidence = 0;
    std::optional<double> opening;
    double openingConfidence = 0;
    QString openingSource; // kSourceAudio or kSourceFrames
};

// The sound's confidence: its exit grows surer with the level range of the clip (dB), its opening
// when the sound and the picture agree.
AudioEvidence audioEvidence(std::optional<double> exit, double spread, std::optional<double> audioOpening,
                            std::optional<double> frameOpening);

struct TrimDecision {
    std::optional<double> exit;
    std::optional<double> opening;
    QString exitSource; // kSource…, empty when absent
    QString openingSource;
    AnalysisText explanation; // for the summary's tooltip: which source decided, and what was overruled
    // Why the range should be checked before trimming, in words ("the sound and the camera's GPS
    // altitude disagree by 12 s about the opening"); empty when the sources leave no doubt.
    AnalysisText review;
};

// Freefall shorter than this is no jump anyone films: a range built on it needs a look.
inline constexpr double kShortestPlausibleFreefall = 4.0;

// Telemetry at least this sure decides on its own.
inline constexpr double kConfidentTelemetry = 0.7;

// Per moment: confident telemetry sets it; otherwise, where the two agree within 5 s the telemetry's
// sharper time counts, where they disagree the surer one wins, and a lone source counts as it is.
// Once the altitude shows the canopy flying, a later sound is no freefall and no opening. What loses
// is logged and named in the explanation; a range left in doubt says why in `review`.
TrimDecision decideTrim(const AudioEvidence& audio, const TelemetryFinding& telemetry);

} // namespace velarix
