#include "Velarix/trimwindow/TrimRangeSelector.h"
#include "Velarix/trimwindow/VideoTrimEditorSheet.h"
#include "Velarix/trimwindow/VideoTrimItemRow.h"
#include "trimming/VideoTrimItem.h"

#include <QImage>
#include <QLabel>
#include <QTest>

#include <cmath>

using namespace velarix;

namespace {

// Pixels of the image inside `area` close to `colour`.
int pixelsLike(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                100) // lines are antialiased
                ++count;
        }
    return count;
}

// A jump of 200 s seen by the GPS: level at 4,000 m, exit at 45 s, 50 m/s to the opening at 102 s,
// then 5 m/s under canopy.
TelemetryTrace altitudeTrace() {
    TelemetryTrace trace;
    trace.kind = TelemetryCurveKind::Altitude;
    for (int i = 0; i < 400; ++i) {
        const double t = i * 0.5;
        trace.curve.push_back(t < 45 ? 4000 : t < 102 ? 4000 - 50 * (t - 45) : 1150 - 5 * (t - 102));
    }
    trace.curve[10] = NAN; // a gap the line skips
    trace.exitTime = 45;
    trace.openingTime = 102;
    return trace;
}

} // namespace

class TelemetryLaneTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The editor draws the telemetry under the level curve, on the same time axis, with its marks.
    void editorDrawsTheAltitudeUnderTheLevels() {
        VideoTrimItem item(QUrl::fromLocalFile(QStringLiteral("/videos/GX010045.MP4")));
        item.setDuration(200);
        item.setSuggestedStart(35);
        item.setSuggestedEnd(112);
        item.setAudioLevels(std::vector<double>(400, -30.0));
        VideoTrimEditorSheet sheet(&item, item.manualRange());
        auto* selector = sheet.findChild<TrimRangeSelector*>(QStringLiteral("trimRangeSelector"));
        QVERIFY(selector);
        QVERIFY(selector->telemetryRect().isEmpty());
        const int without = selector->sizeHint().height();

        item.setTelemetryTrace(altitudeTrace());
        const QRectF lane = selector->telemetryRect();
        QVERIFY(!lane.isEmpty());
        QVERIFY(lane.top() >= selector->curveRect().bottom());
        QVERIFY(lane.bottom() <= selector->trackRect().top());
        QVERIFY(selector->sizeHint().height() > without);

        selector->resize(616, selector->sizeHint().height());
        const QImage image = selector->grab().toImage();
        const QRect area = lane.toAlignedRect();
        // The curve: high and flat before the exit, low after the opening.
        const QColor curve(0x6a, 0x4f, 0xc8);
        const int x20 = int(selector->xForTime(20));
        const int x180 = int(selector->xForTime(180));
        QVERIFY(pixelsLike(image, QRect(x20 - 3, area.top(), 7, area.height() / 2), curve) > 0);
        QCOMPARE(
            pixelsLike(image, QRect(x20 - 3, area.top() + area.height() / 2, 7, area.height() / 2), curve),
            0);
        QVERIFY(pixelsLike(image, QRect(x180 - 3, area.top() + area.height() / 2, 7, area.height() / 2),
                           curve) > 0);
        // The exit and the opening marked where they are on the time axis.
        const int exitX = int(std::lround(selector->xForTime(45)));
        const int openingX = int(std::lround(selector->xForTime(102)));
        QVERIFY(pixelsLike(image, QRect(exitX - 1, area.top() + 14, 3, area.height() - 16),
                           QColor(0xd9, 0x6a, 0x00)) > 10);
        QVERIFY(pixelsLike(image, QRect(openingX - 1, area.top() + 14, 3, area.height() - 16),
                           QColor(0x00, 0x8c, 0x8c)) > 10);

        // A trace without a curve takes its lane away again.
        item.setTelemetryTrace(TelemetryTrace{});
        QVERIFY(selector->telemetryRect().isEmpty());
    }

    // The summary's tooltip says which source decided.
    void summaryTooltipNamesTheSource() {
        VideoTrimItem item(QUrl::fromLocalFile(QStringLiteral("/videos/GX010045.MP4")));
        item.setDuration(200);
        item.setAnalysisSummary(QStringLiteral("Duration 03:20"));
        item.setAnalysisError(QStringLiteral("No audio track found, so no trim suggestion was generated."));
        VideoTrimItemRow row(&item, {}, {});
        auto* status = row.findChild<QLabel*>(QStringLiteral("rowStatus"));
        QVERIFY(status);
        QCOMPARE(status->toolTip(), QStringLiteral("Duration 03:20"));
        item.setSuggestedStart(35);
        item.setSuggestedEnd(112);
        item.setAnalysisSummary(QStringLiteral("Keep 00:35-01:52"));
        item.setAnalysisError(std::nullopt);
        item.setAnalysisExplanation(QStringLiteral("Exit at 00:45 from the camera's GPS altitude."));
        QVERIFY(
            status->toolTip().endsWith(QStringLiteral("\nExit at 00:45 from the camera's GPS altitude.")));
    }
};

QTEST_MAIN(TelemetryLaneTest)
#include "test_telemetry_lane.moc"
