#pragma once

#include "core/CancelToken.h"
#include "core/Result.h"
#include "history/HistoryRecords.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace velarix {

// Records the copies of one import run in the history while the run goes on: the copying thread
// hands each finished copy (verified, unless the run was told not to) over and waits until the GUI thread has
// recorded it, so that a process killed mid-run has recorded everything it finished (a re-run would otherwise
// copy it again).
//
// States, in order:
// - recording: each copy is recorded at once (the card's manifest with the first one only, so that
//   a write-protected card complains once);
// - refused: the store refused a record; later copies are kept for one last try rather than each
//   waiting out a busy store;
// - finished: finish() has made that last try on the GUI thread.
// Copies handed over after the card went away are not recorded.
class ImportRecorder : public std::enable_shared_from_this<ImportRecorder> {
public:
    // Writes records on the GUI thread; `writeManifest` is true for the run's first record only.
    using Write = std::function<Result<void>(const QString& cardUUID, const QList<ImportedFile>& files,
                                             bool writeManifest)>;
    // `context` is the GUI-thread object records are written on behalf of; when it is gone, nothing
    // is recorded. `cardPresent` is asked on the GUI thread before each record.
    ImportRecorder(QObject* context, Write write, std::function<bool()> cardPresent);

    // On the copying thread; the recorder must be held by a shared_ptr. Waits at most about five seconds, and
    // not once `cancel` is set, so that a GUI thread that no longer handles events cannot stall the run.
    void recordVerified(const QString& cardUUID, const ImportedFile& file, const CancelToken* cancel);

    // On the GUI thread, once the copying has ended: one more try for what the store refused.
    void finish();

    bool recordedAny() const { return m_recordedAny; }
    const std::optional<Error>& failure() const { return m_failure; }
    qsizetype unrecordedCount() const { return m_unrecorded.size(); }

private:
    void record(const QString& cardUUID, const ImportedFile& file); // GUI thread

    QPointer<QObject> m_context;
    Write m_write;
    std::function<bool()> m_cardPresent;
    // Touched on the GUI thread only.
    bool m_manifestWritten = false;
    bool m_recordedAny = false;
    std::optional<Error> m_failure;
    QList<ImportedFile> m_unrecorded;
    QString m_cardUUID;
};

} // namespace velarix
