#include "Velarix/VideoTrimItemRow.h"

#include "Velarix/TrimStyle.h"
#include "trimming/TrimSuggestion.h"
#include "trimming/VideoTrimItem.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
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
                                   std::function<void()> onAdjust, QWidget* parent)
    : QWidget(parent)
    , m_item(item)
    , m_onRemoveTrim(std::move(onRemoveTrim))
    , m_onAdjust(std::move(onAdjust)) {
    setObjectName(QStringLiteral("trimItemRow"));
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
    m_name = new ElidingLabel(file.fileName(), Text::Headline, false, Qt::ElideMiddle, this);
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
    buttons->setFixedWidth(84);
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
    connect(m_keepFull, &QPushButton::clicked, this, [this] {
        if (m_onRemoveTrim)
            m_onRemoveTrim();
    });

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
        textColour = trimstyle::success();
        detail = tr("Save about %1 (%2%)")
                     .arg(trimstyle::byteCount(item->estimatedSavings()))
                     .arg(item->removedPercent());
        if (manual)
            note = tr("Manually adjusted");
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
    m_statusIcon->setVisible(!icon.isEmpty());
    if (!icon.isEmpty())
        m_statusIcon->setPixmap(symbol(icon, this));
    m_statusText->setText(text);
    // The summary's tooltip says which source decided the exit and the opening.
    const QString& why = item->analysisExplanation();
    m_statusText->setToolTip(why.isEmpty() || item->isAnalyzing() ? text : text + u'\n' + why);
    trimstyle::setTextColour(m_statusText, textColour);
    m_statusDetail->setText(detail);
    m_statusDetail->setVisible(!detail.isEmpty());
    m_statusNote->setText(note);
    m_statusNote->setVisible(!note.isEmpty());

    if (item->exportMessage()) {
        m_message->setText(*item->exportMessage());
        trimstyle::setTextColour(m_message,
                                 trimmedInPlace ? trimstyle::success() : trimstyle::secondary(this));
    } else if (manual && item->suggestedStart() && item->suggestedEnd()) {
        // The analysis summary names the suggested range; beside a manual one it would read as a
        // contradiction, so it says what it is.
        m_message->setText(
            tr("Suggested %1-%2")
                .arg(formatClock(*item->suggestedStart()), formatClock(*item->suggestedEnd())));
        trimstyle::setTextColour(m_message, trimstyle::secondary(this));
    } else {
        m_message->setText(item->analysisSummary());
        trimstyle::setTextColour(m_message, trimstyle::secondary(this));
    }

    const bool usable = item->duration() > 0 && !busy;
    m_adjust->setEnabled(usable);
    m_keepFull->setEnabled(usable && !item->savesTooLittle());
    m_trimmed->setVisible(trimmedInPlace);
    m_trimming->setVisible(item->isTrimming());
}

} // namespace velarix
