#pragma once

#include <QDateTime>
#include <QString>

namespace velarix {

// A card the user has imported from; `id` is the volume UUID text.
struct SDCard {
    qint64 storeId = 0; // the record's identity in the store
    QString id;
    QString name;

    // Records are the same when they are the same stored record, not when their fields agree.
    bool operator==(const SDCard& other) const { return storeId != 0 && storeId == other.storeId; }
};

// One imported file: its name on the card, the card it came from, and when it was recorded.
struct ImportHistory {
    qint64 storeId = 0;
    QString fileName;
    QString sdCardID;
    QDateTime date;

    bool operator==(const ImportHistory& other) const { return storeId != 0 && storeId == other.storeId; }
};

} // namespace velarix
