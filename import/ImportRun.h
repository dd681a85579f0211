#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "import/ImportProgress.h"
#include "import/ImportReport.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace velarix {

class CopyCompletion;
struct CopyControl;
class VolumeProvider;

// Like mkdir -p, but keeps the system's reason for a failure.
Result<void> makeFolders(const QString& path);
// statvfs needs something that exists: the output root may still have to be created.
QString existingAncestor(QString path);

// The copying of one import, on a background thread: makes the destination's folders, copies each
// file (or joins a recording's chapters), hands every copy that reached its final name over to be
// recorded, and posts progress to the GUI thread. Each file is written on this thread while the one
// before is made durable, verified and named on the completion thread.
class ImportRun {
public:
    struct Item {
        QString source;
        QString fileName; // relative to the output root
        qint64 size = 0;
        QStringList chapters; // more than one: a recording's chapters, joined into one file
    };

    struct Outcome {
        ImportReport report;
        // Where each failed copy was going, by source.
        QHash<QString, QString> destinations;
        // A folder of the destination could not be made for lack of permission or a read-only disk.
        bool destinationUnwritable = false;
        QStringList folders;
        std::optional<QString> cardUUID;
        std::optional<Error> cardUUIDError;
    };

    // The card the files come from, if they come from one.
    struct Card {
        std::optional<QString> path;
        QString name;
        std::shared_ptr<VolumeProvider> volumes;
    };

    // Called on the completion thread for each copy that reached its final name, so that it is
    // recorded at once: a run that is killed later must not leave verified copies unrecorded (a
    // re-run would duplicate them).
    using Verified = std::function<void(const QString& cardUUID, const QString& source)>;

    ImportRun(QList<Item> items, const QString& root, QPointer<ImportProgress> progress,
              std::shared_ptr<const CancelToken> cancel, ImportOptions options, Card card, Verified verified);

    // Copies every item; only once.
    Outcome run();

    // What a cancelled run leaves, in the user's words.
    static QString cancelledText(const ImportReport& report, qsizetype itemCount, const QString& root);

private:
    void identifyCard();
    // The item's folder, made if it is missing, or why it cannot be.
    Result<QString> makeFolderOf(qsizetype index);
    CopyControl controlFor(const Item& item) const;
    void copy(qsizetype index, CopyCompletion& completion);
    void record(qsizetype index, const Result<QString>& result);
    template <class Step> void post(Step&& step) const;
    void postCopied(const Item& item) const;

    const QList<Item> m_items;
    const QString m_root; // clean
    QList<QString> m_destinations;
    const QPointer<ImportProgress> m_progress;
    // Held by this run: the progress that cancels it may be gone before the run has ended.
    const std::shared_ptr<const CancelToken> m_cancel;
    const ImportOptions m_options;
    const Card m_card;
    const Verified m_verified;
    QSet<QString> m_folders; // made or found, and cleared of stale temporaries
    Outcome m_outcome;
};

} // namespace velarix
