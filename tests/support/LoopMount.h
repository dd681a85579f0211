#pragma once

#include <QString>
#include <QStringList>

namespace velarix::test {

// A small exFAT file system in an image file, loop-mounted through FUSE (exfat-fuse) for one test,
// as a desktop mounts cards and external drives. Needs root, /dev/fuse, losetup and exfatprogs;
// where any is missing `skipReason` says which. Unmounted and detached on every path.
class LoopMount {
public:
    // `options` go to the mount (e.g. "uid=1000,gid=1000": exFAT files have no owner of their own).
    LoopMount(const QString& where, int megabytes = 64, const QString& options = {});
    ~LoopMount();
    LoopMount(const LoopMount&) = delete;
    LoopMount& operator=(const LoopMount&) = delete;

    bool mounted() const { return m_mounted; }
    const QString& skipReason() const { return m_skipReason; }
    const QString& path() const { return m_path; }
    const QString& image() const { return m_image; }
    // Unmounts and mounts again, so that nothing of the files is left in the page cache.
    bool remount();
    bool unmount();

private:
    bool mount();
    QString m_path;
    QString m_image;
    QString m_device;
    QString m_options;
    bool m_mounted = false;
    QString m_skipReason;
};

// A program's path, looked up in the system folders too.
QString toolPath(const QString& tool);
// Runs a program, giving its error output (empty on success).
QString runTool(const QString& program, const QStringList& arguments);

} // namespace velarix::test
