#pragma once

#include <QObject>
#include <QSettings>
#include <QVariant>

#include <memory>
#include <optional>

class QFileSystemWatcher;
class QTimer;

namespace velarix {

// The user's defaults: a JSON file whose values keep their types (text, integer, Bool, lists, objects).
// Every assignment is written to disk at once. Registered defaults answer for keys the file does not
// hold and are never written. Binary values are not representable: store them as base64 text.
class Settings : public QObject {
    Q_OBJECT
public:
    explicit Settings(const QString& filePath, QObject* parent = nullptr);
    ~Settings() override;

    // The process-wide store at AppPaths::settingsFile(), created on first use (GUI thread only).
    static Settings& standard();

    QString filePath() const;

    // Untyped lookup: the stored value, else the registered default, else nothing.
    std::optional<QVariant> value(const QString& key) const;
    // Typed lookups: a value of another type counts as absent.
    std::optional<bool> boolValue(const QString& key) const;
    std::optional<qint64> integerValue(const QString& key) const;
    std::optional<QString> stringValue(const QString& key) const;

    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);
    void registerDefaults(const QVariantMap& defaults);

    // Re-reads the file, e.g. after another process wrote it.
    void reload();
    // From now on re-reads the file whenever another process (velarix-cli) writes it, and emits
    // valueChanged for every key whose value that changed.
    void followFile();

Q_SIGNALS:
    void valueChanged(const QString& key);

private:
    QVariantMap storedValues() const;

    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registeredDefaults;
    QFileSystemWatcher* m_watch = nullptr;
    QVariantMap m_seen; // while following the file: the values last seen or set here
    QTimer* m_reread = nullptr;
};

} // namespace velarix
