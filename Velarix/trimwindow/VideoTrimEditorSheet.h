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
// item at once, so the row and the savings follow; "Done" keeps it, "Cancel" and Esc put back the
// range the sheet opened with. A kept range that leaves out the exit or the opening the analysis
// found is pointed out beside it. Window-modal over the trimming window.
class VideoTrimEditorSheet : public QDialog {
    Q_OBJECT
public:
    // `openedWith`: the item's manual bounds to put back on Cancel.
    VideoTrimEditorSheet(VideoTrimItem* item, const VideoTrimItem::ManualRange& openedWith,
                         QWidget* parent = nullptr);
    ~VideoTrimEditorSheet() override;

    VideoTrimItem* item() const { return m_item; }
    VideoPlayerView* player() const { return m_player; }
    TrimRangeSelector* rangeSelector() const { return m_selector; }

    // Cancel and Esc: the range the sheet opened with comes back, then the sheet closes.
    void reject() override;

protected:
    void hideEvent(QHideEvent* event) override;
    // Space that no control took (e.g. from the range selector) plays or pauses the preview.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void applyPlaybackBounds();
    void scrubTo(double seconds);

    QPointer<VideoTrimItem> m_item;
    VideoTrimItem::ManualRange m_openedWith;
    QLabel* m_title = nullptr;
    QLabel* m_rangeText = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_position = nullptr;
    VideoPlayerView* m_player = nullptr;
    TrimRangeSelector* m_selector = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace velarix
