#pragma once

#include "Velarix/importwindow/VideoTableModel.h"

#include <QSortFilterProxyModel>

namespace velarix {

// The table's order over the card's rows: newest first until the user picks another column. Qt's
// proxy keeps the selection (persistent indexes) across a sort; ties keep the card's order.
class VideoTableSort : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit VideoTableSort(VideoTableModel& rows, QObject* parent = nullptr);

    // Thumbnail and State have no sort key: sorting by them is ignored.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    VideoTableModel& rows() const { return m_rows; }
    // The row shown at `row`, and where the row of `id` is shown (-1: nowhere).
    VideoFileRowPtr rowAt(int row) const;
    int rowOf(const QString& id) const;
    // The rows in the order shown.
    VideoFileList sortedVideoFiles() const;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    VideoTableModel& m_rows;
};

} // namespace velarix
