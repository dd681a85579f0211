#pragma once

#include "core/Result.h"
#include "history/HistoryRecords.h"
#include "history/ImportState.h"
#include "import/ApplicationError.h"
#include "import/CardHistory.h"
#include "import/ImportProgress.h"
#include "import/ImportReport.h"
#include "import/JumpLogMatch.h"
#include "import/OutputPlan.h"
#include "import/VideoFileRow.h"
#include "import/VideoLoadingPhase.h"
#include "media/VideoProbe.h"

#include <QFileSystemWatcher>
#include <QFuture>

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace velarix {

class FileLock;
class HistoryStore;
class Settings;
class VolumeProvider;

// Settings keys of the import model.
namespace SettingsKey {
inline const QString outputLocation = QStringLiteral("import.Single.location");
inline const QString jumpNumber = QStringLiteral("import.Single.jump");
inline const QString importPattern = QStringLiteral("import.Single.pattern");
inline const QString autoIncrementJumpNumber = QStringLiteral("import.Single.autoIncrementJumpNumber");
inline const QString openFolderAferImport = QStringLiteral("import.Single.openFolderAferImport");
inline const QString autogroupVideos = QStringLiteral("import.Single.autogroupVideos");
inline const QString joinChapters = QStringLiteral("import.Single.joinChapters");
inline const QString copySidecars = QStringLiteral("import.Single.copySidecars");
inline const QString copyProxies = QStringLiteral("import.Single.copyProxies");
inline const QString trimAfterImport = QStringLiteral("import.Single.trimAfterImport");
// Minutes by which a logged jump's span is widened for other cameras' clocks.
inline const QString jumpLogTolerance = QStringLiteral("import.Single.jumpLogTolerance");
inline const QString modelMenuBarExtra = QStringLiteral("import.menubarextra");
} // namespace SettingsKey

inline const QString kDefaultImportPattern = QStringLiteral("{date}/{jump} {name} {filename}");

// The one shared state of the import side: the card shown, its videos, the selection, scan and import
// progress, the error to show, and the user's import settings. GUI thread only. Every field notifies
// its own change signal, and only when the assigned value differs from the stored one.
class VelarixModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(velarix::ApplicationError error READ error WRITE setError NOTIFY errorChanged)
    Q_PROPERTY(std::optional<QString> sdCardPath READ sdCardPath WRITE setSdCardPath NOTIFY sdCardPathChanged)
    Q_PROPERTY(std::optional<QString> sdCardVolumeUUID READ sdCardVolumeUUID WRITE setSdCardVolumeUUID NOTIFY
                   sdCardVolumeUUIDChanged)
    Q_PROPERTY(quint64 sdCardSpaceAvailable READ sdCardSpaceAvailable WRITE setSdCardSpaceAvailable NOTIFY
                   sdCardSpaceAvailableChanged)
    Q_PROPERTY(QString sdCardName READ sdCardName WRITE setSdCardName NOTIFY sdCardNameChanged)
    Q_PROPERTY(velarix::VideoFileList videoFiles READ videoFiles WRITE setVideoFiles NOTIFY videoFilesChanged)
    Q_PROPERTY(QSet<QString> selection READ selection WRITE setSelection NOTIFY selectionChanged)
    Q_PROPERTY(QUuid importStateRefreshID READ importStateRefreshID WRITE setImportStateRefreshID NOTIFY
                   importStateRefreshIDChanged)
    Q_PROPERTY(
        bool isLoadingVideos READ isLoadingVideos WRITE setIsLoadingVideos NOTIFY isLoadingVideosChanged)
    Q_PROPERTY(velarix::VideoLoadingPhase videoLoadingPhase READ videoLoadingPhase WRITE setVideoLoadingPhase
                   NOTIFY videoLoadingPhaseChanged)
    Q_PROPERTY(qint64 videoLoadingCurrent READ videoLoadingCurrent WRITE setVideoLoadingCurrent NOTIFY
                   videoLoadingCurrentChanged)
    Q_PROPERTY(qint64 videoLoadingTotal READ videoLoadingTotal WRITE setVideoLoadingTotal NOTIFY
                   videoLoadingTotalChanged)
    Q_PROPERTY(qint64 videoFilesDiscoveredCount READ videoFilesDiscoveredCount WRITE
                   setVideoFilesDiscoveredCount NOTIFY videoFilesDiscoveredCountChanged)
    Q_PROPERTY(QUuid activeVideoLoadingToken READ activeVideoLoadingToken WRITE setActiveVideoLoadingToken
                   NOTIFY activeVideoLoadingTokenChanged)
    Q_PROPERTY(
        QString outputLocation READ outputLocation WRITE setOutputLocation NOTIFY outputLocationChanged)
    Q_PROPERTY(qint64 jumpNumber READ jumpNumber WRITE setJumpNumber NOTIFY jumpNumberChanged)
    Q_PROPERTY(bool autoIncrementJumpNumber READ autoIncrementJumpNumber WRITE setAutoIncrementJumpNumber
                   NOTIFY autoIncrementJumpNumberChanged)
    Q_PROPERTY(
        bool autogroupVideos READ autogroupVideos WRITE setAutogroupVideos NOTIFY autogroupVideosChanged)
    Q_PROPERTY(QString importPattern READ importPattern WRITE setImportPattern NOTIFY importPatternChanged)
    Q_PROPERTY(bool openFolderAferImport READ openFolderAferImport WRITE setOpenFolderAferImport NOTIFY
                   openFolderAferImportChanged)
    Q_PROPERTY(
        bool trimAfterImport READ trimAfterImport WRITE setTrimAfterImport NOTIFY trimAfterImportChanged)
    Q_PROPERTY(bool menuBarExtra READ menuBarExtra WRITE setMenuBarExtra NOTIFY menuBarExtraChanged)
    Q_PROPERTY(qint64 jumpLogTolerance READ jumpLogTolerance WRITE setJumpLogTolerance NOTIFY
                   jumpLogToleranceChanged)
    Q_PROPERTY(velarix::ImportProgress* importProgress READ importProgress NOTIFY importProgressChanged)
    Q_PROPERTY(std::optional<QString> videoLoadingStatus READ videoLoadingStatus NOTIFY videoLoadingChanged)
    Q_PROPERTY(
        std::optional<double> videoLoadingFraction READ videoLoadingFraction NOTIFY videoLoadingChanged)

public:
    // Uses the process-wide settings store.
    explicit VelarixModel(QObject* parent = nullptr);
    explicit VelarixModel(Settings& settings, QObject* parent = nullptr);
    ~VelarixModel() override;

    Settings& defaults() const { return *m_defaults; }

    const ApplicationError& error() const { return m_error; }
    const std::optional<QString>& sdCardPath() const { return m_sdCardPath; }
    const std::optional<QString>& sdCardVolumeUUID() const { return m_sdCardVolumeUUID; }
    quint64 sdCardSpaceAvailable() const { return m_sdCardSpaceAvailable; }
    const QString& sdCardName() const { return m_sdCardName; }
    const VideoFileList& videoFiles() const { return m_videoFiles; }
    const QSet<QString>& selection() const { return m_selection; }
    QUuid importStateRefreshID() const { return m_importStateRefreshID; }
    bool isLoadingVideos() const { return m_isLoadingVideos; }
    VideoLoadingPhase videoLoadingPhase() const { return m_videoLoadingPhase; }
    qint64 videoLoadingCurrent() const { return m_videoLoadingCurrent; }
    qint64 videoLoadingTotal() const { return m_videoLoadingTotal; }
    qint64 videoFilesDiscoveredCount() const { return m_videoFilesDiscoveredCount; }
    QUuid activeVideoLoadingToken() const { return m_activeVideoLoadingToken; }
    const QString& outputLocation() const { return m_outputLocation; }
    qint64 jumpNumber() const { return m_jumpNumber; }
    bool autoIncrementJumpNumber() const { return m_autoIncrementJumpNumber; }
    bool autogroupVideos() const { return m_autogroupVideos; }
    // Import a recording in chapters as one joined file.
    bool joinChapters() const { return m_joinChapters; }
    // Import the files a camera writes beside a video (thumbnails, GPS subtitles, clip metadata,
    // proxies) with it. A second lens of a 360 clip is always imported.
    bool copySidecars() const { return m_copySidecars; }
    // With copySidecars: the low-resolution proxies (.LRV, .LRF) too.
    bool copyProxies() const { return m_copyProxies; }
    const QString& importPattern() const { return m_importPattern; }
    bool openFolderAferImport() const { return m_openFolderAferImport; }
    bool menuBarExtra() const { return m_menuBarExtra; }
    // The copies of a finished import open in the trimming window.
    bool trimAfterImport() const { return m_trimAfterImport; }
    // Where single files' copies also hand their bytes while "Trim after import" is on, so that their
    // analysis rides on the import (set by the application; see ImportOptions::feedFor).
    void setCopyFeeds(std::function<std::shared_ptr<CopyFeed>(const QString& source)> feeds,
                      std::function<std::shared_ptr<JoinedSamples>(const QString& firstChapter)> samples) {
        m_copyFeeds = std::move(feeds);
        m_joinedSamples = std::move(samples);
    }
    // Minutes (see SettingsKey::jumpLogTolerance).
    qint64 jumpLogTolerance() const { return m_jumpLogTolerance; }
    ImportProgress* importProgress() const { return m_importProgress; }
    // The import state of the card's rows and the jump log, as last read from the history: by the
    // card's load, then again (off the GUI thread) whenever importStateRefreshID changes.
    const ImportState& cardImportState() const { return m_cardHistory.importState; }
    const QList<LoggedJump>& jumpLog() const { return m_cardHistory.jumpLog; }

    void setError(const ApplicationError& error);
    void setSdCardPath(const std::optional<QString>& path);
    void setSdCardVolumeUUID(const std::optional<QString>& uuid);
    void setSdCardSpaceAvailable(quint64 bytes);
    void setSdCardName(const QString& name);
    void setVideoFiles(const VideoFileList& rows);
    void setSelection(const QSet<QString>& selection);
    void setImportStateRefreshID(const QUuid& id);
    void setIsLoadingVideos(bool loading);
    void setVideoLoadingPhase(VideoLoadingPhase phase);
    void setVideoLoadingCurrent(qint64 current);
    void setVideoLoadingTotal(qint64 total);
    void setVideoFilesDiscoveredCount(qint64 count);
    void setActiveVideoLoadingToken(const QUuid& token);
    void setOutputLocation(const QString& path);
    void setJumpNumber(qint64 number);
    void setAutoIncrementJumpNumber(bool on);
    void setAutogroupVideos(bool on);
    void setJoinChapters(bool on);
    void setCopySidecars(bool on);
    void setCopyProxies(bool on);
    void setImportPattern(const QString& pattern);
    void setOpenFolderAferImport(bool on);
    void setMenuBarExtra(bool on);
    void setTrimAfterImport(bool on);
    void setJumpLogTolerance(qint64 minutes);
    // Replaces what the history says about the card; any read still under way is dropped.
    void setCardHistory(const CardHistory& history);
    // Re-reads it from `context`'s file on the thread pool (a card load reads it itself).
    void refreshCardHistory(HistoryStore& context);
    // The model owns the progress object while an import runs; null when idle.
    void setImportProgress(ImportProgress* progress);

    // The selection last made on the card at `volume` (each card keeps its own); empty for a card
    // not shown before.
    QSet<QString> selectionFor(const QString& volume) const { return m_cardSelections.value(volume); }

    // Derived values, computed on every read.
    VideoFileList selectedVideoFiles() const;
    std::optional<QString> videoLoadingStatus() const;
    std::optional<double> videoLoadingFraction() const;
    // The output plan of the selected videos, oldest first: exactly what an import started now
    // would write. resolvedOutputFilesChanged tells when it may read differently.
    QList<ResolvedOutputFile> resolvedOutputFiles() const;
    // Why the pattern cannot name files (it is empty or only blanks and "/"); absent when it can.
    // Import stays unavailable while there is one. Changes with importPatternChanged.
    std::optional<QString> importPatternProblem() const;

    // The import state of the card's rows as the history has it now (read at once, on this thread).
    ImportState importState(HistoryStore& context) const;
    // The selected rows that the history already holds (ids).
    QSet<QString> importedSelection(HistoryStore& context) const;
    // Selects the rows not imported yet; unreadable ones are left out (they can still be selected
    // one by one, and are then copied as they are). Gives how many of the rows left out were
    // imported only without verification, so that the user can be told.
    qsizetype selectAllNew(HistoryStore& context);
    // Takes the card's import lock for this model until its next import ends, so that a selection
    // made now is not overtaken by another process importing the same card. importSelectedVideos
    // takes it itself when not held. Fails when another import of the card is running.
    Result<void> reserveCardForImport();
    // Says, once per card for the model's lifetime, that the card's identity could not be read and
    // why, so that marks of earlier imports may be missing.
    void tellUnreadableIdentity(const QString& volume, const Error& why);

    // The clock behind {today} and the day change; the system's by default (tests move it).
    void setClock(std::function<QDateTime()> clock);

    // Where volumes come from; the system's by default.
    const std::shared_ptr<VolumeProvider>& volumeProvider() const { return m_volumes; }
    void setVolumeProvider(std::shared_ptr<VolumeProvider> volumes);
    // How a folder is shown after an import; the desktop's file browser by default.
    void setFolderOpener(std::function<void(const QString&)> opener);
    // How a card load reads a video's duration, on a worker thread; probeVideoFile by default.
    using DurationProbe = std::function<VideoProbe(const QString& path)>;
    const DurationProbe& durationProbe() const { return m_durationProbe; }
    void setDurationProbe(DurationProbe probe) { m_durationProbe = std::move(probe); }

    // The asynchronous operations. Each starts on the GUI thread, works on the thread pool, changes
    // the model only in queued steps on the GUI thread, and finishes its future there. The store
    // must outlive the operation.

    // Which rows get their duration read when a card loads; every row when empty.
    using DurationFilter = std::function<bool(const VideoFileRow& row)>;
    // Looks for a card among the mounted volumes and loads it, or clears the card fields.
    QFuture<Result<void>> refreshSDCard(HistoryStore& context, const DurationFilter& durationsFor = {});
    // Loads the card at `volume`: its name, its videos newest first, then their durations.
    QFuture<Result<void>> loadSDCard(const QString& volume, HistoryStore& context,
                                     const DurationFilter& durationsFor = {});
    // Copies the selected videos by the plan into outputLocation; never fails, the report says how
    // it went (and `error` tells the user).
    QFuture<ImportReport> importSelectedVideos(HistoryStore& context, const ImportOptions& options = {});
    // Records imported files of a card in the history, with their clips' places in the jump log,
    // and (unless told not to) rewrites the card's manifest.
    Result<void> recordImport(const QString& cardID, const QList<ImportedFile>& files, HistoryStore& context,
                              bool rewriteManifest = true);
    // Forgets the current card's imported files, then reloads the card: how many records went, or
    // why the delete or the reload failed (a failed delete also sets `error`).
    QFuture<Result<int>> clearImportHistory(HistoryStore& context);

Q_SIGNALS:
    void errorChanged();
    void sdCardPathChanged();
    void sdCardVolumeUUIDChanged();
    void sdCardSpaceAvailableChanged();
    void sdCardNameChanged();
    void videoFilesChanged();
    void selectionChanged();
    void importStateRefreshIDChanged();
    void isLoadingVideosChanged();
    void videoLoadingPhaseChanged();
    void videoLoadingCurrentChanged();
    void videoLoadingTotalChanged();
    void videoFilesDiscoveredCountChanged();
    void activeVideoLoadingTokenChanged();
    void outputLocationChanged();
    void jumpNumberChanged();
    void autoIncrementJumpNumberChanged();
    void autogroupVideosChanged();
    void joinChaptersChanged();
    void copySidecarsChanged();
    void copyProxiesChanged();
    void importPatternChanged();
    void openFolderAferImportChanged();
    void menuBarExtraChanged();
    void trimAfterImportChanged();
    void jumpLogToleranceChanged();
    // cardImportState or jumpLog changed.
    void cardHistoryChanged();
    // An import run ended (also when cancelled or when every file failed), with its report.
    void importFinished(const velarix::ImportReport& report);
    void importProgressChanged();
    // Any input of videoLoadingStatus or videoLoadingFraction changed.
    void videoLoadingChanged();
    // Any input of resolvedOutputFiles changed: the selection, the rows or their durations (which
    // group clips), the pattern, the jump number, grouping, the card's name, the jump log and its
    // tolerance, or the day ({today}).
    void resolvedOutputFilesChanged();

private:
    // Re-reads it from the store the card was loaded with.
    void refreshCardHistory();
    // The store the card is read from, watched so that another process's import (velarix-cli)
    // shows too.
    void setHistoryFile(const QString& file);
    void loadSettings();
    void followRowDurations();
    void armDayChange();

    Settings* m_defaults;
    ApplicationError m_error;
    std::optional<QString> m_sdCardPath;
    std::optional<QString> m_sdCardVolumeUUID;
    quint64 m_sdCardSpaceAvailable = 0;
    QString m_sdCardName;
    VideoFileList m_videoFiles;
    QSet<QString> m_selection;
    QHash<QString, QSet<QString>> m_cardSelections;
    QUuid m_importStateRefreshID = QUuid::createUuid();
    bool m_isLoadingVideos = false;
    VideoLoadingPhase m_videoLoadingPhase = VideoLoadingPhase::idle;
    qint64 m_videoLoadingCurrent = 0;
    qint64 m_videoLoadingTotal = 0;
    qint64 m_videoFilesDiscoveredCount = 0;
    QUuid m_activeVideoLoadingToken = QUuid::createUuid();
    QString m_outputLocation;
    qint64 m_jumpNumber = 1;
    bool m_autoIncrementJumpNumber = true;
    bool m_autogroupVideos = true;
    bool m_joinChapters = true;
    bool m_copySidecars = true;
    bool m_copyProxies = true;
    QString m_importPattern = kDefaultImportPattern;
    bool m_openFolderAferImport = true;
    bool m_menuBarExtra = true;
    bool m_trimAfterImport = false;
    std::function<std::shared_ptr<CopyFeed>(const QString& source)> m_copyFeeds;
    std::function<std::shared_ptr<JoinedSamples>(const QString& firstChapter)> m_joinedSamples;
    qint64 m_jumpLogTolerance = kDefaultJumpLogToleranceMinutes;
    CardHistory m_cardHistory;
    quint64 m_cardHistoryGeneration = 0;
    QString m_historyFile; // the store the card was loaded with
    QFileSystemWatcher* m_historyWatch = nullptr;
    QTimer* m_historyChanged = nullptr;
    QPointer<ImportProgress> m_importProgress;
    std::shared_ptr<VolumeProvider> m_volumes;
    std::function<void(const QString&)> m_folderOpener;
    DurationProbe m_durationProbe = probeVideoFile;
    std::shared_ptr<FileLock> m_cardImportLock;
    QString m_cardImportLockPath;           // the card the lock is for
    QSet<QString> m_toldUnreadableIdentity; // volumes
    // Set while an import runs: stops it and records what it verified, at once (for the destructor).
    std::function<void()> m_finishImportNow;
    std::function<QDateTime()> m_clock;
    QTimer* m_dayChange = nullptr;
};

// The rows as the import state reads them: every chapter, each with its recording's date.
QList<ImportState::Video> importStateVideos(const VideoFileList& rows);

} // namespace velarix
