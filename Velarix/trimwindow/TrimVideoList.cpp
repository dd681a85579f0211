#include "Velarix/trimwindow/TrimVideoList.h"

#include "Velarix/trimwindow/TrimFooterBar.h"
#include "Velarix/trimwindow/VideoTrimItemRow.h"
#include "trimming/VideoTrimmingModel.h"

#include <QFrame>
#include <QScrollArea>
#include <QVBoxLayout>

namespace velarix {

TrimVideoList::TrimVideoList(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("videoList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes to the rows themselves; the area scrolls to the focused one.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_rowsHost = new QWidget(m_scroll);
    m_rowsLayout = new QVBoxLayout(m_rowsHost);
    // Inset list: a margin around the rows, which sit on the list background.
    m_rowsLayout->setContentsMargins(16, 12, 16, 12);
    m_rowsLayout->setSpacing(0);
    m_rowsLayout->addStretch(1);
    m_scroll->setWidget(m_rowsHost);
    layout->addWidget(m_scroll, 1);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setForegroundRole(QPalette::Mid);
    layout->addWidget(divider);

    m_footer = new TrimFooterBar(this);
    layout->addWidget(m_footer);
}

QList<VideoTrimItemRow*> TrimVideoList::rows() const {
    QList<VideoTrimItemRow*> result;
    for (int i = 0; i < m_rowsLayout->count(); ++i)
        if (auto* row = qobject_cast<VideoTrimItemRow*>(m_rowsLayout->itemAt(i)->widget()))
            result.append(row);
    return result;
}

void TrimVideoList::syncRows(const VideoTrimmingModel& model) {
    const QList<VideoTrimItem*>& items = model.items();
    // Rows of items that left the list go; rows of the rest are kept and put in the model's order.
    // When the row with the focus goes, the one that takes its place gets it (Delete, Delete, …).
    int focusedGone = -1;
    const QList<VideoTrimItemRow*> before = rows();
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (!items.contains(it.key())) {
            if (it.value()->hasFocus())
                focusedGone = int(before.indexOf(it.value()));
            delete it.value();
            it = m_rows.erase(it);
        } else {
            ++it;
        }
    }
    for (int i = 0; i < items.size(); ++i) {
        VideoTrimItem* item = items[i];
        VideoTrimItemRow* row = m_rows.value(item);
        if (!row) {
            row = new VideoTrimItemRow(
                item, [this, item] { Q_EMIT keepFullRequested(item); },
                [this, item] { Q_EMIT adjustRequested(item); },
                [this, item] { Q_EMIT removeRequested(item); }, m_rowsHost);
            m_rows.insert(item, row);
        }
        m_rowsLayout->removeWidget(row);
        m_rowsLayout->insertWidget(i, row);
        row->setAlternate(i % 2 == 1);
    }
    if (focusedGone >= 0 && !items.isEmpty())
        m_rows.value(items[std::min<int>(focusedGone, int(items.size()) - 1)])->setFocus();
}

void TrimVideoList::refresh(const VideoTrimmingModel& model) {
    m_footer->refresh(model);
}

} // namespace velarix
