#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

namespace velarix {

class CardListModel;

// One card of the list: its name over "12.3 GB free · 8 videos", and an Eject button at the end.
class CardListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Where the Eject button of a row drawn in `row` sits.
    static QRect ejectRect(const QRect& row);
    // "12.3 GB free · 8 videos"
    static QString detailText(const QModelIndex& index);
};

// The cards beside the table, shown while more than one is mounted. The highlighted row is the card
// the window shows; clicking another shows that one.
class CardListView : public QListView {
    Q_OBJECT
public:
    // The icon, a short name over "31.2 GB free · 5 videos" (elided), and the Eject button.
    static constexpr int kMinimumWidth = 180;

    explicit CardListView(CardListModel& cards, QWidget* parent = nullptr);

    CardListModel& cards() const { return m_cards; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Return shows the focused card; the context menu (also the Menu key) ejects it.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QModelIndex ejectAt(const QPoint& position) const;
    void followCurrent();
    void updateVisibility();

    CardListModel& m_cards;
    QPersistentModelIndex m_ejectPressed;
};

} // namespace velarix
