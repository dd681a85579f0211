#include "import/ImportPattern.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimeZone>

namespace velarix {

const QList<Placeholder>& allPlaceholders() {
    static const QList<Placeholder> all{Placeholder::date,     Placeholder::today,
                                        Placeholder::name,     Placeholder::jump,
                                        Placeholder::filename, Placeholder::folderSeparator};
    return all;
}

QString placeholderToken(Placeholder placeholder) {
    switch (placeholder) {
    case Placeholder::date:
        return QStringLiteral("{date}");
    case Placeholder::today:
        return QStringLiteral("{today}");
    case Placeholder::name:
        return QStringLiteral("{name}");
    case Placeholder::jump:
        return QStringLiteral("{jump}");
    case Placeholder::filename:
        return QStringLiteral("{filename}");
    case Placeholder::folderSeparator:
        return QStringLiteral("/");
    }
    return {};
}

QString placeholderHelpText(Placeholder placeholder) {
    switch (placeholder) {
    case Placeholder::date:
        return QCoreApplication::translate("velarix::ImportPattern", "{date}: Date of the file YYYY-MM-DD");
    case Placeholder::today:
        return QCoreApplication::translate("velarix::ImportPattern", "{today}: Day of import YYYY-MM-DD");
    case Placeholder::name:
        return QCoreApplication::translate("velarix::ImportPattern", "{name}: Name of the SD card");
    case Placeholder::jump:
        return QCoreApplication::translate("velarix::ImportPattern", "{jump}: Jump number");
    case Placeholder::filename:
        return QCoreApplication::translate("velarix::ImportPattern", "{filename}: Name of the file");
    case Placeholder::folderSeparator:
        return QCoreApplication::translate("velarix::ImportPattern", "/: automatically creates subfolders");
    }
    return {};
}

ImportPatternSegments parsePattern(const QString& pattern) {
    static const Placeholder tokens[] = {Placeholder::date, Placeholder::today, Placeholder::name,
                                         Placeholder::jump, Placeholder::filename};
    const QString lower = pattern.toLower();
    ImportPatternSegments segments;
    qsizetype position = 0;
    while (position < pattern.size()) {
        bool matched = false;
        for (Placeholder placeholder : tokens) {
            const QString token = placeholderToken(placeholder);
            if (pattern.size() - position >= token.size() &&
                QStringView(lower).mid(position, token.size()) == token) {
                segments.append({pattern.mid(position, token.size()), placeholder});
                position += token.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (!segments.isEmpty() && !segments.last().placeholder)
            segments.last().text.append(pattern.at(position));
        else
            segments.append({QString(pattern.at(position)), std::nullopt});
        ++position;
    }
    return segments;
}

QList<PatternRange> unknownPlaceholders(const QString& pattern) {
    QList<PatternRange> unknown;
    qsizetype offset = 0;
    for (const ImportPatternSegment& segment : parsePattern(pattern)) {
        if (!segment.placeholder) {
            const QString& text = segment.text;
            for (qsizetype open = text.indexOf(u'{'); open >= 0; open = text.indexOf(u'{', open + 1)) {
                qsizetype close = open + 1;
                while (close < text.size() && text.at(close) != u'}' && text.at(close) != u'{' &&
                       text.at(close) != u'/')
                    ++close;
                if (close < text.size() && text.at(close) == u'}')
                    unknown.append({offset + open, close - open + 1});
            }
        }
        offset += segment.text.size();
    }
    return unknown;
}

ImportPatternSegments finishOutputSegments(ImportPatternSegments segments, const QString& extension,
                                           QHash<QString, int>& usedNames) {
    QString base;
    for (const auto& segment : segments)
        base += segment.text;
    const int n = usedNames.value(base, 0);
    usedNames.insert(base, n + 1);
    if (n > 0)
        segments.append({QStringLiteral("-%1").arg(n), std::nullopt});
    segments.append({u'.' + extension, std::nullopt});
    return segments;
}

void confinePathComponents(ImportPatternSegments& segments) {
    // Each character with the segment it came from, so that components spanning segments can be fixed.
    struct Char {
        QChar ch;
        qsizetype owner;
        bool keep = true;
    };
    QList<Char> chars;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        for (QChar ch : segments[i].text)
            chars.append({ch == QChar(0) ? QChar(u'_') : ch, i});
    }
    qsizetype start = 0;
    qsizetype lastSeparator = -1; // the last "/" kept
    for (qsizetype i = 0; i <= chars.size(); ++i) {
        if (i < chars.size() && chars[i].ch != u'/')
            continue;
        const qsizetype length = i - start;
        if (length == 0) {
            // A leading "/", one of "//" or a trailing "/": the separator goes, not the name.
            if (i < chars.size())
                chars[i].keep = false;
            else if (lastSeparator >= 0)
                chars[lastSeparator].keep = false;
        } else {
            const bool dots = (length == 1 && chars[start].ch == u'.') ||
                              (length == 2 && chars[start].ch == u'.' && chars[start + 1].ch == u'.');
            if (dots) {
                chars[start].ch = u'_';
                if (length == 2)
                    chars[start + 1].keep = false;
            }
            if (i < chars.size())
                lastSeparator = i;
        }
        start = i + 1;
    }
    for (auto& segment : segments)
        segment.text.clear();
    for (const Char& c : chars) {
        if (c.keep)
            segments[c.owner].text.append(c.ch);
    }
}

QString dayFormatter(const QDateTime& moment) {
    static const QLocale posix(QLocale::C);
    return posix.toString(moment.toTimeZone(QTimeZone::systemTimeZone()).date(),
                          QStringLiteral("yyyy-MM-dd"));
}

} // namespace velarix
