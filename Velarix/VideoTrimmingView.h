#pragma once

#include <QMainWindow>

namespace velarix {

// The trimming window. Each window owns a fresh trimming model; closing it discards its items.
class VideoTrimmingView : public QMainWindow {
    Q_OBJECT
public:
    explicit VideoTrimmingView(QWidget* parent = nullptr);

    // Adds files given on the command line or by "Open With".
    void addFiles(const QStringList& paths);
};

} // namespace velarix
