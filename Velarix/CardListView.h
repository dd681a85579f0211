#pragma once

#include <QListView>
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
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Where the Eject button of a row drawn in `row` sits.
    static QRect ejectRect(const QRect& row);
    // "12.3 GB free · 8 videos"
    static QString detailText(const QModelIndex& index);

Q_SIGNALS:
    void ejectClicked(const QString& path);
};

// The cards beside the table, shown while more than one is mounted. The highlighted row is the card
// the window shows; clicking another shows that one.
class CardListView : public QListView {
    Q_OBJECT
public:
    explicit CardListView(CardListModel& cards, QWidget* parent = nullptr);

    CardListModel& cards() const { return m_cards; }

private:
    void followCurrent();
    void updateVisibility();

    CardListModel& m_cards;
};

} // namespace velarix
