#pragma once

#include "core/Result.h"
#include "storage/FileStatus.h"

#include <QString>

#include <functional>

namespace velarix {

struct WalkEntry {
    QString path;
    FileStatus status;
};

struct WalkHandlers {
    // Each entry below the root (files and folders), depth first, names in byte order. Returning
    // false ends the walk early (without an error).
    std::function<bool(const WalkEntry&)> entry;
    // A folder that could not be listed, or an entry whose name is not UTF-8; the walk goes on
    // without it.
    std::function<void(const QString& path, const Error&)> folderError;
};

// Walks the tree below `root`, skipping hidden entries (names starting with "."), never following a
// symbolic link (links are neither listed nor entered). A folder that cannot be opened, the root
// included, goes to `folderError`. Fails when an entry's status cannot be read.
Result<void> walkDirectory(const QString& root, const WalkHandlers& handlers);

} // namespace velarix
