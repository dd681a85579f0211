#include "Velarix/PlaceholderColors.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

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

QColor placeholderColor(Placeholder placeholder) {
    switch (placeholder) {
    case Placeholder::date:
        return QColor(0x00, 0x7a, 0xff); // blue
    case Placeholder::today:
        return QColor(0x30, 0xb0, 0xc7); // teal
    case Placeholder::name:
        return QColor(0xff, 0x95, 0x00); // orange
    case Placeholder::jump:
        return QColor(0x34, 0xc7, 0x59); // green
    case Placeholder::filename:
        return QColor(0xaf, 0x52, 0xde); // purple
    case Placeholder::folderSeparator:
        return QColor(Qt::transparent);
    }
    return QColor(Qt::transparent);
}

QColor fieldPlateColor(Placeholder placeholder) {
    QColor color = placeholderColor(placeholder);
    if (color.alpha() > 0)
        color.setAlphaF(0.32f);
    return color;
}

QColor tokenLinePlateColor(Placeholder placeholder) {
    QColor color = placeholderColor(placeholder);
    if (color.alpha() > 0)
        color.setAlphaF(0.5f);
    return color;
}

QColor tokenTextColor(Placeholder placeholder, const QColor& plate, const QPalette& palette) {
    if (placeholder == Placeholder::folderSeparator || plate.alpha() == 0)
        return palette.color(QPalette::Text);
    // The plate as it looks over the field's background.
    const QColor base = palette.color(QPalette::Base);
    const qreal a = plate.alphaF();
    const QColor shown = QColor::fromRgbF(plate.redF() * a + base.redF() * (1 - a),
                                          plate.greenF() * a + base.greenF() * (1 - a),
                                          plate.blueF() * a + base.blueF() * (1 - a));
    if (shown.lightnessF() < 0.55f)
        return Qt::white;
    return placeholderColor(placeholder).darker(placeholder == Placeholder::name ? 190 : 160);
}

QList<TokenRange> tokenRanges(const ImportPatternSegments& segments) {
    QList<TokenRange> ranges;
    int offset = 0;
    for (const ImportPatternSegment& segment : segments) {
        // QString lengths are UTF-16 code units, the unit every text position here is counted in.
        const int length = int(segment.text.size());
        if (segment.placeholder)
            ranges.append(TokenRange{offset, length, *segment.placeholder});
        offset += length;
    }
    return ranges;
}

int tokenLineWidth(const ImportPatternSegments& segments, const QFont& font) {
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const ImportPatternSegment& segment : segments)
        width += segmentWidth(segment, metrics);
    return int(std::ceil(width));
}

void paintTokenLine(QPainter& painter, const QRect& rect, const ImportPatternSegments& segments,
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
    const bool fits = tokenLineWidth(segments, font) <= rect.width();
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
