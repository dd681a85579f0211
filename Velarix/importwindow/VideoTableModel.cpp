#include "Velarix/importwindow/VideoTableModel.h"

#include "Velarix/importwindow/ThumbnailLoader.h"
#include "Velarix/widgets/SpokenText.h"
#include "desktop/DisplayFormats.h"
#include "import/RecordingStatus.h"

#include <QLocale>

#include <algorithm>

namespace velarix {

VideoTableModel::VideoTableModel(ThumbnailLoader& thumbnails, QObject* parent)
    : QAbstractTableModel(parent)
    , m_thumbnails(thumbnails) {
    connect(&m_thumbnails, &ThumbnailLoader::finished, this, &VideoTableModel::thumbnailFinished);
}

int VideoTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int VideoTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(kColumnCount);
}

bool VideoTableModel::isSortable(int column) {
    return column == fileColumn || column == sizeColumn || column == createdColumn;
}

QVariant VideoTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        switch (section) {
        case thumbnailColumn:
            return tr("Thumbnail");
        case fileColumn:
            return tr("File");
        case stateColumn:
            return tr("State");
        case sizeColumn:
            return tr("Size");
        case createdColumn:
            return tr("Created");
        }
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(section == sizeColumn || section == createdColumn
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant VideoTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const VideoFileRow& row = *m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, index.column());
    case Qt::ToolTipRole:
        if (index.column() == stateColumn && row.unreadableReason())
            return *row.unreadableReason();
        if (index.column() == stateColumn && importStatus(row) == ImportStatus::imported) {
            if (const std::optional<bool> verified = recordingVerified(m_importState, row))
                return verificationText(*verified);
        }
        if (index.column() == fileColumn)
            return row.companionNotes().isEmpty()
                       ? QVariant(row.path())
                       : QVariant(row.path() + QStringLiteral("\n\n") + row.companionNotes().join(u'\n'));
        return {};
    case Qt::AccessibleTextRole:
        return accessibleText(row, index.column());
    case Qt::AccessibleDescriptionRole:
        // What the tooltips say, which a screen reader cannot hover for.
        return index.column() == stateColumn || index.column() == fileColumn ? data(index, Qt::ToolTipRole)
                                                                             : QVariant(row.path());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(index.column() == sizeColumn || index.column() == createdColumn
                                       ? Qt::AlignRight | Qt::AlignVCenter
                                       : Qt::AlignLeft | Qt::AlignVCenter);
    case RowIdRole:
        return row.id();
    case PathRole:
        return row.path();
    case ImportStatusRole:
        return int(importStatus(row));
    case SecondLineRole:
        return secondLine(row, index.column());
    case ShortSecondLineRole:
        return index.column() == sizeColumn ? QVariant(formatCompactDuration(row.duration())) : QVariant();
    case ThumbnailStateRole:
        // Asked for only by cells being painted, so thumbnails are made for the rows in view.
        const_cast<ThumbnailLoader&>(m_thumbnails).request(row.path());
        return int(m_thumbnails.state(row.path()));
    case ThumbnailImageRole:
        return m_thumbnails.image(row.path());
    }
    return {};
}

QVariant VideoTableModel::displayText(const VideoFileRow& row, int column) const {
    switch (column) {
    case fileColumn:
        return row.displayName();
    case stateColumn:
        switch (importStatus(row)) {
        case ImportStatus::imported:
            return tr("Imported");
        case ImportStatus::newVideo:
            return tr("New");
        case ImportStatus::unreadable:
            return tr("Unreadable");
        case ImportStatus::unmarked:
            return QString();
        }
        return QString();
    case sizeColumn:
        return formatByteCount(quint64(std::max<qint64>(0, row.fileSize())));
    case createdColumn:
        if (row.created() == VideoFileRow::distantPast())
            return QString();
        return formatRelativeDate(row.created(), m_now.value_or(QDateTime::currentDateTime()));
    }
    return {};
}

QString VideoTableModel::spokenState(const VideoFileRow& row) const {
    switch (importStatus(row)) {
    case ImportStatus::imported:
        //: Import state as a screen reader says it within a table row
        return tr("imported");
    case ImportStatus::newVideo:
        //: Import state as a screen reader says it within a table row
        return tr("new");
    case ImportStatus::unreadable:
        //: Import state as a screen reader says it within a table row
        return tr("unreadable");
    case ImportStatus::unmarked:
        break;
    }
    return QString();
}

QString VideoTableModel::accessibleText(const VideoFileRow& row, int column) const {
    const QString size = formatByteCount(quint64(std::max<qint64>(0, row.fileSize())));
    const QString duration = spokenDuration(row.duration());
    const QString created = row.created() == VideoFileRow::distantPast()
                                ? QString()
                                : spokenMoment(row.created(), m_now.value_or(QDateTime::currentDateTime()));
    QStringList parts;
    switch (column) {
    case stateColumn:
        return spokenState(row);
    case sizeColumn:
        parts << size << duration;
        break;
    case createdColumn:
        return created;
    default:
        // The file's cell (and its picture's) reads the whole row, as the row is what is chosen.
        parts << row.displayName() << spokenState(row) << size << duration << created;
        break;
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

QVariant VideoTableModel::secondLine(const VideoFileRow& row, int column) const {
    if (column == sizeColumn)
        return formatDuration(row.duration());
    if (column == createdColumn && row.created() != VideoFileRow::distantPast()) {
        const QDateTime local = row.created().toLocalTime();
        const QLocale locale;
        // Date and time apart: the cell sets the time in bold.
        return QStringList{locale.toString(local.date(), QLocale::ShortFormat),
                           locale.toString(local.time(), QLocale::ShortFormat)};
    }
    return {};
}

int VideoTableModel::rowOf(const QString& id) const {
    return m_rowById.value(id, -1);
}

void VideoTableModel::reindex() {
    // Durations and thumbnails arrive one row at a time; a lookup keeps a large card fast.
    m_rowById.clear();
    m_rowByPath.clear();
    for (int i = 0; i < m_rows.size(); ++i) {
        m_rowById.insert(m_rows.at(i)->id(), i);
        m_rowByPath.insert(m_rows.at(i)->path(), i);
    }
}

void VideoTableModel::setRows(const VideoFileList& rows) {
    beginResetModel();
    for (const VideoFileRowPtr& old : std::as_const(m_rows))
        disconnect(old.data(), nullptr, this, nullptr);
    m_rows = rows;
    reindex();
    for (const VideoFileRowPtr& row : std::as_const(m_rows)) {
        VideoFileRow* raw = row.data();
        connect(raw, &VideoFileRow::durationChanged, this, [this, raw] {
            const int at = rowOf(raw->id());
            // The file's cell too: it reads the duration to a screen reader.
            if (at >= 0)
                Q_EMIT dataChanged(index(at, thumbnailColumn), index(at, sizeColumn));
        });
        connect(raw, &VideoFileRow::unreadableReasonChanged, this, [this, raw] {
            const int at = rowOf(raw->id());
            if (at >= 0)
                Q_EMIT dataChanged(index(at, thumbnailColumn), index(at, stateColumn));
        });
        connect(raw, &VideoFileRow::companionNotesChanged, this, [this, raw] {
            const int at = rowOf(raw->id());
            if (at >= 0)
                Q_EMIT dataChanged(index(at, fileColumn), index(at, fileColumn));
        });
    }
    endResetModel();
}

void VideoTableModel::setImportState(const ImportState& state) {
    m_importState = state;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, thumbnailColumn), index(int(m_rows.size()) - 1, stateColumn));
}

ImportStatus VideoTableModel::importStatus(const VideoFileRow& row) const {
    return recordingStatus(m_importState, row);
}

void VideoTableModel::setNow(const QDateTime& now) {
    m_now = now;
}

void VideoTableModel::thumbnailFinished(const QString& path) {
    const int row = m_rowByPath.value(path, -1);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, thumbnailColumn), index(row, thumbnailColumn));
}

} // namespace velarix
