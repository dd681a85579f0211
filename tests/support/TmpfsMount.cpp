#include "tests/support/TmpfsMount.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>

namespace velarix::test {

TmpfsMount::TmpfsMount(const QString& where)
    : path(where) {
    QDir().mkpath(path);
    mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, "size=16m") == 0;
}

TmpfsMount::~TmpfsMount() {
    if (mounted)
        ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
}

bool TmpfsMount::remountReadOnly() {
    return ::mount(nullptr, QFile::encodeName(path).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) ==
           0;
}

} // namespace velarix::test
