#pragma once

#include <QWidgetAction>

namespace velarix {

// A checkable menu entry that shows a title with a dimmer subtitle under it. It is checked and
// toggled like any checkable action; the check box inside only mirrors it.
class MenuToggle : public QWidgetAction {
    Q_OBJECT
public:
    MenuToggle(const QString& title, const QString& subtitle, QObject* parent);

    const QString& subtitle() const { return m_subtitle; }

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QString m_subtitle;
};

} // namespace velarix
