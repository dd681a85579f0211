#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace velarix::test {

// A small MP4 of `seconds` made once per length with the ffmpeg command and copied from then on.
// Empty when ffmpeg failed.
QByteArray sampleVideo(int seconds);

// Sets a file's modification (and access) time.
bool setModified(const QString& path, const QDateTime& when);

// A camera card as a folder inside a volumes folder (what VELARIX_VOLUMES_DIR points at).
class FakeCard {
public:
    FakeCard(const QString& volumesDir, const QString& name, bool withDcim = true);

    QString root() const { return m_root; }
    QString dcim() const { return m_root + QStringLiteral("/DCIM"); }

    // A real video below DCIM (relative path such as "100GOPRO/GX010001.MP4") with the given time.
    QString addVideo(const QString& relativePath, int seconds, const QDateTime& modified);
    // Any bytes below DCIM.
    QString addFile(const QString& relativePath, const QByteArray& bytes,
                    const QDateTime& modified = QDateTime());

private:
    QString m_root;
};

// A temporary home: XDG_CONFIG_HOME, XDG_DATA_HOME and VELARIX_VOLUMES_DIR inside one folder, set in
// this process's environment for as long as it lives.
class TestHome {
public:
    TestHome();
    ~TestHome();
    QString path() const { return m_dir.path(); }
    QString volumes() const { return m_dir.path() + QStringLiteral("/volumes"); }
    QString destination() const { return m_dir.path() + QStringLiteral("/dest"); }

private:
    QTemporaryDir m_dir;
};

} // namespace velarix::test
