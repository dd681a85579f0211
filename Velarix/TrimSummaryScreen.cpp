#include "Velarix/TrimSummaryScreen.h"

#include "Velarix/TrimStyle.h"
#include "trimming/VideoTrimmingModel.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velarix {

using trimstyle::Text;

TrimSummaryScreen::TrimSummaryScreen(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("summaryScreen"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->addStretch(1);

    auto* symbol = new QLabel(this);
    // A 36-point symbol: 36 × 96/72 pixels.
    const int size = 48;
    symbol->setPixmap(QIcon(QStringLiteral(":/velarix/icons/checkmark-circle.svg")).pixmap(size, size));
    symbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol);

    auto* texts = new QVBoxLayout();
    texts->setSpacing(6);
    m_text = trimstyle::label(QString(), Text::Title3, false, this);
    m_text->setObjectName(QStringLiteral("summaryText"));
    m_text->setAlignment(Qt::AlignCenter);
    m_saved = trimstyle::label(QString(), Text::Body, true, this);
    m_saved->setObjectName(QStringLiteral("summarySaved"));
    m_saved->setAlignment(Qt::AlignCenter);
    texts->addWidget(m_text);
    texts->addWidget(m_saved);
    layout->addLayout(texts);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(12);
    buttons->addStretch(1);
    auto* add = new QPushButton(tr("Add Videos…"), this);
    add->setObjectName(QStringLiteral("summaryAddVideos"));
    auto* done = new QPushButton(tr("Done"), this);
    done->setObjectName(QStringLiteral("summaryDone"));
    for (QPushButton* button : {add, done}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    connect(add, &QPushButton::clicked, this, &TrimSummaryScreen::addVideosRequested);
    connect(done, &QPushButton::clicked, this, &TrimSummaryScreen::doneRequested);
}

void TrimSummaryScreen::setSummary(const VideoTrimCompletionSummary& summary) {
    m_text->setText(summary.text());
    m_saved->setText(tr("Saved %1").arg(trimstyle::byteCount(summary.savedBytes)));
}

} // namespace velarix
