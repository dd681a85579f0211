#include "media/Gpmf.h"
#include "media/TelemetryReader.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace velarix;
using namespace velarix::test;
using gpmf::fourCC;

namespace {

// What exiftool says about one telemetry packet ("Doc<n>").
struct Document {
    double time = -1;
    double duration = 0;
    std::vector<double> accelerometer; // x y z per sample
    std::vector<double> gyroscope;
    std::vector<double> altitude; // the drone's position stream: a structure of mixed types
};

std::vector<double> numbers(const QString& text) {
    std::vector<double> out;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
        out.push_back(word.toDouble());
    return out;
}

// Checks one sensor of ours against exiftool, packet by packet: each value, and each sample's time
// spread evenly over its packet.
void compareSensor(const TelemetrySeries* series, const std::vector<Document>& documents,
                   std::vector<double> Document::*values, int elements, int element, int ourElements) {
    QVERIFY(series);
    QCOMPARE(series->elements, ourElements);
    size_t sample = 0;
    for (const Document& document : documents) {
        const auto& expected = document.*values;
        const size_t count = expected.size() / size_t(elements); // 0 where a packet lacks the sensor
        for (size_t i = 0; i < count; ++i, ++sample) {
            QVERIFY(sample < series->sampleCount());
            const double time = document.time + document.duration * double(i) / double(count);
            QVERIFY2(std::abs(series->times[sample] - time) < 1e-6,
                     qPrintable(QStringLiteral("sample %1 at %2 s, exiftool's packet says %3 s")
                                    .arg(sample)
                                    .arg(series->times[sample])
                                    .arg(time)));
            for (int e = 0; e < elements; ++e) {
                const int ours = elements == 1 ? element : e;
                const double want = expected[i * size_t(elements) + size_t(e)];
                QVERIFY2(std::abs(series->value(sample, ours) - want) <= 1e-9 * std::max(1.0, std::abs(want)),
                         qPrintable(QStringLiteral("sample %1: %2 against exiftool's %3")
                                        .arg(sample)
                                        .arg(series->value(sample, ours))
                                        .arg(want)));
            }
        }
    }
    QVERIFY(sample > 0);
    QCOMPARE(sample, series->sampleCount());
}

} // namespace

class TelemetryReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The camera's own file, read by us and by exiftool: every value and every time agree.
    void matchesExiftoolOnARealRecording() {
        const QString sample = QStringLiteral(VELARIX_SAMPLE_MEDIA_DIR "/camera-drone-gpmf.mp4");
        if (!QFile::exists(sample))
            QSKIP("the real recording is not beside the checkout");
        if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
            QSKIP("exiftool is not installed (libimage-exiftool-perl)");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GOPR0001.MP4"));
        QVERIFY(QFile::copy(sample, path));

        const auto json =
            runProcess(QStringLiteral("exiftool"), {"-ee", "-j", "-n", "-b", "-G3", "-SampleTime",
                                                    "-SampleDuration", "-Accelerometer", "-Gyroscope", path});
        QCOMPARE(json.exitCode, 0);
        const QJsonObject tags = QJsonDocument::fromJson(json.out).array().first().toObject();
        // Several altitudes per packet: exiftool's JSON keeps one, its text lists them all.
        const auto text =
            runProcess(QStringLiteral("exiftool"), {"-ee", "-n", "-a", "-s", "-G3", "-GPSAltitude", path});
        QCOMPARE(text.exitCode, 0);

        std::vector<Document> documents;
        for (int n = 1;; ++n) {
            const QString doc = QStringLiteral("Doc%1:").arg(n);
            if (!tags.contains(doc + QStringLiteral("SampleTime")))
                break;
            if (!tags.contains(doc + QStringLiteral("Accelerometer")))
                continue; // not a telemetry packet
            Document d;
            d.time = tags.value(doc + QStringLiteral("SampleTime")).toDouble();
            d.duration = tags.value(doc + QStringLiteral("SampleDuration")).toDouble();
            d.accelerometer = numbers(tags.value(doc + QStringLiteral("Accelerometer")).toString());
            d.gyroscope = numbers(tags.value(doc + QStringLiteral("Gyroscope")).toString());
            const QRegularExpression line(QStringLiteral("^\\[Doc%1\\]\\s+GPSAltitude\\s+: (\\S+)$").arg(n),
                                          QRegularExpression::MultilineOption);
            for (auto match = line.globalMatch(QString::fromUtf8(text.out)); match.hasNext();)
                d.altitude.push_back(match.next().captured(1).toDouble());
            documents.push_back(std::move(d));
        }
        QCOMPARE(documents.size(), size_t(13));

        const auto telemetry = readTelemetry(path, {fourCC("ACCL"), fourCC("GYRO"), fourCC("GLPI")}, nullptr);
        QVERIFY(telemetry);
        QVERIFY(telemetry->hasTrack);
        QCOMPARE(telemetry->packets, 13);
        QVERIFY2(telemetry->problems.isEmpty(), qPrintable(telemetry->problems.join(u',')));
        compareSensor(telemetry->find(fourCC("ACCL")), documents, &Document::accelerometer, 3, 0, 3);
        compareSensor(telemetry->find(fourCC("GYRO")), documents, &Document::gyroscope, 3, 0, 3);
        // The drone's position: time, latitude, longitude, altitude, … with a scale per field.
        compareSensor(telemetry->find(fourCC("GLPI")), documents, &Document::altitude, 1, 3, 9);
    }

    // Layouts the real file does not have: Q numbers, arrays in a structure, one scale per axis,
    // time stamps and sample counts, a nest inside a stream.
    void readsEveryNumericLayout() {
        using namespace gpmf;
        const QByteArray stream = nested(
            fourCC("STRM"),
            entry(fourCC("STMP"), 'J', 8, 1, bigEndianU64(5'000'000)) +
                entry(fourCC("TSMP"), 'L', 4, 1, bigEndianU32(42)) +
                entry(fourCC("SCAL"), 'l', 4, 3, bigEndian32({1, 10, 100})) +
                entry(fourCC("TYPE"), 'c', 1, 5, QByteArray("s[2]q")) +
                entry(fourCC("ABCD"), '?', 8, 2, bigEndian16({10, 20, 3, 0, -10, -20, -3, 0})) +
                nested(fourCC("FACE"), entry(fourCC("FCNM"), 'B', 1, 3, QByteArray("\x01\x02\x03", 3))));
        const Payload payload = parsePayload(nested(fourCC("DEVC"), stream));
        QVERIFY2(payload.problems.isEmpty(), qPrintable(payload.problems.join(u',')));
        QCOMPARE(payload.sensors.size(), size_t(2));
        const SensorSamples& abcd = payload.sensors[0];
        QCOMPARE(abcd.elements, 3);
        // s / 1, s / 10, and a Q15.16 number (3 << 16) / 100
        QCOMPARE(abcd.values, (std::vector<double>{10, 2, 0.03, -10, -2, -0.03}));
        QCOMPARE(*abcd.timestampMicros, uint64_t(5'000'000));
        QCOMPARE(*abcd.totalSamples, uint32_t(42));
        QCOMPARE(payload.sensors[1].values, (std::vector<double>{1, 2, 3}));
    }

    // A sensor split over two entries of one packet shares the packet's span: times never go back.
    void splitEntriesShareTheirPacket() {
        using namespace gpmf;
        const auto accl = [](int16_t value) {
            return entry(fourCC("ACCL"), 's', 6, 2, bigEndian16({value, 0, 0, value, 0, 0}));
        };
        const QByteArray payload =
            nested(fourCC("DEVC"), nested(fourCC("STRM"), accl(1)) + nested(fourCC("STRM"), accl(2)));
        const Telemetry telemetry =
            assembleTelemetry({{10, 1, payload}, {11, 1, payload}}, analysisSensors());
        const TelemetrySeries* series = telemetry.find(fourCC("ACCL"));
        QVERIFY(series);
        QCOMPARE(series->times, (std::vector<double>{10, 10.25, 10.5, 10.75, 11, 11.25, 11.5, 11.75}));
        QCOMPARE(series->value(2, 0), 2.0);
    }
};

QTEST_GUILESS_MAIN(TelemetryReaderTest)
#include "test_telemetry_reader.moc"
