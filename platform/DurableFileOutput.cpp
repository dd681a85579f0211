#include "platform/DurableFileOutput.h"

#include "platform/PosixFile.h"
#include "platform/TrimErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

constexpr int kBufferSize = 256 * 1024;
constexpr int64_t kWritebackStep = 16 * 1024 * 1024;

Error fileError(const QString& path, int error) {
    return trimError(AVERROR(error), QStringLiteral("Could not write the trimmed copy %1: %2")
                                         .arg(QFileInfo(path).fileName(), errnoText(error)));
}

} // namespace

Result<std::unique_ptr<DurableFileOutput>> DurableFileOutput::create(const QString& path) {
    std::unique_ptr<DurableFileOutput> output(new DurableFileOutput);
    output->m_path = path;
    output->m_fd =
        UniqueFd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!output->m_fd.valid())
        return fileError(path, errno);
    output->m_context = av::allocCustomIo(kBufferSize, true, output.get(), nullptr, &DurableFileOutput::write,
                                          &DurableFileOutput::seek);
    if (!output->m_context)
        return fileError(path, ENOMEM);
    output->m_writeback.emplace(1, 2, [fd = output->m_fd.get()](Writeback&) {
        startWriteback(fd, 0, 0);
        return Result<void>();
    });
    return output;
}

// The writeback thread ends first (m_writeback is the last member): it uses the file.
DurableFileOutput::~DurableFileOutput() = default;

int DurableFileOutput::write(void* opaque, uint8_t* data, int size) {
    auto* self = static_cast<DurableFileOutput*>(opaque);
    for (int done = 0; done < size;) {
        const ssize_t n = ::write(self->m_fd.get(), data + done, size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return AVERROR(errno);
        }
        done += int(n);
    }
    self->m_unsynced += size;
    if (self->m_unsynced >= kWritebackStep) {
        self->m_writeback->tryPush({});
        self->m_unsynced = 0;
    }
    return size;
}

int64_t DurableFileOutput::seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<DurableFileOutput*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat info {};
        return ::fstat(self->m_fd.get(), &info) == 0 ? int64_t(info.st_size) : AVERROR(errno);
    }
    const off_t position = ::lseek(self->m_fd.get(), offset, whence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : int64_t(position);
}

Result<void> DurableFileOutput::finish() {
    avio_flush(m_context.get());
    m_writeback->stop();
    if (m_context->error < 0)
        return trimError(m_context->error,
                         QStringLiteral("Could not write the trimmed copy %1: %2")
                             .arg(QFileInfo(m_path).fileName(), av::errorText(m_context->error)));
    if (::fdatasync(m_fd.get()) != 0)
        return fileError(m_path, errno);
    return {};
}

} // namespace velarix
