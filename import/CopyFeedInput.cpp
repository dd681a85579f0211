#include "import/CopyFeedInput.h"

namespace velarix {

namespace {

// The I/O context's callbacks: a read position over the feed.
struct FeedReader {
    std::shared_ptr<CopyFeed> feed;
    qint64 size = 0;
    qint64 position = 0;

    static int read(void* opaque, uint8_t* buffer, int size) {
        auto* self = static_cast<FeedReader*>(opaque);
        const auto n = self->feed->read(self->position, reinterpret_cast<char*>(buffer), size);
        if (!n)
            return n.isCancelled() ? AVERROR_EXIT : AVERROR(EIO);
        if (*n == 0)
            return AVERROR_EOF;
        self->position += *n;
        return int(*n);
    }

    static int64_t seek(void* opaque, int64_t offset, int whence) {
        auto* self = static_cast<FeedReader*>(opaque);
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return self->size;
        case SEEK_SET:
            break;
        case SEEK_CUR:
            offset += self->position;
            break;
        case SEEK_END:
            offset += self->size;
            break;
        default:
            return AVERROR(EINVAL);
        }
        if (offset < 0)
            return AVERROR(EINVAL);
        self->position = offset;
        return offset;
    }
};

} // namespace

Result<MediaInput> openCopyFeed(std::shared_ptr<CopyFeed> feed, const QString& name,
                                const OpenOptions& options) {
    const std::optional<qint64> size = feed->waitForSize();
    if (!size) // the copy never started: nothing to read
        return Error::cancellation();
    auto reader = std::make_shared<FeedReader>(FeedReader{std::move(feed), *size, 0});
    // The size the demuxer's skipping of discarded streams works best with, as for files.
    const int bufferSize = options.ioBufferSize > 0 ? options.ioBufferSize : 4096;
    av::CustomIoPtr io =
        av::allocCustomIo(bufferSize, false, reader.get(), &FeedReader::read, nullptr, &FeedReader::seek);
    if (!io)
        return Error::make(QStringLiteral("Media"), AVERROR(ENOMEM), QStringLiteral("Out of memory."));
    return openVideoAsset(name, std::move(io), std::move(reader), options);
}

} // namespace velarix
