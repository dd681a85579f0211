#pragma once

#include <QString>

namespace velarix::test {

// A small tmpfs mounted for one test (a second file system) and unmounted on every path. Needs
// root or CAP_SYS_ADMIN; `mounted` says whether it worked.
struct TmpfsMount {
    explicit TmpfsMount(const QString& where);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    bool remountReadOnly();

    QString path;
    bool mounted = false;
};

} // namespace velarix::test
