#include "Velarix/trimwindow/TelemetryLane.h"

#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/widgets/ThemeColours.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

const QColor kCurveColour(0x6a, 0x4f, 0xc8);
// Lines, not text: 3:1 is enough to see them.
constexpr double kGraphicContrast = 3.0;

} // namespace

void paintTelemetryLane(QPainter& painter, const QRectF& area, const TelemetryTrace& trace, double duration,
                        const std::function<qreal(double)>& xForTime, const QWidget* widget) {
    double low = INFINITY;
    double high = -INFINITY;
    for (double v : trace.curve)
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    if (trace.kind == TelemetryCurveKind::None || !(high >= low) || duration <= 0)
        return;
    const bool altitude = trace.kind == TelemetryCurveKind::Altitude;
    if (!altitude) {
        low =
            0; // acceleration in g: from nothing to at least 3 g, so that 1 g sits low and a shock stands out
        high = std::max(high, 3.0);
    }
    if (high - low < 1)
        high = low + 1;
    const qreal labelHeight = 13;
    const QRectF plot = area.adjusted(0, labelHeight, 0, -2);
    const auto yFor = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor baseline = trimstyle::secondary(widget);
    baseline.setAlphaF(0.25);
    painter.setPen(QPen(baseline, 1));
    painter.drawLine(QPointF(xForTime(0), plot.bottom() + 0.5),
                     QPointF(xForTime(duration), plot.bottom() + 0.5));

    QPainterPath path;
    bool drawing = false;
    for (size_t i = 0; i < trace.curve.size(); ++i) {
        const double v = trace.curve[i];
        if (!std::isfinite(v)) {
            drawing = false;
            continue;
        }
        const QPointF point(xForTime(std::min((double(i) + 0.5) * kTelemetryCurveStep, duration)), yFor(v));
        if (drawing)
            path.lineTo(point);
        else
            path.moveTo(point);
        drawing = true;
    }
    const QColor window = widget ? widget->palette().color(QPalette::Window) : QColor(Qt::white);
    painter.setPen(QPen(readableOn(kCurveColour, window, kGraphicContrast), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);

    // The marks of the level curve's exit and opening, so that both lanes read alike.
    const QPalette palette = widget ? widget->palette() : QPalette();
    for (const auto& [time, colour] :
         {std::pair{trace.exitTime, toneColour(Tone::exitMark, palette)},
          std::pair{trace.openingTime, toneColour(Tone::openingMark, palette)}}) {
        if (!time)
            continue;
        const qreal x = xForTime(*time);
        painter.setPen(QPen(colour, 1.5));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(QPolygonF{QPointF(x - 4, plot.top() - 1), QPointF(x + 4, plot.top() - 1),
                                      QPointF(x, plot.top() + 5)});
    }

    painter.setFont(trimstyle::font(widget, trimstyle::Text::Caption2));
    painter.setPen(trimstyle::secondary(widget));
    const QString label = altitude
                              ? QObject::tr("Altitude %1–%2 m").arg(std::lround(low)).arg(std::lround(high))
                              : QObject::tr("Acceleration, up to %1 g").arg(high, 0, 'f', 1);
    painter.drawText(QRectF(area.left() + 2, area.top(), area.width() - 4, labelHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, label);
    painter.restore();
}

} // namespace velarix
