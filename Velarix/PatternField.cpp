#include "Velarix/PatternField.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>

namespace velarix {

PatternTextEdit::PatternTextEdit(QWidget* parent)
    : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("patternEditor"));
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setCenterOnScroll(false);
    document()->setDocumentMargin(1);
    viewport()->setAutoFillBackground(false);
    QPalette clear = palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    setPalette(clear);
    setFixedHeight(lineHeight());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, &PatternTextEdit::recolour);
}

int PatternTextEdit::lineHeight() const {
    return fontMetrics().height() + 2 * int(document()->documentMargin()) + 2;
}

QSize PatternTextEdit::sizeHint() const {
    return QSize(250, lineHeight());
}

QSize PatternTextEdit::minimumSizeHint() const {
    return QSize(80, lineHeight());
}

void PatternTextEdit::recolour() {
    m_tokens = tokenRanges(parsePattern(toPlainText()));
    QList<QTextEdit::ExtraSelection> selections;
    for (const TokenRange& token : std::as_const(m_tokens)) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document());
        selection.cursor.setPosition(token.start);
        selection.cursor.setPosition(token.start + token.length, QTextCursor::KeepAnchor);
        // The field's own palette: this editor's base is made clear so the box shows through.
        const QPalette& box = parentWidget() ? parentWidget()->palette() : palette();
        selection.format.setForeground(
            tokenTextColor(token.placeholder, fieldPlateColor(token.placeholder), box));
        selections.append(selection);
    }
    setExtraSelections(selections);
    viewport()->update();
}

qreal PatternTextEdit::xForPosition(int position) const {
    QTextCursor cursor(document());
    cursor.setPosition(std::clamp(position, 0, int(document()->characterCount()) - 1));
    return cursorRect(cursor).left();
}

QList<QRectF> PatternTextEdit::plateRects() const {
    QList<QRectF> rects;
    for (const TokenRange& token : m_tokens) {
        if (fieldPlateColor(token.placeholder).alpha() == 0)
            continue;
        QTextCursor cursor(document());
        cursor.setPosition(token.start);
        const QRect start = cursorRect(cursor);
        const qreal left = xForPosition(token.start);
        const qreal right = xForPosition(token.start + token.length);
        // A hair wider than the glyphs and a hair shorter than the line, as a plate should sit.
        rects.append(QRectF(left - 1, start.top() + 1, right - left + 2, start.height() - 2));
    }
    return rects;
}

void PatternTextEdit::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        painter.setRenderHint(QPainter::Antialiasing);
        int plate = 0;
        const QList<QRectF> rects = plateRects();
        for (const TokenRange& token : std::as_const(m_tokens)) {
            const QColor colour = fieldPlateColor(token.placeholder);
            if (colour.alpha() == 0)
                continue;
            QPainterPath path;
            path.addRoundedRect(rects.at(plate++), 4, 4);
            painter.fillPath(path, colour);
        }
    }
    QPlainTextEdit::paintEvent(event);
}

void PatternTextEdit::keyPressEvent(QKeyEvent* event) {
    // One line: Return belongs to the dialog or form, not to the pattern.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PatternTextEdit::insertFromMimeData(const QMimeData* source) {
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    insertPlainText(text);
}

void PatternTextEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    parentWidget()->update();
}

void PatternTextEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    parentWidget()->update();
}

PatternField::PatternField(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("patternField"));
    m_edit = new PatternTextEdit(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(m_edit);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumWidth(180);
    setCursor(Qt::IBeamCursor);
    setFocusProxy(m_edit);
    installEventFilter(this);
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_applying)
            Q_EMIT patternEdited(m_edit->toPlainText());
    });
}

QString PatternField::pattern() const {
    return m_edit->toPlainText();
}

void PatternField::setPattern(const QString& pattern) {
    if (pattern == m_edit->toPlainText())
        return;
    m_applying = true;
    m_edit->setPlainText(pattern);
    m_edit->moveCursor(QTextCursor::End);
    m_applying = false;
}

void PatternField::setPlaceholderText(const QString& text) {
    m_edit->setPlaceholderText(text);
}

bool PatternField::eventFilter(QObject* watched, QEvent* event) {
    // A click on the padding still puts the caret in the editor.
    if (watched == this && event->type() == QEvent::MouseButtonPress) {
        m_edit->setFocus(Qt::MouseFocusReason);
        m_edit->moveCursor(QTextCursor::End);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PatternField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(box, 6, 6);
    painter.fillPath(path, palette().color(QPalette::Base));
    QColor outline = palette().color(QPalette::Mid);
    outline.setAlphaF(0.35f * 2);
    qreal width = 1;
    if (m_edit->hasFocus()) {
        outline = palette().color(QPalette::Highlight);
        width = 1.5;
    }
    painter.setPen(QPen(outline, width));
    painter.drawPath(path);
}

} // namespace velarix
