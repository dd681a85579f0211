#include "platform/DirectoryWalk.h"

#include "platform/PosixFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <vector>

namespace velarix {

// The one code of the domain "DirectoryWalk" that is not an errno value.
constexpr int kUndecodableName = 1;

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

Result<bool> walkFolder(int folderFd, const QString& folderPath, const WalkHandlers& handlers) {
    // fdopendir takes the descriptor over; a duplicate keeps ours for openat and statx.
    DirPtr dir(::fdopendir(::dup(folderFd)));
    if (!dir) {
        if (handlers.folderError)
            handlers.folderError(folderPath, errnoError(errno));
        return true;
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
    std::sort(names.begin(), names.end());

    for (const QByteArray& name : names) {
        const QString decoded = QFile::decodeName(name);
        const QString path = folderPath + u'/' + decoded;
        // Paths are text from here on; a name that is not UTF-8 would not lead back to its file.
        if (QFile::encodeName(decoded) != name) {
            if (handlers.folderError)
                handlers.folderError(path,
                                     Error::make(QStringLiteral("DirectoryWalk"), kUndecodableName,
                                                 QStringLiteral("The name is not valid UTF-8; left out.")));
            continue;
        }
        auto status = fileStatus(folderFd, decoded);
        if (!status)
            return status.error();
        if (status->type == FileStatus::Type::symlink)
            continue;
        if (!handlers.entry(WalkEntry{path, *status}))
            return false;
        if (status->type != FileStatus::Type::directory)
            continue;
        UniqueFd child(::openat(folderFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!child.valid()) {
            if (handlers.folderError)
                handlers.folderError(path, errnoError(errno));
            continue;
        }
        auto more = walkFolder(child.get(), path, handlers);
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
    auto walked = walkFolder(rootFd.get(), root, handlers);
    if (!walked)
        return walked.error();
    return {};
}

} // namespace velarix
