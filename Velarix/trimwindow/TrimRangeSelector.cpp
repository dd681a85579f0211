#include "Velarix/trimwindow/TrimRangeSelector.h"

#include "Velarix/trimwindow/TelemetryLane.h"
#include "Velarix/trimwindow/TrimRangeAccessible.h"
#include "Velarix/trimwindow/TrimStyle.h"
#include "Velarix/widgets/ThemeColours.h"
#include "analysis/TrimSuggestion.h"

#include <QAccessible>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace velarix {

namespace {

constexpr qreal kHandleWidth = 18;
constexpr qreal kTrackPadding = 2;
constexpr qreal kCurveHeight = 84;
constexpr double kLevelWindowSeconds = 0.5;

} // namespace

TrimRangeSelector::TrimRangeSelector(QWidget* parent)
    : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    TrimRangeAccessible::install();
}

void TrimRangeSelector::setStartBinding(Binding binding) {
    m_start = std::move(binding);
    update();
}

void TrimRangeSelector::setEndBinding(Binding binding) {
    m_end = std::move(binding);
    update();
}

void TrimRangeSelector::setDuration(double seconds) {
    m_duration = std::isfinite(seconds) ? seconds : 0;
    update();
}

void TrimRangeSelector::setHandleDiameter(qreal diameter) {
    m_handleDiameter = std::max<qreal>(diameter, 1);
    updateGeometry();
    update();
}

void TrimRangeSelector::setAnalysis(Analysis analysis) {
    if (analysis == m_analysis)
        return;
    // A curve or lane that comes or goes changes the height.
    const bool resized = analysis.levels.empty() != m_analysis.levels.empty() ||
                         analysis.telemetry.curve.empty() != m_analysis.telemetry.curve.empty();
    m_analysis = std::move(analysis);
    if (resized)
        updateGeometry();
    update();
}

void TrimRangeSelector::setPlayhead(std::optional<double> seconds) {
    if (m_playhead == seconds)
        return;
    m_playhead = seconds;
    update();
}

double TrimRangeSelector::start() const {
    return m_start.get ? m_start.get() : 0.0;
}

double TrimRangeSelector::end() const {
    return m_end.get ? m_end.get() : m_duration;
}

TrimRangeSelector::Layout TrimRangeSelector::layout() const {
    const qreal body = QFontMetricsF(trimstyle::font(this, trimstyle::Text::Body)).height();
    const qreal caption = QFontMetricsF(trimstyle::font(this, trimstyle::Text::Caption2)).height();
    Layout l;
    qreal y = 0;
    l.topLine = QRectF(0, y, width(), body);
    y += body + 6;
    if (!m_analysis.levels.empty()) {
        l.curve = QRectF(0, y, width(), kCurveHeight);
        y += kCurveHeight + 2;
    }
    if (!m_analysis.telemetry.curve.empty()) {
        l.telemetry = QRectF(0, y, width(), kTelemetryLaneHeight);
        y += kTelemetryLaneHeight + 2;
    }
    l.track = QRectF(0, y, width(), m_handleDiameter + 2 * kTrackPadding);
    y += l.track.height() + 4;
    l.bottomLine = QRectF(0, y, width(), caption);
    return l;
}

QSize TrimRangeSelector::sizeHint() const {
    return {600, int(std::ceil(layout().bottomLine.bottom()))};
}

QSize TrimRangeSelector::minimumSizeHint() const {
    return {200, int(std::ceil(layout().bottomLine.bottom()))};
}

QRectF TrimRangeSelector::trackRect() const {
    return layout().track;
}

QRectF TrimRangeSelector::curveRect() const {
    return layout().curve;
}

QRectF TrimRangeSelector::telemetryRect() const {
    return layout().telemetry;
}

qreal TrimRangeSelector::usableWidth() const {
    return std::max<qreal>(width() - m_handleDiameter, 1);
}

qreal TrimRangeSelector::xForTime(double seconds) const {
    if (m_duration <= 0)
        return m_handleDiameter / 2;
    return std::clamp(seconds / m_duration, 0.0, 1.0) * usableWidth() + m_handleDiameter / 2;
}

double TrimRangeSelector::timeForX(qreal x) const {
    const qreal w = usableWidth();
    if (w <= 0 || m_duration <= 0)
        return 0;
    return std::clamp<qreal>(x - m_handleDiameter / 2, 0, w) / w * m_duration;
}

QRectF TrimRangeSelector::handleRect(Handle handle) const {
    const qreal centre = xForTime(handle == Handle::Start ? start() : end());
    const QRectF track = layout().track;
    return QRectF(centre - kHandleWidth / 2, track.center().y() - m_handleDiameter / 2, kHandleWidth,
                  m_handleDiameter);
}

TrimRangeSelector::Handle TrimRangeSelector::handleFor(qreal x) const {
    const qreal startX = xForTime(start());
    const qreal endX = xForTime(end());
    const qreal toStart = std::abs(x - startX);
    const qreal toEnd = std::abs(x - endX);
    if (toStart < toEnd)
        return Handle::Start;
    if (toEnd < toStart)
        return Handle::End;
    // On top of each other: the side the pointer is on decides, so that either can be pulled out.
    return x < endX || (x == endX && endX >= xForTime(m_duration)) ? Handle::Start : Handle::End;
}

void TrimRangeSelector::dragTo(Handle handle, qreal x) {
    moveTo(handle, timeForX(x));
}

void TrimRangeSelector::moveTo(Handle handle, double v) {
    setKeyboardHandle(handle);
    double readBack = 0;
    if (handle == Handle::Start) {
        const double value = std::min(std::max(v, 0.0), std::max(end() - 1.0, 0.0));
        if (m_start.set)
            m_start.set(value);
        readBack = start();
    } else {
        const double limited = std::min(v, m_duration);
        const double value = std::max(limited, std::min(start() + 1.0, m_duration));
        if (m_end.set)
            m_end.set(value);
        readBack = end();
    }
    update();
    announceMove(handle);
    Q_EMIT editingChanged(true, readBack);
}

void TrimRangeSelector::moveHandle(Handle handle, double seconds) {
    if (m_duration <= 0)
        return;
    moveTo(handle, seconds);
    Q_EMIT editingChanged(false, handle == Handle::Start ? start() : end());
}

void TrimRangeSelector::setKeyboardHandle(Handle handle) {
    if (m_keyboardHandle == handle)
        return;
    m_keyboardHandle = handle;
    update();
    if (hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(handle == Handle::Start ? 0 : 1);
        QAccessible::updateAccessibility(&event);
    }
}

void TrimRangeSelector::announceMove(Handle handle) {
    if (!QAccessible::isActive())
        return;
    const int child = handle == Handle::Start ? 0 : 1;
    QAccessibleValueChangeEvent value(this, handle == Handle::Start ? start() : end());
    value.setChild(child);
    QAccessible::updateAccessibility(&value);
    // The handle's name says its time.
    QAccessibleEvent name(this, QAccessible::NameChanged);
    name.setChild(child);
    QAccessible::updateAccessibility(&name);
}

void TrimRangeSelector::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Layout l = layout();
    const QPointF p = event->position();
    // The handles, and anywhere on the track or the curve: the nearer handle follows the pointer.
    QRectF active = l.curve.isEmpty() ? l.track : l.curve.united(l.track);
    if (!l.telemetry.isEmpty())
        active = active.united(l.telemetry);
    if (!active.adjusted(0, -4, 0, 4).contains(p)) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = handleFor(p.x());
    dragTo(*m_dragging, p.x());
    event->accept();
}

void TrimRangeSelector::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        dragTo(*m_dragging, event->position().x());
        event->accept();
        return;
    }
    const QPointF p = event->position();
    const bool overHandle = handleRect(Handle::Start).adjusted(-3, -3, 3, 3).contains(p) ||
                            handleRect(Handle::End).adjusted(-3, -3, 3, 3).contains(p);
    setCursor(overHandle ? Qt::SizeHorCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void TrimRangeSelector::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const Handle handle = *m_dragging;
    m_dragging.reset();
    Q_EMIT editingChanged(false, handle == Handle::Start ? start() : end());
    event->accept();
}

void TrimRangeSelector::keyPressEvent(QKeyEvent* event) {
    const Handle handle = m_keyboardHandle;
    const double now = handle == Handle::Start ? start() : end();
    const double step = (event->modifiers() & Qt::ShiftModifier) ? 10.0 : 1.0;
    std::optional<double> target;
    switch (event->key()) {
    case Qt::Key_Left:
        target = now - step;
        break;
    case Qt::Key_Right:
        target = now + step;
        break;
    // moveTo keeps each handle a second away from the other.
    case Qt::Key_Home:
        target = 0.0;
        break;
    case Qt::Key_End:
        target = m_duration;
        break;
    default:
        break;
    }
    if (!target || m_duration <= 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    moveHandle(handle, *target);
    event->accept();
}

bool TrimRangeSelector::focusNextPrevChild(bool next) {
    if (hasFocus() && next && m_keyboardHandle == Handle::Start) {
        setKeyboardHandle(Handle::End);
        return true;
    }
    if (hasFocus() && !next && m_keyboardHandle == Handle::End) {
        setKeyboardHandle(Handle::Start);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void TrimRangeSelector::focusInEvent(QFocusEvent* event) {
    // Tabbing in starts at the first handle, tabbing back in at the last.
    if (event->reason() == Qt::TabFocusReason)
        setKeyboardHandle(Handle::Start);
    else if (event->reason() == Qt::BacktabFocusReason)
        setKeyboardHandle(Handle::End);
    QWidget::focusInEvent(event);
}

void TrimRangeSelector::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void TrimRangeSelector::paintCurve(QPainter& painter, const QRectF& area) const {
    // Scale from a low percentile, not the minimum: digital silence (-120 dB) would flatten the rest.
    std::vector<double> sorted = m_analysis.levels;
    std::sort(sorted.begin(), sorted.end());
    const double top = sorted.back() + 1.0;
    double bottom = sorted[size_t(double(sorted.size() - 1) * 0.03)] - 2.0;
    if (top - bottom < 12.0)
        bottom = top - 12.0;
    const qreal plotTop = area.top() + 16; // room for the marker labels
    const qreal plotHeight = area.bottom() - plotTop;

    auto yFor = [&](double level) {
        const double f = (std::clamp(level, bottom, top) - bottom) / (top - bottom);
        return area.bottom() - f * plotHeight;
    };
    QPainterPath curve;
    curve.moveTo(xForTime(0), area.bottom());
    for (size_t i = 0; i < m_analysis.levels.size(); ++i) {
        // A level covers its half second; drawing it at the window's middle lines the drop up.
        const double t = (double(i) + 0.5) * kLevelWindowSeconds;
        curve.lineTo(xForTime(std::min(t, m_duration)), yFor(m_analysis.levels[i]));
    }
    curve.lineTo(xForTime(std::min(double(m_analysis.levels.size()) * kLevelWindowSeconds, m_duration)),
                 area.bottom());
    curve.closeSubpath();

    painter.save();
    painter.setPen(Qt::NoPen);
    QColor removed = trimstyle::secondary(this);
    removed.setAlphaF(0.28);
    painter.setBrush(removed);
    painter.drawPath(curve);

    // The kept part in the accent colour.
    const qreal keptLeft = xForTime(start());
    const qreal keptRight = xForTime(end());
    painter.setClipRect(
        QRectF(keptLeft, area.top(), std::max<qreal>(keptRight - keptLeft, 0), area.height()));
    QColor kept = palette().color(QPalette::Highlight);
    kept.setAlphaF(0.55);
    painter.setBrush(kept);
    painter.drawPath(curve);
    painter.restore();

    // Baseline.
    painter.setPen(QPen(removed, 1));
    painter.drawLine(QPointF(xForTime(0), area.bottom() - 0.5),
                     QPointF(xForTime(m_duration), area.bottom() - 0.5));

    auto marker = [&](std::optional<double> time, const QColor& colour, const QString& name, bool labelLeft) {
        if (!time || m_duration <= 0)
            return;
        const qreal x = xForTime(*time);
        painter.setPen(QPen(colour, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(x, plotTop - 2), QPointF(x, area.bottom()));
        painter.setFont(trimstyle::font(this, trimstyle::Text::Caption2));
        const QString text = name + QLatin1Char(' ') + formatClock(*time);
        const qreal textWidth = QFontMetricsF(painter.font()).horizontalAdvance(text) + 2;
        qreal left = labelLeft ? x - textWidth - 3 : x + 4;
        left = std::clamp<qreal>(left, 0, std::max<qreal>(width() - textWidth, 0));
        painter.setPen(colour);
        painter.drawText(QRectF(left, area.top(), textWidth, 14), Qt::AlignVCenter | Qt::AlignLeft, text);
    };
    // The exit label sits left of its line and the opening's right of it, so that they do not meet.
    marker(m_analysis.exitTime, toneColour(Tone::exitMark, palette()), tr("Exit"), true);
    marker(m_analysis.openingTime, toneColour(Tone::openingMark, palette()), tr("Canopy"), false);
}

void TrimRangeSelector::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Layout l = layout();
    const double s = start();
    const double e = end();
    const qreal r = m_handleDiameter / 2;

    painter.setFont(trimstyle::font(this, trimstyle::Text::Body));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(l.topLine, Qt::AlignLeft | Qt::AlignVCenter, formatClock(s));
    painter.drawText(l.topLine, Qt::AlignRight | Qt::AlignVCenter, formatClock(e));

    if (!l.curve.isEmpty())
        paintCurve(painter, l.curve);
    if (!l.telemetry.isEmpty())
        paintTelemetryLane(
            painter, l.telemetry, m_analysis.telemetry, m_duration,
            [this](double seconds) { return xForTime(seconds); }, this);

    const qreal cy = l.track.center().y();
    const qreal startX = m_duration > 0 ? std::clamp(s / m_duration, 0.0, 1.0) * usableWidth() : 0;
    const qreal endX = m_duration > 0 ? std::clamp(e / m_duration, 0.0, 1.0) * usableWidth() : 0;

    QColor rail = trimstyle::secondary(this);
    rail.setAlphaF(0.3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(rail);
    painter.drawRoundedRect(QRectF(0, cy - 3, width(), 6), 3, 3);

    const qreal selectionWidth = std::max(endX - startX, m_handleDiameter);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawRoundedRect(QRectF(r + startX, cy - 4, selectionWidth, 8), 4, 4);

    if (m_playhead && m_duration > 0) {
        const qreal x = xForTime(*m_playhead);
        const qreal top = !l.curve.isEmpty()       ? l.curve.top() + 14
                          : !l.telemetry.isEmpty() ? l.telemetry.top()
                                                   : l.track.top();
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
        painter.drawLine(QPointF(x, top), QPointF(x, l.track.bottom()));
    }

    QFont glyphFont = font();
    glyphFont.setPixelSize(12);
    glyphFont.setWeight(QFont::DemiBold);
    painter.setFont(glyphFont);
    if (hasFocus()) {
        const qreal x = (m_keyboardHandle == Handle::Start ? startX : endX) + r;
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(x - kHandleWidth / 2 - 2.5, cy - m_handleDiameter / 2 - 2.5,
                                       kHandleWidth + 5, m_handleDiameter + 5),
                                7, 7);
    }
    for (const auto& [x, glyph] :
         {std::pair{startX + r, QStringLiteral("[")}, std::pair{endX + r, QStringLiteral("]")}}) {
        const QRectF body(x - kHandleWidth / 2, cy - m_handleDiameter / 2, kHandleWidth, m_handleDiameter);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 46));
        painter.drawRoundedRect(body.translated(0, 1).adjusted(-0.75, -0.75, 0.75, 0.75), 5.5, 5.5);
        painter.setBrush(Qt::white);
        painter.setPen(QPen(QColor(0, 0, 0, 31), 0.5));
        painter.drawRoundedRect(body, 5, 5);
        painter.setPen(QColor(0, 0, 0, 184));
        painter.drawText(body, Qt::AlignCenter, glyph);
    }

    painter.setFont(trimstyle::font(this, trimstyle::Text::Caption2));
    painter.setPen(trimstyle::secondary(this));
    painter.drawText(l.bottomLine, Qt::AlignLeft | Qt::AlignVCenter, formatClock(0));
    painter.drawText(l.bottomLine, Qt::AlignRight | Qt::AlignVCenter, formatClock(m_duration));
}

} // namespace velarix
