#include "desktop/Settings.h"

#include "desktop/AppPaths.h"
#include "desktop/DesktopLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace velarix {

namespace {

bool readJson(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray bytes = device.readAll();
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (!document.isObject()) {
        qCWarning(lcDesktop, "settings file is not a JSON object: %s", qUtf8Printable(error.errorString()));
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), it.value().toVariant());
    return true;
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map) {
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), QJsonValue::fromVariant(it.value()));
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), readJson, writeJson);
    return format;
}

bool isInteger(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

} // namespace

Settings::Settings(const QString& filePath, QObject* parent)
    : QObject(parent) {
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    m_settings = std::make_unique<QSettings>(filePath, jsonFormat());
}

Settings::~Settings() = default;

Settings& Settings::standard() {
    static Settings* instance = [] {
        auto* settings = new Settings(AppPaths::settingsFile());
        // Lives as long as the application; parented so that it is destroyed with it.
        if (QCoreApplication::instance())
            settings->setParent(QCoreApplication::instance());
        return settings;
    }();
    return *instance;
}

QString Settings::filePath() const {
    return m_settings->fileName();
}

std::optional<QVariant> Settings::value(const QString& key) const {
    if (m_settings->contains(key))
        return m_settings->value(key);
    if (auto it = m_registeredDefaults.constFind(key); it != m_registeredDefaults.cend())
        return *it;
    return std::nullopt;
}

std::optional<bool> Settings::boolValue(const QString& key) const {
    const auto stored = value(key);
    if (!stored || stored->metaType().id() != QMetaType::Bool)
        return std::nullopt;
    return stored->toBool();
}

std::optional<qint64> Settings::integerValue(const QString& key) const {
    const auto stored = value(key);
    if (!stored || !isInteger(*stored))
        return std::nullopt;
    return stored->toLongLong();
}

std::optional<QString> Settings::stringValue(const QString& key) const {
    const auto stored = value(key);
    if (!stored || stored->metaType().id() != QMetaType::QString)
        return std::nullopt;
    return stored->toString();
}

void Settings::setValue(const QString& key, const QVariant& value) {
    m_settings->setValue(key, value);
    m_settings->sync();
    if (m_watch)
        m_seen.insert(key, m_settings->value(key));
    if (m_settings->status() != QSettings::NoError)
        qCWarning(lcDesktop, "could not write the settings file %s", qUtf8Printable(filePath()));
    Q_EMIT valueChanged(key);
}

void Settings::remove(const QString& key) {
    m_settings->remove(key);
    m_settings->sync();
    m_seen.remove(key);
    Q_EMIT valueChanged(key);
}

void Settings::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_registeredDefaults.insert(it.key(), it.value());
}

void Settings::reload() {
    m_settings->sync();
}

QVariantMap Settings::storedValues() const {
    QVariantMap values;
    for (const QString& key : m_settings->allKeys())
        values.insert(key, m_settings->value(key));
    return values;
}

void Settings::followFile() {
    if (m_watch)
        return;
    m_watch = new QFileSystemWatcher(this);
    // One read for a burst of events; the file is replaced by a rename on each write, so its folder
    // is watched too (a watch on the file alone ends with the first replacement).
    m_reread = new QTimer(this);
    m_reread->setSingleShot(true);
    m_reread->setInterval(200);
    const auto watch = [this] {
        const QString folder = QFileInfo(filePath()).absolutePath();
        if (!m_watch->directories().contains(folder) && QFileInfo::exists(folder))
            m_watch->addPath(folder);
        if (!m_watch->files().contains(filePath()) && QFileInfo::exists(filePath()))
            m_watch->addPath(filePath());
    };
    watch();
    connect(m_watch, &QFileSystemWatcher::directoryChanged, m_reread, qOverload<>(&QTimer::start));
    connect(m_watch, &QFileSystemWatcher::fileChanged, m_reread, qOverload<>(&QTimer::start));
    // Compared with what this object last saw, not with its cache before the read: another
    // QSettings of this process on the same file shares that cache and may have re-read it already.
    m_seen = storedValues();
    connect(m_reread, &QTimer::timeout, this, [this, watch] {
        watch();
        m_settings->sync();
        const QVariantMap now = storedValues();
        QStringList keys = m_seen.keys() + now.keys();
        keys.removeDuplicates();
        const QVariantMap before = std::exchange(m_seen, now);
        for (const QString& key : std::as_const(keys)) {
            if (before.value(key) != now.value(key))
                Q_EMIT valueChanged(key);
        }
    });
}

} // namespace velarix
