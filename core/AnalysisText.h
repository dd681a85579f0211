#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

namespace velarix {

// A text the analysis writes for people, twice: in English for the machine output and the logs,
// which must read the same in every language, and in the user's language for display. Both are made
// at once from a source marked with QT_TRANSLATE_NOOP, and arg() fills them in step.
struct AnalysisText {
    QString english;
    QString shown;

    // Names, numbers and times: the same in every language.
    static AnalysisText verbatim(const QString& text) { return {text, text}; }

    bool isEmpty() const { return english.isEmpty(); }
    AnalysisText arg(const AnalysisText& a) const { return {english.arg(a.english), shown.arg(a.shown)}; }
    AnalysisText arg(const QString& a) const { return {english.arg(a), shown.arg(a)}; }
    AnalysisText arg(const AnalysisText& a, const AnalysisText& b) const {
        return {english.arg(a.english, b.english), shown.arg(a.shown, b.shown)};
    }
    AnalysisText arg(const QString& a, const QString& b) const {
        return {english.arg(a, b), shown.arg(a, b)};
    }
    friend bool operator==(const AnalysisText&, const AnalysisText&) = default;
};

// `source` of `context` (marked for lupdate with QT_TRANSLATE_NOOP) with its translation now.
inline AnalysisText analysisText(const char* context, const char* source) {
    return {QString::fromUtf8(source), QCoreApplication::translate(context, source)};
}

// The parts joined, each language with its own.
inline AnalysisText joinedText(const QList<AnalysisText>& parts, const QString& separator) {
    AnalysisText whole;
    for (const AnalysisText& part : parts) {
        if (part.isEmpty())
            continue;
        if (!whole.isEmpty()) {
            whole.english += separator;
            whole.shown += separator;
        }
        whole.english += part.english;
        whole.shown += part.shown;
    }
    return whole;
}

} // namespace velarix
