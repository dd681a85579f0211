#pragma once

#include "Velarix/PlaceholderColors.h"

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
    // The plates as painted, in viewport coordinates, one per token with a plate.
    QList<QRectF> plateRects() const;
    // The x position of a text position in viewport coordinates.
    qreal xForPosition(int position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void recolour();
    int lineHeight() const;

    QList<TokenRange> m_tokens;
};

// The filename pattern field: a rounded, outlined box holding the highlighting editor. `pattern`
// is what the user typed, unchanged; `patternEdited` reports each edit.
class PatternField : public QWidget {
    Q_OBJECT
public:
    explicit PatternField(QWidget* parent = nullptr);

    QString pattern() const;
    // Shows a pattern changed elsewhere (the Insert Placeholder menu), with the caret at its end.
    void setPattern(const QString& pattern);
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
