#pragma once

#include <QWidget>

namespace velarix {

// The empty window's invitation to drop or choose videos; highlighted while a drag hovers.
class TrimDropZone : public QWidget {
    Q_OBJECT
public:
    explicit TrimDropZone(QWidget* parent = nullptr);

    void setTargeted(bool targeted);
    bool isTargeted() const { return m_targeted; }

Q_SIGNALS:
    void chooseVideosRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_targeted = false;
};

} // namespace velarix
