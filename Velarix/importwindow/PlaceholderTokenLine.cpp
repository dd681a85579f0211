#include "Velarix/importwindow/PlaceholderTokenLine.h"

#include "Velarix/importwindow/PlaceholderColors.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <cmath>

namespace velarix {

namespace {

// Horizontal and vertical padding of a plate in the token line.
constexpr qreal kPadX = 4;
constexpr qreal kPadY = 1;

bool hasPlate(const ImportPatternSegment& segment) {
    return segment.placeholder && *segment.placeholder != Placeholder::folderSeparator;
}

qreal segmentWidth(const ImportPatternSegment& segment, const QFontMetricsF& metrics) {
    const qreal text = metrics.horizontalAdvance(segment.text);
    return segment.placeholder ? text + 2 * kPadX : text;
}

} // namespace

int PlaceholderTokenLine::lineWidth(const ImportPatternSegments& segments, const QFont& font) {
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const ImportPatternSegment& segment : segments)
        width += segmentWidth(segment, metrics);
    return int(std::ceil(width));
}

void PlaceholderTokenLine::paint(QPainter& painter, const QRect& rect, const ImportPatternSegments& segments,
                                 const QFont& font, const QPalette& palette, bool selected) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.setClipRect(rect);
    const QFontMetricsF metrics(font);
    const qreal textHeight = metrics.height();
    const qreal top = rect.top() + (rect.height() - textHeight) / 2.0;
    const QColor plain = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const qreal ellipsisWidth = metrics.horizontalAdvance(QChar(0x2026));
    const bool fits = lineWidth(segments, font) <= rect.width();
    qreal x = rect.left();
    for (const ImportPatternSegment& segment : segments) {
        const qreal width = segmentWidth(segment, metrics);
        if (!fits && x + width > rect.right() - ellipsisWidth) {
            painter.setPen(plain);
            painter.drawText(QPointF(x, top + metrics.ascent()), QString(QChar(0x2026)));
            break;
        }
        QColor text = plain;
        if (segment.placeholder) {
            const QColor plate = tokenLinePlateColor(*segment.placeholder);
            if (hasPlate(segment)) {
                QPainterPath path;
                path.addRoundedRect(QRectF(x, top - kPadY, width, textHeight + 2 * kPadY), 4, 4);
                painter.fillPath(path, plate);
            }
            text = selected ? plain : tokenTextColor(*segment.placeholder, plate, palette);
            painter.setPen(text);
            painter.drawText(QPointF(x + kPadX, top + metrics.ascent()), segment.text);
        } else {
            painter.setPen(text);
            painter.drawText(QPointF(x, top + metrics.ascent()), segment.text);
        }
        x += width;
    }
    painter.restore();
}

} // namespace velarix
