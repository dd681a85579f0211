#pragma once

#include "core/Result.h"
#include "core/WorkerQueue.h"
#include "media/MediaIo.h"
#include "storage/PosixFile.h"

#include <QString>

#include <optional>

namespace velarix {

// A file written through libav that has its writeback started as it goes, so that making it durable
// at the end (finish()) hardly waits: the disk writes while the muxer still produces data. Starting
// writeback allocates blocks in the calling thread, so a thread of its own does that, off the muxer's.
class DurableFileOutput final : ByteAccess {
public:
    static Result<std::unique_ptr<DurableFileOutput>> create(const QString& path);
    ~DurableFileOutput();

    AVIOContext* context() const { return m_io->context(); }
    void attach(AVFormatContext* format) const { m_io->attach(format); }
    // Flushes libav's buffer and waits until the data is on the disk.
    Result<void> finish();

private:
    DurableFileOutput() = default;
    int writeAt(qint64 position, const char* data, qint64 size) override;
    qint64 size() override;

    QString m_path;
    UniqueFd m_fd;
    std::unique_ptr<MediaIo> m_io; // writes to m_fd, so it goes first
    int64_t m_unsynced = 0;        // bytes written since writeback was last requested
    // One writeback running and one more wanted, at most: requests made meanwhile are one.
    struct Writeback {};
    std::optional<WorkerQueue<Writeback>> m_writeback;
};

} // namespace velarix
