#pragma once

#include "core/Result.h"

#include <QString>

namespace velarix {

// A place claimed in the freedesktop Trash that serves one file (the Trash of the file's own file
// system, as file managers use it: the home Trash when the file lies on the home's file system,
// else $topdir/.Trash/$uid or $topdir/.Trash-$uid), for a file that will be moved there later. The
// claim is an info file naming the original location and an empty file under the name the file
// will have in the Trash; both go again unless the claim is committed.
class TrashClaim {
public:
    // Finds (creating its folders where needed) the Trash for `path`, an existing file, and claims
    // a name in it. The error says why there is no usable Trash on that file system.
    static Result<TrashClaim> claim(const QString& path);

    TrashClaim(TrashClaim&& other) noexcept;
    TrashClaim& operator=(TrashClaim&&) = delete;
    ~TrashClaim();

    // Moves `current`, a file on the same file system (the replaced original of a trim), into the
    // claimed place. The Trash remembers the claimed file's path, so "Restore" puts it back there.
    Result<void> commit(const QString& current);

    QString trashFolder() const { return m_trash; }
    // Where the file lies in the Trash once committed.
    QString trashedPath() const { return m_filePath; }
    // The claim's .trashinfo file, which names the place the file is restored to.
    QString infoPath() const { return m_infoPath; }

private:
    static Result<TrashClaim> claimIn(const QString& path);
    TrashClaim(QString trash, QString filePath, QString infoPath)
        : m_trash(std::move(trash))
        , m_filePath(std::move(filePath))
        , m_infoPath(std::move(infoPath)) {}
    QString m_trash;
    QString m_filePath;
    QString m_infoPath;
    bool m_committed = false;
};

} // namespace velarix
