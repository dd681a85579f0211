#include "media/MediaIo.h"

#include <cerrno>

namespace velarix {

qint64 ByteAccess::readAt(qint64, char*, qint64) {
    return -EBADF;
}

int ByteAccess::writeAt(qint64, const char*, qint64) {
    return -EBADF;
}

std::unique_ptr<MediaIo> MediaIo::create(ByteAccess& bytes, Mode mode, int bufferSize,
                                         const CancelToken* cancel) {
    std::unique_ptr<MediaIo> io(new MediaIo(bytes, cancel));
    // Ours until the context takes it over.
    std::unique_ptr<uint8_t, av::Deleter<&av_freep>> buffer(
        static_cast<uint8_t*>(av_malloc(size_t(bufferSize))));
    if (!buffer)
        return nullptr;
    const bool writing = mode == Mode::write;
    io->m_context.reset(avio_alloc_context(buffer.get(), bufferSize, writing ? 1 : 0, io.get(),
                                           writing ? nullptr : &MediaIo::read,
                                           writing ? &MediaIo::write : nullptr, &MediaIo::seek));
    if (!io->m_context)
        return nullptr;
    buffer.release();
    return io;
}

void MediaIo::attach(AVFormatContext* format) const {
    format->pb = m_context.get();
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
}

int MediaIo::read(void* opaque, uint8_t* buffer, int size) {
    auto* self = static_cast<MediaIo*>(opaque);
    if (isCancelled(self->m_cancel))
        return AVERROR_EXIT;
    const qint64 n = self->m_bytes.readAt(self->m_position, reinterpret_cast<char*>(buffer), size);
    if (n < 0)
        return AVERROR(int(-n));
    if (n == 0)
        return AVERROR_EOF;
    self->m_position += n;
    self->m_bytesRead += n;
    return int(n);
}

int MediaIo::write(void* opaque, uint8_t* data, int size) {
    auto* self = static_cast<MediaIo*>(opaque);
    if (isCancelled(self->m_cancel))
        return AVERROR_EXIT;
    if (const int status = self->m_bytes.writeAt(self->m_position, reinterpret_cast<const char*>(data), size);
        status < 0)
        return AVERROR(-status);
    self->m_position += size;
    return size;
}

int64_t MediaIo::seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<MediaIo*>(opaque);
    qint64 target = offset;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: {
        const qint64 size = self->m_bytes.size();
        return size < 0 ? AVERROR(int(-size)) : size;
    }
    case SEEK_SET:
        break;
    case SEEK_CUR:
        target += self->m_position;
        break;
    case SEEK_END: {
        const qint64 size = self->m_bytes.size();
        if (size < 0)
            return AVERROR(int(-size));
        target += size;
        break;
    }
    default:
        return AVERROR(EINVAL);
    }
    if (target < 0)
        return AVERROR(EINVAL);
    self->m_position = target;
    return target;
}

void watchCancellation(AVFormatContext* format, const CancelToken* cancel) {
    format->interrupt_callback.callback = &CancelToken::interruptCallback;
    format->interrupt_callback.opaque = const_cast<CancelToken*>(cancel);
}

} // namespace velarix
