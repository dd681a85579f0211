#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velarix::test {

// Splits a recording into chapter files the way an action camera does: at the first video key frame
// at or after each cut (seconds), every stream of each chapter starting at 0, the timecode of each
// chapter continuing from the previous one, and the movie's user data in every chapter. `chapters`
// names the files (one more than there are cuts). Gives an error text, empty on success.
QString splitIntoChapters(const QString& recording, const QStringList& chapters, const QList<double>& cuts);

// Each packet of one stream of a file (index among the streams of that kind: "v", "a" or "d") as
// "pts_time size", read by ffprobe.
QStringList probePackets(const QString& path, const QString& selector);

} // namespace velarix::test
