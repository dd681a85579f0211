#include "Velarix/trimwindow/TrimDropZone.h"

#include "Velarix/trimwindow/TrimStyle.h"

#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace velarix {

using trimstyle::Text;

TrimDropZone::TrimDropZone(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("dropZone"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->addStretch(1);

    auto* symbol = new QLabel(this);
    // A 34-point symbol: 34 × 96/72 pixels.
    const int size = 45;
    symbol->setPixmap(QIcon(QStringLiteral(":/velarix/icons/waveform-scissors.svg")).pixmap(size, size));
    symbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol);

    auto* texts = new QVBoxLayout();
    texts->setSpacing(6);
    auto* title = trimstyle::label(tr("Drop MP4, MOV or 360 videos here"), Text::Title3, false, this);
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = trimstyle::label(
        tr("Analyze likely freefall ranges and replace trimmed originals in place."), Text::Body, true, this);
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setWordWrap(true);
    texts->addWidget(title);
    texts->addWidget(subtitle);
    layout->addLayout(texts);

    auto* choose = new QPushButton(tr("Choose Videos…"), this);
    choose->setObjectName(QStringLiteral("chooseVideos"));
    choose->setAutoDefault(false);
    choose->setToolTip(tr("Choose videos to trim (%1)")
                           .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
    connect(choose, &QPushButton::clicked, this, &TrimDropZone::chooseVideosRequested);
    layout->addWidget(choose, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void TrimDropZone::setTargeted(bool targeted) {
    if (m_targeted == targeted)
        return;
    m_targeted = targeted;
    update();
}

void TrimDropZone::paintEvent(QPaintEvent*) {
    if (!m_targeted)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = trimstyle::secondary(this);
    fill.setAlphaF(0.35 * 0.45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(12, 12, -12, -12), 12, 12);
}

} // namespace velarix
