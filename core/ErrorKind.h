#pragma once

#include <QString>

namespace velarix {

// The kinds of failure the project reasons about, whatever reported them: a cancellation is not a
// fault, a missing card file is not a damaged one, a full disk asks for another destination.
enum class ErrorKind {
    other,            // none of the below; the message tells
    cancelled,        // the user (or a deadline) stopped the work
    notFound,         // the file or folder is not there (any more)
    permissionDenied, // the user may not read or write it
    noSpace,          // the disk or the user's quota is full
    readOnly,         // the file system is mounted read-only
    invalidData,      // not media we can read, or damaged media
    busy,             // held or locked by another process
    io,               // the device failed to read or write (a pulled card, a bad sector)
};

// The kind of an errno value. The one place errno values are sorted into kinds.
ErrorKind errnoKind(int error);

// The reason a failure of the kind gives, in the user's language, worded to follow a colon in a
// message ("… could not be read: Permission denied").
QString errorKindText(ErrorKind kind);

} // namespace velarix
