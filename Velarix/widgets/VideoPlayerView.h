#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <QMediaPlayer>

#include <optional>

class QAudioOutput;
class QVideoFrame;
class QVideoSink;

namespace velarix {

// A video preview that paints the frames itself: QVideoWidget draws through OpenGL and stays black
// off-screen and in grabs, so frames come from a QVideoSink and are drawn aspect-fit on black.
//
// Seeks are held back until the player has buffered the media (earlier ones are dropped by the
// backend) and re-applied after every source change. An optional held range keeps playback between
// two bounds: at the end bound the player pauses there or loops back to the start bound.
class VideoPlayerView : public QWidget {
    Q_OBJECT
public:
    enum class EndAction { Pause, Loop };

    explicit VideoPlayerView(QWidget* parent = nullptr);
    ~VideoPlayerView() override;

    // Loads a file, paused. An empty path unloads. A ".360" file is an MP4 container and is played
    // as such.
    void setSource(const QString& path);
    QString source() const { return m_source; }

    void play();
    void pause();
    void togglePlayback();
    bool isPlaying() const;
    // Playing, or asked to play and still loading: what the play button shows and toggles.
    bool playRequested() const { return isPlaying() || m_playWhenReady; }

    // Seconds. Before the media is ready the latest request is kept and applied once it is.
    void setPosition(double seconds);
    double position() const;
    double duration() const;
    // The media is buffered and accepts seeks.
    bool isReady() const { return m_ready; }
    // A picture has been shown since the last source change.
    bool hasFrame() const { return !m_frame.isNull(); }
    QImage currentFrame() const { return m_frame; }
    QString errorString() const { return m_error; }

    // Bounds in seconds; an absent bound is the start or the end of the media.
    void setHeldRange(std::optional<double> start, std::optional<double> end);
    std::optional<double> heldStart() const { return m_heldStart; }
    std::optional<double> heldEnd() const { return m_heldEnd; }
    void setEndAction(EndAction action) { m_endAction = action; }
    EndAction endAction() const { return m_endAction; }

    void setMuted(bool muted);
    // Text shown until the first picture arrives ("Loading Preview" by default).
    void setPlaceholderText(const QString& text);

    QSize sizeHint() const override { return {640, 360}; }
    QSize minimumSizeHint() const override { return {160, 90}; }

Q_SIGNALS:
    void positionChanged(double seconds);
    void durationChanged(double seconds);
    void readyChanged(bool ready);
    // playRequested() changed.
    void playingChanged(bool playing);
    void firstFrameShown();
    // Playback stopped at the end bound (with EndAction::Pause) or at the end of the media.
    void endReached();
    void errorOccurred(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void handleStatus(QMediaPlayer::MediaStatus status);
    void updateReadiness();
    void handlePosition(qint64 ms);
    void handleFrame(const QVideoFrame& frame);
    void seekNow(qint64 ms);
    qint64 heldStartMs() const;
    qint64 heldEndMs() const;
    void setReady(bool ready);
    void setPlayWhenReady(bool play);
    void reportPlaying();
    // The same source again, where it was and as it was playing.
    void reload();

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QVideoSink* m_sink = nullptr;
    QString m_source;
    QImage m_frame;
    QString m_placeholder;
    QString m_error;
    bool m_ready = false;
    std::optional<qint64> m_pendingSeek;
    bool m_playWhenReady = false;
    bool m_reloaded = false; // the source was loaded again after an error
    bool m_reportedPlaying = false;
    std::optional<double> m_heldStart;
    std::optional<double> m_heldEnd;
    EndAction m_endAction = EndAction::Pause;
};

} // namespace velarix
