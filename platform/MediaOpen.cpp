#include "platform/MediaOpen.h"

#include "platform/MediaStreams.h"

#include <QFile>
#include <QFileInfo>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Media");

} // namespace

// Our own read-only I/O context over a file: lets us choose the buffer size (a small buffer makes the
// demuxer's skipping of discarded streams really skip bytes) and count what was read.
struct MediaInput::FileIo {
    QFile file;
    qint64 bytesRead = 0;
    av::CustomIoPtr context;

    static int read(void* opaque, uint8_t* buffer, int size) {
        auto* self = static_cast<FileIo*>(opaque);
        const qint64 n = self->file.read(reinterpret_cast<char*>(buffer), size);
        if (n < 0)
            return AVERROR(EIO);
        if (n == 0)
            return AVERROR_EOF;
        self->bytesRead += n;
        return int(n);
    }

    static int64_t seek(void* opaque, int64_t offset, int whence) {
        auto* self = static_cast<FileIo*>(opaque);
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return self->file.size();
        case SEEK_SET:
            break;
        case SEEK_CUR:
            offset += self->file.pos();
            break;
        case SEEK_END:
            offset += self->file.size();
            break;
        default:
            return AVERROR(EINVAL);
        }
        return self->file.seek(offset) ? offset : AVERROR(EIO);
    }
};

MediaInput::MediaInput() = default;
MediaInput::MediaInput(MediaInput&&) noexcept = default;

MediaInput& MediaInput::operator=(MediaInput&& other) noexcept {
    // Same order as the destructor: the format context first.
    m_format = std::move(other.m_format);
    m_io = std::move(other.m_io);
    m_sourceIo = std::move(other.m_sourceIo);
    m_source = std::move(other.m_source);
    return *this;
}

MediaInput::~MediaInput() {
    // The format context refers to the I/O context: close it first.
    m_format.reset();
    m_io.reset();
}

qint64 MediaInput::bytesRead() const {
    return m_io ? m_io->bytesRead : -1;
}

bool isThreeSixtyFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("360"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("insv"), Qt::CaseInsensitive) == 0;
}

Result<MediaInput> openVideoAsset(const QString& path, const OpenOptions& options) {
    const QFileInfo info(path);
    if (!info.exists())
        return Error::make(kDomain, AVERROR(ENOENT), QStringLiteral("The file %1 does not exist.").arg(path));
    if (!info.isFile())
        return Error::make(kDomain, AVERROR(EISDIR), QStringLiteral("%1 is not a file.").arg(path));

    MediaInput input;
    if (options.ioBufferSize > 0) {
        input.m_io = std::make_unique<MediaInput::FileIo>();
        input.m_io->file.setFileName(path);
        if (!input.m_io->file.open(QIODevice::ReadOnly))
            return Error::make(
                kDomain, AVERROR(EACCES),
                QStringLiteral("%1 could not be read: %2").arg(path, input.m_io->file.errorString()));
        input.m_io->context =
            av::allocCustomIo(options.ioBufferSize, false, input.m_io.get(), &MediaInput::FileIo::read,
                              nullptr, &MediaInput::FileIo::seek);
        if (!input.m_io->context)
            return Error::make(kDomain, AVERROR(ENOMEM), QStringLiteral("Out of memory."));
    }
    AVIOContext* io = input.m_io ? input.m_io->context.get() : nullptr;
    return MediaInput::openFormat(std::move(input), io, path, options);
}

Result<MediaInput> openVideoAsset(const QString& name, av::CustomIoPtr io, std::shared_ptr<void> source,
                                  const OpenOptions& options) {
    MediaInput input;
    input.m_sourceIo = std::move(io);
    input.m_source = std::move(source);
    AVIOContext* context = input.m_sourceIo.get();
    return MediaInput::openFormat(std::move(input), context, name, options);
}

Result<MediaInput> MediaInput::openFormat(MediaInput input, AVIOContext* io, const QString& path,
                                          const OpenOptions& options) {
    av::FormatContextPtr allocated(avformat_alloc_context());
    if (!allocated)
        return Error::make(kDomain, AVERROR(ENOMEM), QStringLiteral("Out of memory."));
    allocated->interrupt_callback.callback = &CancelToken::interruptCallback;
    allocated->interrupt_callback.opaque = const_cast<CancelToken*>(options.cancel);
    if (io) {
        allocated->pb = io;
        allocated->flags |= AVFMT_FLAG_CUSTOM_IO;
    }

    const AVInputFormat* format = isThreeSixtyFile(path) ? av_find_input_format("mp4") : nullptr;
    const QByteArray encodedPath = QFile::encodeName(path);
    // avformat_open_input frees the context itself when it fails, so it is handed over, not owned.
    AVFormatContext* context = allocated.release();
    int status = avformat_open_input(&context, io ? nullptr : encodedPath.constData(), format, nullptr);
    if (status < 0) {
        if (isCancelled(options.cancel))
            return Error::cancellation();
        return Error::make(
            kDomain, status,
            QStringLiteral("%1 could not be opened as a video: %2").arg(path, av::errorText(status)));
    }
    input.m_format.reset(context);

    if (options.probeStreams) {
        status = avformat_find_stream_info(context, nullptr);
        if (status < 0) {
            if (isCancelled(options.cancel))
                return Error::cancellation();
            return Error::make(
                kDomain, status,
                QStringLiteral("%1 could not be read as a video: %2").arg(path, av::errorText(status)));
        }
    }
    return input;
}

Result<double> loadDuration(const QString& path) {
    auto input = openVideoAsset(path, OpenOptions{nullptr, 0, false});
    if (!input)
        return input.error();
    if (const double duration = containerDuration(input->get()); duration > 0)
        return duration;
    return Error::make(kDomain, AVERROR_INVALIDDATA, QStringLiteral("%1 has no known duration.").arg(path));
}

Result<int> readNextPacket(AVFormatContext* format, AVPacket* packet, const CancelToken* cancel) {
    for (;;) {
        if (isCancelled(cancel))
            return Error::cancellation();
        const int status = av_read_frame(format, packet);
        if (status == AVERROR(EAGAIN))
            continue;
        if (status < 0 && isCancelled(cancel))
            return Error::cancellation();
        return status;
    }
}

} // namespace velarix
