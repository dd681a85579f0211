#include "import/VelarixModel.h"

#include "import/CardLoad.h"
#include "import/RecordingStatus.h"

#include "core/Background.h"
#include "core/SetField.h"
#include "desktop/AppPaths.h"
#include "desktop/FolderOpener.h"
#include "desktop/Settings.h"
#include "desktop/Volumes.h"
#include "history/HistoryStore.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace velarix {

VelarixModel::VelarixModel(QObject* parent)
    : VelarixModel(Settings::standard(), parent) {}

VelarixModel::VelarixModel(Settings& settings, QObject* parent)
    : QObject(parent)
    , m_defaults(&settings)
    , m_volumes(SystemVolumes::shared())
    , m_folderOpener(openFolderInFileBrowser)
    , m_clock([] { return QDateTime::currentDateTime(); }) {
    loadSettings();
    for (auto signal : {&VelarixModel::selectionChanged, &VelarixModel::videoFilesChanged,
                        &VelarixModel::importPatternChanged, &VelarixModel::jumpNumberChanged,
                        &VelarixModel::autogroupVideosChanged, &VelarixModel::sdCardNameChanged,
                        &VelarixModel::cardHistoryChanged, &VelarixModel::jumpLogToleranceChanged})
        connect(this, signal, this, &VelarixModel::resolvedOutputFilesChanged);
    // The jump number also moves when velarix-cli imports (it shares the settings file).
    connect(m_defaults, &Settings::valueChanged, this, [this](const QString& key) {
        if (key != SettingsKey::jumpNumber)
            return;
        const qint64 stored = m_defaults->integerValue(SettingsKey::jumpNumber).value_or(1);
        setField(this, m_jumpNumber, stored, &VelarixModel::jumpNumberChanged);
    });
    // An import recorded files: the table's marks and the jump log are read again.
    connect(this, &VelarixModel::importStateRefreshIDChanged, this,
            qOverload<>(&VelarixModel::refreshCardHistory));
    // {today} turns over at midnight even while nobody touches the window.
    m_dayChange = new QTimer(this);
    m_dayChange->setSingleShot(true);
    m_dayChange->setTimerType(Qt::PreciseTimer);
    connect(m_dayChange, &QTimer::timeout, this, [this] {
        Q_EMIT resolvedOutputFilesChanged();
        armDayChange();
    });
    armDayChange();
}

VelarixModel::~VelarixModel() {
    // An import still running is stopped and waited for, and its verified copies are recorded: its
    // thread must not outlive the objects it reports to, nor its copies go unrecorded.
    if (auto finishImport = std::exchange(m_finishImportNow, nullptr))
        finishImport();
    // Card loads still under way end first, while this object can still take their (dropped) results:
    // once ~QObject has begun, a continuation bound to it has no context left to run in.
    qDeleteAll(findChildren<CardLoad*>(Qt::FindDirectChildrenOnly));
}

void VelarixModel::tellUnreadableIdentity(const QString& volume, const Error& why) {
    if (m_toldUnreadableIdentity.contains(volume))
        return;
    m_toldUnreadableIdentity.insert(volume);
    setError(ApplicationError::userError(
        tr("Velarix could not read the identity of the card %1 (%2). Its import history is kept "
           "under the card's name and size instead, so videos imported before may not be marked "
           "as imported.")
            .arg(QFileInfo(volume).fileName(), why.message)));
}

void VelarixModel::loadSettings() {
    m_outputLocation =
        m_defaults->stringValue(SettingsKey::outputLocation).value_or(AppPaths::videosDirectory());
    m_jumpNumber = m_defaults->integerValue(SettingsKey::jumpNumber).value_or(1);
    m_importPattern = m_defaults->stringValue(SettingsKey::importPattern).value_or(kDefaultImportPattern);
    m_autoIncrementJumpNumber = m_defaults->boolValue(SettingsKey::autoIncrementJumpNumber).value_or(true);
    m_openFolderAferImport = m_defaults->boolValue(SettingsKey::openFolderAferImport).value_or(true);
    m_autogroupVideos = m_defaults->boolValue(SettingsKey::autogroupVideos).value_or(true);
    m_joinChapters = m_defaults->boolValue(SettingsKey::joinChapters).value_or(true);
    m_copySidecars = m_defaults->boolValue(SettingsKey::copySidecars).value_or(true);
    m_copyProxies = m_defaults->boolValue(SettingsKey::copyProxies).value_or(true);
    m_trimAfterImport = m_defaults->boolValue(SettingsKey::trimAfterImport).value_or(false);
    m_jumpLogTolerance = std::max<qint64>(
        0, m_defaults->integerValue(SettingsKey::jumpLogTolerance).value_or(kDefaultJumpLogToleranceMinutes));
    // Through the setter, so the key is written back once at construction.
    setMenuBarExtra(m_defaults->boolValue(SettingsKey::modelMenuBarExtra).value_or(true));
}

void VelarixModel::setError(const ApplicationError& error) {
    setField(this, m_error, error, &VelarixModel::errorChanged);
}

void VelarixModel::setSdCardPath(const std::optional<QString>& path) {
    setField(this, m_sdCardPath, path, &VelarixModel::sdCardPathChanged);
}

void VelarixModel::setSdCardVolumeUUID(const std::optional<QString>& uuid) {
    setField(this, m_sdCardVolumeUUID, uuid, &VelarixModel::sdCardVolumeUUIDChanged);
}

void VelarixModel::setSdCardSpaceAvailable(quint64 bytes) {
    setField(this, m_sdCardSpaceAvailable, bytes, &VelarixModel::sdCardSpaceAvailableChanged);
}

void VelarixModel::setSdCardName(const QString& name) {
    setField(this, m_sdCardName, name, &VelarixModel::sdCardNameChanged);
}

void VelarixModel::setVideoFiles(const VideoFileList& rows) {
    if (m_videoFiles == rows)
        return;
    for (const VideoFileRowPtr& row : std::as_const(m_videoFiles))
        disconnect(row.get(), nullptr, this, nullptr);
    m_videoFiles = rows;
    followRowDurations();
    Q_EMIT videoFilesChanged();
}

void VelarixModel::followRowDurations() {
    // Durations arrive after the rows and decide which clips share a jump number.
    for (const VideoFileRowPtr& row : std::as_const(m_videoFiles)) {
        connect(row.get(), &VideoFileRow::durationChanged, this, [this, id = row->id()] {
            if (m_selection.contains(id))
                Q_EMIT resolvedOutputFilesChanged();
        });
    }
}

void VelarixModel::setSelection(const QSet<QString>& selection) {
    if (m_sdCardPath)
        m_cardSelections.insert(*m_sdCardPath, selection);
    setField(this, m_selection, selection, &VelarixModel::selectionChanged);
}

void VelarixModel::setImportStateRefreshID(const QUuid& id) {
    setField(this, m_importStateRefreshID, id, &VelarixModel::importStateRefreshIDChanged);
}

void VelarixModel::setIsLoadingVideos(bool loading) {
    setField(this, m_isLoadingVideos, loading, &VelarixModel::isLoadingVideosChanged,
             &VelarixModel::videoLoadingChanged);
}

void VelarixModel::setVideoLoadingPhase(VideoLoadingPhase phase) {
    setField(this, m_videoLoadingPhase, phase, &VelarixModel::videoLoadingPhaseChanged,
             &VelarixModel::videoLoadingChanged);
}

void VelarixModel::setVideoLoadingCurrent(qint64 current) {
    setField(this, m_videoLoadingCurrent, current, &VelarixModel::videoLoadingCurrentChanged,
             &VelarixModel::videoLoadingChanged);
}

void VelarixModel::setVideoLoadingTotal(qint64 total) {
    setField(this, m_videoLoadingTotal, total, &VelarixModel::videoLoadingTotalChanged,
             &VelarixModel::videoLoadingChanged);
}

void VelarixModel::setVideoFilesDiscoveredCount(qint64 count) {
    setField(this, m_videoFilesDiscoveredCount, count, &VelarixModel::videoFilesDiscoveredCountChanged,
             &VelarixModel::videoLoadingChanged);
}

void VelarixModel::setActiveVideoLoadingToken(const QUuid& token) {
    setField(this, m_activeVideoLoadingToken, token, &VelarixModel::activeVideoLoadingTokenChanged);
}

// The settings are written on every assignment, equal or not; only the notification is skipped.
void VelarixModel::setOutputLocation(const QString& path) {
    m_defaults->setValue(SettingsKey::outputLocation, path);
    setField(this, m_outputLocation, path, &VelarixModel::outputLocationChanged);
}

void VelarixModel::setJumpNumber(qint64 number) {
    m_defaults->setValue(SettingsKey::jumpNumber, number);
    setField(this, m_jumpNumber, number, &VelarixModel::jumpNumberChanged);
}

void VelarixModel::setAutoIncrementJumpNumber(bool on) {
    m_defaults->setValue(SettingsKey::autoIncrementJumpNumber, on);
    setField(this, m_autoIncrementJumpNumber, on, &VelarixModel::autoIncrementJumpNumberChanged);
}

void VelarixModel::setAutogroupVideos(bool on) {
    m_defaults->setValue(SettingsKey::autogroupVideos, on);
    setField(this, m_autogroupVideos, on, &VelarixModel::autogroupVideosChanged);
}

void VelarixModel::setJoinChapters(bool on) {
    m_defaults->setValue(SettingsKey::joinChapters, on);
    setField(this, m_joinChapters, on, &VelarixModel::joinChaptersChanged);
}

void VelarixModel::setCopySidecars(bool on) {
    m_defaults->setValue(SettingsKey::copySidecars, on);
    setField(this, m_copySidecars, on, &VelarixModel::copySidecarsChanged);
}

void VelarixModel::setCopyProxies(bool on) {
    m_defaults->setValue(SettingsKey::copyProxies, on);
    setField(this, m_copyProxies, on, &VelarixModel::copyProxiesChanged);
}

void VelarixModel::setImportPattern(const QString& pattern) {
    m_defaults->setValue(SettingsKey::importPattern, pattern);
    setField(this, m_importPattern, pattern, &VelarixModel::importPatternChanged);
}

void VelarixModel::setOpenFolderAferImport(bool on) {
    m_defaults->setValue(SettingsKey::openFolderAferImport, on);
    setField(this, m_openFolderAferImport, on, &VelarixModel::openFolderAferImportChanged);
}

void VelarixModel::setTrimAfterImport(bool on) {
    m_defaults->setValue(SettingsKey::trimAfterImport, on);
    setField(this, m_trimAfterImport, on, &VelarixModel::trimAfterImportChanged);
}

void VelarixModel::setJumpLogTolerance(qint64 minutes) {
    minutes = std::max<qint64>(0, minutes);
    m_defaults->setValue(SettingsKey::jumpLogTolerance, minutes);
    setField(this, m_jumpLogTolerance, minutes, &VelarixModel::jumpLogToleranceChanged);
}

void VelarixModel::setMenuBarExtra(bool on) {
    m_defaults->setValue(SettingsKey::modelMenuBarExtra, on);
    setField(this, m_menuBarExtra, on, &VelarixModel::menuBarExtraChanged);
}

void VelarixModel::setImportProgress(ImportProgress* progress) {
    if (m_importProgress == progress)
        return;
    ImportProgress* old = m_importProgress;
    m_importProgress = progress;
    if (progress)
        progress->setParent(this);
    Q_EMIT importProgressChanged();
    if (old)
        old->deleteLater();
}

VideoFileList VelarixModel::selectedVideoFiles() const {
    VideoFileList selected;
    for (const auto& row : m_videoFiles) {
        if (m_selection.contains(row->id()))
            selected.append(row);
    }
    return selected;
}

std::optional<QString> VelarixModel::videoLoadingStatus() const {
    if (!m_isLoadingVideos)
        return std::nullopt;
    switch (m_videoLoadingPhase) {
    case VideoLoadingPhase::idle:
        return std::nullopt;
    case VideoLoadingPhase::scanning:
        if (m_videoFilesDiscoveredCount == 0)
            return QCoreApplication::translate("velarix::VelarixModel", "Scanning SD card\u2026");
        return QCoreApplication::translate("velarix::VelarixModel",
                                           "Scanning SD card\u2026 %n video(s) found", nullptr,
                                           int(m_videoFilesDiscoveredCount));
    case VideoLoadingPhase::loadingMetadata:
        return QCoreApplication::translate("velarix::VelarixModel", "Loading video details\u2026 %1 of %2")
            .arg(m_videoLoadingCurrent)
            .arg(m_videoLoadingTotal);
    }
    return std::nullopt;
}

QList<ResolvedOutputFile> VelarixModel::resolvedOutputFiles() const {
    return resolveOutputFiles(
        {selectedVideoFiles(), m_jumpNumber, m_autogroupVideos, m_importPattern, m_sdCardName, m_clock()},
        m_cardHistory.jumpLog, m_jumpLogTolerance * 60);
}

void VelarixModel::setClock(std::function<QDateTime()> clock) {
    m_clock = std::move(clock);
    armDayChange();
    Q_EMIT resolvedOutputFilesChanged();
}

void VelarixModel::armDayChange() {
    const QDateTime now = m_clock();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    // A little past midnight, so that the clock reads the new day when the timer fires.
    m_dayChange->start(std::chrono::milliseconds(std::max<qint64>(0, now.msecsTo(midnight)) + 20));
}

void VelarixModel::setVolumeProvider(std::shared_ptr<VolumeProvider> volumes) {
    m_volumes = std::move(volumes);
}

void VelarixModel::setFolderOpener(std::function<void(const QString&)> opener) {
    m_folderOpener = std::move(opener);
}

std::optional<double> VelarixModel::videoLoadingFraction() const {
    if (m_videoLoadingPhase != VideoLoadingPhase::loadingMetadata || m_videoLoadingTotal <= 0)
        return std::nullopt;
    return double(m_videoLoadingCurrent) / double(m_videoLoadingTotal);
}

QFuture<Result<void>> VelarixModel::loadSDCard(const QString& volume, HistoryStore& context,
                                               const DurationFilter& durationsFor) {
    setHistoryFile(context.filePath());
    return (new CardLoad(*this, volume, context, durationsFor))->start();
}

QFuture<Result<void>> VelarixModel::refreshSDCard(HistoryStore& context, const DurationFilter& durationsFor) {
    auto promise = std::make_shared<QPromise<Result<void>>>();
    promise->start();
    QFuture<Result<void>> future = promise->future();
    struct Found {
        std::optional<QString> volume;
        std::optional<Error> error;
    };
    const auto find = [volumes = m_volumes] {
        Found found;
        auto volume = findSDCardVolume(*volumes);
        if (volume)
            found.volume = *volume;
        else
            found.error = volume.error();
        return found;
    };
    runInBackground(this, find, [this, promise, &context, durationsFor](const Found& found) {
        if (found.error) {
            promise->addResult(Result<void>(*found.error));
            promise->finish();
            return;
        }
        if (!found.volume) {
            // A load of the card that went stops, and no longer counts as the current one.
            for (CardLoad* load : findChildren<CardLoad*>(Qt::FindDirectChildrenOnly))
                load->cancel();
            setActiveVideoLoadingToken(QUuid::createUuid());
            // The path first, so that the card's own selection is kept for its return.
            setSdCardPath(std::nullopt);
            setSelection({});
            setVideoFiles({});
            setCardHistory({});
            setSdCardVolumeUUID(std::nullopt);
            setSdCardSpaceAvailable(0);
            setIsLoadingVideos(false);
            setVideoLoadingPhase(VideoLoadingPhase::idle);
            setVideoLoadingCurrent(0);
            setVideoLoadingTotal(0);
            setVideoFilesDiscoveredCount(0);
            promise->addResult(Result<void>());
            promise->finish();
            return;
        }
        whenFinished(this, loadSDCard(*found.volume, context, durationsFor),
                     [promise](const Result<void>& loaded) {
                         promise->addResult(loaded);
                         promise->finish();
                     });
    });
    return future;
}

ImportState VelarixModel::importState(HistoryStore& context) const {
    ImportState state;
    state.refresh(context, m_sdCardVolumeUUID, importStateVideos(m_videoFiles));
    return state;
}

QSet<QString> VelarixModel::importedSelection(HistoryStore& context) const {
    const ImportState state = importState(context);
    QSet<QString> imported;
    for (const VideoFileRowPtr& row : m_videoFiles) {
        if (m_selection.contains(row->id()) && recordingStatus(state, *row) == ImportStatus::imported)
            imported.insert(row->id());
    }
    return imported;
}

qsizetype VelarixModel::selectAllNew(HistoryStore& context) {
    const ImportState state = importState(context);
    QSet<QString> selection;
    qsizetype unverified = 0;
    for (const VideoFileRowPtr& row : m_videoFiles) {
        const ImportStatus status = recordingStatus(state, *row);
        if (status != ImportStatus::imported && status != ImportStatus::unreadable)
            selection.insert(row->id());
        if (status == ImportStatus::imported && recordingVerified(state, *row) == false)
            ++unverified;
    }
    setSelection(selection);
    return unverified;
}

QList<ImportState::Video> importStateVideos(const VideoFileList& rows) {
    QList<ImportState::Video> videos;
    for (const auto& row : rows) {
        for (qsizetype chapter = 0; chapter < row->chapterPaths().size(); ++chapter)
            videos.append(stateVideo(*row, chapter));
    }
    return videos;
}

} // namespace velarix
