#include "Velarix/trimwindow/VideoTrimItemRow.h"

#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/widgets/SpokenText.h"
#include "analysis/TrimSuggestion.h"
#include "trimming/VideoTrimItem.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace velarix {

using trimstyle::Text;

namespace {

// A one-line label that shortens its text with "…" instead of widening the row; the full text
// stays in text() and in the tooltip.
class ElidingLabel : public QLabel {
public:
    ElidingLabel(const QString& text, Text style, bool secondaryColour, Qt::TextElideMode mode,
                 QWidget* parent)
        : QLabel(text, parent)
        , m_mode(mode) {
        setTextFormat(Qt::PlainText);
        trimstyle::setStyle(this, style, secondaryColour);
        setMinimumWidth(1);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QRect area = contentsRect();
        painter.drawText(area, int(alignment()) | Qt::TextSingleLine,
                         fontMetrics().elidedText(text(), m_mode, area.width()));
    }

private:
    Qt::TextElideMode m_mode;
};

QPixmap symbol(const QString& name, const QWidget* widget) {
    const int size = QFontMetrics(widget->font()).height() - 2;
    return QIcon(QStringLiteral(":/velarix/icons/%1.svg").arg(name)).pixmap(size, size);
}

} // namespace

VideoTrimItemRow::VideoTrimItemRow(VideoTrimItem* item, std::function<void()> onRemoveTrim,
                                   std::function<void()> onAdjust, std::function<void()> onRemove,
                                   QWidget* parent)
    : QWidget(parent)
    , m_item(item)
    , m_onRemoveTrim(std::move(onRemoveTrim))
    , m_onAdjust(std::move(onAdjust))
    , m_onRemove(std::move(onRemove)) {
    setObjectName(QStringLiteral("trimItemRow"));
    // Clicked or tabbed to, the row takes the focus, so that Delete knows which video is meant.
    setFocusPolicy(Qt::StrongFocus);
    // A screen reader lands on the row: it names the video and says what will happen to it.
    setAccessibleName(item->displayName());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 4 + 6, 12, 4 + 6);
    outer->setSpacing(10);
    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    outer->addLayout(row);

    // 1. Name and folder.
    auto* nameBlock = new QVBoxLayout();
    nameBlock->setSpacing(4);
    const QFileInfo file(item->url().toLocalFile());
    m_name = new ElidingLabel(item->displayName(), Text::Headline, false, Qt::ElideMiddle, this);
    m_folder = new ElidingLabel(QDir::toNativeSeparators(file.absolutePath()), Text::Caption, true,
                                Qt::ElideMiddle, this);
    m_name->setToolTip(file.absoluteFilePath());
    m_folder->setToolTip(file.absolutePath());
    nameBlock->addWidget(m_name);
    nameBlock->addWidget(m_folder);
    nameBlock->addStretch(1);
    row->addLayout(nameBlock, 1);

    // 2. Facts.
    auto* facts = new QWidget(this);
    facts->setFixedWidth(90);
    auto* factsLayout = new QVBoxLayout(facts);
    factsLayout->setContentsMargins(0, 0, 0, 0);
    factsLayout->setSpacing(4);
    m_duration = trimstyle::label(QString(), Text::Body, false, facts);
    m_size = trimstyle::label(QString(), Text::Caption, true, facts);
    factsLayout->addWidget(m_duration);
    factsLayout->addWidget(m_size);
    factsLayout->addStretch(1);
    row->addWidget(facts);

    // 3. Status.
    auto* status = new QWidget(this);
    status->setFixedWidth(240);
    auto* statusLayout = new QVBoxLayout(status);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(4);
    auto* statusLine = new QHBoxLayout();
    statusLine->setSpacing(6);
    m_statusIcon = new QLabel(status);
    m_statusText = new ElidingLabel(QString(), Text::Body, false, Qt::ElideRight, status);
    m_statusText->setObjectName(QStringLiteral("rowStatus"));
    statusLine->addWidget(m_statusIcon);
    statusLine->addWidget(m_statusText, 1);
    m_statusDetail = trimstyle::label(QString(), Text::Caption, true, status);
    m_statusDetail->setObjectName(QStringLiteral("rowStatusDetail"));
    m_statusDetail->setWordWrap(true);
    m_statusNote = trimstyle::label(QString(), Text::Caption, true, status);
    m_statusNote->setObjectName(QStringLiteral("rowStatusNote"));
    m_statusNote->setWordWrap(true);
    statusLayout->addLayout(statusLine);
    statusLayout->addWidget(m_statusDetail);
    statusLayout->addWidget(m_statusNote);
    statusLayout->addStretch(1);
    row->addWidget(status);

    // 4. Message.
    m_message = trimstyle::label(QString(), Text::Caption, true, this);
    m_message->setObjectName(QStringLiteral("rowMessage"));
    m_message->setFixedWidth(180);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row->addWidget(m_message);

    // 5. Buttons.
    auto* buttons = new QWidget(this);
    buttons->setFixedWidth(104);
    auto* buttonsLayout = new QVBoxLayout(buttons);
    buttonsLayout->setContentsMargins(0, 0, 0, 0);
    buttonsLayout->setSpacing(8);
    m_adjust = new QPushButton(tr("Adjust…"), buttons);
    m_adjust->setObjectName(QStringLiteral("rowAdjust"));
    m_keepFull = new QPushButton(tr("Keep Full"), buttons);
    m_keepFull->setObjectName(QStringLiteral("rowKeepFull"));
    for (QPushButton* button : {m_adjust, m_keepFull}) {
        button->setFont(trimstyle::font(this, Text::Caption));
        button->setAutoDefault(false);
        buttonsLayout->addWidget(button);
    }
    m_adjust->setToolTip(tr("Choose the kept range on a preview"));
    m_keepFull->setToolTip(tr("Do not trim this video"));
    m_trimmed = trimstyle::label(tr("Trimmed"), Text::Caption2, true, buttons);
    m_trimmed->setAlignment(Qt::AlignHCenter);
    buttonsLayout->addWidget(m_trimmed);
    buttonsLayout->addStretch(1);
    row->addWidget(buttons);
    connect(m_adjust, &QPushButton::clicked, this, [this] {
        if (m_onAdjust)
            m_onAdjust();
    });
    connect(m_keepFull, &QPushButton::clicked, this, &VideoTrimItemRow::keepFullOrUndo);

    // 6. Off the list.
    m_remove = new QToolButton(this);
    m_remove->setObjectName(QStringLiteral("rowRemove"));
    // A quiet ×: taking a video off the list is harmless (the file stays), not an alarm.
    m_remove->setText(QStringLiteral("\u2715"));
    m_remove->setAutoRaise(true);
    m_remove->setFixedSize(24, 24);
    trimstyle::setTextColour(m_remove, trimstyle::secondary(this));
    m_remove->setToolTip(tr("Remove from the list (Delete). The file stays as it is."));
    m_remove->setFocusPolicy(Qt::NoFocus);
    m_remove->setAccessibleName(tr("Remove from List"));
    row->addWidget(m_remove, 0, Qt::AlignTop);
    connect(m_remove, &QToolButton::clicked, this, &VideoTrimItemRow::remove);

    m_trimming = new QProgressBar(this);
    m_trimming->setObjectName(QStringLiteral("rowTrimmingIndicator"));
    m_trimming->setRange(0, 0);
    m_trimming->setTextVisible(false);
    m_trimming->setFixedSize(120, 6);
    outer->addWidget(m_trimming, 0, Qt::AlignRight);

    connect(item, &VideoTrimItem::changed, this, &VideoTrimItemRow::refresh);
    refresh();
}

void VideoTrimItemRow::setAlternate(bool alternate) {
    m_alternate = alternate;
    update();
}

void VideoTrimItemRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(m_alternate ? QPalette::AlternateBase : QPalette::Base));
    // QWidget repaints a focusable widget when it gains or loses the focus.
    if (hasFocus()) {
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(40);
        painter.fillRect(rect(), tint);
        painter.fillRect(QRect(0, 0, 3, height()), palette().color(QPalette::Highlight));
    }
}

void VideoTrimItemRow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && m_remove->isEnabled()) {
        remove();
        return;
    }
    QWidget::keyPressEvent(event);
}

void VideoTrimItemRow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("rowContextMenu"));
    QAction* adjust = menu.addAction(m_adjust->text());
    adjust->setEnabled(m_adjust->isEnabled());
    connect(adjust, &QAction::triggered, m_adjust, &QPushButton::click);
    QAction* keepFull = menu.addAction(m_keepFull->text());
    keepFull->setEnabled(m_keepFull->isEnabled());
    connect(keepFull, &QAction::triggered, this, &VideoTrimItemRow::keepFullOrUndo);
    menu.addSeparator();
    QAction* remove = menu.addAction(tr("Remove from List"));
    remove->setShortcut(QKeySequence::Delete);
    remove->setEnabled(m_remove->isEnabled());
    connect(remove, &QAction::triggered, this, &VideoTrimItemRow::remove);
    menu.exec(event->globalPos());
}

void VideoTrimItemRow::keepFullOrUndo() {
    if (m_item && m_item->canUndoKeepFull())
        m_item->undoKeepFull();
    else if (m_onRemoveTrim)
        m_onRemoveTrim();
}

void VideoTrimItemRow::remove() {
    // Queued: the row goes with its item, which must not happen inside its own event handler.
    if (m_onRemove)
        QMetaObject::invokeMethod(
            this, [onRemove = m_onRemove] { onRemove(); }, Qt::QueuedConnection);
}

void VideoTrimItemRow::refresh() {
    VideoTrimItem* item = m_item;
    if (!item)
        return;
    const bool busy = item->isAnalyzing() || item->isTrimming();
    const bool manual = item->manualStart().has_value() || item->manualEnd().has_value();
    const bool trimmedInPlace = item->outputURL() && *item->outputURL() == item->url();

    m_duration->setText(item->duration() > 0 ? formatClock(item->duration()) : QStringLiteral("—"));
    m_size->setText(item->fileSize() >= 1 ? trimstyle::byteCount(item->fileSize()) : QStringLiteral("—"));

    QString icon;
    QString text;
    QString detail;
    QString note;
    QColor textColour = palette().color(QPalette::WindowText);
    if (item->isAnalyzing()) {
        icon = QStringLiteral("waveform");
        text = tr("Analyzing");
        textColour = trimstyle::secondary(this);
    } else if (item->canTrim()) {
        icon = QStringLiteral("scissors");
        text = item->rangeText();
        textColour = trimstyle::success(this);
        detail = tr("Save about %1 (%2%)")
                     .arg(trimstyle::byteCount(item->estimatedSavings()))
                     .arg(item->removedPercent());
        if (manual)
            note = tr("Manually adjusted");
        if (item->needsReview()) {
            // The suggestion may leave out part of the jump: Trim All asks before it trims this one.
            textColour = trimstyle::warning(this);
            note = tr("Check before trimming: %1").arg(item->reviewReason());
        }
    } else if (item->savesTooLittle()) {
        icon = QStringLiteral("film");
        text = tr("Keep full video");
        textColour = trimstyle::secondary(this);
        detail =
            manual ? tr("Manual range does not trim enough to export a new file") : tr("No trimming needed");
    } else {
        text = item->analysisSummary();
        textColour = trimstyle::secondary(this);
        detail = item->analysisError().value_or(QString());
    }
    // Which stage of the analysis found nothing, for "No confident trim suggestion".
    const QString reason = item->noSuggestionReason();
    const QString statusTip = reason.isEmpty() ? text : tr("No trim suggestion: %1.").arg(reason);
    m_statusIcon->setVisible(!icon.isEmpty());
    if (!icon.isEmpty())
        m_statusIcon->setPixmap(symbol(icon, this));
    m_statusText->setText(text);
    // The summary's tooltip says which source decided the exit and the opening, or which stage
    // found nothing.
    const QString& why = item->analysisExplanation();
    m_statusText->setToolTip(why.isEmpty() || item->isAnalyzing() ? statusTip : statusTip + u'\n' + why);
    m_statusDetail->setToolTip(reason.isEmpty() ? QString() : statusTip);
    trimstyle::setTextColour(m_statusText, textColour);
    m_statusDetail->setText(detail);
    m_statusDetail->setVisible(!detail.isEmpty());
    m_statusNote->setText(note);
    m_statusNote->setVisible(!note.isEmpty());

    if (item->trimFailed()) {
        // A failure must not pass for one more grey line: it is red and says why.
        m_message->setText(tr("Trim failed: %1").arg(*item->exportMessage()));
        trimstyle::setTextColour(m_message, trimstyle::failure(this));
    } else if (item->exportMessage()) {
        m_message->setText(*item->exportMessage());
        trimstyle::setTextColour(m_message,
                                 trimmedInPlace ? trimstyle::success(this) : trimstyle::secondary(this));
    } else if (manual && item->duration() > 0) {
        // What the analysis said, and beside it the range the user chose instead.
        m_message->setText(tr("%1 · Manual %2").arg(item->analysisSummary(), item->rangeText()));
        trimstyle::setTextColour(m_message, trimstyle::secondary(this));
    } else {
        m_message->setText(item->analysisSummary());
        trimstyle::setTextColour(m_message, trimstyle::secondary(this));
    }
    m_message->setToolTip(m_message->text());

    const bool usable = item->duration() > 0 && !busy;
    m_adjust->setEnabled(usable);
    const bool undo = item->canUndoKeepFull();
    m_keepFull->setText(undo ? tr("Undo Keep Full") : tr("Keep Full"));
    m_keepFull->setToolTip(undo ? tr("Go back to the range before Keep Full") : tr("Do not trim this video"));
    m_keepFull->setEnabled(undo || (usable && !item->savesTooLittle()));
    m_remove->setEnabled(!item->isTrimming());
    m_trimmed->setVisible(trimmedInPlace);
    m_trimming->setVisible(item->isTrimming());
    // Determinate once the trim reports how far it is.
    m_trimming->setRange(0, item->workProgress() ? 100 : 0);
    m_trimming->setValue(int(item->workProgress().value_or(0.0) * 100));

    QStringList spoken{
        spokenDuration(item->duration()), m_size->text(), text, detail, note, m_message->text()};
    spoken.removeAll(QString());
    spoken.removeAll(QStringLiteral("—"));
    // The summary can stand both as the status and as the message.
    spoken.removeDuplicates();
    const QString description = spoken.join(QStringLiteral(", "));
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

} // namespace velarix
