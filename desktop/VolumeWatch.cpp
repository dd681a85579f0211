#include "desktop/VolumeWatch.h"

#include "desktop/Volumes.h"

#include <QFileSystemWatcher>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace velarix {

VolumeWatch::VolumeWatch(QObject* parent)
    : QObject(parent) {
    const QString folder = volumesDirOverride();
    if (!folder.isEmpty()) {
        m_folderWatcher = new QFileSystemWatcher(this);
        if (m_folderWatcher->addPath(folder))
            connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, this,
                    &VolumeWatch::volumesChanged);
        return;
    }
    m_mountInfo = UniqueFd(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC));
    if (!m_mountInfo.valid())
        return;
    // The kernel reports a change as an exceptional condition (POLLPRI) on the open file.
    m_notifier = new QSocketNotifier(m_mountInfo.get(), QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &VolumeWatch::mountTableFlagged);
}

VolumeWatch::~VolumeWatch() {
    // The notifier must be gone before its descriptor closes.
    delete m_notifier;
    m_notifier = nullptr;
}

bool VolumeWatch::isActive() const {
    return m_notifier || (m_folderWatcher && !m_folderWatcher->directories().isEmpty());
}

void VolumeWatch::mountTableFlagged() {
    // The flag stays raised until the file is read again from the start.
    char buffer[4096];
    ::lseek(m_mountInfo.get(), 0, SEEK_SET);
    while (::read(m_mountInfo.get(), buffer, sizeof buffer) > 0) {
    }
    Q_EMIT volumesChanged();
}

} // namespace velarix
