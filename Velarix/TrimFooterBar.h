#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velarix {

class VideoTrimmingModel;

// The bar under the video list: what is going on (analysis or trimming progress, or the number of
// videos) and the list's four actions.
class TrimFooterBar : public QWidget {
    Q_OBJECT
public:
    explicit TrimFooterBar(QWidget* parent = nullptr);

    void refresh(const VideoTrimmingModel& model);
    QPushButton* trimButton() const { return m_trim; }

    // "%1 of %2 processed, %3 left" with the remaining count never below zero.
    static QString processedText(int done, int total, int left);

Q_SIGNALS:
    void analyzeAgainRequested();
    void addMoreRequested();
    void clearRequested();
    void trimRequested();

private:
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_analyzeAgain = nullptr;
    QPushButton* m_addMore = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_trim = nullptr;
};

} // namespace velarix
