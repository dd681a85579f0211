#include "media/TelemetryKinds.h"

#include "media/MediaOpen.h"
#include "media/Mp4Trailer.h"

#include <QDir>
#include <QFileInfo>

namespace velarix {

namespace {

QString trackKind(uint32_t tag) {
    switch (tag) {
    case MKTAG('c', 'a', 'm', 'm'):
        return QStringLiteral("camera motion metadata (camm)");
    case MKTAG('r', 't', 'm', 'd'):
        return QStringLiteral("Sony real-time metadata (rtmd)");
    case MKTAG('d', 'j', 'm', 'd'):
        return QStringLiteral("DJI flight and camera data (djmd)");
    case MKTAG('m', 'e', 'b', 'x'):
        return QStringLiteral("timed metadata (mebx)");
    default:
        return {};
    }
}

} // namespace

AnalysisText TelemetryKinds::sentence() const {
    constexpr const char* kContext = "velarix::TelemetryKinds";
    QList<AnalysisText> parts;
    if (!used.isEmpty())
        parts.append(
            analysisText(kContext, QT_TRANSLATE_NOOP("velarix::TelemetryKinds", "Telemetry: %1, read."))
                .arg(used.join(QStringLiteral(", "))));
    if (!unused.isEmpty())
        parts.append(
            (used.isEmpty()
                 ? analysisText(kContext, QT_TRANSLATE_NOOP("velarix::TelemetryKinds",
                                                            "Telemetry: %1, which Velarix cannot use yet."))
                 : analysisText(kContext,
                                QT_TRANSLATE_NOOP("velarix::TelemetryKinds",
                                                  "Also carried: %1, which Velarix cannot use yet.")))
                .arg(unused.join(QStringLiteral(", "))));
    return joinedText(parts, QStringLiteral(" "));
}

TelemetryKinds telemetryKinds(const QString& path) {
    TelemetryKinds kinds;
    if (auto input = openVideoAsset(path, OpenOptions{nullptr, 0, false})) {
        const AVFormatContext* context = input->get();
        for (unsigned i = 0; i < context->nb_streams; ++i) {
            const uint32_t tag = context->streams[i]->codecpar->codec_tag;
            if (tag == MKTAG('g', 'p', 'm', 'd')) {
                const QString gpmf = QStringLiteral("GPMF sensors (gpmd)");
                if (!kinds.used.contains(gpmf))
                    kinds.used.append(gpmf);
            } else if (const QString kind = trackKind(tag); !kind.isEmpty() && !kinds.unused.contains(kind)) {
                kinds.unused.append(kind);
            }
        }
    }
    if (const auto trailer = readMp4Trailer(path); trailer && trailer->threeSixtyCamera)
        kinds.unused.append(QStringLiteral("the 360 camera's gyroscope and exposure data after the video"));
    const QFileInfo info(path);
    const QStringList subtitles = info.dir().entryList({info.completeBaseName() + QStringLiteral(".srt")},
                                                       QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (!subtitles.isEmpty())
        kinds.unused.append(QStringLiteral("GPS subtitles beside the clip (%1)").arg(subtitles.first()));
    return kinds;
}

} // namespace velarix
