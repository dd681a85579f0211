#include "Velarix/PreviewWindow.h"

#include "Velarix/VideoPlayerView.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace velarix {

PreviewWindow::PreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("preview"));
    m_player = new VideoPlayerView(this);
    // The player's own keys would swallow Space and Esc before the window sees them.
    m_player->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_player);
    setFocusPolicy(Qt::StrongFocus);
    resize(800, 480);
}

void PreviewWindow::showVideo(const QString& path) {
    m_path = path;
    setWindowTitle(QFileInfo(path).fileName());
    m_player->setSource(path);
    m_player->play();
    show();
    raise();
    activateWindow();
    setFocus();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        m_player->togglePlayback();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velarix
