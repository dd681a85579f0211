#include "Velarix/importwindow/PatternField.h"

#include "Velarix/widgets/ThemeColours.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>

namespace velarix {

namespace {
const QColor kErrorText(0xc0, 0x1c, 0x28);
const QColor kErrorPlate(0xe0, 0x1b, 0x24, 0x30);

// The red of a wrong placeholder, readable on its plate in light and dark themes.
QColor errorText(const QPalette& box) {
    return readableOn(kErrorText, composited(kErrorPlate, box.color(QPalette::Base)));
}
} // namespace

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
    // The default pattern shows whole, with room for a word more.
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("{date}/{jump} {name} {filename} Tandem")),
                 lineHeight());
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
    m_unknown = unknownPlaceholders(toPlainText());
    for (const PatternRange& unknown : std::as_const(m_unknown)) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document());
        selection.cursor.setPosition(int(unknown.start));
        selection.cursor.setPosition(int(unknown.start + unknown.length), QTextCursor::KeepAnchor);
        selection.format.setForeground(errorText(parentWidget() ? parentWidget()->palette() : palette()));
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

QRectF PatternTextEdit::rangeRect(int start, int length) const {
    QTextCursor cursor(document());
    cursor.setPosition(start);
    const QRect line = cursorRect(cursor);
    const qreal left = xForPosition(start);
    const qreal right = xForPosition(start + length);
    // A hair wider than the glyphs and a hair shorter than the line, as a plate should sit.
    return QRectF(left - 1, line.top() + 1, right - left + 2, line.height() - 2);
}

QList<QRectF> PatternTextEdit::plateRects() const {
    QList<QRectF> rects;
    for (const TokenRange& token : m_tokens) {
        if (fieldPlateColor(token.placeholder).alpha() != 0)
            rects.append(rangeRect(token.start, token.length));
    }
    return rects;
}

QList<QRectF> PatternTextEdit::unknownRects() const {
    QList<QRectF> rects;
    for (const PatternRange& unknown : m_unknown)
        rects.append(rangeRect(int(unknown.start), int(unknown.length)));
    return rects;
}

QString PatternTextEdit::toolTipAt(const QPoint& position) const {
    const QList<QRectF> rects = unknownRects();
    for (qsizetype i = 0; i < rects.size(); ++i) {
        if (!rects.at(i).contains(position))
            continue;
        QStringList valid;
        for (Placeholder placeholder : allPlaceholders()) {
            if (placeholder != Placeholder::folderSeparator)
                valid << placeholderToken(placeholder);
        }
        const QString token = toPlainText().mid(m_unknown.at(i).start, m_unknown.at(i).length);
        return tr("%1 is not a placeholder and would stay in the names as typed.\n"
                  "Placeholders: %2 and %3; \u201c/\u201d makes a folder.")
            .arg(token, valid.mid(0, valid.size() - 1).join(QStringLiteral(", ")), valid.last());
    }
    return {};
}

bool PatternTextEdit::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(viewport()->mapFrom(this, help->pos()));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QPlainTextEdit::event(event);
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
        // A wrong placeholder: a red plate with a red outline, so it reads as a mistake.
        for (const QRectF& rect : unknownRects()) {
            QPainterPath path;
            path.addRoundedRect(rect, 4, 4);
            painter.fillPath(path, kErrorPlate);
            painter.setPen(QPen(errorText(parentWidget() ? parentWidget()->palette() : palette()), 1));
            painter.drawPath(path);
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

void PatternField::insertAtCaret(const QString& token) {
    QTextCursor cursor = m_edit->textCursor();
    const QString text = m_edit->toPlainText();
    const qsizetype start = cursor.selectionStart();
    const qsizetype end = cursor.selectionEnd();
    // Next to a space, a folder separator or an end the token needs no space of its own.
    const auto joins = [](QChar c) {
        return !c.isNull() && !c.isSpace() && c != u'/';
    };
    QString inserted = token;
    if (token != QLatin1String("/")) {
        if (start > 0 && joins(text.at(start - 1)))
            inserted.prepend(u' ');
        if (end < text.size() && joins(text.at(end)))
            inserted.append(u' ');
    }
    cursor.beginEditBlock();
    cursor.insertText(inserted);
    cursor.endEditBlock();
    m_edit->setTextCursor(cursor);
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
