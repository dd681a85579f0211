#pragma once

#include "platform/Result.h"

#include <QString>

namespace velarix {

// Whether another program has the file open for writing (a copy still running, a camera app still
// recording). Asks the kernel for a read lease, which it refuses (EAGAIN) while any such descriptor
// exists, and gives the lease back at once. Errors only where the kernel cannot tell (a file system
// without leases, or a file we neither own nor may lease): then the answer is false with a reason.
struct WriterCheck {
    bool beingWritten = false;
    QString unknownReason; // set when no lease could be asked for
};
WriterCheck checkForWriters(const QString& path);

} // namespace velarix
