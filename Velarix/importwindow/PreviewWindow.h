#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace velarix {

class VideoPlayerView;

// The quick preview of one video: it plays at once, with play/pause, a seek bar and the time over
// the duration under the picture. Space pauses and resumes, Left and Right step back and forward,
// Esc closes.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr double kStepSeconds = 5;

    explicit PreviewWindow(QWidget* parent = nullptr);

    void showVideo(const QString& path);
    QString path() const { return m_path; }
    VideoPlayerView* player() const { return m_player; }
    QSlider* seekBar() const { return m_seek; }
    QToolButton* playButton() const { return m_play; }
    // "0:12 / 1:05"
    QString timeText() const;

    // "1:05", "1:02:03"
    static QString clockText(double seconds);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void step(double seconds);
    void updatePosition();
    void updatePlaying();

    VideoPlayerView* m_player;
    QToolButton* m_play;
    QSlider* m_seek;
    QLabel* m_time;
    QString m_path;
};

} // namespace velarix
