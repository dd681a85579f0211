#include "Velarix/importwindow/VideoTableSort.h"

namespace velarix {

VideoTableSort::VideoTableSort(VideoTableModel& rows, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_rows(rows) {
    setSourceModel(&rows);
    sort(VideoTableModel::createdColumn, Qt::DescendingOrder);
}

void VideoTableSort::sort(int column, Qt::SortOrder order) {
    if (VideoTableModel::isSortable(column))
        QSortFilterProxyModel::sort(column, order);
}

bool VideoTableSort::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const VideoFileRowPtr a = m_rows.rowAt(left.row());
    const VideoFileRowPtr b = m_rows.rowAt(right.row());
    switch (left.column()) {
    case VideoTableModel::fileColumn:
        return a->id() < b->id();
    case VideoTableModel::sizeColumn:
        return a->fileSize() < b->fileSize();
    default:
        return a->created() < b->created();
    }
}

VideoFileRowPtr VideoTableSort::rowAt(int row) const {
    return m_rows.rowAt(mapToSource(index(row, 0)).row());
}

int VideoTableSort::rowOf(const QString& id) const {
    const int row = m_rows.rowOf(id);
    return row < 0 ? -1 : mapFromSource(m_rows.index(row, 0)).row();
}

VideoFileList VideoTableSort::sortedVideoFiles() const {
    VideoFileList rows;
    for (int row = 0; row < rowCount(); ++row)
        rows.append(rowAt(row));
    return rows;
}

} // namespace velarix
