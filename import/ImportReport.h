#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace velarix {

class CopyFeed;
class JoinedSamples;

// How one import run went, file by file.
struct ImportReport {
    struct Imported {
        QString source;
        QString destination; // where the copy ended up, after any " - n" renaming
    };
    struct Failed {
        QString source;
        QString error;
    };
    QList<Imported> imported;
    QList<Failed> failed;
    bool cancelled = false;
    // Set when nothing was attempted, with the reason (not enough space, an import already running).
    std::optional<QString> notStarted;
    // Set when copies landed but the history could not record them all (the store is read-only,
    // full or busy, or the card's identity could not be read). The copies stay; the videos just do
    // not show as imported. A run with this set did not succeed.
    std::optional<QString> historyError;
};

struct ImportOptions {
    // Read every copy back from the disk and compare checksums.
    bool verify = true;
    // Called on the copying thread after each chunk (tests use it to stage a card pulled mid-copy).
    std::function<void(const QString& source, qint64 copied)> afterChunk;
    // Where a single file's copy also hands its bytes, called on the copying thread before it starts
    // (null: nowhere).
    std::function<std::shared_ptr<CopyFeed>(const QString& source)> feedFor;
    // Where a recording's join keeps its sound and telemetry samples, likewise (null: nowhere).
    std::function<std::shared_ptr<JoinedSamples>(const QString& firstChapter)> samplesFor;
};

} // namespace velarix
