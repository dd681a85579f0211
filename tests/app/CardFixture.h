#pragma once

// A real camera card for the window tests: a volumes folder (for VELARIX_VOLUMES_DIR) holding a card
// folder with a DCIM tree of small clips made by the ffmpeg command, plus a real store and settings.

#include "tests/support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace velarix::test {

class CardFixture {
public:
    CardFixture() {
        QStandardPaths::setTestModeEnabled(true);
        volumes = m_dir.filePath(QStringLiteral("volumes"));
        QDir().mkpath(volumes);
        qputenv("VELARIX_VOLUMES_DIR", volumes.toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("settings.json")); }
    QString storeFile() const {
        return m_dir.filePath(QStringLiteral("data/app.tarnwick.Velarix/default.store"));
    }

    // A card folder with a DCIM folder, outside the volumes folder until `insert` moves it in.
    QString makeCard(const QString& name) {
        const QString card = m_dir.filePath(QStringLiteral("staging/") + name);
        QDir().mkpath(card + QStringLiteral("/DCIM/100GOPRO"));
        return card;
    }
    // Moves a card into the volumes folder in one step, as a mount would make it appear.
    QString insert(const QString& card) {
        const QString target = volumes + QLatin1Char('/') + QFileInfo(card).fileName();
        QDir().rename(card, target);
        return target;
    }

    // A clip of `seconds` with a test picture, dated `created` (its modification time; the birth
    // time of a fresh file is later, so the earlier one counts as its creation).
    static QString makeClip(const QString& card, const QString& name, double seconds,
                            const QDateTime& created, const QString& size = QStringLiteral("160x120")) {
        const QString file = card + QStringLiteral("/DCIM/100GOPRO/") + name;
        const ProcessResult made = runProcess(
            QStringLiteral("ffmpeg"),
            {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
             QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("testsrc=duration=%1:size=%2:rate=10").arg(seconds).arg(size),
             QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-f"), QStringLiteral("mp4"),
             file});
        if (made.exitCode != 0)
            qFatal("ffmpeg failed: %s", made.err.constData());
        QFile handle(file);
        if (!handle.open(QIODevice::ReadWrite) ||
            !handle.setFileTime(created, QFileDevice::FileModificationTime))
            qFatal("cannot date %s", qPrintable(file));
        return file;
    }

    QString volumes;

private:
    QTemporaryDir m_dir;
};

} // namespace velarix::test
