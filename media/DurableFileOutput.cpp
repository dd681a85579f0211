#include "media/DurableFileOutput.h"

#include "media/TrimErrors.h"
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

constexpr int kBufferSize = 256 * 1024;
constexpr int64_t kWritebackStep = 16 * 1024 * 1024;

QString writeFailure(const QString& path, const QString& reason) {
    return QCoreApplication::translate("TrimExport", "Could not write the trimmed copy %1: %2")
        .arg(QFileInfo(path).fileName(), reason);
}

Error fileError(const QString& path, int error) {
    return trimSystemError(error, writeFailure(path, errnoText(error)));
}

} // namespace

Result<std::unique_ptr<DurableFileOutput>> DurableFileOutput::create(const QString& path) {
    std::unique_ptr<DurableFileOutput> output(new DurableFileOutput);
    output->m_path = path;
    output->m_fd =
        UniqueFd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!output->m_fd.valid())
        return fileError(path, errno);
    // Cancellation is seen by the muxer's interrupt callback; the writes finish what they were given.
    output->m_io = MediaIo::create(*output, MediaIo::Mode::write, kBufferSize, nullptr);
    if (!output->m_io)
        return fileError(path, ENOMEM);
    output->m_writeback.emplace(1, 2, [fd = output->m_fd.get()](Writeback&) {
        startWriteback(fd, 0, 0);
        return Result<void>();
    });
    return output;
}

// The writeback thread ends first (m_writeback is the last member): it uses the file.
DurableFileOutput::~DurableFileOutput() = default;

int DurableFileOutput::writeAt(qint64 position, const char* data, qint64 size) {
    for (qint64 done = 0; done < size;) {
        const ssize_t n = ::pwrite(m_fd.get(), data + done, size_t(size - done), off_t(position + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -errno;
        }
        done += n;
    }
    m_unsynced += size;
    if (m_unsynced >= kWritebackStep) {
        m_writeback->tryPush({});
        m_unsynced = 0;
    }
    return 0;
}

qint64 DurableFileOutput::size() {
    struct stat info {};
    return ::fstat(m_fd.get(), &info) == 0 ? qint64(info.st_size) : -errno;
}

Result<void> DurableFileOutput::finish() {
    avio_flush(m_io->context());
    m_writeback->stop();
    if (const int status = m_io->context()->error; status < 0)
        return trimMediaError(status, writeFailure(m_path, av::reasonText(status)));
    if (::fdatasync(m_fd.get()) != 0)
        return fileError(m_path, errno);
    return {};
}

} // namespace velarix
