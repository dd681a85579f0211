#include "Velarix/widgets/MenuToggle.h"

#include "Velarix/widgets/SecondaryText.h"

#include <QCheckBox>
#include <QLabel>
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
    QLabel* note = checkBoxNote(m_subtitle, check, box);
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
