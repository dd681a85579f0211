#pragma once

#include <QWidget>

class QLabel;

namespace velarix {

struct VideoTrimCompletionSummary;

// Shown when a trimming run has emptied the list: what was trimmed and saved.
class TrimSummaryScreen : public QWidget {
    Q_OBJECT
public:
    explicit TrimSummaryScreen(QWidget* parent = nullptr);

    void setSummary(const VideoTrimCompletionSummary& summary);

Q_SIGNALS:
    void addVideosRequested();
    void doneRequested();

private:
    QLabel* m_text = nullptr;
    QLabel* m_saved = nullptr;
};

} // namespace velarix
