#include "import/CardListModel.h"

#include "core/Background.h"
#include "desktop/VolumeEject.h"
#include "import/ApplicationError.h"
#include "import/CardIdentity.h"
#include "import/CardScan.h"
#include "import/CardWatcher.h"
#include "import/FailureReport.h"
#include "import/VelarixModel.h"
#include "media/ChapterGroups.h"
#include "media/StreamSignature.h"

#include <QFileInfo>

namespace velarix {

CardListModel::CardListModel(CardWatcher& watcher, VelarixModel& model, HistoryStore& store, QObject* parent)
    : QAbstractListModel(parent)
    , m_watcher(watcher)
    , m_model(model)
    , m_store(store)
    , m_current(model.sdCardPath()) {
    connect(&m_watcher, &CardWatcher::cardsChanged, this, &CardListModel::syncWithWatcher);
    connect(&m_watcher, &CardWatcher::cardInserted, this, &CardListModel::cardInserted);
    connect(&m_watcher, &CardWatcher::cardRemoved, this, &CardListModel::cardRemoved);
    connect(&m_model, &VelarixModel::sdCardPathChanged, this, &CardListModel::currentChanged);
    connect(&m_model, &VelarixModel::importProgressChanged, this, &CardListModel::choosableChanged);
    for (auto signal : {&VelarixModel::sdCardNameChanged, &VelarixModel::videoFilesChanged,
                        &VelarixModel::sdCardSpaceAvailableChanged, &VelarixModel::isLoadingVideosChanged})
        connect(&m_model, signal, this, &CardListModel::currentDetailsChanged);
    syncWithWatcher();
}

int CardListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_cards.size());
}

QVariant CardListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Card& card = m_cards.at(index.row());
    const bool current = m_current == card.path;
    // The shown card's live values: a name typed into the form, the rows the scan found.
    const bool live = current && !m_model.isLoadingVideos();
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return current && !m_model.sdCardName().isEmpty() ? m_model.sdCardName() : card.name;
    case Qt::ToolTipRole:
        return card.path;
    case PathRole:
        return card.path;
    case SpaceAvailableRole:
        return current && m_model.sdCardSpaceAvailable() != 0 ? m_model.sdCardSpaceAvailable()
                                                              : card.spaceAvailable;
    case VideoCountRole:
        return live ? qint64(m_model.videoFiles().size()) : card.videoCount;
    case IsCurrentRole:
        return current;
    default:
        return {};
    }
}

QHash<int, QByteArray> CardListModel::roleNames() const {
    return {{Qt::DisplayRole, "display"},
            {PathRole, "path"},
            {NameRole, "name"},
            {SpaceAvailableRole, "spaceAvailable"},
            {VideoCountRole, "videoCount"},
            {IsCurrentRole, "isCurrent"}};
}

int CardListModel::rowOf(const QString& path) const {
    for (int row = 0; row < m_cards.size(); ++row) {
        if (m_cards.at(row).path == path)
            return row;
    }
    return -1;
}

QString CardListModel::pathAt(int row) const {
    return row >= 0 && row < m_cards.size() ? m_cards.at(row).path : QString();
}

void CardListModel::syncWithWatcher() {
    const QStringList& mounted = m_watcher.cards();
    for (int row = int(m_cards.size()) - 1; row >= 0; --row) {
        if (!mounted.contains(m_cards.at(row).path)) {
            beginRemoveRows({}, row, row);
            m_cards.removeAt(row);
            endRemoveRows();
        }
    }
    // New cards join in the watcher's order.
    for (int index = 0; index < mounted.size(); ++index) {
        const QString& path = mounted.at(index);
        if (rowOf(path) >= 0)
            continue;
        const int row = std::min(index, int(m_cards.size()));
        beginInsertRows({}, row, row);
        m_cards.insert(row, Card{path, QFileInfo(path).fileName(), 0, -1});
        endInsertRows();
        identify(path);
    }
}

void CardListModel::identify(const QString& path) {
    struct Found {
        CardIdentity identity;
        qint64 videoCount = -1;
    };
    runInBackground(
        this,
        [path, volumes = m_watcher.volumes()] {
            Found found{identifyCard(path, *volumes), -1};
            // Recordings, as the table lists them once the card is shown: chapters count as one.
            if (auto videos = scanVideoFiles(path, {})) {
                QStringList paths;
                for (const ScanCandidate& video : std::as_const(*videos))
                    paths.append(video.path);
                found.videoCount =
                    groupChapters(paths, [](const QString& file) { return streamSignature(file); }).size();
            }
            return found;
        },
        [this](const Found& found) {
            const int row = rowOf(found.identity.path);
            if (row < 0)
                return;
            Card& card = m_cards[row];
            if (auto name = found.identity.name(m_store))
                card.name = *name;
            card.spaceAvailable = found.identity.spaceAvailable;
            card.videoCount = found.videoCount;
            Q_EMIT dataChanged(index(row), index(row));
        });
}

bool CardListModel::isChoosable() const {
    return m_model.importProgress() == nullptr;
}

void CardListModel::choose(const QString& path) {
    if (!isChoosable() || m_model.sdCardPath() == path || rowOf(path) < 0)
        return;
    report(m_model.loadSDCard(path, m_store));
}

void CardListModel::eject(const QString& path) {
    // UDisks calls block: off the GUI thread. The unmount itself then shows through the watcher.
    report(runInBackground([path] { return ejectVolume(path); }));
}

void CardListModel::cardInserted(const QString& path) {
    if (!m_model.sdCardPath())
        report(m_model.loadSDCard(path, m_store));
}

void CardListModel::cardRemoved(const QString& path) {
    if (m_model.sdCardPath() == path)
        report(m_model.refreshSDCard(m_store));
}

void CardListModel::currentChanged() {
    const std::optional<QString> before = std::exchange(m_current, m_model.sdCardPath());
    for (const std::optional<QString>& path : {before, m_current}) {
        if (const int row = path ? rowOf(*path) : -1; row >= 0)
            Q_EMIT dataChanged(index(row), index(row));
    }
}

void CardListModel::currentDetailsChanged() {
    if (const int row = m_current ? rowOf(*m_current) : -1; row >= 0)
        Q_EMIT dataChanged(index(row), index(row));
}

void CardListModel::report(const QFuture<Result<void>>& operation) {
    reportFailure(operation, this, m_model);
}

} // namespace velarix
