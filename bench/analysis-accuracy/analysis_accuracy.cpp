// How close the suggested range comes to the truth on real jumps: each log of tests/data/real-jumps
// becomes clips with GPS and accelerometer, accelerometer only and GPS only, each with silent,
// steady-noise and no sound; the full analysis runs on every clip. `--fast` runs only the telemetry
// detection and the decision, without clips.
#include "analysis/TrimDecision.h"
#include "analysis/TrimSuggestion.h"
#include "analysis/VideoTrimAnalysis.h"
#include "demo/RealJump.h"
#include "demo/SyntheticJump.h"
#include "media/TelemetryReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>

extern "C" {
#include <libavutil/log.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

using namespace velarix;

namespace {

// Kept out of tuning: the figures on these show whether the rules fit the others only.
const QStringList kHeldOut = {QStringLiteral("speed-23-17-11"), QStringLiteral("speed-t02"),
                              QStringLiteral("speed-r3"),       QStringLiteral("speed-nik"),
                              QStringLiteral("belly-low-imu"),  QStringLiteral("hop-level")};

struct Combination {
    const char* name;
    bool gps;
    bool accelerometer;
};
const Combination kCombinations[] = {
    {"GPS + accelerometer", true, true}, {"accelerometer only", false, true}, {"GPS only", true, false}};

struct Sound {
    const char* name;
    JumpAudio audio;
};
const Sound kSounds[] = {
    {"silent", JumpAudio::Silent}, {"steady noise", JumpAudio::Muffled}, {"no sound", JumpAudio::None}};

struct Tally {
    int clips = 0;
    int within1 = 0;
    int within2 = 0;
    int noRange = 0;
    int endsEarly = 0;  // the range ends before the true opening
    int startsLate = 0; // or starts after the true exit
    int unmarked = 0;   // misses by more than 2 s not marked for review
    int marked = 0;     // marked for review, right or wrong
    double worst = 0;
    QString worstClip;
};

struct Outcome {
    std::optional<TrimRange> range;
    bool review = false;
};

void count(Tally& tally, const Outcome& outcome, const JumpTruth& truth, const QString& clip) {
    ++tally.clips;
    double miss = 1e9;
    if (outcome.range) {
        miss = std::max(std::abs(outcome.range->start - (truth.exit - 10)),
                        std::abs(outcome.range->end - (truth.opening + 10)));
        if (outcome.range->end < truth.opening)
            ++tally.endsEarly;
        if (outcome.range->start > truth.exit)
            ++tally.startsLate;
    } else {
        ++tally.noRange;
    }
    tally.within1 += miss <= 1;
    tally.within2 += miss <= 2;
    if (miss > 2 && !outcome.review)
        ++tally.unmarked;
    tally.marked += outcome.review;
    if (miss > tally.worst) {
        tally.worst = miss;
        tally.worstClip = clip;
    }
}

void print(const char* title, const std::map<QString, Tally>& tallies) {
    std::printf("\n%s\n%-34s %5s %9s %9s %8s %6s %6s %8s %7s  %s\n", title, "sources, sound", "clips", "≤1 s",
                "≤2 s", "none", "early", "late", "unmarked", "marked", "worst miss");
    for (const auto& [name, t] : tallies)
        std::printf(
            "%-34s %5d %4d %3.0f%% %4d %3.0f%% %8d %6d %6d %8d %7d  %s\n", qUtf8Printable(name), t.clips,
            t.within1, 100.0 * t.within1 / t.clips, t.within2, 100.0 * t.within2 / t.clips, t.noRange,
            t.endsEarly, t.startsLate, t.unmarked, t.marked,
            t.worst >= 1e9
                ? qUtf8Printable(QStringLiteral("no range (%1)").arg(t.worstClip))
                : qUtf8Printable(QStringLiteral("%1 s (%2)").arg(t.worst, 0, 'f', 1).arg(t.worstClip)));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    av_log_set_level(AV_LOG_QUIET);
    QLoggingCategory::setFilterRules(QStringLiteral("app.tarnwick.Velarix.App.info=false"));
    const bool fast = app.arguments().contains(QStringLiteral("--fast"));
    // --keep DIR: the clips stay there for a look (in the window, in ffprobe), one per log and sources.
    const qsizetype keepAt = app.arguments().indexOf(QStringLiteral("--keep"));
    const QString keep = keepAt > 0 ? app.arguments().value(keepAt + 1) : QString();
    const QDir data(QStringLiteral(VELARIX_SOURCE_DIR "/tests/data/real-jumps"));
    QTemporaryDir work;
    std::map<QString, Tally> tuned;
    std::map<QString, Tally> heldOut;
    const QStringList logs = data.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)
                                 .filter(QRegularExpression(QStringLiteral("^[^.]+\\.csv$")));
    int index = 0;
    for (const QString& file : logs) {
        const QString name = file.chopped(4);
        const QString sensor = data.filePath(name + QStringLiteral(".sensor.csv"));
        auto log = readJumpLog(data.filePath(file), QFile::exists(sensor) ? sensor : QString());
        if (!log) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(log.error().message));
            return 1;
        }
        const auto truth = jumpTruth(*log);
        if (!truth) {
            std::fprintf(stderr, "%s: no jump in the log\n", qUtf8Printable(name));
            return 1;
        }
        // Cameras start a little while before the exit and stop a while into the canopy ride, the
        // film of a short jump running past 01:30 (shorter clips get no suggestion); a spiral under
        // the canopy (15 m/s or more, 20 s after the opening) is filmed to the log's end.
        const double lead = 25 + (index * 7) % 10;
        const double start = std::max(0.0, truth->exit - lead);
        const bool spiral = std::any_of(log->gnss.begin(), log->gnss.end(), [&](const GnssFix& f) {
            return f.t > truth->opening + 20 && f.down >= 15;
        });
        const double end =
            spiral ? log->duration()
                   : std::min(log->duration(), std::max(truth->opening + 30 + (index * 3) % 10, start + 95));
        const double duration = end - start;
        const JumpTruth clipTruth{truth->exit - start, truth->opening - start};
        std::printf("%-16s exit %6.1f opening %6.1f (clip %5.1f s: exit at %5.1f, opening at %5.1f)%s\n",
                    qUtf8Printable(name), truth->exit, truth->opening, duration, clipTruth.exit,
                    clipTruth.opening, kHeldOut.contains(name) ? "  held out" : "");
        auto& tallies = kHeldOut.contains(name) ? heldOut : tuned;
        for (const Combination& c : kCombinations) {
            const auto payloads =
                cameraTelemetry(*log, start, duration, {c.gps, c.accelerometer, unsigned(index + 1)});
            if (fast) {
                std::vector<TelemetryPacket> packets;
                for (size_t k = 0; k < payloads.size(); ++k)
                    packets.push_back({double(k), std::min(1.0, duration - double(k)), payloads[k]});
                const TelemetryFinding found =
                    detectJump(assembleTelemetry(packets, analysisSensors()), duration);
                const TrimDecision decision = decideTrim(AudioEvidence{}, found);
                Outcome outcome;
                if (decision.exit && decision.opening)
                    outcome.range = trimRangeFor(*decision.exit, *decision.opening, duration);
                outcome.review = !decision.review.isEmpty();
                std::printf(
                    "  %-20s exit %s opening %s%s\n", c.name,
                    found.exit ? qUtf8Printable(QString::number(found.exit->time - clipTruth.exit, 'f', 1))
                               : "-",
                    found.opening
                        ? qUtf8Printable(QString::number(found.opening->time - clipTruth.opening, 'f', 1))
                        : "-",
                    outcome.review ? qUtf8Printable(QStringLiteral("  review: ") + decision.review.english)
                                   : "");
                count(tallies[QString::fromUtf8(c.name)], outcome, clipTruth, name);
                continue;
            }
            for (const Sound& s : kSounds) {
                SyntheticJump jump{.duration = duration,
                                   .exitTime = clipTruth.exit,
                                   .openingTime = clipTruth.opening,
                                   .width = 160,
                                   .height = 90,
                                   .framesPerSecond = 10,
                                   .seed = unsigned(index + 1),
                                   .audio = s.audio,
                                   .telemetryPayloads = payloads};
                if (s.audio == JumpAudio::Muffled) {
                    // A steady hiss the whole way: no freefall to hear.
                    jump.exitTime = -1;
                    jump.openingTime = duration + 1;
                }
                const QString clip =
                    keep.isEmpty()
                        ? work.filePath(QStringLiteral("%1.mp4").arg(name))
                        : QDir(keep).filePath(QStringLiteral("%1 %2 %3.mp4")
                                                  .arg(name, QLatin1String(c.name), QLatin1String(s.name)));
                if (auto written = writeSyntheticJump(clip, jump); !written) {
                    std::fprintf(stderr, "%s\n", qUtf8Printable(written.error().message));
                    return 1;
                }
                auto result = analyzeVideo(clip);
                if (!result) {
                    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(name),
                                 qUtf8Printable(result.error().message));
                    return 1;
                }
                Outcome outcome;
                if (result->suggestedStart && result->suggestedEnd)
                    outcome.range = TrimRange{*result->suggestedStart, *result->suggestedEnd};
                outcome.review = !result->review.isEmpty();
                const QString key =
                    QStringLiteral("%1, %2").arg(QLatin1String(c.name), QLatin1String(s.name));
                count(tallies[key], outcome, clipTruth, name);
                Tally& all = tallies[QStringLiteral("%1, any sound").arg(QLatin1String(c.name))];
                count(all, outcome, clipTruth, name);
            }
        }
        ++index;
    }
    print("Tuning set", tuned);
    print("Held out", heldOut);
    return 0;
}
