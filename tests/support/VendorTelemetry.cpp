#include "tests/support/VendorTelemetry.h"

#include "tests/support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>
#include <limits>

namespace velarix::test {

VendorTelemetry readVendorTelemetry(const QString& path) {
    VendorTelemetry telemetry;
    if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty()) {
        telemetry.skipReason = QStringLiteral("node is not installed (scripts/install-deps.sh installs it)");
        return telemetry;
    }
    const QString script = QStringLiteral(VELARIX_SOURCE_DIR "/tests/readers/gopro-telemetry.js");
    const auto run = runProcess(QStringLiteral("node"), {script, path});
    if (run.exitCode != 0) {
        telemetry.error =
            QStringLiteral("the vendor's parser failed (is it installed? make test-readers): %1")
                .arg(QString::fromUtf8(run.err.right(2000)));
        return telemetry;
    }
    const QJsonObject streams =
        QJsonDocument::fromJson(run.out).object().value(QStringLiteral("streams")).toObject();
    for (auto it = streams.begin(); it != streams.end(); ++it) {
        QList<VendorTelemetry::Sample>& samples = telemetry.streams[it.key()];
        for (const QJsonValue& entry : it.value().toArray())
            samples.append({entry.toArray().at(0).toDouble(), entry.toArray().at(1).toArray()});
    }
    return telemetry;
}

double largestTimeError(const VendorTelemetry& source, const VendorTelemetry& cut, const QString& stream,
                        double shiftMs) {
    constexpr double kMismatch = std::numeric_limits<double>::infinity();
    const QList<VendorTelemetry::Sample> from = source.streams.value(stream);
    const QList<VendorTelemetry::Sample> to = cut.streams.value(stream);
    if (to.size() < 3)
        return kMismatch;
    // Where the cut's first samples are found in the source, three in a row.
    qsizetype start = -1;
    for (qsizetype k = 0; k + 2 < from.size() && start < 0; ++k)
        if (from[k].value == to[0].value && from[k + 1].value == to[1].value &&
            from[k + 2].value == to[2].value)
            start = k;
    if (start < 0 || start + to.size() > from.size())
        return kMismatch;
    double largest = 0;
    for (qsizetype i = 0; i < to.size(); ++i) {
        if (from[start + i].value != to[i].value)
            return kMismatch;
        largest = std::max(largest, std::abs(to[i].ms - (from[start + i].ms - shiftMs)));
    }
    return largest;
}

} // namespace velarix::test
