#pragma once

#include "core/Result.h"
#include "storage/PosixFile.h"

#include <QString>
#include <QStringList>

namespace velarix {

// A hidden folder next to a video (so on the same file system, and the finished copy replaces the
// video by a rename), named by a fresh UUID. It is locked while it exists, so that a cleanup in
// another process leaves it alone, and removed with everything in it when the object goes.
class TrimWorkingFolder {
public:
    static Result<TrimWorkingFolder> create(const QString& besidePath);

    TrimWorkingFolder(TrimWorkingFolder&& other) noexcept;
    TrimWorkingFolder& operator=(TrimWorkingFolder&&) = delete;
    ~TrimWorkingFolder();

    const QString& path() const { return m_path; }
    QString filePath(const QString& name) const;

    // The name prefix of these folders: ".velarix-trim-" followed by the UUID.
    static QString namePrefix();

    // For a process that removes the folder in this one's place: the descriptor holding the lock
    // (the lock lasts while any copy of it is open), and the folder's entry in the registry.
    int lockDescriptor() const { return m_lock.get(); }
    QString registryEntryPath() const;
    // Forgets the folder without removing it, once another process has taken that over.
    void release() { m_path.clear(); }

private:
    TrimWorkingFolder(QString path, UniqueFd lock)
        : m_path(std::move(path))
        , m_lock(std::move(lock)) {}
    QString m_path;
    UniqueFd m_lock; // flock on the folder, for as long as it exists
};

// What a clean-up of leftover working folders did.
struct LeftoverCleanup {
    int removed = 0; // folders removed
    // For the user: originals a killed trim left there, moved to the Trash or kept beside their file.
    QStringList notes;
};

// Removes working folders that a crashed or killed trim left in the folder of `fileOrFolder` (or in
// that folder itself), after finishing what became of the originals in them. Folders another
// running trim still holds are left, and so is one holding an original that could be put nowhere.
LeftoverCleanup removeLeftoverTrimFolders(const QString& fileOrFolder);

// Every working folder is also listed, as a symbolic link named by its UUID, in this folder of the
// application's data, so that the next start finds the ones a killed trim left anywhere.
QString trimWorkingFolderRegistry();

// Removes the listed working folders that no running trim holds, and their entries, as
// removeLeftoverTrimFolders does. Entries that do not name one of our working folders are dropped without
// touching what they point to.
LeftoverCleanup removeAbandonedTrimFolders();

} // namespace velarix
