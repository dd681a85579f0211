#include "core/ErrorKind.h"

#include <QCoreApplication>

#include <cerrno>

namespace velarix {

ErrorKind errnoKind(int error) {
    switch (error) {
    case 0:
        return ErrorKind::other;
    case ECANCELED:
        return ErrorKind::cancelled;
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
        return ErrorKind::notFound;
    case EACCES:
    case EPERM:
        return ErrorKind::permissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorKind::noSpace;
    case EROFS:
        return ErrorKind::readOnly;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return ErrorKind::busy;
    case EIO:
    case EFAULT: // a mapped page of a pulled card
    case ENOMEDIUM:
    case EREMOTEIO:
        return ErrorKind::io;
    default:
        return ErrorKind::other;
    }
}

QString errorKindText(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::cancelled:
        return QCoreApplication::translate("Errors", "Cancelled");
    case ErrorKind::notFound:
        return QCoreApplication::translate("Errors", "No such file or folder");
    case ErrorKind::permissionDenied:
        return QCoreApplication::translate("Errors", "Permission denied");
    case ErrorKind::noSpace:
        return QCoreApplication::translate("Errors", "No space left on the disk");
    case ErrorKind::readOnly:
        return QCoreApplication::translate("Errors", "The disk is read-only");
    case ErrorKind::invalidData:
        return QCoreApplication::translate("Errors", "Not a video Velarix can read, or a damaged one");
    case ErrorKind::busy:
        return QCoreApplication::translate("Errors", "In use by another program");
    case ErrorKind::io:
        return QCoreApplication::translate("Errors", "The device failed to read or write");
    case ErrorKind::other:
        break;
    }
    return QCoreApplication::translate("Errors", "Failed");
}

} // namespace velarix
