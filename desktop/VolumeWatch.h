#pragma once

#include "storage/PosixFile.h"

#include <QObject>

#include <memory>

class QFileSystemWatcher;
class QSocketNotifier;

namespace velarix {

// Tells when volumes come and go: the kernel flags /proc/self/mountinfo on every mount change; with
// VELARIX_VOLUMES_DIR set, that folder is watched instead. Lives on the thread that created it.
class VolumeWatch : public QObject {
    Q_OBJECT
public:
    explicit VolumeWatch(QObject* parent = nullptr);
    ~VolumeWatch() override;

    // Whether the watch could be set up.
    bool isActive() const;

Q_SIGNALS:
    void volumesChanged();

private:
    void mountTableFlagged();

    UniqueFd m_mountInfo;
    QSocketNotifier* m_notifier = nullptr;
    QFileSystemWatcher* m_folderWatcher = nullptr;
};

} // namespace velarix
