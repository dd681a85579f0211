#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace velarix {

// The tokens of a filename pattern, in this order.
enum class Placeholder { date, today, name, jump, filename, folderSeparator };

const QList<Placeholder>& allPlaceholders();
// "{date}" … "{filename}", and "/" for folderSeparator.
QString placeholderToken(Placeholder placeholder);
// The help line of the options form, e.g. "{date}: Date of the file YYYY-MM-DD".
QString placeholderHelpText(Placeholder placeholder);

struct ImportPatternSegment {
    QString text;
    std::optional<Placeholder> placeholder; // absent for literal text

    bool operator==(const ImportPatternSegment&) const = default;
};
using ImportPatternSegments = QList<ImportPatternSegment>;

// Splits a pattern into literal runs and the five "{…}" placeholders (matched without regard to case,
// keeping the pattern's own letters). "/" and unknown tokens such as "{card}" stay literal.
ImportPatternSegments parsePattern(const QString& pattern);

// A run of a pattern in UTF-16 units (QString positions).
struct PatternRange {
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const PatternRange&) const = default;
};

// The "{…}" runs that are no placeholder (a typo such as "{jmp}"): an import would write them into
// the names as they stand.
QList<PatternRange> unknownPlaceholders(const QString& pattern);

// Appends the within-plan duplicate counter ("-1", "-2", …) and "." plus the extension as literal
// segments; `usedNames` counts the earlier uses of each base name in the same plan.
ImportPatternSegments finishOutputSegments(ImportPatternSegments segments, const QString& extension,
                                           QHash<QString, int>& usedNames);

// Keeps a planned name below the destination folder (a card name is read from the card itself):
// every path component that is "." or ".." becomes "_", separators that would leave an empty
// component (a leading "/", "//", a trailing "/") are dropped, and NUL becomes "_". Segment texts
// are edited in place; placeholders keep their kind.
void confinePathComponents(ImportPatternSegments& segments);

// "yyyy-MM-dd" of a moment in the current time zone, Gregorian calendar, C (POSIX) locale.
QString dayFormatter(const QDateTime& moment);

} // namespace velarix
