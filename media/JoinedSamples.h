#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "media/MediaOpen.h"

#include <QString>

#include <atomic>
#include <memory>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/avutil.h>
}

namespace velarix {

// The sound's and the telemetry's samples of a joined recording, kept as the join writes them, so
// that its analysis need not read the joined file again. A joined file's index is written last, so a
// reader cannot follow the join as it follows a copy; instead, once the file is written, a demuxer
// reads its index from the disk and every sample of those streams from here. The samples of the
// other streams (the picture, most of the bytes) are never read.
class JoinedSamples {
public:
    // Beyond this nothing more is kept, and the joined file is analysed the ordinary way.
    static constexpr qint64 kLimit = 256 * 1024 * 1024;

    JoinedSamples() = default;
    JoinedSamples(const JoinedSamples&) = delete;
    JoinedSamples& operator=(const JoinedSamples&) = delete;

    // The join's side, on its thread.
    // Whether the samples of an output stream of this type are kept.
    static bool keeps(AVMediaType type);
    // A packet as it is written to output stream `stream`.
    void keep(int stream, const AVPacket* packet);
    // The join's outcome: the joined file's name, or why there is none. Only the first counts.
    void end(Result<QString> named);

    // The reader's side, once the join has ended.
    Result<QString> waitForName();
    // Opens the joined file at `path` with the kept samples read from here, once: they go with the
    // input. Fails where the file's index does not list exactly the samples kept.
    Result<MediaInput> open(const QString& path, const OpenOptions& options);
    // Bytes read from the file on the disk through what open() gave: its headers and index.
    qint64 bytesReadFromDisk() const;

private:
    struct Stream {
        int index = -1;
        std::vector<qint64> starts; // where each kept sample begins in `bytes`
        std::vector<char> bytes;
    };
    struct Served;
    Result<void> placeSamples(Served& served, const QString& path, const OpenOptions& options);

    std::vector<Stream> m_streams;
    qint64 m_kept = 0;
    bool m_overflowed = false;
    bool m_opened = false;
    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    std::optional<Result<QString>> m_outcome;
    std::shared_ptr<std::atomic<qint64>> m_fromDisk;
};

} // namespace velarix
