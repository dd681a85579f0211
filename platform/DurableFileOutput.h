#pragma once

#include "platform/AvPtr.h"
#include "platform/Result.h"

#include <QString>

namespace velarix {

// A file written through libav that starts its own writeback as it goes, so that making it durable
// at the end (finish()) hardly waits: the disk writes while the muxer still produces data.
class DurableFileOutput {
public:
    static Result<std::unique_ptr<DurableFileOutput>> create(const QString& path);
    ~DurableFileOutput();

    AVIOContext* context() const { return m_context; }
    // Flushes libav's buffer and waits until the data is on the disk.
    Result<void> finish();

private:
    DurableFileOutput() = default;
    static int write(void* opaque, uint8_t* data, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);

    QString m_path;
    int m_fd = -1;
    AVIOContext* m_context = nullptr;
    int64_t m_unsynced = 0; // bytes written since writeback was last started
};

} // namespace velarix
