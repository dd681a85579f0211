#pragma once

#include "import/CardIdentity.h"
#include "import/CardScan.h"
#include "import/VelarixModel.h"

#include <QObject>
#include <QPromise>

namespace velarix {

// One run of loadSDCard: identity and name, scan, rows, durations. Lives on the GUI thread as a child
// of the model and deletes itself when done. Every step that writes the model first checks that its
// token is still the model's active one, so a superseded scan changes nothing; a newer load also
// cancels it, so that it stops opening files.
class CardLoad : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxDurationLoads = 4;

    CardLoad(VelarixModel& model, QString volume, HistoryStore& store,
             VelarixModel::DurationFilter durationsFor = {});
    ~CardLoad() override;
    // Replaces every load under way: they stop opening files.
    QFuture<Result<void>> start();
    // Its scan and duration reads stop at their next file; the load ends without touching the model.
    void cancel() { m_cancel->cancel(); }

private:
    struct Scan {
        QList<ScanCandidate> candidates; // the videos
        QList<ScanCandidate> companionCandidates;
        QList<QStringList> recordings;        // the videos' paths, chapters of one recording together
        QList<QStringList> companions;        // per recording
        QHash<QString, QDateTime> recordedAt; // by first chapter: the start its clip metadata states
        QHash<QString, QStringList> notes;    // by first chapter: companions that do not fit it
        CardHistory history;                  // of the candidates, read by the same worker
        std::optional<Error> error;
    };

    static QList<ImportState::Video> historyVideos(const QString& volume, const Scan& scan);
    bool isCurrent() const;
    void identified(const CardIdentity& identity);
    void scanned(const Scan& scan);
    void startNextDuration();
    void durationFinished();
    // Ends the load with its outcome, leaving the model idle unless a newer load has taken over.
    void finish(Result<void> outcome);

    VelarixModel& m_model;
    QString m_volume;
    HistoryStore& m_store;
    VelarixModel::DurationFilter m_durationsFor;
    QUuid m_token;
    std::optional<QString> m_cardID;
    VideoFileList m_rows;
    qsizetype m_nextRow = 0;
    qsizetype m_finishedRows = 0;
    QPromise<Result<void>> m_promise;
    // Shared with the workers, which may finish after this object is gone.
    std::shared_ptr<CancelToken> m_cancel = std::make_shared<CancelToken>();
};

} // namespace velarix
