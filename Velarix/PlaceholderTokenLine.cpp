#include "Velarix/PlaceholderTokenLine.h"

#include "Velarix/PlaceholderColors.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

namespace velarix {

PlaceholderTokenLine::PlaceholderTokenLine(QWidget* parent)
    : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void PlaceholderTokenLine::setSegments(const ImportPatternSegments& segments) {
    m_segments = segments;
    setToolTip(text());
    updateGeometry();
    update();
}

QString PlaceholderTokenLine::text() const {
    QString joined;
    for (const ImportPatternSegment& segment : m_segments)
        joined += segment.text;
    return joined;
}

QSize PlaceholderTokenLine::sizeHint() const {
    return QSize(tokenLineWidth(m_segments, font()), fontMetrics().height() + 4);
}

QSize PlaceholderTokenLine::minimumSizeHint() const {
    return QSize(40, fontMetrics().height() + 4);
}

void PlaceholderTokenLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTokenLine(painter, rect(), m_segments, font(), palette());
}

void PlaceholderTokenLine::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("Copy Name"), this, [this] { QApplication::clipboard()->setText(text()); });
    menu.exec(event->globalPos());
}

} // namespace velarix
