#include "media/VideoProbe.h"

#include "media/MediaOpen.h"
#include "media/Mp4Boxes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace velarix {

namespace {
QString sizeText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

// For an MP4 file without a movie box (`moov`), the index a camera writes when it stops recording:
// says it was cut short and that the camera may repair it. Empty for any other file.
std::optional<QString> unfinishedRecordingReason(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8).mid(4) != "ftyp")
        return std::nullopt;
    if (mp4::findTopLevel(file, "moov"))
        return std::nullopt;
    return QCoreApplication::translate(
        "Media", "The recording was cut short (a flat battery or the card taken out while "
                 "filming?): the camera never wrote its index. Put the card back in the camera: "
                 "many cameras repair such a file when they start.");
}

} // namespace

VideoProbe probeVideoFile(const QString& path) {
    VideoProbe probe;
    const qint64 fileSize = QFileInfo(path).size();
    if (fileSize == 0) {
        probe.unreadable = QCoreApplication::translate("Media", "The file is empty.");
        return probe;
    }
    auto input = openVideoAsset(path, OpenOptions{nullptr, 0, false});
    if (!input) {
        const Error& error = input.error();
        if (auto unfinished = unfinishedRecordingReason(path))
            probe.unreadable = *unfinished;
        else if (error.kind == ErrorKind::invalidData || error.kind == ErrorKind::other)
            probe.unreadable = QCoreApplication::translate("Media", "Not a video Velarix can read (%1).")
                                   .arg(av::errorText(error.code));
        else // a file that cannot be reached says so, rather than that it is no video
            probe.unreadable = error.message;
        return probe;
    }
    const AVFormatContext* context = input->get();
    bool hasVideo = false;
    qint64 dataEnd = 0;
    double longest = 0;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        AVStream* stream = context->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            hasVideo = true;
        // The sample index comes from the header (MP4's sample tables): where the last sample ends.
        const int entries = avformat_index_get_entries_count(stream);
        for (int n = std::max(0, entries - 1); n < entries; ++n) {
            if (const AVIndexEntry* entry = avformat_index_get_entry(stream, n))
                dataEnd = std::max(dataEnd, qint64(entry->pos) + entry->size);
        }
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
            longest = std::max(longest, double(stream->duration) * av_q2d(stream->time_base));
    }
    if (context->duration != AV_NOPTS_VALUE && context->duration > 0)
        probe.duration = double(context->duration) / AV_TIME_BASE;
    else
        probe.duration = longest;
    // A length guessed from the size and a bit rate is no video's: a camera's files state theirs.
    const bool guessed = context->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    if (!hasVideo || guessed)
        probe.duration = 0;
    if (!hasVideo)
        probe.unreadable = QCoreApplication::translate("Media", "The file holds no video.");
    else if (guessed)
        probe.unreadable = QCoreApplication::translate(
            "Media", "Not a video Velarix can read (its length is not stated in it).");
    else if (dataEnd > fileSize)
        probe.unreadable =
            QCoreApplication::translate("Media", "The recording is cut short: the file has %1 of its %2.")
                .arg(sizeText(fileSize), sizeText(dataEnd));
    return probe;
}

} // namespace velarix
