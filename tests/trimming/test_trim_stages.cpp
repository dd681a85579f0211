#include "analysis/FrameDeployment.h"
#include "analysis/LevelStatistics.h"
#include "analysis/TrimSuggestion.h"

#include <QTest>

#include <limits>

using namespace velarix;

// The numeric stages on hand-made sequences.
class TrimStagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void levelStatistics() {
        QCOMPARE(movingAverage({1, 5, 9, 13}, 0), (std::vector<double>{1, 5, 9, 13}));
        QCOMPARE(movingAverage({1, 5}, 2), (std::vector<double>{1, 5}));
        // The ends average over fewer entries.
        QCOMPARE(movingAverage({0, 10, 20, 30, 40, 50}, 2), (std::vector<double>{10, 15, 20, 30, 35, 40}));

        QCOMPARE(percentile({}, 0.5), -120.0);
        QCOMPARE(percentile({7}, 0.9), 7.0);
        QCOMPARE(percentile({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0.9), 9.0); // index ⌊9 × 0.9⌋ = 8
        QCOMPARE(percentile({1, 2, 3}, 2.0), 3.0);
        QCOMPARE(percentile({1, 2, 3}, -1.0), 1.0);

        const std::vector<double> levels{2, 4, 6, 8};
        QCOMPARE(clampedMean(levels, -16, 2), 3.0);
        QCOMPARE(clampedMean(levels, 3, 23), 8.0);
        QCOMPARE(clampedMean(levels, 9, 3), 8.0); // never empty, always inside
        QCOMPARE(clampedMean({}, 0, 4), -120.0);
    }

    void clockText() {
        QCOMPARE(formatClock(0), QStringLiteral("00:00"));
        QCOMPARE(formatClock(89.9), QStringLiteral("01:29"));
        QCOMPARE(formatClock(90), QStringLiteral("01:30"));
        QCOMPARE(formatClock(3725), QStringLiteral("62:05"));
        QCOMPARE(formatClock(-3), QStringLiteral("00:00"));
        // A duration a broken file claims: text, never undefined arithmetic.
        QCOMPARE(formatClock(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("00:00"));
        QCOMPARE(formatClock(std::numeric_limits<double>::infinity()), formatClock(1e15));
        QCOMPARE(formatClock(1e300), formatClock(1e15));
    }

    void trimRange() {
        auto range = trimRangeFor(50, 140, 300);
        QVERIFY(range);
        QCOMPARE(range->start, 40.0);
        QCOMPARE(range->end, 150.0);
        QCOMPARE(trimRangeFor(5, 140, 300)->start, 0.0);
        QCOMPARE(trimRangeFor(50, 295, 300)->end, 300.0);
        // Removing 14.9 s is not worth it; 15.0 s is.
        QVERIFY(!trimRangeFor(20, 85.1, 100));
        QVERIFY(trimRangeFor(20, 85, 100));
        // An opening before the exit still keeps a second.
        range = trimRangeFor(200, 100, 300);
        QVERIFY(range);
        QCOMPARE(range->start, 190.0);
        QCOMPARE(range->end, 191.0);
    }

    void combining() {
        QCOMPARE(combineDeployment(68, 70), std::optional<double>(70));
        QCOMPARE(combineDeployment(68, 60), std::optional<double>(68));
        QCOMPARE(combineDeployment(std::nullopt, 60), std::optional<double>(60));
        QCOMPARE(combineDeployment(68, std::nullopt), std::optional<double>(68));
        QVERIFY(!combineDeployment(std::nullopt, std::nullopt));
    }

    void frameDeployment_data() {
        QTest::addColumn<double>("drop");
        QTest::addColumn<bool>("counts");
        QTest::newRow("1.4 dB drop is ignored") << 1.4 << false;
        QTest::newRow("1.5 dB drop counts") << 1.5 << true;
    }

    void frameDeployment() {
        QFETCH(double, drop);
        QFETCH(bool, counts);
        // Level steps down by `drop` at window 140 (70 s).
        FreefallFinding finding;
        finding.levels.assign(300, -20.0);
        for (size_t i = 140; i < 300; ++i)
            finding.levels[i] = -20.0 - drop;
        finding.searchStart = 100;
        finding.searchEnd = 280;
        std::vector<VideoFrameSignal> signals;
        for (int t = 50; t <= 140; ++t)
            signals.push_back({double(t), t == 70 ? 0.5 : 0.01});
        const auto time = findFrameDeployment(signals, finding);
        QCOMPARE(time.has_value(), counts);
        if (counts)
            QCOMPARE(*time, 70.0);
    }

    void frameDeploymentNeedsEvidence() {
        FreefallFinding finding;
        finding.levels.assign(300, -20.0);
        for (size_t i = 140; i < 300; ++i)
            finding.levels[i] = -40.0;
        finding.searchStart = 100;
        finding.searchEnd = 280;
        // Three strongly moving frames are not enough.
        QVERIFY(!findFrameDeployment({{69, 0.9}, {70, 0.9}, {71, 0.9}}, finding));
        // Constant motion below 0.08 never passes.
        std::vector<VideoFrameSignal> calm;
        for (int t = 50; t <= 140; ++t)
            calm.push_back({double(t), 0.05});
        QVERIFY(!findFrameDeployment(calm, finding));
        // Equal scores keep the earlier frame; frames outside the stretch do not count.
        std::vector<VideoFrameSignal> twins{{30, 0.9}, {69.5, 0.4}, {69.9, 0.4}, {90, 0.01}, {91, 0.01}};
        QCOMPARE(findFrameDeployment(twins, finding), std::optional<double>(69.5));
    }
};

QTEST_GUILESS_MAIN(TrimStagesTest)
#include "test_trim_stages.moc"
