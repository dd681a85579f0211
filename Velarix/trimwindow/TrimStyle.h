#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace velarix {

// The text styles of the trimming window, scaled from the widget's own font so that they follow the
// desktop's font size.
namespace trimstyle {

enum class Text { Body, Headline, Title3, Subheadline, Callout, Caption, Caption2 };

QFont font(const QWidget* widget, Text style);
QColor secondary(const QWidget* widget);
// Made readable on the widget's window, light or dark.
QColor success(const QWidget* widget); // the green of trimmed files and kept ranges
QColor failure(const QWidget* widget); // the red of failed trims
QColor warning(const QWidget* widget); // the amber of a kept range that leaves out what the analysis found

// A label in one of the styles; `secondaryColour` greys it.
QLabel* label(const QString& text, Text style, bool secondaryColour, QWidget* parent = nullptr);
void setStyle(QLabel* label, Text style, bool secondaryColour);
void setTextColour(QWidget* widget, const QColor& colour);

// A byte amount in the file style: decimal units ("633.3 MB").
QString byteCount(qint64 bytes);

} // namespace trimstyle

} // namespace velarix
