#include "platform/AppPaths.h"

#include "platform/AppIdentity.h"

#include <QDir>
#include <QStandardPaths>

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

QString AppPaths::videosDirectory() {
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return videos.isEmpty() ? QDir::homePath() : videos;
}

} // namespace velarix
