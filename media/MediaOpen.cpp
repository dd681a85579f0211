#include "media/MediaOpen.h"

#include "media/MediaStreams.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Media");

Error mediaError(int status, const QString& message) {
    return Error::make(kDomain, status, message, avErrorKind(status));
}

Error outOfMemory() {
    return Error::make(kDomain, AVERROR(ENOMEM), QCoreApplication::translate("Media", "Out of memory."));
}

} // namespace

// Our own read-only I/O over a file: lets us choose the buffer size (a small buffer makes the
// demuxer's skipping of discarded streams really skip bytes) and count what was read.
struct MediaInput::FileIo final : ByteAccess {
    UniqueFd fd;
    std::unique_ptr<MediaIo> io;

    qint64 readAt(qint64 position, char* buffer, qint64 size) override {
        for (;;) {
            const ssize_t n = ::pread(fd.get(), buffer, size_t(size), off_t(position));
            if (n >= 0)
                return n;
            if (errno != EINTR)
                return -errno;
        }
    }
    qint64 size() override {
        struct stat info {};
        return ::fstat(fd.get(), &info) == 0 ? qint64(info.st_size) : -errno;
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
    m_sourceIo.reset();
}

qint64 MediaInput::bytesRead() const {
    return m_io ? m_io->io->bytesRead() : -1;
}

bool isThreeSixtyFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("360"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("insv"), Qt::CaseInsensitive) == 0;
}

Result<MediaInput> openVideoAsset(const QString& path, const OpenOptions& options) {
    const QFileInfo info(path);
    if (!info.exists())
        return mediaError(AVERROR(ENOENT),
                          QCoreApplication::translate("Media", "The file %1 does not exist.").arg(path));
    if (!info.isFile())
        return mediaError(AVERROR(EISDIR),
                          QCoreApplication::translate("Media", "%1 is not a file.").arg(path));

    MediaInput input;
    if (options.ioBufferSize > 0) {
        input.m_io = std::make_unique<MediaInput::FileIo>();
        auto opened = openPath(path, O_RDONLY);
        if (!opened)
            return mediaError(AVERROR(opened.error().code),
                              QCoreApplication::translate("Media", "%1 could not be read: %2")
                                  .arg(path, opened.error().message));
        input.m_io->fd = std::move(*opened);
        input.m_io->io =
            MediaIo::create(*input.m_io, MediaIo::Mode::read, options.ioBufferSize, options.cancel);
        if (!input.m_io->io)
            return outOfMemory();
    }
    AVIOContext* io = input.m_io ? input.m_io->io->context() : nullptr;
    return MediaInput::openFormat(std::move(input), io, path, options);
}

Result<MediaInput> openVideoAsset(const QString& name, std::shared_ptr<ByteAccess> source,
                                  const OpenOptions& options) {
    MediaInput input;
    // The size the demuxer's skipping of discarded streams works best with, as for files.
    const int bufferSize = options.ioBufferSize > 0 ? options.ioBufferSize : 4096;
    input.m_sourceIo = MediaIo::create(*source, MediaIo::Mode::read, bufferSize, options.cancel);
    if (!input.m_sourceIo)
        return outOfMemory();
    input.m_source = std::move(source);
    AVIOContext* context = input.m_sourceIo->context();
    return MediaInput::openFormat(std::move(input), context, name, options);
}

Result<MediaInput> MediaInput::openFormat(MediaInput input, AVIOContext* io, const QString& path,
                                          const OpenOptions& options) {
    av::FormatContextPtr allocated(avformat_alloc_context());
    if (!allocated)
        return outOfMemory();
    watchCancellation(allocated.get(), options.cancel);
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
        return mediaError(status,
                          QCoreApplication::translate("Media", "%1 could not be opened as a video: %2")
                              .arg(path, av::reasonText(status)));
    }
    input.m_format.reset(context);

    if (options.probeStreams) {
        status = avformat_find_stream_info(context, nullptr);
        if (status < 0) {
            if (isCancelled(options.cancel))
                return Error::cancellation();
            return mediaError(status,
                              QCoreApplication::translate("Media", "%1 could not be read as a video: %2")
                                  .arg(path, av::reasonText(status)));
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
    return mediaError(AVERROR_INVALIDDATA,
                      QCoreApplication::translate("Media", "%1 has no known duration.").arg(path));
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
