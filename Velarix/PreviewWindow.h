#pragma once

#include <QWidget>

namespace velarix {

class VideoPlayerView;

// The quick preview of one video: it plays at once; Space pauses and resumes, Esc closes.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    void showVideo(const QString& path);
    QString path() const { return m_path; }
    VideoPlayerView* player() const { return m_player; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    VideoPlayerView* m_player;
    QString m_path;
};

} // namespace velarix
