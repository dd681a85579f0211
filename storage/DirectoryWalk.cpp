#include "storage/DirectoryWalk.h"

#include "storage/FileNames.h"

#include "storage/PosixFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <memory>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace velarix {

// The one code of the domain "DirectoryWalk" that is not an errno value.
constexpr int kUndecodableName = 1;

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

// Opens a folder below the root without following a symbolic link anywhere on the way, so that a
// link swapped in for a folder since it was listed does not lead out of the card.
UniqueFd openBelow(int rootFd, const QByteArray& relative) {
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    const long fd = ::syscall(SYS_openat2, rootFd, relative.constData(), &how, sizeof how);
    if (fd >= 0 || errno != ENOSYS)
        return UniqueFd(int(fd));
    return UniqueFd(::openat(rootFd, relative.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

struct Listed {
    QByteArray name;
    FileStatus status;
};

// Lists a folder, names in byte order, with each entry's status. The folder is closed before the
// caller descends, so that a deep tree does not hold one descriptor per level.
Result<std::vector<Listed>> listFolder(int folderFd, const QString& folderPath,
                                       const WalkHandlers& handlers) {
    std::vector<Listed> listed;
    // fdopendir takes the descriptor over; a duplicate keeps ours for the status reads.
    DirPtr dir(::fdopendir(::dup(folderFd)));
    if (!dir) {
        if (handlers.folderError)
            handlers.folderError(folderPath, errnoError(errno));
        return listed;
    }
    std::vector<QByteArray> names;
    errno = 0;
    while (const dirent* item = ::readdir(dir.get())) {
        if (item->d_name[0] != '.')
            names.emplace_back(item->d_name);
        errno = 0;
    }
    if (errno != 0 && handlers.folderError)
        handlers.folderError(folderPath, errnoError(errno));
    dir.reset();
    std::sort(names.begin(), names.end());

    listed.reserve(names.size());
    for (QByteArray& name : names) {
        const QString decoded = QFile::decodeName(name);
        // Paths are text from here on; a name that is not UTF-8 would not lead back to its file.
        if (QFile::encodeName(decoded) != name) {
            if (handlers.folderError)
                handlers.folderError(folderPath + u'/' + decoded,
                                     Error::make(QStringLiteral("DirectoryWalk"), kUndecodableName,
                                                 unfaithfulFileNameError(name).message));
            continue;
        }
        auto status = fileStatus(folderFd, decoded);
        if (!status)
            return status.error();
        if (status->type != FileStatus::Type::symlink)
            listed.push_back({std::move(name), *status});
    }
    return listed;
}

// `relative` is the folder's path below the root ("" for the root itself).
Result<bool> walkFolder(int rootFd, const QByteArray& relative, const QString& folderPath,
                        const WalkHandlers& handlers) {
    std::vector<Listed> listed;
    {
        UniqueFd folder = relative.isEmpty() ? UniqueFd(::dup(rootFd)) : openBelow(rootFd, relative);
        if (!folder.valid()) {
            if (handlers.folderError)
                handlers.folderError(folderPath, errnoError(errno));
            return true;
        }
        auto entries = listFolder(folder.get(), folderPath, handlers);
        if (!entries)
            return entries.error();
        listed = std::move(*entries);
    }
    for (const Listed& entry : listed) {
        const QString path = folderPath + u'/' + QFile::decodeName(entry.name);
        if (!handlers.entry(WalkEntry{path, entry.status}))
            return false;
        if (entry.status.type != FileStatus::Type::directory)
            continue;
        const QByteArray child = relative.isEmpty() ? entry.name : relative + '/' + entry.name;
        auto more = walkFolder(rootFd, child, path, handlers);
        if (!more || !*more)
            return more;
    }
    return true;
}

} // namespace

Result<void> walkDirectory(const QString& root, const WalkHandlers& handlers) {
    UniqueFd rootFd(
        ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!rootFd.valid()) {
        if (handlers.folderError)
            handlers.folderError(root, errnoError(errno));
        return {};
    }
    auto walked = walkFolder(rootFd.get(), QByteArray(), root, handlers);
    if (!walked)
        return walked.error();
    return {};
}

} // namespace velarix
