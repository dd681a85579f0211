#pragma once

#include <QString>
#include <QStringList>

namespace velarix::cli {

// A video named on the command line: one file, or the chapters of one recording.
struct NamedRecording {
    QString file;         // as the user named it (the first chapter for a recording)
    QStringList chapters; // every file, in order; one for an ordinary video
    QString error;        // why it is not taken (a later chapter named without its first), in English
    QString shownError;   // the same in the user's language
};

// Naming a recording's first chapter takes the chapters beside it with it, and a chapter named as
// well as its first one is part of that recording, not a video of its own. A later chapter named
// without its first is refused: its times would be the recording's, and trimming it would replace
// the first chapter and remove the others. One entry per recording, in the order named.
QList<NamedRecording> resolveNamedVideos(const QStringList& files);

// "GX010042.MP4" or "GX010042.MP4 (3 chapters)", in the user's language.
QString recordingLabel(const NamedRecording& recording);

} // namespace velarix::cli
