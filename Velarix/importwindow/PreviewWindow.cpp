#include "Velarix/importwindow/PreviewWindow.h"

#include "Velarix/widgets/VideoPlayerView.h"
#include "core/Background.h"
#include "media/MediaOpen.h"

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
#include <numeric>

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
    m_seek->setToolTip(tr("Drag to move through the video (Left and Right step 5 seconds)"));
    // While the handle is dragged the picture follows it; the player's own ticks do not move it back.
    connect(m_seek, &QSlider::sliderMoved, this, [this](int ms) {
        seekTo(ms / 1000.0);
        updatePosition();
    });
    connect(m_seek, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
            QMetaObject::invokeMethod(
                this, [this] { seekTo(m_seek->value() / 1000.0); }, Qt::QueuedConnection);
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
    connect(m_player, &VideoPlayerView::endReached, this, &PreviewWindow::chapterEnded);
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
    showRecording({path});
}

void PreviewWindow::showRecording(const QStringList& chapters) {
    if (chapters.isEmpty())
        return;
    m_path = chapters.first();
    m_chapters = chapters;
    m_durations.clear();
    m_current = 0;
    const quint64 generation = ++m_generation;
    setWindowTitle(
        chapters.size() > 1
            ? tr("%1 (%n chapter(s))", nullptr, int(chapters.size())).arg(QFileInfo(m_path).fileName())
            : QFileInfo(m_path).fileName());
    m_player->setSource(m_path);
    m_player->play();
    if (chapters.size() > 1) {
        // Each chapter's length from its header, off the GUI thread: a card can be slow.
        runInBackground(
            this,
            [chapters] {
                QList<double> durations;
                for (const QString& chapter : chapters) {
                    const Result<double> length = loadDuration(chapter);
                    durations.append(length ? *length : 0.0);
                }
                return durations;
            },
            [this, generation](const QList<double>& durations) {
                // Without every length the chapters cannot be placed on one bar: play them one by one.
                if (generation != m_generation ||
                    std::any_of(durations.begin(), durations.end(), [](double d) { return d <= 0; }))
                    return;
                m_durations = durations;
                updatePosition();
            });
    }
    updatePosition();
    show();
    raise();
    activateWindow();
    setFocus();
}

double PreviewWindow::position() const {
    double before = 0;
    for (int i = 0; i < m_current && i < m_durations.size(); ++i)
        before += m_durations[i];
    return before + m_player->position();
}

double PreviewWindow::duration() const {
    if (m_durations.isEmpty())
        return m_player->duration();
    return std::accumulate(m_durations.begin(), m_durations.end(), 0.0);
}

void PreviewWindow::seekTo(double seconds) {
    if (m_durations.isEmpty()) {
        m_player->setPosition(seconds);
        return;
    }
    int index = 0;
    double start = 0;
    while (index + 1 < m_durations.size() && seconds >= start + m_durations[index]) {
        start += m_durations[index];
        ++index;
    }
    if (index == m_current)
        m_player->setPosition(seconds - start);
    else
        playChapter(index, seconds - start, m_player->playRequested());
}

void PreviewWindow::playChapter(int index, double at, bool playing) {
    m_current = index;
    m_player->setSource(m_chapters[index]);
    if (at > 0)
        m_player->setPosition(at);
    if (playing)
        m_player->play();
    updatePosition();
}

void PreviewWindow::chapterEnded() {
    if (m_current + 1 >= m_chapters.size())
        return;
    // Only a chapter played to its end hands over; a late report of the last source does not.
    const double length = m_current < m_durations.size() ? m_durations[m_current] : m_player->duration();
    if (length <= 0 || m_player->position() < length - 0.5)
        return;
    playChapter(m_current + 1, 0, true);
}

void PreviewWindow::step(double seconds) {
    const double total = duration();
    double target = position() + seconds;
    target = std::max(0.0, total > 0 ? std::min(target, total) : target);
    seekTo(target);
    updatePosition();
}

void PreviewWindow::updatePosition() {
    const double duration = this->duration();
    const double position = this->position();
    m_seek->setRange(0, int(std::max(0.0, duration) * 1000));
    if (!m_seek->isSliderDown())
        m_seek->setValue(int(position * 1000));
    const double shown = m_seek->isSliderDown() ? m_seek->value() / 1000.0 : position;
    m_time->setText(clockText(shown) + QStringLiteral(" / ") +
                    (duration > 0 ? clockText(duration) : QStringLiteral("-:--")));
}

void PreviewWindow::updatePlaying() {
    const bool playing = m_player->playRequested();
    m_play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_play->setToolTip(playing ? tr("Pause [Space]") : tr("Play [Space]"));
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
