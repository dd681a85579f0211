#pragma once

#include "trimming/VideoTrimItem.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace velarix {

// Two handles on a track that choose the kept range of a clip, with the clip's audio level curve
// drawn above the track on the same time axis and the detected exit and canopy opening marked, so
// that a handle can be put on the drop by eye.
//
// The selector keeps no range of its own: it reads and writes the bounds through two bindings and
// reads them back after every write, because the owner may clamp what it is given.
class TrimRangeSelector : public QWidget {
    Q_OBJECT
public:
    struct Binding {
        std::function<double()> get;
        std::function<void(double)> set;
    };
    enum class Handle { Start, End };
    // What the clip's analysis found, drawn with the track.
    struct Analysis {
        std::vector<double> levels;     // half-second audio levels in dB; empty hides the curve
        std::optional<double> exitTime; // marked on the curve
        std::optional<double> openingTime;
        TelemetryTrace telemetry; // the camera's altitude or acceleration; without a curve, no lane
        bool operator==(const Analysis&) const = default;
    };

    explicit TrimRangeSelector(QWidget* parent = nullptr);

    void setStartBinding(Binding binding);
    void setEndBinding(Binding binding);
    void setDuration(double seconds);
    double duration() const { return m_duration; }
    // Height of the handles and the margin at each end of the track.
    void setHandleDiameter(qreal diameter);
    qreal handleDiameter() const { return m_handleDiameter; }
    void setAnalysis(Analysis analysis);
    // Where the preview is, drawn as a thin line; absent hides it.
    void setPlayhead(std::optional<double> seconds);

    double start() const;
    double end() const;
    // The handle that keys move: the one last used, or the one Tab went to.
    Handle keyboardHandle() const { return m_keyboardHandle; }
    // Moves a handle as a finished edit, as a key press does (screen readers set values this way).
    void moveHandle(Handle handle, double seconds);
    QRectF handleRect(Handle handle) const;

    // Where a time lies on the track (the centre of a handle at that time), and back.
    qreal xForTime(double seconds) const;
    double timeForX(qreal x) const;
    // The strip of the handles, in widget coordinates.
    QRectF trackRect() const;
    // The level curve, in widget coordinates; empty when there is no curve.
    QRectF curveRect() const;
    // The telemetry lane, in widget coordinates; empty when there is no telemetry curve.
    QRectF telemetryRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    // Re-read the bindings (the bound values changed elsewhere).
    void refresh() { update(); }

Q_SIGNALS:
    // Every handle move (editing = true, the value read back) and the end of each drag (false).
    void editingChanged(bool editing, double seconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Left and Right move the handle last used by a second (with Shift, ten seconds), Home and End as
    // far as it goes.
    void keyPressEvent(QKeyEvent* event) override;
    // Tab goes from the start handle to the end handle before it leaves the selector.
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Layout {
        QRectF topLine, curve, telemetry, track, bottomLine;
    };
    Layout layout() const;
    qreal usableWidth() const;
    Handle handleFor(qreal x) const;
    void dragTo(Handle handle, qreal x);
    void moveTo(Handle handle, double seconds);
    void paintCurve(QPainter& painter, const QRectF& area) const;
    void setKeyboardHandle(Handle handle);
    void announceMove(Handle handle);

    Binding m_start;
    Binding m_end;
    double m_duration = 0;
    qreal m_handleDiameter = 16;
    Analysis m_analysis;
    std::optional<double> m_playhead;
    std::optional<Handle> m_dragging;
    Handle m_keyboardHandle = Handle::Start;
};

} // namespace velarix
