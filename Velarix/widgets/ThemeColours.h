#pragma once

#include <QColor>

class QPalette;

namespace velarix {

// Colours that carry meaning (the green of a trimmed file, the red of an error) are picked for a
// light background; these make them readable on whatever background the user's theme has.

// `foreground` laid over `background` with its alpha, as it shows.
QColor composited(const QColor& foreground, const QColor& background);
// WCAG 2 relative luminance of an opaque colour.
double relativeLuminance(const QColor& colour);
// WCAG 2 contrast ratio (1 to 21) of `foreground`, laid over `background` with its own alpha.
double contrastRatio(const QColor& foreground, const QColor& background);
// Text needs 4.5:1 to be read by most people with low vision.
inline constexpr double kTextContrast = 4.5;
// `colour` with its hue kept, lightened or darkened just enough to reach `ratio` on `background`.
QColor readableOn(const QColor& colour, const QColor& background, double ratio = kTextContrast);
// A theme with light text on a dark window.
bool isDarkPalette(const QPalette& palette);

// The meaning colours as text on the palette's window.
enum class Tone {
    success, // trimmed, imported, a kept range
    failure, // failed, not enough space, a pattern that names no file
    warning, // a kept range that leaves out the exit or the opening
    exitMark,
    openingMark,
};
QColor toneColour(Tone tone, const QPalette& palette);
// The same on the palette's base (fields, lists, tables).
QColor toneColourOnBase(Tone tone, const QPalette& palette);

} // namespace velarix
