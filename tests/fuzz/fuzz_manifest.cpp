// Arbitrary bytes as a card's manifest: read the way a card scan reads it, and the name it yields
// planned as a path, because a card's name comes from the card and ends up in folder names.
#include "FuzzSupport.h"
#include "import/CardManifest.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

using namespace velarix;

namespace {

QString volume() {
    static const QString path = [] {
        const QString dir = QStringLiteral("/dev/shm/velarix-fuzz-manifest-%1").arg(getpid());
        QDir().mkpath(dir);
        return dir;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // libFuzzer ends a timed run with exit(): the scratch volume goes with it. The path is made
    // first, so that it is destroyed only after this handler ran.
    (void)volume();
    std::atexit([] { QDir(volume()).removeRecursively(); });
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(QDir(volume()).filePath(kManifestFileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return 0;
    }
    const std::optional<QString> read = readManifest(volume());
    const Result<QString> decoded = decodeManifest(bytes);
    if (read.has_value() != bool(decoded) || (read && *read != *decoded))
        fuzz::fail("the manifest file and its bytes read differently");
    if (!decoded)
        return 0;
    const QString name = *decoded;

    // What is written back must read as the same name (a name of valid UTF-16 only: a lone surrogate
    // cannot be written as UTF-8 at all).
    if (QString::fromUtf8(name.toUtf8()) == name) {
        const auto again = decodeManifest(encodeManifest(name));
        if (!again || *again != name)
            fuzz::fail("an encoded manifest does not read back as its name");
    }

    const QDateTime created(QDate(2024, 5, 1), QTime(10, 0));
    const VideoFileList videos{
        VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/GX010001.MP4"), created, 1),
        VideoFileRowPtr::create(QStringLiteral("/card/DCIM/100GOPRO/GX010002.MP4"), created.addSecs(3600),
                                1)};
    for (const char* pattern :
         {"{name}/{filename}", "{date}/{jump} {name} {filename}", "{name}", "/{name}/"}) {
        fuzz::checkPlan(
            resolveOutputFiles({videos, 1, true, QString::fromLatin1(pattern), name, created.addDays(1)}));
    }
    return 0;
}
