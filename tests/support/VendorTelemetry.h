#pragma once

#include <QHash>
#include <QJsonArray>
#include <QList>
#include <QString>

namespace velarix::test {

// A video's telemetry as the camera vendor's published parser (npm `gopro-telemetry`, installed in
// tests/readers by `make test-readers`) reads it.
struct VendorTelemetry {
    struct Sample {
        double ms = 0; // from the start of the video
        QJsonArray value;
    };
    QString skipReason; // node is not installed
    QString error;      // the parser failed, or is not installed beside node
    QHash<QString, QList<Sample>> streams;
};

VendorTelemetry readVendorTelemetry(const QString& path);

// Matches the samples of `stream` in `cut` (a stretch of the recording) to the same samples (by
// value) in `source`, and gives the largest difference in ms between each one's time in `cut` and its
// time in `source` less `shiftMs`; infinity when they do not match up.
double largestTimeError(const VendorTelemetry& source, const VendorTelemetry& cut, const QString& stream,
                        double shiftMs);

} // namespace velarix::test
