#pragma once

#include "import/ImportPattern.h"

#include <QFont>
#include <QRect>

class QPainter;
class QPalette;

namespace velarix {

// A resolved file name drawn as one line in which the parts made by placeholders sit on rounded,
// coloured plates (the folder separator on a clear one). Drawn by item delegates, so that a long
// list of planned names costs no widgets.
class PlaceholderTokenLine {
public:
    // Left-aligned and vertically centred in `rect`; what does not fit ends in an ellipsis.
    static void paint(QPainter& painter, const QRect& rect, const ImportPatternSegments& segments,
                      const QFont& font, const QPalette& palette, bool selected = false);
    // The width the whole line needs.
    static int lineWidth(const ImportPatternSegments& segments, const QFont& font);
};

} // namespace velarix
