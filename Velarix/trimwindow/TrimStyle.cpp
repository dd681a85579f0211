#include "Velarix/trimwindow/TrimStyle.h"

#include "Velarix/widgets/ThemeColours.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QWidget>

namespace velarix::trimstyle {

QFont font(const QWidget* widget, Text style) {
    QFont f = widget ? widget->font() : QFont();
    const qreal base = f.pointSizeF() > 0 ? f.pointSizeF() : 10.0;
    switch (style) {
    case Text::Body:
        break;
    case Text::Headline:
        f.setWeight(QFont::DemiBold);
        break;
    case Text::Title3:
        f.setPointSizeF(base * 1.3);
        f.setWeight(QFont::DemiBold);
        break;
    case Text::Subheadline:
        f.setPointSizeF(base * 0.95);
        break;
    case Text::Callout:
        f.setPointSizeF(base * 0.95);
        break;
    case Text::Caption:
        f.setPointSizeF(base * 0.88);
        break;
    case Text::Caption2:
        f.setPointSizeF(base * 0.8);
        break;
    }
    return f;
}

QColor secondary(const QWidget* widget) {
    // From the application's palette: a label that was greyed already must not grey further.
    const QPalette palette = widget ? QApplication::palette(widget) : QApplication::palette();
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    // Halfway between text and background reads as secondary on light and dark themes alike.
    return QColor((text.red() * 55 + window.red() * 45) / 100,
                  (text.green() * 55 + window.green() * 45) / 100,
                  (text.blue() * 55 + window.blue() * 45) / 100);
}

namespace {

QColor tone(const QWidget* widget, Tone which) {
    return toneColour(which, widget ? QApplication::palette(widget) : QApplication::palette());
}

} // namespace

QColor success(const QWidget* widget) {
    return tone(widget, Tone::success);
}

QColor failure(const QWidget* widget) {
    return tone(widget, Tone::failure);
}

QColor warning(const QWidget* widget) {
    return tone(widget, Tone::warning);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setStyle(QLabel* label, Text style, bool secondaryColour) {
    label->setFont(font(label->parentWidget() ? label->parentWidget() : label, style));
    if (secondaryColour)
        setTextColour(label, secondary(label));
}

QLabel* label(const QString& text, Text style, bool secondaryColour, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    setStyle(l, style, secondaryColour);
    return l;
}

QString byteCount(qint64 bytes) {
    if (bytes < 1000) {
        const int count = bytes < 0 ? 0 : int(bytes);
        return QCoreApplication::translate("velarix::DisplayFormats", "%n byte(s)", nullptr, count);
    }
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

} // namespace velarix::trimstyle
