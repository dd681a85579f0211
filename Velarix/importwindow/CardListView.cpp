#include "Velarix/importwindow/CardListView.h"

#include "Velarix/widgets/Icons.h"
#include "desktop/DisplayFormats.h"
#include "import/CardListModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace velarix {

namespace {
constexpr int kRowHeight = 52;
constexpr int kEjectSize = 28;
constexpr int kPadding = 10;
} // namespace

QRect CardListDelegate::ejectRect(const QRect& row) {
    return QRect(row.right() - kPadding - kEjectSize + 4, row.center().y() - kEjectSize / 2, kEjectSize,
                 kEjectSize);
}

QString CardListDelegate::detailText(const QModelIndex& index) {
    QStringList parts;
    if (const quint64 space = index.data(CardListModel::SpaceAvailableRole).toULongLong(); space != 0)
        parts << tr("%1 free").arg(formatByteCount(space));
    const qint64 count = index.data(CardListModel::VideoCountRole).toLongLong();
    if (count >= 0)
        parts << tr("%n video(s)", nullptr, int(count));
    return parts.join(QStringLiteral(" \u00b7 "));
}

// Rows take the viewport's width whatever they ask for; asking for little keeps the list free of a
// horizontal scroll bar.
QSize CardListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(CardListView::kMinimumWidth / 2, kRowHeight);
}

void CardListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.icon = QIcon();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor dim = text;
    dim.setAlphaF(0.65f);

    const QRect row = option.rect;
    const QRect iconRect(row.left() + kPadding, row.center().y() - 12, 24, 24);
    themedIcon("drive-removable-media", "sdcard.svg").paint(painter, iconRect);

    const QRect eject = ejectRect(row);
    const int textLeft = iconRect.right() + 10;
    const QRect textRect(textLeft, row.top() + 8, eject.left() - 6 - textLeft, row.height() - 16);
    painter->save();
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(text);
    const QFontMetrics boldMetrics(bold);
    painter->drawText(textRect.adjusted(0, 0, 0, -textRect.height() / 2), Qt::AlignLeft | Qt::AlignBottom,
                      boldMetrics.elidedText(index.data(CardListModel::NameRole).toString(), Qt::ElideRight,
                                             textRect.width()));
    QFont small = option.font;
    small.setPointSizeF(small.pointSizeF() * 0.9);
    painter->setFont(small);
    painter->setPen(dim);
    painter->drawText(textRect.adjusted(0, textRect.height() / 2 + 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      QFontMetrics(small).elidedText(detailText(index), Qt::ElideRight, textRect.width()));

    // The Eject button: a round plate under the pointer, the icon always.
    const auto* view = qobject_cast<const QAbstractItemView*>(widget);
    const bool hovered = (option.state & QStyle::State_MouseOver) && view &&
                         eject.contains(view->viewport()->mapFromGlobal(QCursor::pos()));
    const bool enabled = option.state & QStyle::State_Enabled;
    // On the highlight a light plate keeps the dark icon readable.
    if (enabled && (hovered || selected)) {
        painter->setRenderHint(QPainter::Antialiasing);
        QColor plate = selected ? option.palette.color(group, QPalette::Base) : text;
        plate.setAlphaF(selected ? (hovered ? 1.0f : 0.8f) : 0.15f);
        painter->setPen(Qt::NoPen);
        painter->setBrush(plate);
        painter->drawEllipse(eject);
    }
    // The keyboard's place in the list: the highlight alone does not say the list has the focus.
    if (option.state & QStyle::State_HasFocus && view && view->hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = row.adjusted(1, 1, -1, -1);
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    themedIcon("media-eject", "eject.svg")
        .paint(painter, eject.adjusted(6, 6, -6, -6), Qt::AlignCenter,
               enabled ? QIcon::Normal : QIcon::Disabled);
    painter->restore();
}

bool CardListDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::ToolTip && ejectRect(option.rect).contains(event->pos())) {
        QToolTip::showText(event->globalPos(),
                           tr("Eject %1").arg(index.data(CardListModel::NameRole).toString()), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

CardListView::CardListView(CardListModel& cards, QWidget* parent)
    : QListView(parent)
    , m_cards(cards) {
    setObjectName(QStringLiteral("cardList"));
    setModel(&m_cards);
    auto* delegate = new CardListDelegate(this);
    setItemDelegate(delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    setUniformItemSizes(true);
    setMinimumWidth(kMinimumWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setAccessibleName(tr("Camera cards"));
    setAccessibleDescription(
        tr("The arrow keys show another card. Ctrl+E or the context menu ejects the card shown."));
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex& index) { m_cards.choose(m_cards.pathAt(index.row())); });
    // Keyboard moves choose too.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        if (index.isValid() && !index.data(CardListModel::IsCurrentRole).toBool())
            m_cards.choose(m_cards.pathAt(index.row()));
    });
    const auto refresh = [this] {
        followCurrent();
        updateVisibility();
    };
    connect(&m_cards, &QAbstractItemModel::dataChanged, this, refresh);
    connect(&m_cards, &QAbstractItemModel::rowsInserted, this, refresh);
    connect(&m_cards, &QAbstractItemModel::rowsRemoved, this, refresh);
    connect(&m_cards, &QAbstractItemModel::modelReset, this, refresh);
    // While an import runs the list stays put: the copies are recorded under the shown card.
    const auto choosable = [this] {
        setEnabled(m_cards.isChoosable());
        setToolTip(m_cards.isChoosable() ? QString()
                                         : tr("Another card can be chosen when the import has finished."));
    };
    connect(&m_cards, &CardListModel::choosableChanged, this, choosable);
    choosable();
    followCurrent();
    updateVisibility();
}

QModelIndex CardListView::ejectAt(const QPoint& position) const {
    const QModelIndex index = indexAt(position);
    return index.isValid() && CardListDelegate::ejectRect(visualRect(index)).contains(position)
               ? index
               : QModelIndex();
}

// Eject is handled here, before the view's own press handling would make the row current and so
// choose the card that is about to go.
void CardListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && ejectAt(event->position().toPoint()).isValid()) {
        m_ejectPressed = ejectAt(event->position().toPoint());
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void CardListView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_ejectPressed.isValid()) {
        const QPersistentModelIndex pressed = std::exchange(m_ejectPressed, QPersistentModelIndex());
        if (event->button() == Qt::LeftButton && ejectAt(event->position().toPoint()) == pressed)
            m_cards.eject(m_cards.pathAt(pressed.row()));
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void CardListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (ejectAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void CardListView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && current.isValid()) {
        if (!current.data(CardListModel::IsCurrentRole).toBool())
            m_cards.choose(m_cards.pathAt(current.row()));
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void CardListView::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu is for the focused card, from the mouse for the card under it.
    const QModelIndex index =
        event->reason() == QContextMenuEvent::Keyboard ? currentIndex() : indexAt(event->pos());
    if (!index.isValid())
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("cardContextMenu"));
    const QString path = m_cards.pathAt(index.row());
    QAction* eject = menu.addAction(themedIcon("media-eject", "eject.svg"),
                                    tr("Eject %1").arg(index.data(CardListModel::NameRole).toString()));
    connect(eject, &QAction::triggered, this, [this, path] { m_cards.eject(path); });
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(visualRect(index).center())
                          : event->globalPos();
    menu.exec(at);
}

void CardListView::followCurrent() {
    for (int row = 0; row < m_cards.rowCount(); ++row) {
        const QModelIndex index = m_cards.index(row);
        if (index.data(CardListModel::IsCurrentRole).toBool()) {
            // The view may have made the row current on its own, without selecting it.
            if (selectionModel()->currentIndex() != index || !selectionModel()->isSelected(index)) {
                const QSignalBlocker blocker(selectionModel());
                selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
                viewport()->update();
            }
            return;
        }
    }
    const QSignalBlocker blocker(selectionModel());
    selectionModel()->clear();
}

void CardListView::updateVisibility() {
    // One card needs no list: the title and the toolbar's Eject say all.
    setVisible(m_cards.rowCount() > 1);
}

} // namespace velarix
