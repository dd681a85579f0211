#include "Velarix/widgets/ThemeColours.h"

#include <QPalette>

#include <cmath>

namespace velarix {

namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Chosen to read on a light window; on a dark one readableOn lightens them.
QColor baseColour(Tone tone) {
    switch (tone) {
    case Tone::success:
        return QColor(0x1f, 0x8f, 0x3d);
    case Tone::failure:
        return QColor(0xc4, 0x2b, 0x1c);
    case Tone::warning:
        return QColor(0xa8, 0x5d, 0x00);
    case Tone::exitMark:
        return QColor(0xd9, 0x6a, 0x00);
    case Tone::openingMark:
        return QColor(0x00, 0x8c, 0x8c);
    }
    return QColor(Qt::black);
}

} // namespace

QColor composited(const QColor& foreground, const QColor& background) {
    const double a = foreground.alphaF();
    return QColor::fromRgbF(float(foreground.redF() * a + background.redF() * (1 - a)),
                            float(foreground.greenF() * a + background.greenF() * (1 - a)),
                            float(foreground.blueF() * a + background.blueF() * (1 - a)));
}

double relativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& foreground, const QColor& background) {
    const double a = relativeLuminance(composited(foreground, background));
    const double b = relativeLuminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableOn(const QColor& colour, const QColor& background, double ratio) {
    const QColor opaque = composited(colour, background);
    if (contrastRatio(opaque, background) >= ratio)
        return opaque;
    // Towards white on a dark background, towards black on a light one, in small steps of HSL
    // lightness so that the hue stays recognisable.
    const bool lighten = relativeLuminance(background) < 0.18;
    float h = 0, s = 0, l = 0, a = 0;
    opaque.getHslF(&h, &s, &l, &a);
    for (int step = 1; step <= 100; ++step) {
        const float lightness = lighten ? l + (1 - l) * float(step) / 100 : l * (1 - float(step) / 100);
        const QColor candidate = QColor::fromHslF(h, s, lightness);
        if (contrastRatio(candidate, background) >= ratio)
            return candidate;
    }
    return lighten ? QColor(Qt::white) : QColor(Qt::black);
}

bool isDarkPalette(const QPalette& palette) {
    return relativeLuminance(palette.color(QPalette::WindowText)) >
           relativeLuminance(palette.color(QPalette::Window));
}

QColor toneColour(Tone tone, const QPalette& palette) {
    return readableOn(baseColour(tone), palette.color(QPalette::Window));
}

QColor toneColourOnBase(Tone tone, const QPalette& palette) {
    return readableOn(baseColour(tone), palette.color(QPalette::Base));
}

} // namespace velarix
