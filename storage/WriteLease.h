#pragma once

#include "storage/PosixFile.h"

#include <QString>

namespace velarix {

// A read lease on a file: the kernel grants it only while no one has the file open for writing (a
// copy still running, a camera app still recording), and while it is held, a program opening the
// file for writing waits until it is given back (at most the system's lease-break time). Only the
// file's owner (or root) may take one, and not on every file system: then `unknownReason` says why
// and nothing is known.
class ReadLease {
public:
    static ReadLease take(const QString& path);
    ReadLease(ReadLease&&) noexcept = default;
    ReadLease& operator=(ReadLease&&) noexcept = default;
    ~ReadLease();

    bool held() const { return m_fd.valid(); }
    bool beingWritten() const { return m_beingWritten; }
    const QString& unknownReason() const { return m_unknownReason; }
    // Whether a program tried to open the file for writing while the lease was held.
    bool broken() const;
    // Gives the lease back now; a writer waiting for it goes on.
    void release();

private:
    ReadLease() = default;
    UniqueFd m_fd;
    bool m_beingWritten = false;
    QString m_unknownReason;
};

} // namespace velarix
