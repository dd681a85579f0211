#pragma once

#include <QWidget>

class QGridLayout;
class QLabel;
class QScrollArea;

namespace velarix {

struct VideoTrimCompletionSummary;

// Shown when a trimming run has emptied the list: what was trimmed and saved, and a line per file
// with what happened to it (trimmed and the bytes saved, kept and why, failed and why).
class TrimSummaryScreen : public QWidget {
    Q_OBJECT
public:
    explicit TrimSummaryScreen(QWidget* parent = nullptr);

    void setSummary(const VideoTrimCompletionSummary& summary);

Q_SIGNALS:
    void addVideosRequested();
    void doneRequested();

private:
    QLabel* m_symbol = nullptr;
    QLabel* m_text = nullptr;
    QLabel* m_saved = nullptr;
    QLabel* m_failures = nullptr;
    QScrollArea* m_filesArea = nullptr;
    QWidget* m_files = nullptr;
    QGridLayout* m_filesLayout = nullptr;
};

} // namespace velarix
