#pragma once

#include "core/Result.h"
#include "storage/PosixFile.h"

#include <QByteArray>

#include <memory>

namespace velarix {

// A hidden file in the destination folder that a copy or a join is written into; removed unless it
// was given its final name. It stays locked while it is written, so that removeStaleTemporaries (in
// this or another process) can tell a live one from one whose process died.
class TemporaryFile {
public:
    TemporaryFile(int dirFd, QByteArray name, UniqueFd fd)
        : m_dirFd(dirFd)
        , m_name(std::move(name))
        , m_fd(std::move(fd)) {}
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd.get(); }
    const QByteArray& name() const { return m_name; }
    Result<void> close() { return m_fd.close(); }
    void published() { m_published = true; }

private:
    int m_dirFd;
    QByteArray m_name;
    UniqueFd m_fd;
    bool m_published = false;
};

// Whether a folder entry is such a temporary file.
bool isTemporaryName(const QByteArray& name);

// Creates and locks a new temporary file in the folder open as `dirFd`.
Result<std::unique_ptr<TemporaryFile>> createTemporary(int dirFd);

} // namespace velarix
