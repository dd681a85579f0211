#pragma once

#include "core/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

namespace velarix {

// One release in an appcast feed (RSS 2.0 with the "sparkle" namespace).
struct AppcastItem {
    QString title;
    QString version;      // sparkle:version, the machine-comparable build version
    QString shortVersion; // sparkle:shortVersionString, what users see; falls back to version
    QUrl releaseNotes;    // sparkle:releaseNotesLink
    QString description;  // inline notes (HTML), when the feed has them
    QUrl download;        // the enclosure's url
    qint64 length = 0;    // the enclosure's length in bytes, 0 when not given
    QDateTime published;

    QString displayVersion() const { return shortVersion.isEmpty() ? version : shortVersion; }
};

// The items of a feed, in feed order. Items without a version are skipped; a document that is not an
// RSS feed is an error.
Result<QList<AppcastItem>> parseAppcast(const QByteArray& xml);

// Compares dotted versions numerically part by part ("1.10" > "1.9", "1.2" == "1.2.0"); a part with
// letters compares its leading number first, then the rest as text ("2.0b1" < "2.0").
int compareVersions(const QString& a, const QString& b);

// The newest item newer than `currentVersion`, if any.
std::optional<AppcastItem> newestUpdate(const QList<AppcastItem>& items, const QString& currentVersion);

} // namespace velarix
