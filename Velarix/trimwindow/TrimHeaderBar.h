#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace velarix {

class VideoTrimmingModel;

// The top bar of the trimming window: what the tool does, the estimated savings of the list, and the
// buttons to add videos and to cancel the work or clear the list.
class TrimHeaderBar : public QWidget {
    Q_OBJECT
public:
    explicit TrimHeaderBar(QWidget* parent = nullptr);

    void refresh(const VideoTrimmingModel& model);

Q_SIGNALS:
    void addVideosRequested();
    void cancelRequested();
    void clearRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_savingsBlock = nullptr;
    QLabel* m_savings = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_clear = nullptr;
};

} // namespace velarix
