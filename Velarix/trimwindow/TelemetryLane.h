#pragma once

#include "trimming/VideoTrimItem.h"

#include <QRectF>

#include <functional>

class QPainter;
class QWidget;

namespace velarix {

// Draws the camera's altitude (or acceleration) as a line in `area`, on the time axis that `xForTime`
// gives, with the telemetry's exit and opening as short ticks and a label naming the curve. The
// widget gives the palette and fonts. Nothing is drawn for a trace without a curve.
void paintTelemetryLane(QPainter& painter, const QRectF& area, const TelemetryTrace& trace, double duration,
                        const std::function<qreal(double)>& xForTime, const QWidget* widget);

// The lane's height in the range selector.
inline constexpr qreal kTelemetryLaneHeight = 46;

} // namespace velarix
