#pragma once

#include "tests/support/MediaFixtures.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velarix::test {

// Splits a recording into chapter files the way an action camera does: at the first video key frame
// at or after each cut (seconds), every stream of each chapter starting at 0, the timecode of each
// chapter continuing from the previous one, and the movie's user data in every chapter. `chapters`
// names the files (one more than there are cuts). Gives an error text, empty on success.
QString splitIntoChapters(const QString& recording, const QStringList& chapters, const QList<double>& cuts);

// An action camera's recording: 12 s at 25 fps, a key frame a second, a timecode from 10:00:00:00,
// telemetry and the camera's user data.
ClipRecipe cameraRecording();
// Makes the recording as `recording` and splits it at 4 s and 8 s into the three `chapters`. Gives
// an error text, empty on success.
QString makeChapteredRecording(const QString& recording, const QStringList& chapters,
                               const ClipRecipe& recipe);

// Each packet of one stream of a file (index among the streams of that kind: "v", "a" or "d") as
// "pts_time size", read by ffprobe.
QStringList probePackets(const QString& path, const QString& selector);

} // namespace velarix::test
