#include "analysis/TelemetryDetection.h"
#include "analysis/TrimDecision.h"
#include "demo/SyntheticTelemetry.h"
#include "media/Gpmf.h"
#include "media/TelemetryReader.h"

#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace velarix;
using gpmf::fourCC;

namespace {

std::vector<TelemetryPacket> packetsOf(const std::vector<QByteArray>& payloads, double duration) {
    std::vector<TelemetryPacket> packets;
    for (size_t k = 0; k < payloads.size(); ++k)
        packets.push_back({double(k), std::min(1.0, duration - double(k)), payloads[k]});
    return packets;
}

TelemetryFinding detect(const std::vector<QByteArray>& payloads, double duration) {
    return detectJump(assembleTelemetry(packetsOf(payloads, duration), analysisSensors()), duration);
}

// Overwrites the 32-bit value after the first `key` entry's header in every payload.
std::vector<QByteArray> patched(std::vector<QByteArray> payloads, const char* key, int offset,
                                quint32 value) {
    for (QByteArray& payload : payloads) {
        const qsizetype at = payload.indexOf(key);
        if (at >= 0)
            qToBigEndian<quint32>(value, payload.data() + at + offset);
    }
    return payloads;
}

// GPS altitudes as floats, as some devices write them, with every altitude not a number.
std::vector<QByteArray> nanAltitudes(int seconds) {
    std::vector<QByteArray> payloads;
    for (int k = 0; k < seconds; ++k) {
        QByteArray samples;
        for (int i = 0; i < 10; ++i)
            for (float v : {51.9f, 5.2f, std::nanf(""), 30.f, 40.f}) {
                quint32 bits;
                memcpy(&bits, &v, 4);
                samples += gpmf::bigEndianU32(bits);
            }
        payloads.push_back(gpmf::nested(
            fourCC("DEVC"),
            gpmf::nested(fourCC("STRM"), gpmf::entry(fourCC("GPSF"), 'L', 4, 1, gpmf::bigEndianU32(3)) +
                                             gpmf::entry(fourCC("GPS5"), 'f', 20, 10, samples))));
    }
    return payloads;
}

} // namespace

class TelemetryDetectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsExitAndOpening_data() {
        QTest::addColumn<bool>("gps");
        QTest::addColumn<bool>("accelerometer");
        QTest::addColumn<double>("exit");
        QTest::addColumn<double>("opening");
        QTest::addColumn<double>("shock");
        QTest::addColumn<double>("terminal");
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("GPS and accelerometer") << true << true << 60.0 << 120.0 << 3.5 << 52.0 << 1u;
        QTest::newRow("GPS, soft opening, short freefall")
            << true << true << 40.0 << 72.0 << 2.0 << 52.0 << 2u;
        QTest::newRow("GPS, hard opening, long climb") << true << true << 150.0 << 205.0 << 5.0 << 52.0 << 3u;
        QTest::newRow("GPS, slow faller") << true << true << 50.0 << 110.0 << 3.0 << 45.0 << 4u;
        QTest::newRow("GPS, fast faller") << true << true << 50.0 << 100.0 << 4.0 << 62.0 << 5u;
        QTest::newRow("GPS alone") << true << false << 45.0 << 100.0 << 3.5 << 52.0 << 6u;
        QTest::newRow("GPS alone, soft opening") << true << false << 45.0 << 100.0 << 2.0 << 52.0 << 7u;
        QTest::newRow("accelerometer alone") << false << true << 60.0 << 120.0 << 3.5 << 52.0 << 8u;
        QTest::newRow("accelerometer alone, soft opening")
            << false << true << 30.0 << 80.0 << 2.0 << 52.0 << 9u;
        QTest::newRow("accelerometer alone, hard opening")
            << false << true << 20.0 << 75.0 << 5.0 << 55.0 << 10u;
    }
    void findsExitAndOpening() {
        QFETCH(bool, gps);
        QFETCH(bool, accelerometer);
        QFETCH(double, exit);
        QFETCH(double, opening);
        QFETCH(double, shock);
        QFETCH(double, terminal);
        QFETCH(unsigned, seed);
        JumpTelemetry jump;
        jump.duration = opening + 90;
        jump.exitTime = exit;
        jump.openingTime = opening;
        jump.gps = gps;
        jump.accelerometer = accelerometer;
        jump.openingShock = shock;
        jump.terminalSpeed = terminal;
        jump.seed = seed;
        const TelemetryFinding found = detect(synthesiseTelemetry(jump), jump.duration);
        QCOMPARE(found.source, gps ? QStringLiteral("gps") : QStringLiteral("accelerometer"));
        QVERIFY(found.exit && found.opening);
        QVERIFY2(std::abs(found.exit->time - exit) <= 0.75, qPrintable(QString::number(found.exit->time)));
        QVERIFY2(std::abs(found.opening->time - opening) <= 0.75,
                 qPrintable(QString::number(found.opening->time)));
        // The altitude is sure of itself; the accelerometer alone is sure of the shock, less of the exit.
        QVERIFY2(found.opening->confidence >= kConfidentTelemetry,
                 qPrintable(QString::number(found.opening->confidence)));
        QCOMPARE(found.exit->confidence >= kConfidentTelemetry, gps);
        QCOMPARE(found.curveKind, gps ? TelemetryCurveKind::Altitude : TelemetryCurveKind::Acceleration);
        QCOMPARE(found.curve.size(), size_t(std::ceil(jump.duration / kTelemetryCurveStep)));
    }

    // A clip filmed on the ground or in the aircraft only: nothing to find, and nothing made up.
    void findsNothingWithoutAJump() {
        JumpTelemetry ride;
        ride.duration = 200;
        ride.exitTime = 400; // after the end: the clip is all climb and jump run
        ride.openingTime = 500;
        const TelemetryFinding found = detect(synthesiseTelemetry(ride), ride.duration);
        QVERIFY(!found.usable());
        QVERIFY(!found.exit && !found.opening);
        QCOMPARE(found.problem.english, QStringLiteral("the GPS altitude shows no freefall"));
    }

    void damagedTracksAreNotUsable_data() {
        QTest::addColumn<std::vector<QByteArray>>("payloads");
        QTest::addColumn<bool>("timesBackwards");
        QTest::addColumn<QString>("problem");
        JumpTelemetry jump;
        jump.duration = 200;
        const auto good = synthesiseTelemetry(jump);
        std::vector<QByteArray> truncated;
        for (const QByteArray& payload : good)
            truncated.push_back(payload.left(payload.size() * 3 / 5));
        QTest::newRow("truncated") << truncated << false << "DEVC runs past the end of its container";
        // The device's size and repeat fields claim four bytes more than there are.
        std::vector<QByteArray> lying = good;
        for (QByteArray& payload : lying)
            qToBigEndian<quint16>(quint16(payload.size() - 4), payload.data() + 6);
        QTest::newRow("lying sizes") << lying << false << "DEVC runs past the end of its container";
        JumpTelemetry noGps = jump;
        noGps.gps = false;
        QTest::newRow("scale of zero")
            << patched(synthesiseTelemetry(noGps), "SCAL", 8, 0) << false << "ACCL has a scale of zero";
        QTest::newRow("altitudes not numbers")
            << nanAltitudes(200) << false << "the GPS altitudes are not usable";
        QTest::newRow("packet times backwards") << good << true << "packet times go backwards";
        JumpTelemetry noFix = jump;
        noFix.accelerometer = false;
        noFix.gpsFix = 0;
        QTest::newRow("GPS without fix") << synthesiseTelemetry(noFix) << false << "the GPS has no fix";
    }
    void damagedTracksAreNotUsable() {
        QFETCH(std::vector<QByteArray>, payloads);
        QFETCH(bool, timesBackwards);
        QFETCH(QString, problem);
        std::vector<TelemetryPacket> packets = packetsOf(payloads, 200);
        if (timesBackwards)
            for (TelemetryPacket& packet : packets)
                packet.time = 200 - packet.time;
        const Telemetry telemetry = assembleTelemetry(packets, analysisSensors());
        const TelemetryFinding found = detectJump(telemetry, 200);
        QVERIFY(!found.usable());
        QVERIFY(!found.exit && !found.opening);
        QVERIFY2(found.problem.english.contains(problem) || telemetry.problems.contains(problem),
                 qPrintable(found.problem.english + u'|' + telemetry.problems.join(u'|')));
        // The tooltip says so, and leaves the sound to decide.
        const TrimDecision decision = decideTrim(audioEvidence(40.0, 12, 95.0, std::nullopt), found);
        QCOMPARE(decision.exit, std::optional<double>(40.0));
        QCOMPARE(decision.exitSource, kSourceAudio);
        QVERIFY(decision.explanation.english.contains(QStringLiteral("No usable telemetry")));
    }

    // A stream whose sample counts run backwards is left out; the rest of the track still counts.
    void dropsSensorsWhoseCountsGoBackwards() {
        JumpTelemetry jump;
        jump.duration = 150;
        jump.exitTime = 40;
        jump.openingTime = 90;
        // The accelerometer's count falls with every payload.
        auto payloads = synthesiseTelemetry(jump);
        for (size_t k = 0; k < payloads.size(); ++k)
            qToBigEndian<quint32>(quint32(1'000'000 - k),
                                  payloads[k].data() + payloads[k].indexOf("TSMP") + 8);
        const Telemetry telemetry = assembleTelemetry(packetsOf(payloads, jump.duration), analysisSensors());
        QVERIFY(telemetry.problems.contains(QStringLiteral("ACCL sample counts go backwards")));
        const TelemetryFinding found = detectJump(telemetry, jump.duration);
        QCOMPARE(found.source, QStringLiteral("gps"));
        QVERIFY(found.exit && std::abs(found.exit->time - 40) < 1.5);
    }

    void weighsTelemetryAgainstTheSound() {
        TelemetryFinding gps;
        gps.source = QStringLiteral("gps");
        gps.exit = TelemetryEvent{60, 0.95};
        gps.opening = TelemetryEvent{120, 0.95};
        // The sound heard the wind start 20 s late: sure telemetry overrules it and says so.
        auto decision = decideTrim(audioEvidence(80.0, 20, 121.0, std::nullopt), gps);
        QCOMPARE(decision.exit, std::optional<double>(60));
        QCOMPARE(decision.exitSource, kSourceTelemetry);
        QCOMPARE(decision.opening, std::optional<double>(120));
        QVERIFY2(decision.explanation.english.contains(QStringLiteral("The sound put the exit at 01:20.")),
                 qPrintable(decision.explanation.english));

        TelemetryFinding accelerometer;
        accelerometer.source = QStringLiteral("accelerometer");
        accelerometer.exit = TelemetryEvent{30, 0.6};
        accelerometer.opening = TelemetryEvent{118.5, 0.75};
        // A sure sound keeps its exit against a weak one far away; the shock refines the opening.
        decision = decideTrim(audioEvidence(60.0, 30, 121.0, std::nullopt), accelerometer);
        QCOMPARE(decision.exit, std::optional<double>(60));
        QCOMPARE(decision.exitSource, kSourceAudio);
        QVERIFY(decision.explanation.english.contains(
            QStringLiteral("The camera's accelerometer put the exit at 00:30.")));
        QCOMPARE(decision.opening, std::optional<double>(118.5));
        QCOMPARE(decision.openingSource, kSourceTelemetry);
        // Close by, the sharper time counts; with no sound at all, the weak exit is all there is.
        QCOMPARE(decideTrim(audioEvidence(32.0, 30, 121.0, std::nullopt), accelerometer).exit,
                 std::optional<double>(30));
        QCOMPARE(decideTrim(AudioEvidence{}, accelerometer).exit, std::optional<double>(30));

        // Without telemetry the sound and the picture decide as they always did: the later opening.
        decision = decideTrim(audioEvidence(50.0, 10, 140.0, 142.0), TelemetryFinding{});
        QCOMPARE(decision.exit, std::optional<double>(50));
        QCOMPARE(decision.opening, std::optional<double>(142));
        QCOMPARE(decision.openingSource, kSourceFrames);
        QCOMPARE(decision.explanation.english,
                 QStringLiteral("Exit at 00:50 from the sound.\nCanopy opening at 02:22 from the picture."));
    }
};

QTEST_GUILESS_MAIN(TelemetryDetectionTest)
#include "test_telemetry_detection.moc"
