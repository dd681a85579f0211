#include "Velarix/widgets/MenuToggle.h"

#include <QCheckBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace velarix {

MenuToggle::MenuToggle(const QString& title, const QString& subtitle, QObject* parent)
    : QWidgetAction(parent)
    , m_subtitle(subtitle) {
    setText(title);
    setToolTip(subtitle);
    setCheckable(true);
}

QWidget* MenuToggle::createWidget(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* check = new QCheckBox(text(), box);
    check->setChecked(isChecked());
    auto* note = new QLabel(m_subtitle, box);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() - 1);
    note->setFont(small);
    QPalette dimmed = note->palette();
    QColor colour = dimmed.color(QPalette::WindowText);
    colour.setAlphaF(0.62f);
    dimmed.setColor(QPalette::WindowText, colour);
    note->setPalette(dimmed);
    const int indent = box->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                       box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    note->setContentsMargins(indent, 0, 0, 0);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(10, 5, 14, 5);
    layout->setSpacing(1);
    layout->addWidget(check);
    layout->addWidget(note);
    connect(check, &QCheckBox::toggled, this, &QAction::setChecked);
    connect(this, &QAction::toggled, check, [check](bool on) {
        if (check->isChecked() != on)
            check->setChecked(on);
    });
    return box;
}

} // namespace velarix
