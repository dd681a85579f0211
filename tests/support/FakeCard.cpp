#include "tests/support/FakeCard.h"

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>

namespace velarix::test {

QByteArray sampleVideo(int seconds) {
    static QHash<int, QByteArray> made;
    static QTemporaryDir workDir;
    if (made.contains(seconds))
        return made.value(seconds);
    const QString path = workDir.filePath(QStringLiteral("sample%1.mp4").arg(seconds));
    const auto result = runProcess(QStringLiteral("ffmpeg"), {"-loglevel",
                                                              "error",
                                                              "-y",
                                                              "-f",
                                                              "lavfi",
                                                              "-i",
                                                              "testsrc=size=64x48:rate=10",
                                                              "-f",
                                                              "lavfi",
                                                              "-i",
                                                              "sine=f=440:sample_rate=8000",
                                                              "-t",
                                                              QString::number(seconds),
                                                              "-c:v",
                                                              "libx264",
                                                              "-preset",
                                                              "ultrafast",
                                                              "-c:a",
                                                              "aac",
                                                              "-shortest",
                                                              path});
    QFile file(path);
    QByteArray bytes;
    if (result.exitCode == 0 && file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    made.insert(seconds, bytes);
    return bytes;
}

bool setModified(const QString& path, const QDateTime& when) {
    const qint64 ms = when.toMSecsSinceEpoch();
    const struct timespec times[2] = {{time_t(ms / 1000), long(ms % 1000) * 1'000'000},
                                      {time_t(ms / 1000), long(ms % 1000) * 1'000'000}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

FakeCard::FakeCard(const QString& volumesDir, const QString& name, bool withDcim)
    : m_root(volumesDir + u'/' + name) {
    QDir().mkpath(withDcim ? dcim() : m_root);
}

QString FakeCard::addVideo(const QString& relativePath, int seconds, const QDateTime& modified) {
    return addFile(relativePath, sampleVideo(seconds), modified);
}

QString FakeCard::addFile(const QString& relativePath, const QByteArray& bytes, const QDateTime& modified) {
    const QString path = dcim() + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    if (modified.isValid())
        setModified(path, modified);
    return path;
}

TestHome::TestHome() {
    QDir().mkpath(volumes());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
    qputenv("VELARIX_VOLUMES_DIR", QFile::encodeName(volumes()));
}

TestHome::~TestHome() {
    qunsetenv("VELARIX_VOLUMES_DIR");
}

} // namespace velarix::test
