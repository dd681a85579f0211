#pragma once

#include "media/ChapterGroups.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velarix {

// Files a camera writes beside a video that belong to it: its second lens (dual-file 360 clips), a
// low-resolution proxy, or another sidecar (thumbnail, GPS subtitles, clip metadata).
enum class CompanionKind { lens, proxy, sidecar };

// Whether a file on a card is a companion by its name (a path, for the proxies known by their folder):
// proxies (.LRV, .LRF, a 360 camera's LRV_… files whatever their extension, and Sony's
// PRIVATE/M4ROOT/SUB/C0001S03.MP4), thumbnails (.THM), GPS subtitles (.SRT) and clip metadata
// (…M01.XML). Second lenses are videos by name; groupRecordingFiles tells them apart.
bool isCompanionFileName(const QString& fileName);
CompanionKind companionKind(const QString& fileName);

// The base names (no extension) of the videos a companion may belong to, most likely first:
// GL010042.LRV → GX010042, GH010042; C0001M01.XML → C0001; LRV_20261207_101500_11_001.lrv →
// VID_20261207_101500_00_001; VID_…_10_001.insv → VID_…_00_001; GX010042.THM → GX010042;
// …/M4ROOT/SUB/C0001S03.MP4 → C0001 (in …/M4ROOT/CLIP).
QStringList companionOwnerBases(const QString& fileName);

struct RecordingFiles {
    QList<QStringList> recordings; // chapters in order, as groupChapters gives them
    QList<QStringList> companions; // per recording, in name order
};

// Sorts a card's videos into recordings with their companions. A video that is the second lens of
// another beside it leaves the videos and becomes that one's companion; every companion goes to the
// recording of the video it belongs to in the same folder (compared without regard to letter case,
// as on the cards' file systems; Sony's proxies to the clip folder beside theirs). Companions without
// their video are logged and left out.
RecordingFiles groupRecordingFiles(const QStringList& videos, const QStringList& companions,
                                   const StreamSignatureProbe& probe);

// The chapter of `chapters` that `companion` belongs to by name; the first when none does.
QString companionOwner(const QStringList& chapters, const QString& companion);

// Where a companion is imported: `plannedName` is where its owner goes (relative to the destination).
// The companion follows its owner: the owner's base name in the planned name becomes the
// companion's, and the extension is the companion's ("12 GX010042.MP4" → "12 GL010042.LRV"). When the
// pattern does not hold the owner's name, the planned name takes the companion's name as a suffix
// ("Jump 12.MP4" → "Jump 12 GL010042.LRV"), or only its extension when the base names are the same
// ("Jump 12.THM").
QString companionDestination(const QString& plannedName, const QString& owner, const QString& companion);

} // namespace velarix
