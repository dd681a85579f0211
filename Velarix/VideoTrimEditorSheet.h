#pragma once

#include "trimming/VideoTrimItem.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

namespace velarix {

class TrimRangeSelector;
class VideoPlayerView;

// The sheet in which the kept range of one video is adjusted on a preview. Every change goes to the
// item at once: there is no save step, and "Done" only closes the sheet. Window-modal over the
// trimming window.
class VideoTrimEditorSheet : public QDialog {
    Q_OBJECT
public:
    explicit VideoTrimEditorSheet(VideoTrimItem* item, QWidget* parent = nullptr);
    ~VideoTrimEditorSheet() override;

    VideoTrimItem* item() const { return m_item; }
    VideoPlayerView* player() const { return m_player; }
    TrimRangeSelector* rangeSelector() const { return m_selector; }

protected:
    void hideEvent(QHideEvent* event) override;
    // Space that no control took (e.g. from the range selector) plays or pauses the preview.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void applyPlaybackBounds();
    void scrubTo(double seconds);

    QPointer<VideoTrimItem> m_item;
    QLabel* m_title = nullptr;
    QLabel* m_rangeText = nullptr;
    VideoPlayerView* m_player = nullptr;
    TrimRangeSelector* m_selector = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace velarix
