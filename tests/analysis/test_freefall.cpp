#include "analysis/FreefallAnalysis.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace velarix;

namespace {

// Levels in dB: `quiet` everywhere, `loud` over [from, to).
std::vector<double> levelsWith(int n, int from, int to, double quiet = -50, double loud = -20) {
    std::vector<double> levels(size_t(n), quiet);
    for (int i = from; i < to && i < n; ++i)
        levels[size_t(i)] = loud;
    return levels;
}

} // namespace

class FreefallTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void undecidableClips() {
        const auto jump = levelsWith(300, 40, 150);
        QVERIFY(findFreefall(jump, 150));
        QVERIFY(!findFreefall(jump, 89.9));
        QVERIFY(!findFreefall(levelsWith(7, 2, 5), 150));
        QVERIFY(!findFreefall(std::vector<double>(300, -30), 150));
        QVERIFY(!findFreefall(levelsWith(300, 40, 150, -30, -28), 150)); // 2 dB: too even
    }

    void loudRunMustLastFourSeconds() {
        // The five-window average turns a raw run of 6 into 8 windows above the threshold, 5 into 7.
        QVERIFY(findFreefall(levelsWith(40, 10, 16, 0, 30), 100));
        QVERIFY(!findFreefall(levelsWith(40, 10, 15, 0, 30), 100));
    }

    void exitAndOpening() {
        const auto finding = findFreefall(levelsWith(300, 40, 150), 150);
        QVERIFY(finding);
        // The run starts where the smoothed level rises; the walk back leaves two quiet windows.
        QCOMPARE(finding->exitIndex, 37);
        QCOMPARE(finding->searchStart, 97);
        QCOMPARE(finding->searchEnd, 277);
        QCOMPARE(finding->low20, -50.0);
        QCOMPARE(finding->spread, 30.0);
        QVERIFY(finding->audioDeploymentTime);
        QVERIFY(*finding->audioDeploymentTime >= 70 && *finding->audioDeploymentTime <= 75);
    }

    void equalRunsKeepTheEarlier() {
        auto levels = levelsWith(400, 40, 80);
        for (int i = 200; i < 240; ++i)
            levels[size_t(i)] = -20;
        QCOMPARE(findFreefall(levels, 200)->exitIndex, 37);
    }

    void windBackIsNotAnOpening() {
        // Wind pauses for 10 s, comes back, and only the second drop is the canopy.
        auto levels = levelsWith(600, 40, 300);
        for (int i = 150; i < 170; ++i)
            levels[size_t(i)] = -50;
        const auto finding = findFreefall(levels, 300);
        QVERIFY(finding && finding->audioDeploymentTime);
        QVERIFY(*finding->audioDeploymentTime > 140);
    }

    void levelsBeyondAnySound() {
        // Not a number counts as silence (it used to stall the search for the loud run for good);
        // infinities are taken as the loudest and quietest levels there are.
        auto levels = levelsWith(300, 40, 150);
        auto broken = levels;
        for (int i = 0; i < 40; i += 3)
            broken[size_t(i)] = std::numeric_limits<double>::quiet_NaN();
        for (int i = 160; i < 300; i += 7)
            broken[size_t(i)] = -std::numeric_limits<double>::infinity();
        const auto expected = findFreefall(levels, 150);
        const auto finding = findFreefall(broken, 150);
        QVERIFY(finding && expected);
        QVERIFY(std::abs(finding->exitIndex - expected->exitIndex) <= 2);
        QVERIFY(finding->audioDeploymentTime);
        QVERIFY(std::all_of(finding->levels.begin(), finding->levels.end(),
                            [](double level) { return std::isfinite(level); }));

        broken[size_t(100)] = std::numeric_limits<double>::infinity();
        const auto loud = findFreefall(broken, 150);
        QVERIFY(loud);
        QVERIFY(loud->exitIndex >= 0 && loud->exitIndex < loud->prefixLength);
    }

    void quietTail() {
        // A tail starting before the middle is not cut; neither is a short sequence.
        QCOMPARE(findFreefall(levelsWith(300, 40, 100), 150)->prefixLength, 300);
        QCOMPARE(findFreefall(levelsWith(120, 10, 70), 100)->prefixLength, 120);

        // A tail from 110 s in a 150 s clip is cut a few windows before the opening, yet the opening
        // is still found after it.
        const auto finding = findFreefall(levelsWith(300, 95, 220), 150);
        QVERIFY(finding);
        QVERIFY(finding->prefixLength > 150 && finding->prefixLength <= 220);
        QCOMPARE(int(finding->levels.size()), 300);
        QVERIFY(finding->searchEnd > 220);
        QVERIFY(finding->audioDeploymentTime);
        QVERIFY(qAbs(*finding->audioDeploymentTime - 110) <= 5);
    }

    void openingTooCloseToTheEnd() {
        // The freefall runs to the end: nothing after it can show the opening.
        const auto finding = findFreefall(levelsWith(200, 180, 200), 100);
        QVERIFY(finding);
        QCOMPARE(finding->searchStart, 199);
        QCOMPARE(finding->searchEnd, 199);
        QVERIFY(!finding->audioDeploymentTime);
    }
};

QTEST_GUILESS_MAIN(FreefallTest)
#include "test_freefall.moc"
