#include "trimming/TrimWorkingFolder.h"

#include "desktop/AppPaths.h"
#include "media/TrimErrors.h"
#include "storage/PosixFile.h"
#include "trimming/TrimRecovery.h"
#include "trimming/TrimmingLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>

namespace velarix {

namespace {

// An exclusive lock on the folder itself, held while the descriptor is open.
Result<UniqueFd> lockFolder(const QString& path, bool wait) {
    auto fd = openPath(path, O_RDONLY | O_DIRECTORY);
    if (!fd)
        return fd;
    if (auto locked = lockExclusive(fd->get(), wait); !locked)
        return locked.error();
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

// True when the folder went (or was already gone); false while a running trim holds it, or while
// it holds an original that must be kept and could not be put anywhere else.
bool removeUnlessHeld(const QString& path, QStringList& notes) {
    const auto lock = lockFolder(path, false);
    if (!lock)
        return lock.error().code == ENOENT;
    const LeftoverRecovery recovery = recoverLeftoverOriginals(path);
    notes += recovery.notes;
    if (!recovery.folderMayGo)
        return false;
    const bool removed = QDir(path).removeRecursively();
    if (removed)
        qCInfo(lcTrimming, "Removed a trimming working folder left behind: %s", qPrintable(path));
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
    if (auto made = makeFolder(path, 0700); !made) {
        return trimErrorFrom(
            made.error(),
            QCoreApplication::translate("TrimExport", "Could not create a working folder next to %1: %2")
                .arg(beside.fileName(), made.error().message));
    }
    auto lock = lockFolder(path, true);
    // Without the entry only the next trim in this folder would clean up after a crash.
    const QString entry = registryEntry(path);
    if (!QDir().mkpath(trimWorkingFolderRegistry()))
        qCInfo(lcTrimming, "Could not make the list of trimming working folders %s", qPrintable(entry));
    else if (auto listed = makeSymlink(path, entry); !listed)
        qCInfo(lcTrimming, "Could not list the trimming working folder %s: %s", qPrintable(path),
               qPrintable(listed.error().message));
    return TrimWorkingFolder(path, lock ? std::move(*lock) : UniqueFd());
}

TrimWorkingFolder::TrimWorkingFolder(TrimWorkingFolder&& other) noexcept
    : m_path(std::exchange(other.m_path, QString()))
    , m_lock(std::move(other.m_lock)) {}

TrimWorkingFolder::~TrimWorkingFolder() {
    if (!m_path.isEmpty()) {
        if (QDir(m_path).removeRecursively())
            QFile::remove(registryEntry(m_path));
        else
            qCWarning(lcTrimming, "Could not remove the trimming working folder %s", qPrintable(m_path));
    }
    // The lock is let go after the folder went (m_lock closes after this body).
}

QString TrimWorkingFolder::registryEntryPath() const {
    return registryEntry(m_path);
}

QString TrimWorkingFolder::filePath(const QString& name) const {
    return QDir(m_path).filePath(name);
}

LeftoverCleanup removeLeftoverTrimFolders(const QString& fileOrFolder) {
    const QFileInfo info(fileOrFolder);
    const QDir folder = info.isDir() ? QDir(info.absoluteFilePath()) : info.absoluteDir();
    LeftoverCleanup cleanup;
    const auto entries =
        folder.entryInfoList({TrimWorkingFolder::namePrefix() + QLatin1Char('*')},
                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (!isWorkingFolderName(entry.fileName()))
            continue;
        if (removeUnlessHeld(entry.absoluteFilePath(), cleanup.notes)) {
            ++cleanup.removed;
            QFile::remove(registryEntry(entry.absoluteFilePath()));
        }
    }
    return cleanup;
}

LeftoverCleanup removeAbandonedTrimFolders() {
    const QDir registry(trimWorkingFolderRegistry());
    LeftoverCleanup cleanup;
    const auto entries =
        registry.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QFileInfo folder(entry.isSymLink() ? entry.symLinkTarget() : QString());
        // Only an entry that names one of our folders by its own UUID leads to a removal.
        const bool ours = folder.fileName() == TrimWorkingFolder::namePrefix() + entry.fileName() &&
                          isWorkingFolderName(folder.fileName());
        if (!ours || !folder.exists()) {
            QFile::remove(entry.absoluteFilePath());
        } else if (folder.isDir() && !folder.isSymLink() &&
                   removeUnlessHeld(folder.filePath(), cleanup.notes)) {
            ++cleanup.removed;
            QFile::remove(entry.absoluteFilePath());
        }
    }
    return cleanup;
}

} // namespace velarix
