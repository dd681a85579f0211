#include "Velarix/importwindow/PreviewWindow.h"

#include "Velarix/widgets/VideoPlayerView.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace velarix {

PreviewWindow::PreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("preview"));
    m_player = new VideoPlayerView(this);
    // The player's own keys would swallow Space and Esc before the window sees them.
    m_player->setFocusPolicy(Qt::NoFocus);

    m_play = new QToolButton(this);
    m_play->setObjectName(QStringLiteral("playPause"));
    m_play->setAutoRaise(true);
    m_play->setIconSize(QSize(20, 20));
    m_play->setFocusPolicy(Qt::NoFocus);
    connect(m_play, &QToolButton::clicked, m_player, &VideoPlayerView::togglePlayback);

    m_seek = new QSlider(Qt::Horizontal, this);
    m_seek->setObjectName(QStringLiteral("seekBar"));
    m_seek->setFocusPolicy(Qt::NoFocus);
    m_seek->setRange(0, 0);
    m_seek->setToolTip(QStringLiteral("Drag to move through the video (Left and Right step 5 seconds)"));
    // While the handle is dragged the picture follows it; the player's own ticks do not move it back.
    connect(m_seek, &QSlider::sliderMoved, this, [this](int ms) {
        m_player->setPosition(ms / 1000.0);
        updatePosition();
    });
    connect(m_seek, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
            QMetaObject::invokeMethod(
                this, [this] { m_player->setPosition(m_seek->value() / 1000.0); }, Qt::QueuedConnection);
    });

    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("previewTime"));
    // Digits of one width, so the text does not jitter as the time runs.
    m_time->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(8, 4, 12, 6);
    controls->setSpacing(8);
    controls->addWidget(m_play);
    controls->addWidget(m_seek, 1);
    controls->addWidget(m_time);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_player, 1);
    layout->addLayout(controls);
    setFocusPolicy(Qt::StrongFocus);
    resize(800, 520);

    connect(m_player, &VideoPlayerView::positionChanged, this, &PreviewWindow::updatePosition);
    connect(m_player, &VideoPlayerView::durationChanged, this, &PreviewWindow::updatePosition);
    connect(m_player, &VideoPlayerView::playingChanged, this, &PreviewWindow::updatePlaying);
    updatePosition();
    updatePlaying();
}

QString PreviewWindow::clockText(double seconds) {
    const qint64 total = std::isfinite(seconds) && seconds > 0 ? qint64(std::floor(seconds)) : 0;
    const qint64 hours = total / 3600;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(total % 3600 / 60, 2, 10, QLatin1Char('0'))
            .arg(total % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(total / 60).arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString PreviewWindow::timeText() const {
    return m_time->text();
}

void PreviewWindow::showVideo(const QString& path) {
    m_path = path;
    setWindowTitle(QFileInfo(path).fileName());
    m_player->setSource(path);
    m_player->play();
    updatePosition();
    show();
    raise();
    activateWindow();
    setFocus();
}

void PreviewWindow::step(double seconds) {
    const double duration = m_player->duration();
    double target = m_player->position() + seconds;
    target = std::max(0.0, duration > 0 ? std::min(target, duration) : target);
    m_player->setPosition(target);
    updatePosition();
}

void PreviewWindow::updatePosition() {
    const double duration = m_player->duration();
    const double position = m_player->position();
    m_seek->setRange(0, int(std::max(0.0, duration) * 1000));
    if (!m_seek->isSliderDown())
        m_seek->setValue(int(position * 1000));
    const double shown = m_seek->isSliderDown() ? m_seek->value() / 1000.0 : position;
    m_time->setText(clockText(shown) + QStringLiteral(" / ") +
                    (duration > 0 ? clockText(duration) : QStringLiteral("-:--")));
}

void PreviewWindow::updatePlaying() {
    const bool playing = m_player->isPlaying();
    m_play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_play->setToolTip(playing ? QStringLiteral("Pause [Space]") : QStringLiteral("Play [Space]"));
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        m_player->togglePlayback();
        return;
    case Qt::Key_Left:
        step(-kStepSeconds);
        return;
    case Qt::Key_Right:
        step(kStepSeconds);
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace velarix
