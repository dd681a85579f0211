#include "tests/support/ChapterFixtures.h"

#include "media/AvPtr.h"
#include "media/MediaOpen.h"
#include "media/Mp4UserData.h"
#include "tests/support/TestSupport.h"

extern "C" {
#include <libavutil/timecode.h>
}

#include <QFile>

#include <cmath>
#include <vector>

namespace velarix::test {

namespace {

struct Chapter {
    av::FileIoPtr io; // the context's file, closed after it
    av::OutputContextPtr context;
    std::vector<int> outputIndex; // per input stream, -1 when left out
    std::vector<int64_t> start;   // per input stream: its first timestamp in this chapter
};

QString timecodeAfter(const QString& timecode, AVRational rate, double seconds) {
    AVTimecode tc;
    if (av_timecode_init_from_string(&tc, rate, timecode.toLatin1().constData(), nullptr) < 0)
        return {};
    char text[AV_TIMECODE_STR_SIZE];
    return QString::fromLatin1(av_timecode_make_string(&tc, text, int(std::lround(seconds * av_q2d(rate)))));
}

QString openChapter(Chapter& chapter, const AVFormatContext* in, const QString& path, double startSeconds) {
    AVFormatContext* raw = nullptr;
    const QByteArray name = QFile::encodeName(path);
    avformat_alloc_output_context2(&raw, nullptr, "mp4", name.constData());
    chapter.context.reset(raw);
    chapter.outputIndex.assign(in->nb_streams, -1);
    chapter.start.assign(in->nb_streams, AV_NOPTS_VALUE);
    QString timecode;
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        const AVStream* stream = in->streams[i];
        if (stream->codecpar->codec_id == AV_CODEC_ID_NONE)
            continue; // the timecode track: made again from the metadata
        AVStream* copy = avformat_new_stream(raw, nullptr);
        avcodec_parameters_copy(copy->codecpar, stream->codecpar);
        const uint32_t tag = stream->codecpar->codec_tag;
        copy->codecpar->codec_tag =
            av_codec_get_id(raw->oformat->codec_tag, tag) == stream->codecpar->codec_id ? tag : 0;
        copy->time_base = stream->time_base;
        copy->avg_frame_rate = stream->avg_frame_rate;
        av_dict_copy(&copy->metadata, stream->metadata, 0);
        const AVDictionaryEntry* entry = av_dict_get(stream->metadata, "timecode", nullptr, 0);
        if (entry && stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            timecode = timecodeAfter(QString::fromLatin1(entry->value), stream->avg_frame_rate, startSeconds);
            av_dict_set(&copy->metadata, "timecode", timecode.toLatin1().constData(), 0);
        }
        chapter.outputIndex[i] = copy->index;
    }
    av_dict_copy(&raw->metadata, in->metadata, 0);
    if (!timecode.isEmpty())
        av_dict_set(&raw->metadata, "timecode", timecode.toLatin1().constData(), 0);
    if (avio_open(&raw->pb, name.constData(), AVIO_FLAG_WRITE) < 0)
        return QStringLiteral("cannot write %1").arg(path);
    chapter.io.reset(raw->pb);
    if (avformat_write_header(raw, nullptr) < 0)
        return QStringLiteral("cannot start %1").arg(path);
    return {};
}

} // namespace

QString splitIntoChapters(const QString& recording, const QStringList& chapters, const QList<double>& cuts) {
    if (chapters.size() != cuts.size() + 1)
        return QStringLiteral("one more chapter than cuts expected");
    auto input = openVideoAsset(recording);
    if (!input)
        return input.error().message;
    AVFormatContext* in = input->get();
    int video = -1;
    for (unsigned i = 0; i < in->nb_streams && video < 0; ++i)
        if (in->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            video = int(i);
    if (video < 0)
        return QStringLiteral("no video");

    std::vector<std::unique_ptr<Chapter>> open;
    open.push_back(std::make_unique<Chapter>());
    if (QString error = openChapter(*open.back(), in, chapters[0], 0); !error.isEmpty())
        return error;
    // Where each chapter begins, in seconds: the video key frame where the cut fell.
    QList<double> begins{0};
    std::vector<int> streamChapter(in->nb_streams, 0);
    std::vector<std::vector<av::PacketPtr>> held; // sound and data waiting for their chapter to open
    av::PacketPtr packet(av_packet_alloc());
    const auto write = [&](AVPacket* p, int chapterIndex) {
        Chapter& chapter = *open[size_t(chapterIndex)];
        const int out = chapter.outputIndex[size_t(p->stream_index)];
        if (out < 0)
            return;
        int64_t& start = chapter.start[size_t(p->stream_index)];
        if (start == AV_NOPTS_VALUE)
            start = p->pts;
        p->pts -= start;
        p->dts -= start;
        p->stream_index = out;
        p->pos = -1;
        av_interleaved_write_frame(chapter.context.get(), p);
    };
    std::vector<av::PacketPtr> pending;
    while (av_read_frame(in, packet.get()) >= 0) {
        const AVStream* stream = in->streams[packet->stream_index];
        const double seconds = double(packet->pts) * av_q2d(stream->time_base);
        const int current = int(open.size()) - 1;
        if (packet->stream_index == video && (packet->flags & AV_PKT_FLAG_KEY) && current < cuts.size() &&
            seconds >= cuts[current] - 1e-6) {
            av_write_trailer(open.back()->context.get());
            open.push_back(std::make_unique<Chapter>());
            begins.append(seconds);
            if (QString error = openChapter(*open.back(), in, chapters[current + 1], seconds);
                !error.isEmpty())
                return error;
            for (auto& early : pending) {
                write(early.get(), current + 1);
            }
            pending.clear();
        }
        const int chapterIndex = int(open.size()) - 1;
        if (packet->stream_index != video && chapterIndex < cuts.size() &&
            seconds >= cuts[chapterIndex] - 1e-6) {
            // Belongs to the next chapter, which opens at its key frame.
            pending.emplace_back(av_packet_clone(packet.get()));
        } else {
            write(packet.get(), chapterIndex);
        }
        av_packet_unref(packet.get());
    }
    for (auto& early : pending)
        write(early.get(), int(open.size()) - 1);
    av_write_trailer(open.back()->context.get());
    open.clear();
    if (begins.size() != chapters.size())
        return QStringLiteral("no key frame after a cut");
    for (const QString& chapter : chapters) {
        if (auto carried = carryOverMovieUserData(recording, chapter); !carried)
            return carried.error().message;
    }
    return {};
}

ClipRecipe cameraRecording() {
    return {.seconds = 12,
            .fps = 25,
            .gop = 25,
            .timecode = QStringLiteral("10:00:00:00"),
            .telemetry = true,
            .cameraUserData = true};
}

QString makeChapteredRecording(const QString& recording, const QStringList& chapters,
                               const ClipRecipe& recipe) {
    if (QString error = makeClip(recording, recipe); !error.isEmpty())
        return error;
    return splitIntoChapters(recording, chapters, {4, 8});
}

QStringList probePackets(const QString& path, const QString& selector) {
    const auto result =
        runProcess(QStringLiteral("ffprobe"),
                   {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                    selector, QStringLiteral("-show_entries"), QStringLiteral("packet=pts_time,size"),
                    QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
    return QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace velarix::test
