#include "Velarix/importwindow/PlaceholderColors.h"

#include "Velarix/widgets/ThemeColours.h"

#include <QPalette>

namespace velarix {

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
        return readableOn(Qt::white, shown);
    return readableOn(placeholderColor(placeholder).darker(placeholder == Placeholder::name ? 190 : 160),
                      shown);
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

} // namespace velarix
