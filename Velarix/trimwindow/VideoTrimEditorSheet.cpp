#include "Velarix/trimwindow/VideoTrimEditorSheet.h"

#include "Velarix/trimwindow/TrimRangeSelector.h"
#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/widgets/VideoPlayerView.h"
#include "analysis/TrimSuggestion.h"
#include "trimming/VideoTrimItem.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velarix {

using trimstyle::Text;

VideoTrimEditorSheet::VideoTrimEditorSheet(VideoTrimItem* item, const VideoTrimItem::ManualRange& openedWith,
                                           QWidget* parent)
    : QDialog(parent)
    , m_item(item)
    , m_openedWith(openedWith) {
    setObjectName(QStringLiteral("trimEditorSheet"));
    setWindowTitle(tr("Adjust Trim Range"));
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(760);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);

    auto* header = new QVBoxLayout();
    header->setSpacing(2);
    m_title = trimstyle::label(QFileInfo(item->url().toLocalFile()).fileName(), Text::Title3, false, this);
    m_title->setObjectName(QStringLiteral("editorTitle"));
    m_rangeText = trimstyle::label(QString(), Text::Subheadline, true, this);
    m_rangeText->setObjectName(QStringLiteral("editorRangeText"));
    // Beside the range: what it leaves out of the jump. A warning, not a block.
    m_warning = trimstyle::label(QString(), Text::Subheadline, false, this);
    m_warning->setObjectName(QStringLiteral("editorRangeWarning"));
    trimstyle::setTextColour(m_warning, trimstyle::warning(this));
    auto* rangeLine = new QHBoxLayout();
    rangeLine->setSpacing(12);
    rangeLine->addWidget(m_rangeText);
    rangeLine->addWidget(m_warning, 1);
    header->addWidget(m_title);
    header->addLayout(rangeLine);
    layout->addLayout(header);

    m_player = new VideoPlayerView(this);
    m_player->setObjectName(QStringLiteral("editorPreview"));
    m_player->setMinimumHeight(320);
    m_player->setToolTip(tr("Click or press Space to play the kept range"));
    m_player->setAccessibleName(tr("Preview"));
    m_player->setAccessibleDescription(m_player->toolTip());
    layout->addWidget(m_player, 1);

    auto* rangeBlock = new QVBoxLayout();
    rangeBlock->setSpacing(10);
    auto* captionLine = new QHBoxLayout();
    captionLine->addWidget(trimstyle::label(tr("Trim Range"), Text::Caption, true, this));
    captionLine->addStretch(1);
    m_position = trimstyle::label(QString(), Text::Caption, true, this);
    m_position->setObjectName(QStringLiteral("editorPosition"));
    captionLine->addWidget(m_position);
    rangeBlock->addLayout(captionLine);
    m_selector = new TrimRangeSelector(this);
    m_selector->setObjectName(QStringLiteral("trimRangeSelector"));
    m_selector->setHandleDiameter(16);
    m_selector->setStartBinding({[this] { return m_item ? m_item->effectiveStart().value_or(0.0) : 0.0; },
                                 [this](double v) {
                                     if (m_item)
                                         m_item->setManualStart(v);
                                 }});
    m_selector->setEndBinding(
        {[this] { return m_item ? m_item->effectiveEnd().value_or(m_item->duration()) : 0.0; },
         [this](double v) {
             if (m_item)
                 m_item->setManualEnd(v);
         }});
    connect(m_selector, &TrimRangeSelector::editingChanged, this, [this](bool editing, double seconds) {
        if (editing)
            scrubTo(seconds);
    });
    connect(m_player, &VideoPlayerView::positionChanged, m_selector, [this](double seconds) {
        m_selector->setPlayhead(seconds);
        m_position->setText(tr("Preview at %1").arg(formatClock(seconds)));
    });
    rangeBlock->addWidget(m_selector);
    rangeBlock->addWidget(trimstyle::label(tr("Drag the left and right handles to choose the kept range."),
                                           Text::Caption, true, this));
    layout->addLayout(rangeBlock);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    m_reset = new QPushButton(tr("Reset"), this);
    m_reset->setObjectName(QStringLiteral("editorReset"));
    m_reset->setAutoDefault(false);
    connect(m_reset, &QPushButton::clicked, this, [this] {
        if (m_item)
            m_item->resetManualRange();
        applyPlaybackBounds();
    });
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("editorCancel"));
    m_cancel->setAutoDefault(false);
    m_cancel->setToolTip(tr("Put back the range from before this editor opened (Esc)"));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_done = new QPushButton(tr("Done"), this);
    m_done->setObjectName(QStringLiteral("editorDone"));
    m_done->setDefault(true);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(m_reset);
    buttons->addSpacing(12);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_done);
    layout->addLayout(buttons);

    connect(item, &VideoTrimItem::changed, this, &VideoTrimEditorSheet::refresh);
    connect(item, &VideoTrimItem::manualStartChanged, this, &VideoTrimEditorSheet::applyPlaybackBounds);
    connect(item, &VideoTrimItem::manualEndChanged, this, &VideoTrimEditorSheet::applyPlaybackBounds);
    // The list can drop its items while the sheet is open (the window is being closed): go with it.
    connect(item, &QObject::destroyed, this, [this] { QDialog::reject(); });

    m_position->setText(tr("Preview at %1").arg(formatClock(item->effectiveStart().value_or(0.0))));
    refresh();
    // The preview: paused at the kept start, playing only inside the kept range.
    m_player->setSource(item->url().toLocalFile());
    applyPlaybackBounds();
    scrubTo(item->effectiveStart().value_or(0.0));
    // Space plays the preview and Return still reaches "Done".
    m_player->setFocus();
}

VideoTrimEditorSheet::~VideoTrimEditorSheet() = default;

void VideoTrimEditorSheet::refresh() {
    if (!m_item)
        return;
    m_rangeText->setText(m_item->rangeText());
    QStringList leftOut;
    if (m_item->leavesOutExit())
        leftOut << tr("the exit at %1").arg(formatClock(*m_item->exitTime()));
    if (m_item->leavesOutOpening())
        leftOut << tr("the canopy opening at %1").arg(formatClock(*m_item->openingTime()));
    m_warning->setText(leftOut.isEmpty()
                           ? QString()
                           : QStringLiteral("\u26A0 ") + tr("Leaves out %1").arg(leftOut.join(tr(" and "))));
    m_warning->setVisible(!leftOut.isEmpty());
    m_reset->setVisible(m_item->manualStart().has_value() || m_item->manualEnd().has_value());
    m_selector->setDuration(m_item->duration());
    m_selector->setAnalysis(
        {m_item->audioLevels(), m_item->exitTime(), m_item->openingTime(), m_item->telemetryTrace()});
    m_selector->refresh();
}

void VideoTrimEditorSheet::applyPlaybackBounds() {
    if (!m_item)
        return;
    m_player->setHeldRange(m_item->effectiveStart(), m_item->effectiveEnd());
}

void VideoTrimEditorSheet::scrubTo(double seconds) {
    m_player->pause();
    m_player->setPosition(seconds);
}

void VideoTrimEditorSheet::reject() {
    if (m_item)
        m_item->restoreManualRange(m_openedWith);
    QDialog::reject();
}

void VideoTrimEditorSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        m_player->togglePlayback();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void VideoTrimEditorSheet::hideEvent(QHideEvent* event) {
    m_player->pause();
    QDialog::hideEvent(event);
}

} // namespace velarix
