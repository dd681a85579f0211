#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace velarix::test {

// The bytes of a small real video of `seconds` (a clip made once per length and kept).
QByteArray sampleVideo(int seconds);

// A camera card: a folder with a DCIM tree.
class FakeCard {
public:
    // A card folder `name` inside `folder`, with its DCIM folder unless told not to.
    FakeCard(const QString& folder, const QString& name, bool withDcim = true);

    QString root() const { return m_root; }
    QString dcim() const { return m_root + QStringLiteral("/DCIM"); }

    // A real video below DCIM (relative path such as "100GOPRO/GX010001.MP4") dated `modified` (the
    // birth time of a fresh file is later, so the earlier one counts as its creation).
    QString addVideo(const QString& relativePath, int seconds, const QDateTime& modified);
    // Videos GX010001.MP4, GX010002.MP4, … below DCIM/100GOPRO, of the given lengths, recorded
    // `apart` seconds after one another from `first`.
    void addVideos(const QList<int>& seconds, const QDateTime& first, int apart);
    // Any bytes below DCIM.
    QString addFile(const QString& relativePath, const QByteArray& bytes,
                    const QDateTime& modified = QDateTime());

private:
    QString m_root;
};

// A temporary home for the application and velarix-cli: XDG_CONFIG_HOME, XDG_DATA_HOME and
// VELARIX_VOLUMES_DIR inside one folder, set in this process's environment for as long as it lives,
// with the cards that appear in its volumes folder.
class CardFixture {
public:
    CardFixture();
    ~CardFixture();
    CardFixture(const CardFixture&) = delete;
    CardFixture& operator=(const CardFixture&) = delete;

    QString path() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString volumes() const { return path(QStringLiteral("volumes")); }
    QString destination() const { return path(QStringLiteral("dest")); }
    QString settingsFile() const { return path(QStringLiteral("settings.json")); }
    QString storeFile() const { return path(QStringLiteral("data/app.tarnwick.Velarix/default.store")); }

    // A card already in the volumes folder.
    FakeCard addCard(const QString& name, bool withDcim = true) const { return {volumes(), name, withDcim}; }
    // A card kept outside the volumes folder until `insert` moves it in.
    FakeCard stageCard(const QString& name) const { return {path(QStringLiteral("staging")), name}; }
    // Moves a staged card into the volumes folder in one step, as a mount makes it appear; its new root.
    QString insert(const QString& cardRoot) const;

private:
    QTemporaryDir m_dir;
};

} // namespace velarix::test
