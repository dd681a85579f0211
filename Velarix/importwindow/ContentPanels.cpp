#include "Velarix/importwindow/ContentPanels.h"

#include "Velarix/widgets/AccessibleProgress.h"
#include "Velarix/widgets/Icons.h"
#include "Velarix/widgets/SecondaryText.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <cmath>

namespace velarix {

ContentUnavailableView::ContentUnavailableView(const QIcon& icon, const QString& title,
                                               const QString& description, QWidget* parent,
                                               const QString& hint)
    : QWidget(parent) {
    auto* image = new QLabel(this);
    image->setPixmap(icon.pixmap(QSize(56, 56), devicePixelRatioF()));
    image->setAlignment(Qt::AlignCenter);
    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("unavailableTitle"));
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    m_title->setFont(big);
    m_title->setAlignment(Qt::AlignCenter);
    m_description = new QLabel(description, this);
    m_description->setObjectName(QStringLiteral("unavailableDescription"));
    m_description->setAlignment(Qt::AlignCenter);
    m_description->setWordWrap(true);
    // A fixed width lets the wrapped text take the height it needs.
    m_description->setFixedWidth(440);
    setSecondaryText(m_description, 0);
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(image);
    layout->addSpacing(4);
    layout->addWidget(m_title);
    layout->addWidget(m_description, 0, Qt::AlignHCenter);
    if (!hint.isEmpty()) {
        auto* note = new QLabel(hint, this);
        note->setObjectName(QStringLiteral("unavailableHint"));
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        note->setFixedWidth(440);
        note->setTextFormat(Qt::RichText);
        setSecondaryText(note);
        note->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A wrapped label does not tell the layout how tall it gets at a fixed width.
        note->setMinimumHeight(note->heightForWidth(note->width()));
        layout->addSpacing(10);
        layout->addWidget(note, 0, Qt::AlignHCenter);
    }
}

void ContentUnavailableView::setTitle(const QString& title) {
    m_title->setText(title);
}

void ContentUnavailableView::setDescription(const QString& description) {
    m_description->setText(description);
}

QString ContentUnavailableView::title() const {
    return m_title->text();
}

QString ContentUnavailableView::description() const {
    return m_description->text();
}

LoadingPanel::LoadingPanel(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("loadingPanel"));
    auto* block = new QWidget(this);
    block->setMaximumWidth(420);
    block->setMinimumWidth(320);
    m_bar = new QProgressBar(block);
    m_bar->setTextVisible(false);
    m_bar->setRange(0, 0);
    m_bar->setFixedHeight(8);
    m_bar->setAccessibleName(tr("Scanning progress"));
    m_status = new QLabel(block);
    setSecondaryText(m_status, 0);
    auto* blockLayout = new QVBoxLayout(block);
    blockLayout->setContentsMargins(12, 12, 12, 12);
    blockLayout->setSpacing(8);
    blockLayout->addWidget(m_bar);
    blockLayout->addWidget(m_status);

    auto* notice =
        new ContentUnavailableView(themedIcon("media-flash-sd-mmc", "sdcard.svg"), tr("Loading Videos"),
                                   tr("Scanning the SD card and preparing video details."), this);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->addStretch();
    layout->addWidget(block, 0, Qt::AlignHCenter);
    layout->addWidget(notice, 0, Qt::AlignHCenter);
    layout->addStretch();
}

void LoadingPanel::setStatus(const std::optional<QString>& text, std::optional<double> fraction) {
    m_status->setText(text.value_or(QString()));
    setProgressStatus(m_bar, m_status->text());
    if (fraction) {
        m_bar->setRange(0, 1000);
        m_bar->setValue(int(std::lround(std::clamp(*fraction, 0.0, 1.0) * 1000)));
    } else {
        m_bar->setRange(0, 0);
    }
}

QString LoadingPanel::statusText() const {
    return m_status->text();
}

} // namespace velarix
