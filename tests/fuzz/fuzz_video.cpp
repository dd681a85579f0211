// Arbitrary bytes opened as a video file: never a crash, a hang or a leak.
#include "platform/MediaLog.h"
#include "platform/MediaOpen.h"

#include <QFile>
#include <QString>

#include <unistd.h>

namespace {
QString scratchPath() {
    return QStringLiteral("/dev/shm/velarix-fuzz-%1.mp4").arg(getpid());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    velarix::routeMediaLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = scratchPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    (void)velarix::loadDuration(path);
    auto input = velarix::openVideoAsset(path, velarix::OpenOptions{nullptr, 4096, true});
    return 0;
}
