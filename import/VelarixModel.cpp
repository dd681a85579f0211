#include "import/VelarixModel.h"

#include "import/CardLoad.h"

#include "platform/AppPaths.h"
#include "platform/FolderOpener.h"
#include "platform/Settings.h"
#include "platform/Volumes.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace velarix {

namespace {
// Stores the value; tells `notify` only when it differs from the old one.
template <class T, class Notify> bool assign(T& field, const T& value, Notify&& notify) {
    if (field == value)
        return false;
    field = value;
    notify();
    return true;
}
} // namespace

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
        assign(m_jumpNumber, stored, [this] { Q_EMIT jumpNumberChanged(); });
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
        QStringLiteral("Velarix could not read the identity of the card %1 (%2). Its import history is kept "
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
    assign(m_error, error, [this] { Q_EMIT errorChanged(); });
}

void VelarixModel::setSdCardPath(const std::optional<QString>& path) {
    assign(m_sdCardPath, path, [this] { Q_EMIT sdCardPathChanged(); });
}

void VelarixModel::setSdCardVolumeUUID(const std::optional<QString>& uuid) {
    assign(m_sdCardVolumeUUID, uuid, [this] { Q_EMIT sdCardVolumeUUIDChanged(); });
}

void VelarixModel::setSdCardSpaceAvailable(quint64 bytes) {
    assign(m_sdCardSpaceAvailable, bytes, [this] { Q_EMIT sdCardSpaceAvailableChanged(); });
}

void VelarixModel::setSdCardName(const QString& name) {
    assign(m_sdCardName, name, [this] { Q_EMIT sdCardNameChanged(); });
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
    assign(m_selection, selection, [this] { Q_EMIT selectionChanged(); });
}

void VelarixModel::setImportStateRefreshID(const QUuid& id) {
    assign(m_importStateRefreshID, id, [this] { Q_EMIT importStateRefreshIDChanged(); });
}

void VelarixModel::setIsLoadingVideos(bool loading) {
    assign(m_isLoadingVideos, loading, [this] {
        Q_EMIT isLoadingVideosChanged();
        Q_EMIT videoLoadingChanged();
    });
}

void VelarixModel::setVideoLoadingPhase(VideoLoadingPhase phase) {
    assign(m_videoLoadingPhase, phase, [this] {
        Q_EMIT videoLoadingPhaseChanged();
        Q_EMIT videoLoadingChanged();
    });
}

void VelarixModel::setVideoLoadingCurrent(qint64 current) {
    assign(m_videoLoadingCurrent, current, [this] {
        Q_EMIT videoLoadingCurrentChanged();
        Q_EMIT videoLoadingChanged();
    });
}

void VelarixModel::setVideoLoadingTotal(qint64 total) {
    assign(m_videoLoadingTotal, total, [this] {
        Q_EMIT videoLoadingTotalChanged();
        Q_EMIT videoLoadingChanged();
    });
}

void VelarixModel::setVideoFilesDiscoveredCount(qint64 count) {
    assign(m_videoFilesDiscoveredCount, count, [this] {
        Q_EMIT videoFilesDiscoveredCountChanged();
        Q_EMIT videoLoadingChanged();
    });
}

void VelarixModel::setActiveVideoLoadingToken(const QUuid& token) {
    assign(m_activeVideoLoadingToken, token, [this] { Q_EMIT activeVideoLoadingTokenChanged(); });
}

// The settings are written on every assignment, equal or not; only the notification is skipped.
void VelarixModel::setOutputLocation(const QString& path) {
    m_defaults->setValue(SettingsKey::outputLocation, path);
    assign(m_outputLocation, path, [this] { Q_EMIT outputLocationChanged(); });
}

void VelarixModel::setJumpNumber(qint64 number) {
    m_defaults->setValue(SettingsKey::jumpNumber, number);
    assign(m_jumpNumber, number, [this] { Q_EMIT jumpNumberChanged(); });
}

void VelarixModel::setAutoIncrementJumpNumber(bool on) {
    m_defaults->setValue(SettingsKey::autoIncrementJumpNumber, on);
    assign(m_autoIncrementJumpNumber, on, [this] { Q_EMIT autoIncrementJumpNumberChanged(); });
}

void VelarixModel::setAutogroupVideos(bool on) {
    m_defaults->setValue(SettingsKey::autogroupVideos, on);
    assign(m_autogroupVideos, on, [this] { Q_EMIT autogroupVideosChanged(); });
}

void VelarixModel::setJoinChapters(bool on) {
    m_defaults->setValue(SettingsKey::joinChapters, on);
    assign(m_joinChapters, on, [this] { Q_EMIT joinChaptersChanged(); });
}

void VelarixModel::setCopySidecars(bool on) {
    m_defaults->setValue(SettingsKey::copySidecars, on);
    assign(m_copySidecars, on, [this] { Q_EMIT copySidecarsChanged(); });
}

void VelarixModel::setCopyProxies(bool on) {
    m_defaults->setValue(SettingsKey::copyProxies, on);
    assign(m_copyProxies, on, [this] { Q_EMIT copyProxiesChanged(); });
}

void VelarixModel::setImportPattern(const QString& pattern) {
    m_defaults->setValue(SettingsKey::importPattern, pattern);
    assign(m_importPattern, pattern, [this] { Q_EMIT importPatternChanged(); });
}

void VelarixModel::setOpenFolderAferImport(bool on) {
    m_defaults->setValue(SettingsKey::openFolderAferImport, on);
    assign(m_openFolderAferImport, on, [this] { Q_EMIT openFolderAferImportChanged(); });
}

void VelarixModel::setTrimAfterImport(bool on) {
    m_defaults->setValue(SettingsKey::trimAfterImport, on);
    assign(m_trimAfterImport, on, [this] { Q_EMIT trimAfterImportChanged(); });
}

void VelarixModel::setJumpLogTolerance(qint64 minutes) {
    minutes = std::max<qint64>(0, minutes);
    m_defaults->setValue(SettingsKey::jumpLogTolerance, minutes);
    assign(m_jumpLogTolerance, minutes, [this] { Q_EMIT jumpLogToleranceChanged(); });
}

void VelarixModel::setMenuBarExtra(bool on) {
    m_defaults->setValue(SettingsKey::modelMenuBarExtra, on);
    assign(m_menuBarExtra, on, [this] { Q_EMIT menuBarExtraChanged(); });
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

} // namespace velarix
