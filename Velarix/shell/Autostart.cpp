#include "Velarix/shell/Autostart.h"

#include "desktop/AppIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace velarix {

namespace {
QString configHome() {
    const QString value = qEnvironmentVariable("XDG_CONFIG_HOME");
    return !value.isEmpty() && QDir::isAbsolutePath(value) ? value
                                                           : QDir::homePath() + QStringLiteral("/.config");
}

// Desktop entries quote arguments with double quotes and escape these four characters inside them.
QString quoted(const QString& argument) {
    QString escaped = argument;
    for (const char* special : {"\\", "\"", "`", "$"})
        escaped.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    return u'"' + escaped + u'"';
}
} // namespace

QString Autostart::entryPath() {
    return configHome() + QStringLiteral("/autostart/") + kBundleIdentifier + QStringLiteral(".desktop");
}

bool Autostart::isEnabled() {
    return QFile::exists(entryPath());
}

Result<void> Autostart::setEnabled(bool enabled, const QString& program) {
    const QString path = entryPath();
    if (!enabled) {
        if (QFile::exists(path) && !QFile::remove(path))
            return Error::make(
                QStringLiteral("Autostart"), 1,
                QCoreApplication::translate("velarix::Autostart", "The login item %1 could not be removed.")
                    .arg(path));
        return {};
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString executable = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Error::make(
            QStringLiteral("Autostart"), 2,
            QCoreApplication::translate("velarix::Autostart", "The login item %1 could not be written: %2")
                .arg(path, file.errorString()));
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Velarix\n"
                                         "Comment=Waits in the background for camera cards\n"
                                         "Exec=%1 --background\n"
                                         "Icon=%2\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(quoted(executable), kBundleIdentifier);
    file.write(entry.toUtf8());
    if (!file.commit())
        return Error::make(
            QStringLiteral("Autostart"), 2,
            QCoreApplication::translate("velarix::Autostart", "The login item %1 could not be written: %2")
                .arg(path, file.errorString()));
    return {};
}

} // namespace velarix
