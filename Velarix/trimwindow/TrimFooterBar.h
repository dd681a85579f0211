#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace velarix {

class VideoTrimmingModel;

// The bar under the video list: what is going on (analysis or trimming progress, or the number of
// videos), the choice of keeping originals in the Trash, and the list's two actions (adding and
// clearing are the header's).
class TrimFooterBar : public QWidget {
    Q_OBJECT
public:
    explicit TrimFooterBar(QWidget* parent = nullptr);

    void refresh(const VideoTrimmingModel& model);
    QPushButton* trimButton() const { return m_trim; }
    QCheckBox* keepOriginalsToggle() const { return m_keepOriginals; }

    // "%1 of %2 processed, %3 left" with the remaining count never below zero.
    static QString processedText(int done, int total, int left);

Q_SIGNALS:
    void analyzeAgainRequested();
    void trimRequested();
    void keepOriginalsToggled(bool keep);

private:
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_analyzeAgain = nullptr;
    QCheckBox* m_keepOriginals = nullptr;
    QPushButton* m_trim = nullptr;
};

} // namespace velarix
