#include "Velarix/importwindow/LoadingCard.h"

#include "Velarix/widgets/SecondaryText.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QVBoxLayout>

#include <cmath>

namespace velarix {

LoadingCard::LoadingCard(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("loadingCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(6);
    m_bar->setRange(0, 1000);
    m_label = new QLabel(this);
    setSecondaryText(m_label, 0.5);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(6);
    layout->addWidget(m_bar);
    layout->addWidget(m_label);
    setMaximumWidth(360);
}

void LoadingCard::setStatus(const QString& text, std::optional<double> fraction) {
    m_label->setText(text);
    if (fraction) {
        m_bar->setRange(0, 1000);
        m_bar->setValue(int(std::lround(std::clamp(*fraction, 0.0, 1.0) * 1000)));
    } else {
        m_bar->setRange(0, 0);
    }
}

QString LoadingCard::statusText() const {
    return m_label->text();
}

void LoadingCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(shape, 12, 12);
    QColor fill = palette().color(QPalette::Window);
    fill.setAlphaF(0.94f);
    painter.fillPath(path, fill);
    QColor line = palette().color(QPalette::Mid);
    line.setAlphaF(0.5f);
    painter.setPen(QPen(line, 1));
    painter.drawPath(path);
}

} // namespace velarix
