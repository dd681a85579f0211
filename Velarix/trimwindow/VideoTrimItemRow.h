#pragma once

#include "trimming/VideoTrimItem.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace velarix {

// One video of the trimming list: name and folder, duration and size, what will happen to it, the
// outcome of its trim, the "Adjust…" and "Keep Full" buttons and a button that takes it off the
// list (also Delete while the row has the focus, and its context menu). Follows its item.
class VideoTrimItemRow : public QWidget {
    Q_OBJECT
public:
    VideoTrimItemRow(VideoTrimItem* item, std::function<void()> onRemoveTrim, std::function<void()> onAdjust,
                     std::function<void()> onRemove = {}, QWidget* parent = nullptr);

    VideoTrimItem* item() const { return m_item; }
    void setAlternate(bool alternate);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void refresh();
    // "Keep Full", or its undo while the full range it set is still the one in force.
    void keepFullOrUndo();
    void remove();

    QPointer<VideoTrimItem> m_item;
    std::function<void()> m_onRemoveTrim;
    std::function<void()> m_onAdjust;
    std::function<void()> m_onRemove;
    bool m_alternate = false;

    QLabel* m_name = nullptr;
    QLabel* m_folder = nullptr;
    QLabel* m_duration = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_statusIcon = nullptr;
    QLabel* m_statusText = nullptr;
    QLabel* m_statusDetail = nullptr;
    QLabel* m_statusNote = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_adjust = nullptr;
    QPushButton* m_keepFull = nullptr;
    QLabel* m_trimmed = nullptr;
    QToolButton* m_remove = nullptr;
    QProgressBar* m_trimming = nullptr;
};

} // namespace velarix
