#pragma once

#include <QHash>
#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace velarix {

class TrimFooterBar;
class VideoTrimItem;
class VideoTrimItemRow;
class VideoTrimmingModel;

// The list of videos, one row per item in the model's order, with the footer under it.
class TrimVideoList : public QWidget {
    Q_OBJECT
public:
    explicit TrimVideoList(QWidget* parent = nullptr);

    // Rebuilds the rows when the model's items changed; rows follow their items themselves.
    void syncRows(const VideoTrimmingModel& model);
    void refresh(const VideoTrimmingModel& model);
    TrimFooterBar* footer() const { return m_footer; }
    QList<VideoTrimItemRow*> rows() const;

Q_SIGNALS:
    void adjustRequested(velarix::VideoTrimItem* item);
    void keepFullRequested(velarix::VideoTrimItem* item);
    void removeRequested(velarix::VideoTrimItem* item);

private:
    QScrollArea* m_scroll = nullptr;
    QWidget* m_rowsHost = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    QHash<VideoTrimItem*, VideoTrimItemRow*> m_rows;
    TrimFooterBar* m_footer = nullptr;
};

} // namespace velarix
