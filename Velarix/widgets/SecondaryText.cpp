#include "Velarix/widgets/SecondaryText.h"

#include <QCheckBox>
#include <QLabel>
#include <QStyle>

namespace velarix {

void setSecondaryText(QLabel* label, qreal pointsSmaller) {
    if (pointsSmaller != 0) {
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() - pointsSmaller);
        label->setFont(font);
    }
    // Dimmed rather than a fixed grey, so that it follows light and dark themes.
    QPalette palette = label->palette();
    QColor text = palette.color(QPalette::WindowText);
    text.setAlphaF(0.62f);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

QLabel* checkBoxNote(const QString& text, const QCheckBox* box, QWidget* parent) {
    auto* note = new QLabel(text, parent);
    setSecondaryText(note);
    const QStyle* style = box->style();
    note->setContentsMargins(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                                 style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box),
                             0, 0, 0);
    return note;
}

} // namespace velarix
