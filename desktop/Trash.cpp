#include "desktop/Trash.h"

#include "desktop/DesktopLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Trash");

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

std::optional<struct stat> lstatPath(const QString& path) {
    struct stat info {};
    if (::lstat(encoded(path).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

// The device of a path that may not exist yet: that of its nearest existing folder.
dev_t deviceOf(QString path) {
    struct stat info {};
    while (::stat(encoded(path).constData(), &info) != 0) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return 0;
        path = parent;
    }
    return info.st_dev;
}

// The top folder of the file system holding `folder`: its highest ancestor on the same device.
QString topFolderOf(const QString& folder, dev_t device) {
    QString top = QDir::cleanPath(folder);
    while (top != QLatin1String("/")) {
        const QString parent = QFileInfo(top).absolutePath();
        struct stat info {};
        if (::stat(encoded(parent).constData(), &info) != 0 || info.st_dev != device)
            break;
        top = parent;
    }
    return top;
}

// Folders a claim made, so that a refused claim takes them away again (an empty .Trash-$uid left
// on a card that cannot keep originals would be litter).
thread_local QStringList* madeFolders = nullptr;

// A folder of ours: created with `mode` when missing; never through a symbolic link.
bool ensureOwnFolder(const QString& path, mode_t mode) {
    if (::mkdir(encoded(path).constData(), mode) == 0) {
        if (madeFolders)
            madeFolders->append(path);
        return true;
    }
    if (errno != EEXIST)
        return false;
    const auto info = lstatPath(path);
    if (!info || !S_ISDIR(info->st_mode) || info->st_uid != ::getuid()) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

bool ensureTrashFolders(const QString& trash) {
    return ensureOwnFolder(trash, 0700) && ensureOwnFolder(trash + QStringLiteral("/files"), 0700) &&
           ensureOwnFolder(trash + QStringLiteral("/info"), 0700);
}

// The Trash for a file on `device` under `top`, or why there is none. The home Trash serves its own
// file system; others have theirs at the top: the shared .Trash (a sticky folder, not a link) with a
// folder per user, else the user's own .Trash-$uid.
Result<std::pair<QString, QString>> trashFor(dev_t device, const QString& top) {
    // $XDG_DATA_HOME/Trash, as the desktop's file managers read it (test modes of Qt aside).
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString home =
        (dataHome.startsWith(u'/') ? dataHome : QDir::homePath() + QStringLiteral("/.local/share")) +
        QStringLiteral("/Trash");
    if (deviceOf(home) == device) {
        if (QDir().mkpath(home) && ensureTrashFolders(home))
            return std::pair{home, QString()};
        const int error = errno; // before the message is made, which may change it
        return Error::make(kDomain, error,
                           QCoreApplication::translate("Trash", "The Trash folder %1 cannot be used: %2.")
                               .arg(home, errnoText(error)),
                           errnoKind(error));
    }
    const QString uid = QString::number(::getuid());
    const QString shared = top + QStringLiteral("/.Trash");
    if (const auto info = lstatPath(shared); info && S_ISDIR(info->st_mode) && (info->st_mode & S_ISVTX)) {
        const QString mine = shared + u'/' + uid;
        if (ensureTrashFolders(mine))
            return std::pair{mine, top};
    }
    const QString own = top + QStringLiteral("/.Trash-") + uid;
    if (ensureTrashFolders(own))
        return std::pair{own, top};
    const int error = errno; // before the message is made, which may change it
    return Error::make(kDomain, error,
                       QCoreApplication::translate(
                           "Trash", "There is no Trash on the file system at %1 (%2 cannot be made: %3).")
                           .arg(top, own, errnoText(error)),
                       errnoKind(error));
}

// Creates an empty file that must not exist yet.
bool createExclusive(const QString& path, const QByteArray& content = {}) {
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written =
        content.isEmpty() || ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    if (!written)
        ::unlink(encoded(path).constData());
    return written;
}

} // namespace

Result<TrashClaim> TrashClaim::claim(const QString& path) {
    QStringList made;
    madeFolders = &made;
    auto claimed = claimIn(path);
    madeFolders = nullptr;
    if (!claimed) {
        for (auto folder = made.crbegin(); folder != made.crend(); ++folder)
            ::rmdir(encoded(*folder).constData());
    }
    return claimed;
}

Result<TrashClaim> TrashClaim::claimIn(const QString& path) {
    const QFileInfo file(path);
    struct stat info {};
    if (::stat(encoded(file.absoluteFilePath()).constData(), &info) != 0) {
        const int error = errno; // before the message is made, which may change it
        return Error::make(kDomain, error,
                           QCoreApplication::translate("Trash", "%1 cannot be read: %2")
                               .arg(file.fileName(), errnoText(error)),
                           errnoKind(error));
    }
    const QString folder = file.absoluteDir().canonicalPath();
    auto trash = trashFor(info.st_dev, topFolderOf(folder, info.st_dev));
    if (!trash)
        return trash.error();
    const auto& [trashFolder, top] = *trash;
    if (deviceOf(trashFolder) != info.st_dev)
        return Error::make(kDomain, EXDEV,
                           QCoreApplication::translate("Trash", "The Trash at %1 is on another file system.")
                               .arg(trashFolder));

    // Home Trash entries name the absolute path; those at a top folder a path relative to it.
    const QString original = folder + u'/' + file.fileName();
    const QString recorded = top.isEmpty() ? original : QDir(top).relativeFilePath(original);
    const QByteArray infoText =
        "[Trash Info]\nPath=" + QUrl::toPercentEncoding(recorded, "/") +
        "\nDeletionDate=" + QDateTime::currentDateTime().toString(Qt::ISODate).left(19).toUtf8() + '\n';
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? file.fileName()
                                    : QStringLiteral("%1 (%2)%3")
                                          .arg(file.completeBaseName())
                                          .arg(n)
                                          .arg(file.suffix().isEmpty() ? QString() : u'.' + file.suffix());
        const QString infoPath = trashFolder + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo");
        if (!createExclusive(infoPath, infoText)) {
            if (errno == EEXIST)
                continue;
            const int error = errno; // before the message is made, which may change it
            return Error::make(kDomain, error,
                               QCoreApplication::translate("Trash", "The Trash at %1 cannot be written: %2.")
                                   .arg(trashFolder, errnoText(error)),
                               errnoKind(error));
        }
        const QString filePath = trashFolder + QStringLiteral("/files/") + name;
        if (!createExclusive(filePath)) {
            const int error = errno;
            ::unlink(encoded(infoPath).constData());
            if (error == EEXIST)
                continue;
            return Error::make(kDomain, error,
                               QCoreApplication::translate("Trash", "The Trash at %1 cannot be written: %2.")
                                   .arg(trashFolder, errnoText(error)),
                               errnoKind(error));
        }
        // A file replaced by a plain rename is gone before it could be trashed: keeping it needs a
        // file system that swaps two files in one step, which FAT and exFAT cards cannot.
        if (::renameat2(AT_FDCWD, encoded(filePath).constData(), AT_FDCWD, encoded(infoPath).constData(),
                        RENAME_EXCHANGE) != 0) {
            const int error = errno;
            ::unlink(encoded(filePath).constData());
            ::unlink(encoded(infoPath).constData());
            return Error::make(kDomain, error,
                               QCoreApplication::translate(
                                   "Trash",
                                   "The file system of %1 cannot keep the original while the trimmed "
                                   "copy takes its place (%2).")
                                   .arg(file.fileName(), errnoText(error)),
                               errnoKind(error));
        }
        ::renameat2(AT_FDCWD, encoded(filePath).constData(), AT_FDCWD, encoded(infoPath).constData(),
                    RENAME_EXCHANGE);
        return TrashClaim(trashFolder, filePath, infoPath);
    }
    return Error::make(kDomain, EEXIST,
                       QCoreApplication::translate("Trash", "The Trash at %1 holds too many files named %2.")
                           .arg(trashFolder, file.fileName()));
}

TrashClaim::TrashClaim(TrashClaim&& other) noexcept
    : m_trash(std::move(other.m_trash))
    , m_filePath(std::move(other.m_filePath))
    , m_infoPath(std::move(other.m_infoPath))
    , m_committed(other.m_committed) {
    other.m_committed = true; // the moved-from object owns nothing
}

TrashClaim::~TrashClaim() {
    if (m_committed)
        return;
    ::unlink(encoded(m_filePath).constData());
    ::unlink(encoded(m_infoPath).constData());
}

Result<void> TrashClaim::commit(const QString& current) {
    // Over the claimed empty file: the Trash's folder does not grow, so this cannot run out of room.
    if (::rename(encoded(current).constData(), encoded(m_filePath).constData()) != 0) {
        const int error = errno; // before the message is made, which may change it
        return Error::make(kDomain, error,
                           QCoreApplication::translate("Trash", "Could not move %1 to the Trash: %2")
                               .arg(QFileInfo(current).fileName(), errnoText(error)),
                           errnoKind(error));
    }
    m_committed = true;
    qCInfo(lcDesktop, "Moved to the Trash: %s", qPrintable(m_filePath));
    return {};
}

} // namespace velarix
