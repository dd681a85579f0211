#pragma once

#include "core/Result.h"
#include "demo/SyntheticTelemetry.h"
#include "media/MediaOpen.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace velarix {

// What the camera's microphone makes of the jump.
enum class JumpAudio {
    Wind,    // cabin noise, loud wind in freefall, quiet under canopy
    Silent,  // digital silence
    Muffled, // the camera in a case: a steady hiss, the wind barely above it
    Music,   // music laid over the whole clip, as steady as the wind is not
    None,    // no audio track at all
};

// A made-up skydive for demos: the cabin (quiet), freefall from `exitTime` (loud wind, a turning
// horizon), the canopy opening at `openingTime` (a jolt of the picture, then quiet under canopy).
// Every field has a default, so that a jump names only what differs: {.duration = 20, .seed = 4}.
struct SyntheticJump {
    double duration = 40;
    double exitTime = 8;     // < 0: the clip starts in freefall
    double openingTime = 30; // > duration: no opening in this clip
    bool landing = false;    // the whole clip is a calm canopy ride down to the ground
    int width = 640;
    int height = 360;
    int framesPerSecond = 30;
    int videoStreams = 1; // two for a dual-lens 360 file
    QDateTime creationTime{};
    unsigned seed = 1;
    JumpAudio audio = JumpAudio::Wind;
    int audioSampleRate = 48'000;
    // The camera's sensors as a `gpmd` track; its duration, exit, opening and seed are the jump's.
    std::optional<JumpTelemetry> telemetry{};
    // Payloads written as they are, one a second, instead of `telemetry` (for damaged tracks).
    std::vector<QByteArray> telemetryPayloads{};
};

// Encodes the jump as H.264 (MPEG-4 Part 2 where libx264 is missing) and AAC into an MP4 file; ".360"
// and ".LRV" names are written as MP4 too.
Result<void> writeSyntheticJump(const QString& path, const SyntheticJump& jump,
                                const CancelToken* cancel = nullptr);

} // namespace velarix
