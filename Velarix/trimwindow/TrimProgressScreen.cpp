#include "Velarix/trimwindow/TrimProgressScreen.h"

#include "Velarix/trimwindow/TrimFooterBar.h"
#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/widgets/AccessibleProgress.h"
#include "Velarix/widgets/ElidedLabel.h"
#include "trimming/VideoTrimItem.h"
#include "trimming/VideoTrimmingModel.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace velarix {

using trimstyle::Text;

TrimProgressScreen::TrimProgressScreen(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("trimmingScreen"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(18);
    layout->addStretch(1);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("trimmingProgress"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(360);
    m_progress->setMinimumWidth(360);
    m_progress->setFixedHeight(8);
    m_progress->setAccessibleName(tr("Trimming progress"));
    layout->addWidget(m_progress, 0, Qt::AlignHCenter);

    auto* texts = new QVBoxLayout();
    texts->setSpacing(6);
    auto* title = trimstyle::label(tr("Trimming videos…"), Text::Title3, false, this);
    title->setAlignment(Qt::AlignCenter);
    m_counts = trimstyle::label(QString(), Text::Body, true, this);
    m_counts->setObjectName(QStringLiteral("trimmingCounts"));
    m_counts->setAlignment(Qt::AlignCenter);
    // The file under way, elided in the middle: camera names differ at their ends.
    m_file = new ElidedLabel(Qt::ElideMiddle, this);
    m_file->setObjectName(QStringLiteral("trimmingFile"));
    m_file->setAlignment(Qt::AlignCenter);
    texts->addWidget(title);
    texts->addWidget(m_file);
    texts->addWidget(m_counts);
    layout->addLayout(texts);

    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("trimmingCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &TrimProgressScreen::cancelRequested);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void TrimProgressScreen::refresh(const VideoTrimmingModel& model) {
    m_progress->setValue(int(std::lround(std::clamp(model.trimProgress().value_or(0.0), 0.0, 1.0) * 1000)));
    QString file;
    for (const VideoTrimItem* item : model.items())
        if (item->isTrimming())
            file = item->displayName();
    m_file->setFullText(file.isEmpty() ? QString() : tr("Trimming %1").arg(file));
    m_counts->setText(TrimFooterBar::processedText(model.trimCompletedCount(), model.trimTotalCount(),
                                                   model.trimTotalCount() - model.trimCompletedCount()));
    setProgressStatus(m_progress, m_file->fullText().isEmpty()
                                      ? m_counts->text()
                                      : m_file->fullText() + QStringLiteral(", ") + m_counts->text());
}

} // namespace velarix
