#pragma once

#include <QDateTime>
#include <QString>

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

    bool operator==(const ImportHistory& other) const { return storeId != 0 && storeId == other.storeId; }
};

} // namespace velarix
