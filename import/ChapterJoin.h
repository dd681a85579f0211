#pragma once

#include "core/Result.h"
#include "media/MediaOpen.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace velarix {

class JoinedSamples;
class RegionVerifier;

struct JoinControl {
    const CancelToken* cancel = nullptr; // asked between packets and by blocked reads and writes
    // Given the samples' bytes as they are written, to read them back behind the writer; finished by
    // the caller, whose verdict verifyJoin takes.
    RegionVerifier* verifier = nullptr;
    // Bytes of the chapters read so far and in all; called on the joining thread.
    std::function<void(qint64 done, qint64 total)> progress;
    // Keeps the sound's and the telemetry's packets as they are written.
    JoinedSamples* samples = nullptr;
};

// What was written, for checking the file against it once it is on the disk.
struct JoinOutcome {
    struct Stream {
        int64_t packets = 0;
        quint64 digest = 0; // XXH3 of the XXH3 of each packet's bytes, in order
        AVCodecID codec = AV_CODEC_ID_NONE;
    };
    // One write of the muxer: a packet's bytes, or header bytes.
    struct Piece {
        int64_t position = 0;
        int64_t size = 0;
        quint64 digest = 0; // XXH3 of its bytes
    };
    std::vector<Stream> streams; // the output's streams in order
    // The muxer's writes before its index, in file order, and where the index begins: the samples
    // lie there, so that once those bytes are read back (RegionVerifier) the index need only point
    // at the pieces that were the packets.
    std::vector<Piece> pieces;
    int64_t samplesEnd = 0;
    double duration = 0; // seconds, the longest stream's presentation end
    QString timecode;    // the first chapter's, which the output's timecode track starts at
};

// Joins the chapters of one recording, in order, into an MP4 file written to `outputFd` (an empty
// file open for writing; `outputPath` names it). Every stream MP4 can carry is stream-copied: video,
// audio, telemetry (`gpmd`), with the camera's codec tags and the first chapter's metadata and movie
// user data; the timecode track keeps the first chapter's description (its handler, flags and frame
// count), each chapter's timecode sample where the chapter begins. Each stream's
// timestamps go on where the same stream of the previous chapter ended, so there is neither a gap nor
// a jump between sound and picture. Each chapter is read once; memory stays bounded. The file is
// flushed to the disk before this returns.
Result<JoinOutcome> joinChapters(const QStringList& chapters, int outputFd, const QString& outputPath,
                                 const JoinControl& control);

// Reads the joined file back from the disk (its cached pages dropped first) and checks that it holds
// the same streams, the same packets byte for byte, the same duration and timecode as was written.
// With `samplesReadBack` (the bytes before `samplesEnd` were read back and matched what was written),
// only the header is read: each sample its index lists must be one of the written packets.
Result<void> verifyJoin(int fd, const QString& path, const JoinOutcome& expected, const CancelToken* cancel,
                        bool samplesReadBack = false);

} // namespace velarix
