#include "storage/DetachedRemoval.h"

#include "storage/PosixFile.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace velarix {

namespace {

struct SpawnActions {
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
};

struct SpawnAttributes {
    posix_spawnattr_t attributes;
    SpawnAttributes() { posix_spawnattr_init(&attributes); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

// Removals that ended while this process still runs are reaped at the next start of one, so that
// a long run leaves no zombies behind; those still running when it ends pass to init.
std::mutex gChildrenMutex;
std::vector<pid_t> gChildren;

void reapFinished() {
    std::erase_if(gChildren, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

} // namespace

Result<void> removeInDetachedProcess(const QString& folder, const QString& entry, int heldDescriptor) {
    // Copied above the standard descriptors, so that the child's dup2 to 3 always clears close-on-exec.
    const int held = ::fcntl(heldDescriptor, F_DUPFD_CLOEXEC, 10);
    if (held < 0)
        return errnoError(errno);
    const UniqueFd heldCopy(held);

    SpawnActions actions;
    SpawnAttributes attributes;
    int failed = 0;
    const auto step = [&failed](int result) {
        if (failed == 0)
            failed = result;
    };
    step(posix_spawn_file_actions_addopen(&actions.actions, 0, "/dev/null", O_RDONLY, 0));
    step(posix_spawn_file_actions_addopen(&actions.actions, 1, "/dev/null", O_WRONLY, 0));
    step(posix_spawn_file_actions_adddup2(&actions.actions, 1, 2));
    step(posix_spawn_file_actions_adddup2(&actions.actions, held, 3));
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    step(posix_spawnattr_setflags(&attributes.attributes,
                                  POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
    step(posix_spawnattr_setsigmask(&attributes.attributes, &none));
    step(posix_spawnattr_setsigdefault(&attributes.attributes, &all));
    if (failed)
        return errnoError(failed);

    // The registry entry goes only once the folder did: otherwise nothing would find what is left.
    const QByteArray script = "rm -rf -- \"$1\" && rm -f -- \"$2\"";
    const QByteArray folderName = QFile::encodeName(folder);
    const QByteArray entryName = QFile::encodeName(entry);
    const char* arguments[] = {
        "sh",   "-c", script.constData(), "velarix-free", folderName.constData(), entryName.constData(),
        nullptr};
    std::lock_guard lock(gChildrenMutex);
    reapFinished();
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, "/bin/sh", &actions.actions, &attributes.attributes,
                                      const_cast<char* const*>(arguments), environ))
        return errnoError(error);
    gChildren.push_back(pid);
    return {};
}

} // namespace velarix
