#include "desktop/AppPaths.h"

#include "desktop/AppIdentity.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace velarix {

namespace {
// QStandardPaths' AppDataLocation would add organisation and application names; we want the bundle id alone.
QString xdgHome(const char* variable, const QString& fallbackBelowHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + u'/' + fallbackBelowHome;
}
} // namespace

QString AppPaths::dataDirectory() {
    return xdgHome("XDG_DATA_HOME", QStringLiteral(".local/share")) + u'/' + kBundleIdentifier;
}

QString AppPaths::storeFile() {
    return dataDirectory() + QStringLiteral("/default.store");
}

QString AppPaths::settingsFile() {
    return xdgHome("XDG_CONFIG_HOME", QStringLiteral(".config")) + u'/' + kBundleIdentifier +
           QStringLiteral("/settings.json");
}

QString AppPaths::runtimeDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists())
        return runtime + u'/' + kBundleIdentifier;
    return QDir::tempPath() + u'/' + kBundleIdentifier + QStringLiteral("-%1").arg(::getuid());
}

QString AppPaths::videosDirectory() {
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return videos.isEmpty() ? QDir::homePath() : videos;
}

} // namespace velarix
