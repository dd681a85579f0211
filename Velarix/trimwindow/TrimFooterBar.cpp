#include "Velarix/trimwindow/TrimFooterBar.h"

#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/widgets/AccessibleProgress.h"
#include "trimming/VideoTrimmingModel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace velarix {

using trimstyle::Text;

namespace {

int progressValue(std::optional<double> fraction) {
    return int(std::lround(std::clamp(fraction.value_or(0.0), 0.0, 1.0) * 1000));
}

} // namespace

TrimFooterBar::TrimFooterBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("trimFooter"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 12);
    layout->setSpacing(8);

    auto* status = new QWidget(this);
    status->setMaximumWidth(320);
    auto* statusLayout = new QVBoxLayout(status);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(4);
    m_progress = new QProgressBar(status);
    m_progress->setObjectName(QStringLiteral("footerProgress"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(6);
    m_progress->setAccessibleName(tr("Progress"));
    m_status = trimstyle::label(QString(), Text::Caption, true, status);
    m_status->setObjectName(QStringLiteral("footerStatus"));
    statusLayout->addWidget(m_progress);
    statusLayout->addWidget(m_status);
    layout->addWidget(status, 1, Qt::AlignLeft | Qt::AlignVCenter);
    layout->addStretch(0);

    m_analyzeAgain = new QPushButton(tr("Analyze Again"), this);
    m_analyzeAgain->setObjectName(QStringLiteral("footerAnalyzeAgain"));
    m_keepOriginals = new QCheckBox(tr("Keep originals in the Trash"), this);
    m_keepOriginals->setObjectName(QStringLiteral("keepOriginalsToggle"));
    m_keepOriginals->setToolTip(tr("Each replaced original goes to the Trash of its drive, where the file "
                                   "manager can restore it, instead of being deleted. The space is freed "
                                   "only when the Trash is emptied."));
    m_trim = new QPushButton(tr("Trim Suggested Videos"), this);
    m_trim->setObjectName(QStringLiteral("footerTrim"));
    // Drawn as the default; Return reaches it through the window's shortcut.
    m_trim->setDefault(true);
    layout->addWidget(m_keepOriginals);
    layout->addSpacing(8);
    for (QPushButton* button : {m_analyzeAgain, m_trim})
        layout->addWidget(button);
    connect(m_analyzeAgain, &QPushButton::clicked, this, &TrimFooterBar::analyzeAgainRequested);
    connect(m_keepOriginals, &QCheckBox::toggled, this, &TrimFooterBar::keepOriginalsToggled);
    connect(m_trim, &QPushButton::clicked, this, &TrimFooterBar::trimRequested);
}

QString TrimFooterBar::processedText(int done, int total, int left) {
    return tr("%1 of %2 processed, %3 left").arg(done).arg(total).arg(std::max(left, 0));
}

void TrimFooterBar::refresh(const VideoTrimmingModel& model) {
    const int count = int(model.items().size());
    const bool analysing = model.isAnalyzing();
    const bool trimming = model.isTrimming();
    if (analysing) {
        m_progress->setValue(progressValue(model.analysisProgress()));
        m_status->setText(tr("Analyzing audio… ") +
                          processedText(model.analyzedCount(), count, model.analyzingCount()));
    } else if (trimming) {
        m_progress->setValue(progressValue(model.trimProgress()));
        m_status->setText(tr("Trimming videos… ") +
                          processedText(model.trimCompletedCount(), model.trimTotalCount(),
                                        model.trimTotalCount() - model.trimCompletedCount()));
    } else {
        m_status->setText(tr("%n video(s)", nullptr, int(count)));
    }
    m_progress->setVisible(analysing || trimming);
    setProgressStatus(m_progress, m_status->text());
    trimstyle::setStyle(m_status, analysing || trimming ? Text::Caption : Text::Body, true);

    const bool busy = analysing || trimming;
    m_analyzeAgain->setEnabled(!busy && count > 0);
    {
        const QSignalBlocker blocker(m_keepOriginals);
        m_keepOriginals->setChecked(model.keepOriginalsInTrash());
    }
    // Changed during a run it would apply to some files of the run and not to others.
    m_keepOriginals->setEnabled(!trimming);
    m_trim->setEnabled(!busy && !model.trimmableItems().isEmpty());
}

} // namespace velarix
