#include "Velarix/widgets/VideoPlayerView.h"

#include "Velarix/widgets/AppLog.h"
#include "Velarix/widgets/AppResources.h"
#include "Velarix/widgets/ThemeColours.h"

#include <QAudioOutput>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScopeGuard>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

qint64 toMs(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return qint64(std::llround(seconds * 1000.0));
}

// Position reports come every few tens of milliseconds; a bound counts as reached this close to it.
constexpr qint64 kBoundSlackMs = 30;

} // namespace

VideoPlayerView::VideoPlayerView(QWidget* parent)
    : QWidget(parent)
    , m_player(new QMediaPlayer(this))
    , m_audio(new QAudioOutput(this))
    , m_sink(new QVideoSink(this))
    , m_placeholder(tr("Loading Preview")) {
    ensureAppResources();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoSink(m_sink);
    // Frames may be delivered from the backend's streaming thread; the connection queues them.
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &VideoPlayerView::handleFrame);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &VideoPlayerView::handleStatus);
    connect(m_player, &QMediaPlayer::positionChanged, this, &VideoPlayerView::handlePosition);
    connect(m_player, &QMediaPlayer::durationChanged, this,
            [this](qint64 ms) { Q_EMIT durationChanged(double(ms) / 1000.0); });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState) {
        updateReadiness();
        reportPlaying();
        update();
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& text) {
        // A pipeline that fails as it starts may play the same file when it is loaded again: once.
        if (!m_reloaded && !m_source.isEmpty()) {
            m_reloaded = true;
            qCWarning(lcVelarix, "Preview of %s failed (%s); loading it again", qPrintable(m_source),
                      qPrintable(text));
            QMetaObject::invokeMethod(this, &VideoPlayerView::reload, Qt::QueuedConnection);
            return;
        }
        m_error = text.isEmpty() ? tr("The video could not be played.") : text;
        qCWarning(lcVelarix, "Preview of %s failed: %s", qPrintable(m_source), qPrintable(m_error));
        update();
        Q_EMIT errorOccurred(m_error);
    });
}

VideoPlayerView::~VideoPlayerView() {
    // Tearing the pipeline down still delivers frames and state changes: none may reach this
    // half-destroyed widget.
    m_sink->disconnect(this);
    m_player->disconnect(this);
    m_player->stop();
    delete m_player;
}

void VideoPlayerView::setSource(const QString& path) {
    m_player->stop();
    if (path != m_source)
        m_reloaded = false;
    m_source = path;
    m_frame = QImage();
    m_error.clear();
    m_pendingSeek.reset();
    setPlayWhenReady(false);
    setReady(false);
    // The backend recognises the container by its content, so a ".360" file needs no renaming.
    m_player->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
    update();
}

void VideoPlayerView::reload() {
    const qint64 at = m_pendingSeek.value_or(m_player->position());
    const bool playing = playRequested();
    // The media player ignores a source it already has: unload first, so the pipeline is rebuilt.
    m_player->setSource(QUrl());
    setSource(m_source);
    if (at > 0)
        m_pendingSeek = at;
    if (playing)
        play();
}

void VideoPlayerView::play() {
    if (m_source.isEmpty())
        return;
    if (!m_ready) {
        setPlayWhenReady(true);
        return;
    }
    const qint64 now = m_pendingSeek.value_or(m_player->position());
    const qint64 start = heldStartMs();
    const qint64 end = heldEndMs();
    // Playing from outside the held range, or from its very end, starts over at the start bound.
    if (now < start || now >= end - kBoundSlackMs)
        seekNow(start);
    m_player->play();
}

void VideoPlayerView::pause() {
    setPlayWhenReady(false);
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
}

void VideoPlayerView::togglePlayback() {
    if (playRequested())
        pause();
    else
        play();
}

bool VideoPlayerView::isPlaying() const {
    return m_player->playbackState() == QMediaPlayer::PlayingState;
}

void VideoPlayerView::setPosition(double seconds) {
    const qint64 ms = toMs(seconds);
    if (m_ready)
        seekNow(ms);
    else
        m_pendingSeek = ms;
}

double VideoPlayerView::position() const {
    return double(m_pendingSeek.value_or(m_player->position())) / 1000.0;
}

double VideoPlayerView::duration() const {
    return double(m_player->duration()) / 1000.0;
}

void VideoPlayerView::setHeldRange(std::optional<double> start, std::optional<double> end) {
    m_heldStart = start;
    m_heldEnd = end;
}

void VideoPlayerView::setMuted(bool muted) {
    m_audio->setMuted(muted);
}

void VideoPlayerView::setPlaceholderText(const QString& text) {
    m_placeholder = text;
    update();
}

qint64 VideoPlayerView::heldStartMs() const {
    return m_heldStart ? toMs(*m_heldStart) : 0;
}

qint64 VideoPlayerView::heldEndMs() const {
    const qint64 whole = m_player->duration();
    if (!m_heldEnd)
        return whole > 0 ? whole : std::numeric_limits<qint64>::max();
    const qint64 end = toMs(*m_heldEnd);
    return whole > 0 ? std::min(end, whole) : end;
}

void VideoPlayerView::seekNow(qint64 ms) {
    m_pendingSeek.reset();
    // A stopped pipeline (after the end of the media) ignores seeks; pausing re-arms it.
    if (m_player->playbackState() == QMediaPlayer::StoppedState)
        m_player->pause();
    m_player->setPosition(ms);
}

void VideoPlayerView::setReady(bool ready) {
    if (m_ready == ready)
        return;
    m_ready = ready;
    Q_EMIT readyChanged(ready);
}

void VideoPlayerView::setPlayWhenReady(bool play) {
    m_playWhenReady = play;
    reportPlaying();
}

void VideoPlayerView::reportPlaying() {
    const bool playing = playRequested();
    if (playing == m_reportedPlaying)
        return;
    m_reportedPlaying = playing;
    Q_EMIT playingChanged(playing);
}

void VideoPlayerView::handleStatus(QMediaPlayer::MediaStatus status) {
    switch (status) {
    case QMediaPlayer::BufferedMedia:
        updateReadiness();
        break;
    case QMediaPlayer::EndOfMedia:
        if (m_endAction == EndAction::Loop && m_ready) {
            seekNow(heldStartMs());
            m_player->play();
        } else {
            Q_EMIT endReached();
        }
        break;
    case QMediaPlayer::InvalidMedia:
        if (m_error.isEmpty())
            m_error = tr("The video could not be played.");
        update();
        break;
    case QMediaPlayer::LoadedMedia:
        // Pausing (outside this notification) prerolls the first picture; seeks work from then on.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_ready && m_player->playbackState() == QMediaPlayer::StoppedState)
                    m_player->pause();
            },
            Qt::QueuedConnection);
        break;
    default:
        break;
    }
}

void VideoPlayerView::updateReadiness() {
    if (m_ready || m_source.isEmpty() || m_player->playbackState() == QMediaPlayer::StoppedState)
        return;
    // A paused pipeline that has shown its first picture seeks as reliably as a buffered one; the
    // backend reports BufferedMedia only once playing.
    if (m_player->mediaStatus() != QMediaPlayer::BufferedMedia && !hasFrame())
        return;
    setReady(true);
    if (m_pendingSeek)
        seekNow(*m_pendingSeek);
    if (m_playWhenReady) {
        m_playWhenReady = false;
        play();
        reportPlaying();
    }
}

void VideoPlayerView::handlePosition(qint64 ms) {
    if (isPlaying()) {
        const qint64 end = heldEndMs();
        if (ms >= end - kBoundSlackMs) {
            if (m_endAction == EndAction::Loop) {
                seekNow(heldStartMs());
            } else {
                m_player->pause();
                seekNow(end);
                Q_EMIT endReached();
            }
        } else if (ms + kBoundSlackMs < heldStartMs()) {
            seekNow(heldStartMs());
        }
    }
    Q_EMIT positionChanged(double(ms) / 1000.0);
}

void VideoPlayerView::handleFrame(const QVideoFrame& frame) {
    if (!frame.isValid())
        return;
    const bool first = m_frame.isNull();
    QImage image = frame.toImage();
    if (image.isNull())
        return;
    m_frame = std::move(image);
    update();
    // Qt 6.4's GStreamer sink hands a frame over while its streaming thread waits for this one: a
    // seek from here blocks both until the sink gives up on the frame and fails the pipeline
    // ("Internal data stream error"). Seek and report once the hand-over is done.
    QMetaObject::invokeMethod(
        this,
        [this, first] {
            updateReadiness();
            if (first && hasFrame())
                Q_EMIT firstFrameShown();
        },
        Qt::QueuedConnection);
}

void VideoPlayerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Drawn last on every path: where Space would play or pause.
    const auto focusRing = qScopeGuard([this, &painter] {
        if (!hasFocus())
            return;
        painter.setClipping(false);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 10, 10);
    });
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The parent's background shows in the rounded corners.
    painter.fillRect(rect(), palette().window());
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), 10, 10);
    painter.setClipPath(clip);

    if (m_frame.isNull()) {
        const QColor plate = palette().color(QPalette::AlternateBase).darker(104);
        painter.fillRect(rect(), plate);
        const QColor secondary = readableOn(palette().color(QPalette::PlaceholderText), plate);
        const QString title = m_error.isEmpty() ? m_placeholder : tr("Preview Unavailable");
        QFont titleFont = font();
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
        titleFont.setBold(true);
        const int iconSize = 36;
        const QFontMetrics metrics(titleFont);
        const int blockHeight = iconSize + 10 + metrics.height() + (m_error.isEmpty() ? 0 : 24);
        int y = (height() - blockHeight) / 2;
        const QIcon icon(QStringLiteral(":/velarix/icons/video.svg"));
        icon.paint(&painter, QRect((width() - iconSize) / 2, y, iconSize, iconSize));
        y += iconSize + 10;
        painter.setFont(titleFont);
        painter.setPen(secondary);
        painter.drawText(QRect(0, y, width(), metrics.height()), Qt::AlignHCenter, title);
        if (!m_error.isEmpty()) {
            painter.setFont(font());
            painter.drawText(QRect(12, y + metrics.height() + 4, width() - 24, 40),
                             Qt::AlignHCenter | Qt::TextWordWrap, m_error);
        }
        return;
    }

    painter.fillRect(rect(), Qt::black);
    QSize fitted = m_frame.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.drawImage(target, m_frame);

    if (!isPlaying()) {
        // A paused picture says how to start it.
        const int d = 44;
        const QRectF badge(width() / 2.0 - d / 2.0, height() / 2.0 - d / 2.0, d, d);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 110));
        painter.drawEllipse(badge);
        QPainterPath triangle;
        triangle.moveTo(badge.center() + QPointF(-6, -10));
        triangle.lineTo(badge.center() + QPointF(11, 0));
        triangle.lineTo(badge.center() + QPointF(-6, 10));
        triangle.closeSubpath();
        painter.setBrush(QColor(255, 255, 255, 225));
        painter.drawPath(triangle);
    }
}

void VideoPlayerView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && hasFrame()) {
        setFocus(Qt::MouseFocusReason);
        togglePlayback();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void VideoPlayerView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        togglePlayback();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velarix
