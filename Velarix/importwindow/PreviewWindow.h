#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace velarix {

class VideoPlayerView;

// The quick preview of one video: it plays at once, with play/pause, a seek bar and the time over
// the duration under the picture. Space pauses and resumes, Left and Right step back and forward,
// Esc closes. A recording the camera split into chapters plays as one: the bar and the time span
// all its chapters, and playback goes on from one chapter into the next.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr double kStepSeconds = 5;

    explicit PreviewWindow(QWidget* parent = nullptr);

    void showVideo(const QString& path);
    // A recording in chapters, in order (one path: an ordinary video).
    void showRecording(const QStringList& chapters);
    QString path() const { return m_path; }
    // The chapter playing now, counting from 0.
    int currentChapter() const { return m_current; }
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
    // Recording time: the chapters before the current one, plus the player's position in it.
    double position() const;
    double duration() const;
    // Moves to a point of the recording, into another chapter if it lies there.
    void seekTo(double seconds);
    void playChapter(int index, double at, bool playing);
    void chapterEnded();
    void step(double seconds);
    void updatePosition();
    void updatePlaying();

    VideoPlayerView* m_player;
    QToolButton* m_play;
    QSlider* m_seek;
    QLabel* m_time;
    QString m_path;
    QStringList m_chapters;
    QList<double> m_durations; // of each chapter; empty until read (or for a single video)
    int m_current = 0;
    quint64 m_generation = 0; // a newer recording makes late durations of the last one stale
};

} // namespace velarix
