#pragma once

#include "import/ImportPattern.h"

#include <QColor>
#include <QList>

class QPalette;

namespace velarix {

// One colour per placeholder, shared by the pattern field and the resolved names' token line.
// The folder separator has a clear plate.
QColor placeholderColor(Placeholder placeholder);
// The plate behind a token in the pattern field (32 % alpha) and in the token line (50 %).
QColor fieldPlateColor(Placeholder placeholder);
QColor tokenLinePlateColor(Placeholder placeholder);
// White on a plate that is dark enough; on a light background a 32 % plate is too pale for white
// text, so a deep shade of the token's own colour is used instead.
QColor tokenTextColor(Placeholder placeholder, const QColor& plate, const QPalette& palette);

// Where each placeholder token lies in a pattern or name, in UTF-16 units (QString positions).
struct TokenRange {
    int start = 0;
    int length = 0;
    Placeholder placeholder = Placeholder::date;

    bool operator==(const TokenRange&) const = default;
};
QList<TokenRange> tokenRanges(const ImportPatternSegments& segments);

} // namespace velarix
