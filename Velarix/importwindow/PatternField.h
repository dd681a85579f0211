#pragma once

#include "Velarix/importwindow/PlaceholderColors.h"

#include <QPlainTextEdit>
#include <QWidget>

namespace velarix {

// The one-line editor inside PatternField. Tokens get their colours through extra selections, so
// the document keeps exactly what the user typed (and its undo history and caret); plates are
// painted behind the text from the layout's own cursor rectangles.
class PatternTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PatternTextEdit(QWidget* parent = nullptr);

    const QList<TokenRange>& tokens() const { return m_tokens; }
    // "{…}" runs that are no placeholder; painted as errors.
    const QList<PatternRange>& unknownTokens() const { return m_unknown; }
    // The plates as painted, in viewport coordinates, one per token with a plate.
    QList<QRectF> plateRects() const;
    QList<QRectF> unknownRects() const;
    // The tooltip at a viewport position: what is wrong with an unknown placeholder there.
    QString toolTipAt(const QPoint& position) const;
    // The x position of a text position in viewport coordinates.
    qreal xForPosition(int position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void recolour();
    int lineHeight() const;
    QRectF rangeRect(int start, int length) const;

    QList<TokenRange> m_tokens;
    QList<PatternRange> m_unknown;
};

// The filename pattern field: a rounded, outlined box holding the highlighting editor. `pattern`
// is what the user typed, unchanged; `patternEdited` reports each edit.
class PatternField : public QWidget {
    Q_OBJECT
public:
    explicit PatternField(QWidget* parent = nullptr);

    QString pattern() const;
    // Shows a pattern changed elsewhere, with the caret at its end.
    void setPattern(const QString& pattern);
    // Puts a token where the caret is (over the selection), with a space on either side where it
    // would otherwise run into a word. One undo step.
    void insertAtCaret(const QString& token);
    void setPlaceholderText(const QString& text);
    PatternTextEdit* editor() const { return m_edit; }

Q_SIGNALS:
    void patternEdited(const QString& pattern);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PatternTextEdit* m_edit;
    bool m_applying = false;
};

} // namespace velarix
