#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace velarix {

class ElidedLabel;
class VideoTrimmingModel;

// Shown while the videos are being trimmed: progress and a way to stop.
class TrimProgressScreen : public QWidget {
    Q_OBJECT
public:
    explicit TrimProgressScreen(QWidget* parent = nullptr);

    void refresh(const VideoTrimmingModel& model);

Q_SIGNALS:
    void cancelRequested();

private:
    QProgressBar* m_progress = nullptr;
    QLabel* m_counts = nullptr;
    ElidedLabel* m_file = nullptr;
};

} // namespace velarix
