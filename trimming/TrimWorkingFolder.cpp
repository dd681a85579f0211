#include "trimming/TrimWorkingFolder.h"

#include "platform/AppPaths.h"
#include "platform/Log.h"
#include "platform/PosixFile.h"
#include "platform/TrimErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

// An exclusive lock on the folder itself, held while the descriptor is open; none (and errno set) when
// it cannot be had.
UniqueFd lockFolder(const QString& path, bool wait) {
    UniqueFd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid() && ::flock(fd.get(), LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        const int error = errno;
        fd = UniqueFd();
        errno = error;
    }
    return fd;
}

QString registryEntry(const QString& folderPath) {
    const QString name = QFileInfo(folderPath).fileName().mid(TrimWorkingFolder::namePrefix().size());
    return trimWorkingFolderRegistry() + u'/' + name;
}

// Our working folders only: a folder named by the prefix and a UUID.
bool isWorkingFolderName(const QString& name) {
    return name.startsWith(TrimWorkingFolder::namePrefix()) &&
           !QUuid::fromString(name.mid(TrimWorkingFolder::namePrefix().size())).isNull();
}

// True when the folder went (or was already gone); false while a running trim holds it.
bool removeUnlessHeld(const QString& path) {
    const UniqueFd lock = lockFolder(path, false);
    if (!lock.valid())
        return errno == ENOENT;
    const bool removed = QDir(path).removeRecursively();
    if (removed)
        qCInfo(lcApp, "Removed a trimming working folder left behind: %s", qPrintable(path));
    return removed;
}

} // namespace

QString trimWorkingFolderRegistry() {
    return AppPaths::dataDirectory() + QStringLiteral("/trim-working-folders");
}

QString TrimWorkingFolder::namePrefix() {
    return QStringLiteral(".velarix-trim-");
}

Result<TrimWorkingFolder> TrimWorkingFolder::create(const QString& besidePath) {
    const QFileInfo beside(besidePath);
    const QString name = namePrefix() + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString path = beside.absoluteDir().filePath(name);
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0) {
        const int error = errno;
        return trimError(error, QStringLiteral("Could not create a working folder next to %1: %2")
                                    .arg(beside.fileName(), errnoText(error)));
    }
    UniqueFd lock = lockFolder(path, true);
    // Without the entry only the next trim in this folder would clean up after a crash.
    if (!QDir().mkpath(trimWorkingFolderRegistry()) ||
        ::symlink(QFile::encodeName(path).constData(), QFile::encodeName(registryEntry(path)).constData()) !=
            0)
        qCInfo(lcApp, "Could not list the trimming working folder %s: %s", qPrintable(path),
               qPrintable(errnoText(errno)));
    return TrimWorkingFolder(path, std::move(lock));
}

TrimWorkingFolder::TrimWorkingFolder(TrimWorkingFolder&& other) noexcept
    : m_path(std::exchange(other.m_path, QString()))
    , m_lock(std::move(other.m_lock)) {}

TrimWorkingFolder::~TrimWorkingFolder() {
    if (!m_path.isEmpty()) {
        if (QDir(m_path).removeRecursively())
            ::unlink(QFile::encodeName(registryEntry(m_path)).constData());
        else
            qCWarning(lcApp, "Could not remove the trimming working folder %s", qPrintable(m_path));
    }
    // The lock is let go after the folder went (m_lock closes after this body).
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
        if (!isWorkingFolderName(entry.fileName()))
            continue;
        if (removeUnlessHeld(entry.absoluteFilePath())) {
            ++removed;
            ::unlink(QFile::encodeName(registryEntry(entry.absoluteFilePath())).constData());
        }
    }
    return removed;
}

int removeAbandonedTrimFolders() {
    const QDir registry(trimWorkingFolderRegistry());
    int removed = 0;
    const auto entries =
        registry.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QByteArray link = QFile::encodeName(entry.absoluteFilePath());
        const QFileInfo folder(entry.isSymLink() ? entry.symLinkTarget() : QString());
        // Only an entry that names one of our folders by its own UUID leads to a removal.
        const bool ours = folder.fileName() == TrimWorkingFolder::namePrefix() + entry.fileName() &&
                          isWorkingFolderName(folder.fileName());
        if (!ours || !folder.exists()) {
            ::unlink(link.constData());
        } else if (folder.isDir() && !folder.isSymLink() && removeUnlessHeld(folder.filePath())) {
            ++removed;
            ::unlink(link.constData());
        }
    }
    return removed;
}

} // namespace velarix
