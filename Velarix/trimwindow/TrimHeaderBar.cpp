#include "Velarix/trimwindow/TrimHeaderBar.h"

#include "Velarix/trimwindow/TrimStyle.h"
#include "trimming/VideoTrimmingModel.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace velarix {

using trimstyle::Text;

TrimHeaderBar::TrimHeaderBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("trimHeader"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(12);

    auto* titleBlock = new QVBoxLayout();
    titleBlock->setSpacing(4);
    titleBlock->addWidget(
        trimstyle::label(tr("Trim freefall ranges from skydiving videos"), Text::Headline, false, this));
    auto* subtitle =
        trimstyle::label(tr("The first pass uses audio and lightweight frame analysis to keep the main "
                            "skydive through deployment."),
                         Text::Callout, true, this);
    subtitle->setWordWrap(true);
    titleBlock->addWidget(subtitle);
    layout->addLayout(titleBlock, 1);

    m_savingsBlock = new QWidget(this);
    m_savingsBlock->setObjectName(QStringLiteral("savingsBlock"));
    auto* savingsLayout = new QVBoxLayout(m_savingsBlock);
    savingsLayout->setContentsMargins(0, 0, 0, 0);
    savingsLayout->setSpacing(4);
    auto* savingsTitle = trimstyle::label(tr("Estimated savings"), Text::Caption, true, m_savingsBlock);
    savingsTitle->setAlignment(Qt::AlignRight);
    m_savings = trimstyle::label(QString(), Text::Title3, false, m_savingsBlock);
    m_savings->setObjectName(QStringLiteral("estimatedSavings"));
    m_savings->setAlignment(Qt::AlignRight);
    savingsLayout->addWidget(savingsTitle);
    savingsLayout->addWidget(m_savings);
    layout->addWidget(m_savingsBlock);

    m_add = new QPushButton(tr("Add Videos…"), this);
    m_add->setObjectName(QStringLiteral("headerAddVideos"));
    m_add->setToolTip(tr("Choose videos to trim (%1)")
                          .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("headerCancel"));
    m_clear = new QPushButton(tr("Clear"), this);
    m_clear->setObjectName(QStringLiteral("headerClear"));
    for (QPushButton* button : {m_add, m_cancel, m_clear}) {
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    connect(m_add, &QPushButton::clicked, this, &TrimHeaderBar::addVideosRequested);
    connect(m_cancel, &QPushButton::clicked, this, &TrimHeaderBar::cancelRequested);
    connect(m_clear, &QPushButton::clicked, this, &TrimHeaderBar::clearRequested);
}

void TrimHeaderBar::refresh(const VideoTrimmingModel& model) {
    const bool hasItems = !model.items().isEmpty();
    const bool busy = model.isAnalyzing() || model.isTrimming();
    m_savingsBlock->setVisible(hasItems);
    m_savings->setText(trimstyle::byteCount(model.estimatedSavings()));
    m_cancel->setVisible(busy);
    m_clear->setVisible(!busy && hasItems);
}

void TrimHeaderBar::paintEvent(QPaintEvent*) {
    // A bar set off from the content below by its shade and a hairline.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window).darker(104));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
}

} // namespace velarix
