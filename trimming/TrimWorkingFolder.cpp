#include "trimming/TrimWorkingFolder.h"

#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

// An exclusive lock on the folder itself; -1 when it cannot be had.
int lockFolder(const QString& path, bool wait) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString TrimWorkingFolder::namePrefix() {
    return QStringLiteral(".velarix-trim-");
}

Result<TrimWorkingFolder> TrimWorkingFolder::create(const QString& besidePath) {
    const QFileInfo beside(besidePath);
    const QString name = namePrefix() + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString path = beside.absoluteDir().filePath(name);
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0) {
        const int error = errno;
        return Error::make(QStringLiteral("VideoTrimming"), error,
                           QStringLiteral("Could not create a working folder next to %1: %2")
                               .arg(beside.fileName(), QString::fromLocal8Bit(std::strerror(error))));
    }
    const int fd = lockFolder(path, true);
    return TrimWorkingFolder(path, fd);
}

TrimWorkingFolder::TrimWorkingFolder(TrimWorkingFolder&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_lockFd(other.m_lockFd) {
    other.m_path.clear();
    other.m_lockFd = -1;
}

TrimWorkingFolder::~TrimWorkingFolder() {
    if (!m_path.isEmpty() && !QDir(m_path).removeRecursively())
        qCWarning(lcApp, "Could not remove the trimming working folder %s", qPrintable(m_path));
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString TrimWorkingFolder::filePath(const QString& name) const {
    return QDir(m_path).filePath(name);
}

int removeLeftoverTrimFolders(const QString& fileOrFolder) {
    const QFileInfo info(fileOrFolder);
    const QDir folder = info.isDir() ? QDir(info.absoluteFilePath()) : info.absoluteDir();
    int removed = 0;
    const auto entries =
        folder.entryInfoList({TrimWorkingFolder::namePrefix() + QLatin1Char('*')},
                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (QUuid::fromString(entry.fileName().mid(TrimWorkingFolder::namePrefix().size())).isNull())
            continue;
        const int fd = lockFolder(entry.absoluteFilePath(), false);
        if (fd < 0)
            continue; // still in use by a running trim
        if (QDir(entry.absoluteFilePath()).removeRecursively()) {
            ++removed;
            qCInfo(lcApp, "Removed a trimming working folder left behind: %s",
                   qPrintable(entry.absoluteFilePath()));
        }
        ::close(fd);
    }
    return removed;
}

} // namespace velarix
