#include "Velarix/VideoTrimmingView.h"

#include <QLabel>

namespace velarix {

VideoTrimmingView::VideoTrimmingView(QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("video-trimming"));
    setWindowTitle(QStringLiteral("Video Trimming"));
    auto* placeholder = new QLabel(tr("Drop Videos Here"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    setMinimumSize(860, 520);
}

} // namespace velarix

namespace velarix {

void VideoTrimmingView::addFiles(const QStringList& paths) {
    static_cast<QLabel*>(centralWidget())->setText(paths.join(u'\n'));
}

} // namespace velarix
