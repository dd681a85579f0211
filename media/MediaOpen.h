#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "media/AvPtr.h"
#include "media/MediaIo.h"

#include <QString>

#include <memory>

namespace velarix {

// Whether a file name has the ".360" or ".insv" extension (any letter case): 360 cameras' files,
// MPEG-4 inside, which are opened as such whatever else their bytes might look like.
bool isThreeSixtyFile(const QString& path);

struct OpenOptions {
    const CancelToken* cancel = nullptr; // watched by the context's interrupt callback
    int ioBufferSize = 0;                // > 0: read through our own I/O context with this buffer size
    bool probeStreams = true;            // false: the container header only (no avformat_find_stream_info)
};

// An opened input file. With a custom I/O context the context is owned here and freed after the
// format context, which refers to it.
class MediaInput {
public:
    MediaInput();
    MediaInput(MediaInput&&) noexcept;
    MediaInput& operator=(MediaInput&&) noexcept;
    ~MediaInput();

    AVFormatContext* get() const { return m_format.get(); }
    AVFormatContext* operator->() const { return m_format.get(); }
    // Bytes the I/O layer actually read from the file (custom I/O only, else -1).
    qint64 bytesRead() const;

private:
    friend Result<MediaInput> openVideoAsset(const QString&, const OpenOptions&);
    friend Result<MediaInput> openVideoAsset(const QString&, std::shared_ptr<ByteAccess>, const OpenOptions&);
    // The container of `input`, read through `io` (null: from the file at `path`).
    static Result<MediaInput> openFormat(MediaInput input, AVIOContext* io, const QString& path,
                                         const OpenOptions& options);
    struct FileIo;
    std::unique_ptr<FileIo> m_io;
    // Another source of bytes, and the I/O context over it.
    std::shared_ptr<ByteAccess> m_source;
    std::unique_ptr<MediaIo> m_sourceIo;
    av::FormatContextPtr m_format;
};

// Opens a video file for demuxing; a ".360" file is opened with the MP4 demuxer forced.
// Errors are in the domain "Media" with the libav status as their code, its kind, and the reason in
// words: a missing file, no permission, not a video.
Result<MediaInput> openVideoAsset(const QString& path, const OpenOptions& options = {});

// Opens a video whose bytes are read from `source`, the input's from now on. `name` names it in
// errors; `options.ioBufferSize` sets the I/O buffer (a default when 0).
Result<MediaInput> openVideoAsset(const QString& name, std::shared_ptr<ByteAccess> source,
                                  const OpenOptions& options);

// The container's duration in seconds from the header (no stream probing); an error when unknown.
Result<double> loadDuration(const QString& path);

// The next packet of `format` into `packet`, going on past EAGAIN: 0 for a packet, AVERROR_EOF at
// the end, another negative libav status for a read error. A cancellation is an error, also when it
// is what broke the read.
Result<int> readNextPacket(AVFormatContext* format, AVPacket* packet, const CancelToken* cancel);

} // namespace velarix
