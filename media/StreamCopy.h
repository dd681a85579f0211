#pragma once

#include "media/AvPtr.h"

#include <QString>

namespace velarix {

// A new stream of `output` for the packets of `input` as they are: its codec parameters, with the
// source's codec tag where the output format pairs that tag with the codec, and its time base. Null
// when out of memory.
AVStream* addCopiedStream(AVFormatContext* output, const AVStream* input);

// The writer of a stream copy of `sourcePath`: QuickTime ("mov") for a `.mov` file, so that it stays
// one, MP4 ("mp4") for the rest (`.mp4`, `.360`, `.insv`).
const char* streamCopyFormatName(const QString& sourcePath);
bool isQuickTimeOutput(const AVFormatContext* output);

// A data track (telemetry of any maker) the QuickTime writer carries under the source's own tag:
// its codec table has none for data, so the copy must be given the tag.
bool carriedUnderOwnTag(const AVFormatContext* output, const AVCodecParameters* parameters);

// A QuickTime timecode track: its one sample holds the frame number at the track's start. The MP4
// muxer cannot describe it; it is written as data and its description put back afterwards
// (carryOverMovieUserData).
bool isTimecodeTrack(const AVCodecParameters* parameters);

// Copies what describes a stream beyond its codec: metadata, disposition, frame rates, sample aspect
// ratio and side data (the display matrix among it).
void copyStreamProperties(const AVStream* input, AVStream* output);

} // namespace velarix
