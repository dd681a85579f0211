#pragma once

#include <QtGlobal>

class QCheckBox;
class QLabel;
class QString;
class QWidget;

namespace velarix {

// Text that supports what is around it (a note under a check box, a status line): the window text
// dimmed, and `pointsSmaller` below the label's own font.
void setSecondaryText(QLabel* label, qreal pointsSmaller = 1);

// A secondary note under `box`, lined up with the box's text rather than with the box itself.
QLabel* checkBoxNote(const QString& text, const QCheckBox* box, QWidget* parent);

} // namespace velarix
