#include "tests/support/CardFixture.h"

#include "tests/support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace velarix::test {

QByteArray sampleVideo(int seconds) {
    static QHash<int, QByteArray> made;
    static QTemporaryDir workDir;
    if (made.contains(seconds))
        return made.value(seconds);
    const QString path = workDir.filePath(QStringLiteral("sample%1.mp4").arg(seconds));
    ClipRecipe recipe;
    recipe.seconds = seconds;
    recipe.picture = ClipRecipe::Picture::testPattern;
    QByteArray bytes;
    QFile file(path);
    if (const QString error = makeClip(path, recipe); !error.isEmpty())
        qWarning("%s", qPrintable(error));
    else if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    made.insert(seconds, bytes);
    return bytes;
}

FakeCard::FakeCard(const QString& folder, const QString& name, bool withDcim)
    : m_root(folder + u'/' + name) {
    QDir().mkpath(withDcim ? dcim() : m_root);
}

QString FakeCard::addVideo(const QString& relativePath, int seconds, const QDateTime& modified) {
    return addFile(relativePath, sampleVideo(seconds), modified);
}

void FakeCard::addVideos(const QList<int>& seconds, const QDateTime& first, int apart) {
    for (int i = 0; i < seconds.size(); ++i)
        addVideo(QStringLiteral("100GOPRO/GX01%1.MP4").arg(i + 1, 4, 10, QLatin1Char('0')), seconds.at(i),
                 first.addSecs(qint64(apart) * i));
}

QString FakeCard::addFile(const QString& relativePath, const QByteArray& bytes, const QDateTime& modified) {
    const QString path = dcim() + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    if (modified.isValid())
        setFileTime(path, modified);
    return path;
}

CardFixture::CardFixture() {
    // Whatever Qt would place in the user's own folders goes to its test folders instead.
    QStandardPaths::setTestModeEnabled(true);
    QDir().mkpath(volumes());
    // The destination is an existing folder, as a user chooses one: imports do not make it.
    QDir().mkpath(destination());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    qputenv("VELARIX_VOLUMES_DIR", QFile::encodeName(volumes()));
}

CardFixture::~CardFixture() {
    // A fixture made to replace this one keeps its own.
    if (qEnvironmentVariable("VELARIX_VOLUMES_DIR") == volumes())
        qunsetenv("VELARIX_VOLUMES_DIR");
}

QString CardFixture::insert(const QString& cardRoot) const {
    const QString target = volumes() + u'/' + QFileInfo(cardRoot).fileName();
    QDir().rename(cardRoot, target);
    return target;
}

} // namespace velarix::test
