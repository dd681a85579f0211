#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace velarix {

// A card the user has imported from; `id` is the volume UUID text.
struct SDCard {
    qint64 storeId = 0; // the record's identity in the store
    QString id;
    QString name;

    // Records are the same when they are the same stored record, not when their fields agree.
    bool operator==(const SDCard& other) const { return storeId != 0 && storeId == other.storeId; }
};

// What identifies a file on its card: its name, and (in records written since schema 1.1.0) its
// path below the card's root and its size. Cameras reuse names across folders, so the name alone
// cannot tell two clips apart.
struct CardFile {
    QString fileName;                    // last path component, e.g. "GX010001.MP4"
    std::optional<QString> relativePath; // e.g. "DCIM/100GOPRO/GX010001.MP4"
    std::optional<qint64> fileSize;
};

// One imported file: the file on the card, the card it came from, and when it was recorded.
struct ImportHistory {
    qint64 storeId = 0;
    QString fileName;
    QString sdCardID;
    QDateTime date;
    // Absent in records written before schema 1.1.0; those match by file name alone.
    std::optional<QString> relativePath;
    std::optional<qint64> fileSize;
    // Whether the copy was read back and compared; absent in records written before schema 1.2.0,
    // which did not say.
    std::optional<bool> verified;

    bool operator==(const ImportHistory& other) const { return storeId != 0 && storeId == other.storeId; }
};

// One imported clip in the jump log: the jump number it was filed under, that jump's day, and when
// the clip ran.
struct JumpClip {
    qint64 jump = 0;
    QDate day;
    QDateTime start;
    QDateTime end;
};

// What an import run records of one copied file.
struct ImportedFile {
    CardFile file;
    bool verified = true;
    // Set on one file of each clip (a recording's first chapter): its place in the jump log.
    std::optional<JumpClip> jump;
};

// One jump of the log. Its span is that of the clips of the card it was first logged from: another
// camera's clips were matched within a tolerance for its clock and must not stretch the jump.
struct LoggedJump {
    QDate day;
    qint64 jump = 0;
    QDateTime start;
    QDateTime end;
    QString cardName;      // the card the number was first logged from
    QStringList cardNames; // every card with clips of this jump, first logged first
};

} // namespace velarix
