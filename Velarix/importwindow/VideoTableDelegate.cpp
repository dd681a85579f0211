#include "Velarix/importwindow/VideoTableDelegate.h"

#include "Velarix/importwindow/ThumbnailLoader.h"
#include "Velarix/importwindow/VideoTableModel.h"
#include "Velarix/widgets/Icons.h"
#include "Velarix/widgets/ThemeColours.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace velarix {

namespace {

const QColor kImportedGreen(0x28, 0xa7, 0x45);

QColor secondaryText(const QStyleOptionViewItem& option) {
    if (option.state & QStyle::State_Selected)
        return option.palette.color(QPalette::HighlightedText);
    QColor color = option.palette.color(QPalette::Text);
    color.setAlphaF(0.6f);
    return color;
}

QColor primaryText(const QStyleOptionViewItem& option) {
    return option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                      : QPalette::Text);
}

QFont smallerFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(std::max(7.0, base.pointSizeF() - 1.5));
    return font;
}

void paintPlayMark(QPainter* painter, const QRectF& box) {
    const qreal size = std::min(box.width(), box.height()) * 0.36;
    const QPointF centre = box.center();
    QPainterPath triangle;
    triangle.moveTo(centre.x() - size * 0.38, centre.y() - size * 0.5);
    triangle.lineTo(centre.x() + size * 0.55, centre.y());
    triangle.lineTo(centre.x() - size * 0.38, centre.y() + size * 0.5);
    triangle.closeSubpath();
    // A faint shadow keeps the mark visible on bright pictures.
    painter->fillPath(triangle.translated(0, 0.8), QColor(0, 0, 0, 70));
    painter->fillPath(triangle, QColor(255, 255, 255, 178));
}

void paintCheckBadge(QPainter* painter, const QRectF& box) {
    painter->setPen(Qt::NoPen);
    painter->setBrush(kImportedGreen);
    painter->drawEllipse(box);
    QPainterPath check;
    check.moveTo(box.left() + box.width() * 0.28, box.top() + box.height() * 0.52);
    check.lineTo(box.left() + box.width() * 0.44, box.top() + box.height() * 0.68);
    check.lineTo(box.left() + box.width() * 0.73, box.top() + box.height() * 0.35);
    painter->setPen(QPen(Qt::white, box.width() * 0.13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(check);
}

} // namespace

VideoTableDelegate::VideoTableDelegate(QObject* parent)
    : QStyledItemDelegate(parent) {}

QRect VideoTableDelegate::thumbnailRect(const QRect& cell) {
    QRect box(0, 0, kThumbnailWidth, kThumbnailHeight);
    box.moveCenter(cell.center());
    return box;
}

QString VideoTableDelegate::fittedText(const QString& text, const QString& shorter,
                                       const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString fallback = shorter.isEmpty() ? text : shorter;
    return metrics.elidedText(fallback, Qt::ElideRight, width);
}

QSize VideoTableDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), kRowHeight));
    if (index.column() == VideoTableModel::thumbnailColumn)
        size.setWidth(kThumbnailWidth + 8);
    return size;
}

void paintCellBackground(QPainter* painter, QStyleOptionViewItem option) {
    option.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, painter, widget);
}

void VideoTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem base = option;
    initStyleOption(&base, index);
    paintCellBackground(painter, base);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    switch (index.column()) {
    case VideoTableModel::thumbnailColumn:
        paintThumbnail(painter, option, index);
        break;
    case VideoTableModel::stateColumn:
        paintState(painter, option, index);
        break;
    case VideoTableModel::sizeColumn:
    case VideoTableModel::createdColumn:
        paintTwoLines(painter, option, index);
        break;
    default: {
        const QRect text = option.rect.adjusted(6, 0, -6, 0);
        painter->setPen(primaryText(option));
        painter->setFont(option.font);
        painter->drawText(
            text, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, text.width()));
    }
    }
    painter->restore();
}

void VideoTableDelegate::paintThumbnail(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    const QRect box = thumbnailRect(option.rect);
    const auto state = ThumbnailLoader::State(index.data(VideoTableModel::ThumbnailStateRole).toInt());
    if (state == ThumbnailLoader::State::ready) {
        const QImage image = index.data(VideoTableModel::ThumbnailImageRole).value<QImage>();
        QSizeF shown = QSizeF(image.size()) / image.devicePixelRatio();
        shown.scale(QSizeF(box.size()), Qt::KeepAspectRatio);
        QRectF target(QPointF(), shown);
        target.moveCenter(QRectF(box).center());
        QPainterPath clip;
        clip.addRoundedRect(target, 3, 3);
        painter->setClipPath(clip);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, image);
        painter->setClipping(false);
        paintPlayMark(painter, target);
    } else if (state == ThumbnailLoader::State::failed) {
        painter->setOpacity(0.3);
        const int side = 32;
        QRect icon(0, 0, side, side);
        icon.moveCenter(box.center());
        themedIcon("video-x-generic", "film.svg").paint(painter, icon);
    } else {
        // A spinner: an arc turning with the table's timer.
        QRectF ring(0, 0, 18, 18);
        ring.moveCenter(QRectF(box).center());
        QColor color = secondaryText(option);
        color.setAlphaF(0.25f);
        painter->setPen(QPen(color, 2.2));
        painter->drawEllipse(ring);
        color.setAlphaF(0.8f);
        painter->setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter->drawArc(ring, -m_spinnerPhase * 16, 100 * 16);
    }
}

void VideoTableDelegate::paintState(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const auto status = ImportStatus(index.data(VideoTableModel::ImportStatusRole).toInt());
    const QRect area = option.rect.adjusted(6, 0, -4, 0);
    painter->setFont(option.font);
    if (status == ImportStatus::imported) {
        const int side = 14;
        QRectF badge(area.left(), area.center().y() - side / 2.0 + 0.5, side, side);
        paintCheckBadge(painter, badge);
        painter->setPen(option.state & QStyle::State_Selected
                            ? primaryText(option)
                            : toneColourOnBase(Tone::success, option.palette));
        painter->drawText(area.adjusted(side + 5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tr("Imported"));
    } else if (status == ImportStatus::newVideo) {
        painter->setPen(secondaryText(option));
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, tr("New"));
    } else if (status == ImportStatus::unreadable) {
        // The reason is the cell's tooltip.
        painter->setPen(option.state & QStyle::State_Selected
                            ? primaryText(option)
                            : toneColourOnBase(Tone::failure, option.palette));
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, tr("Unreadable"));
    }
}

void VideoTableDelegate::paintTwoLines(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    const QRect area = option.rect.adjusted(4, 0, -8, 0);
    const QFont first = option.font;
    const QFont second = smallerFont(option.font);
    const QFontMetrics firstMetrics(first);
    const QFontMetrics secondMetrics(second);
    const int height = firstMetrics.height() + 1 + secondMetrics.height();
    const int top = area.top() + (area.height() - height) / 2;
    const QRect firstLine(area.left(), top, area.width(), firstMetrics.height());
    const QRect secondLine(area.left(), top + firstMetrics.height() + 1, area.width(),
                           secondMetrics.height());

    painter->setFont(first);
    painter->setPen(primaryText(option));
    painter->drawText(firstLine, Qt::AlignRight | Qt::AlignVCenter,
                      firstMetrics.elidedText(index.data().toString(), Qt::ElideRight, area.width()));

    const QVariant lower = index.data(VideoTableModel::SecondLineRole);
    painter->setPen(secondaryText(option));
    if (lower.typeId() == QMetaType::QStringList) {
        // The date, then the time in bold, both flush right.
        const QStringList parts = lower.toStringList();
        QFont bold = second;
        bold.setBold(true);
        const QString time = QFontMetrics(bold).elidedText(parts.value(1), Qt::ElideRight, area.width());
        const int timeWidth = QFontMetrics(bold).horizontalAdvance(time);
        painter->setFont(bold);
        painter->drawText(secondLine, Qt::AlignRight | Qt::AlignVCenter, time);
        // The date gives way first: what is left of the width, elided.
        const int dateWidth = area.width() - timeWidth - secondMetrics.horizontalAdvance(QLatin1Char(' '));
        if (dateWidth > secondMetrics.horizontalAdvance(QStringLiteral("\u2026"))) {
            painter->setFont(second);
            painter->drawText(secondLine.adjusted(0, 0, -(area.width() - dateWidth), 0),
                              Qt::AlignRight | Qt::AlignVCenter,
                              secondMetrics.elidedText(parts.value(0), Qt::ElideRight, dateWidth));
        }
    } else {
        painter->setFont(second);
        painter->drawText(secondLine, Qt::AlignRight | Qt::AlignVCenter,
                          fittedText(lower.toString(),
                                     index.data(VideoTableModel::ShortSecondLineRole).toString(),
                                     secondMetrics, area.width()));
    }
}

} // namespace velarix
