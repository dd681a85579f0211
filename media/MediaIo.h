#pragma once

#include "core/CancelToken.h"
#include "media/AvPtr.h"

#include <QtGlobal>

#include <memory>

namespace velarix {

// The bytes behind a custom libav I/O context: a file, a window of direct reads, a writer. Positions
// are absolute (the adapter keeps the current one), failures negative errno values.
class ByteAccess {
public:
    virtual ~ByteAccess() = default;
    // Up to `size` bytes at `position` into `buffer`: how many, 0 at the end, or -errno.
    virtual qint64 readAt(qint64 position, char* buffer, qint64 size);
    // All of `size` bytes at `position`: 0, or -errno.
    virtual int writeAt(qint64 position, const char* data, qint64 size);
    // The size in bytes, or -errno.
    virtual qint64 size() = 0;
};

// One libav custom I/O context over a ByteAccess, which must outlive it. It owns the context and its
// buffer, and speaks libav's terms for the bytes: AVERROR_EOF at the end, AVERROR_EXIT once the token
// is cancelled, AVERROR(errno) for a failure, AVSEEK_SIZE and the three origins of a seek.
// A format context that uses it refers to it: free the format context first.
class MediaIo {
public:
    enum class Mode { read, write };

    // Null when out of memory.
    static std::unique_ptr<MediaIo> create(ByteAccess& bytes, Mode mode, int bufferSize,
                                           const CancelToken* cancel);
    MediaIo(const MediaIo&) = delete;
    MediaIo& operator=(const MediaIo&) = delete;

    AVIOContext* context() const { return m_context.get(); }
    // Makes it the format context's I/O, which then neither opens nor closes a file of its own.
    void attach(AVFormatContext* format) const;
    // Bytes read through it so far.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    MediaIo(ByteAccess& bytes, const CancelToken* cancel)
        : m_bytes(bytes)
        , m_cancel(cancel) {}
    static int read(void* opaque, uint8_t* buffer, int size);
    static int write(void* opaque, uint8_t* data, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);

    ByteAccess& m_bytes;
    const CancelToken* m_cancel;
    qint64 m_position = 0;
    qint64 m_bytesRead = 0;
    av::CustomIoPtr m_context;
};

// Lets the token stop the format context's blocking calls; the token must outlive the context.
void watchCancellation(AVFormatContext* format, const CancelToken* cancel);

} // namespace velarix
