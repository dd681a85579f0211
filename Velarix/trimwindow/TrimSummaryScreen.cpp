#include "Velarix/trimwindow/TrimSummaryScreen.h"

#include "Velarix/trimwindow/TrimStyle.h"
#include "trimming/VideoTrimmingModel.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>

#include <QVBoxLayout>
#include <algorithm>

namespace velarix {

using trimstyle::Text;

TrimSummaryScreen::TrimSummaryScreen(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("summaryScreen"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->addStretch(1);

    m_symbol = new QLabel(this);
    m_symbol->setObjectName(QStringLiteral("summarySymbol"));
    m_symbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_symbol);

    auto* texts = new QVBoxLayout();
    texts->setSpacing(6);
    m_text = trimstyle::label(QString(), Text::Title3, false, this);
    m_text->setObjectName(QStringLiteral("summaryText"));
    m_text->setAlignment(Qt::AlignCenter);
    m_saved = trimstyle::label(QString(), Text::Body, true, this);
    m_saved->setObjectName(QStringLiteral("summarySaved"));
    m_saved->setAlignment(Qt::AlignCenter);
    m_failures = trimstyle::label(QString(), Text::Body, false, this);
    m_failures->setObjectName(QStringLiteral("summaryFailures"));
    m_failures->setAlignment(Qt::AlignCenter);
    trimstyle::setTextColour(m_failures, trimstyle::failure(this));
    texts->addWidget(m_text);
    texts->addWidget(m_saved);
    texts->addWidget(m_failures);
    layout->addLayout(texts);

    // A line per file, scrolling when there are many.
    m_filesArea = new QScrollArea(this);
    m_filesArea->setObjectName(QStringLiteral("summaryFiles"));
    // Focusable so that a long list scrolls from the keyboard.
    m_filesArea->setAccessibleName(tr("What happened to each file"));
    m_filesArea->setWidgetResizable(true);
    m_filesArea->setFrameShape(QFrame::StyledPanel);
    m_filesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_filesArea->setMaximumWidth(720);
    m_filesArea->setMinimumWidth(560);
    m_files = new QWidget(m_filesArea);
    m_filesLayout = new QGridLayout(m_files);
    m_filesLayout->setContentsMargins(12, 8, 12, 8);
    m_filesLayout->setHorizontalSpacing(16);
    m_filesLayout->setVerticalSpacing(6);
    m_filesLayout->setAlignment(Qt::AlignTop);
    m_filesArea->setWidget(m_files);
    // Room for a handful of lines (a failure's reason takes two or three); more scroll.
    m_filesArea->setMinimumHeight(150);
    m_filesArea->setMaximumHeight(340);
    layout->addWidget(m_filesArea, 4, Qt::AlignHCenter);

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
    // A 36-point symbol: 36 × 96/72 pixels. A run with failures does not get the all-clear tick.
    const int size = 48;
    m_symbol->setPixmap(
        summary.failedCount > 0
            ? style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size)
            : QIcon(QStringLiteral(":/velarix/icons/checkmark-circle.svg")).pixmap(size, size));
    m_text->setText(summary.text());
    // Originals in the Trash still hold their space: say when it comes back, not that it did.
    const qint64 inTrash = summary.bytesInTrash();
    const qint64 freed = summary.savedBytes - inTrash;
    QString saved;
    if (inTrash <= 0)
        saved = tr("Saved %1").arg(trimstyle::byteCount(summary.savedBytes));
    else if (freed <= 0)
        saved = tr("%1 will be freed when the Trash is emptied").arg(trimstyle::byteCount(inTrash));
    else
        saved = tr("Saved %1; %2 more will be freed when the Trash is emptied")
                    .arg(trimstyle::byteCount(freed), trimstyle::byteCount(inTrash));
    m_saved->setText(saved);
    m_failures->setText(tr("%n video(s) could not be trimmed and are unchanged; the reasons are below.",
                           nullptr, summary.failedCount));
    m_failures->setVisible(summary.failedCount > 0);

    while (QLayoutItem* item = m_filesLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    // Failures first, so that none hides below the fold; otherwise in list order.
    QList<VideoTrimFileOutcome> files = summary.files;
    std::stable_partition(files.begin(), files.end(), [](const VideoTrimFileOutcome& file) {
        return file.kind == VideoTrimFileOutcome::Kind::Failed;
    });
    int row = 0;
    for (const VideoTrimFileOutcome& file : std::as_const(files)) {
        const QFileInfo info(file.path);
        auto* name = trimstyle::label(info.fileName(), Text::Body, false, m_files);
        name->setToolTip(file.path);
        QString what;
        QColor colour = trimstyle::secondary(this);
        switch (file.kind) {
        case VideoTrimFileOutcome::Kind::Trimmed:
            what = file.originalInTrash
                       ? tr("Trimmed; about %1 will be freed when the Trash is emptied")
                             .arg(trimstyle::byteCount(file.savedBytes))
                       : tr("Trimmed, saved about %1").arg(trimstyle::byteCount(file.savedBytes));
            colour = trimstyle::success(this);
            break;
        case VideoTrimFileOutcome::Kind::Kept:
        case VideoTrimFileOutcome::Kind::Cancelled: // a cancelled run shows no summary
            what = file.message.isEmpty() ? tr("Kept") : file.message;
            break;
        case VideoTrimFileOutcome::Kind::Failed:
            what = tr("Failed: %1").arg(file.message);
            colour = trimstyle::failure(this);
            break;
        }
        auto* outcome = trimstyle::label(what, Text::Body, false, m_files);
        outcome->setObjectName(QStringLiteral("summaryOutcome"));
        outcome->setWordWrap(true);
        outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
        trimstyle::setTextColour(outcome, colour);
        m_filesLayout->addWidget(name, row, 0, Qt::AlignTop);
        m_filesLayout->addWidget(outcome, row, 1, Qt::AlignTop);
        ++row;
    }
    m_filesLayout->setColumnStretch(1, 1);
    m_filesArea->setVisible(!summary.files.isEmpty());
}

} // namespace velarix
