#pragma once

#include <QStyledItemDelegate>

namespace velarix {

// The selection and hover background of an item view's cell, without its text; `option` as a
// delegate's initStyleOption leaves it.
void paintCellBackground(QPainter* painter, QStyleOptionViewItem option);

// Draws the table's cells: the thumbnail (picture with a play mark, a spinner while it is made, a
// film icon when it failed), the import mark, and the two-line Size and Created cells.
class VideoTableDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kThumbnailWidth = 64;
    static constexpr int kThumbnailHeight = 48;
    static constexpr int kRowHeight = kThumbnailHeight + 8;

    explicit VideoTableDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The spinner's angle, advanced by the table while thumbnails are being made.
    void setSpinnerPhase(int degrees) { m_spinnerPhase = degrees; }
    // `text` if it fits `width`, else `shorter` if that fits, else `shorter` elided: never cut off
    // without a mark.
    static QString fittedText(const QString& text, const QString& shorter, const QFontMetrics& metrics,
                              int width);
    // Where the thumbnail sits within its cell (for clicks).
    static QRect thumbnailRect(const QRect& cell);

private:
    void paintThumbnail(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const;
    void paintState(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintTwoLines(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    int m_spinnerPhase = 0;
};

} // namespace velarix
