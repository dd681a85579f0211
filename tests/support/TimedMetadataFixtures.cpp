#include "tests/support/TimedMetadataFixtures.h"

#include "media/AvPtr.h"
#include "media/MediaOpen.h"
#include "media/Mp4Boxes.h"
#include "tests/support/MediaFixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstring>

namespace velarix::test {

namespace {

QByteArray u16(quint16 value) {
    char bytes[2];
    qToBigEndian(value, bytes);
    return QByteArray(bytes, 2);
}

QByteArray u32(quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray box(const QByteArray& type, const QByteArray& body) {
    return u32(quint32(8 + body.size())) + type + body;
}

constexpr quint32 kLocalKey = 1;

// One sample of the kind, as its maker lays it out.
QByteArray sample(const QByteArray& kind, int second) {
    if (kind == "camm") {
        QByteArray bytes(4 + 12, '\0');
        qToLittleEndian<quint16>(2, bytes.data() + 2); // type 2: gyroscope, rad/s
        const float rates[3] = {0.01f * float(second), 0.0f, -0.02f};
        std::memcpy(bytes.data() + 4, rates, sizeof rates);
        return bytes;
    }
    if (kind == "rtmd")
        return u16(0x8100) + u16(4) + u32(quint32(second)) + u16(0x8500) + u16(2) + u16(1);
    if (kind == "djmd")
        return QByteArray("\x08", 1) + char(second) + QByteArray("\x12\x04", 2) + "DJI1";
    if (kind == "mebx")
        return box(u32(kLocalKey), u32(1) + u32(0) + "+47.1000+008.5000/");
    // GPMF: a DEVC holding a DVNM string.
    return QByteArray("DEVC\x00\x01\x00\x10", 8) + QByteArray("DVNM\x63\x01\x00\x06", 8) + "Camera" +
           QByteArray(2, '\0');
}

QByteArray sampleEntry(const QByteArray& kind) {
    QByteArray body(6, '\0');
    body += u16(1); // data reference index
    if (kind == "mebx") {
        const QByteArray key = box("keyd", QByteArray("mdta") + "com.apple.quicktime.location.ISO6709");
        const QByteArray type = box("dtyp", u32(0) + u32(1)); // well-known type 1: UTF-8
        body += box("keys", box(u32(kLocalKey), key + type));
    } else if (kind == "gpmd") {
        body += u32(0);
    }
    return box(kind, body);
}

QString handlerName(const QByteArray& kind) {
    if (kind == "camm")
        return QStringLiteral("CameraMetadataMotionHandler");
    if (kind == "rtmd")
        return QStringLiteral("Timed Metadata Media Handler");
    if (kind == "djmd")
        return QStringLiteral("DJI meta");
    if (kind == "mebx")
        return QStringLiteral("Core Media Metadata");
    return QStringLiteral("GoPro MET");
}

// Gives the data tracks, in order, the sample entries of `kinds`.
QString rewriteSampleEntries(const QString& path, const QList<QByteArray>& kinds) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return file.errorString();
    mp4::TopLevel where;
    auto movie = mp4::readMovie(file, &where);
    if (!movie || !where.last)
        return QStringLiteral("moov is not the last box of %1").arg(path);
    qsizetype next = 0;
    for (mp4::Box& trak : movie->children) {
        if (trak.type != "trak" || mp4::handlerType(trak) != "meta")
            continue;
        mp4::Box* stsd = trak.find({"mdia", "minf", "stbl", "stsd"});
        if (!stsd || next >= kinds.size())
            return QStringLiteral("unexpected data track in %1").arg(path);
        stsd->body = u32(0) + u32(1) + sampleEntry(kinds[next++]);
    }
    if (next != kinds.size())
        return QStringLiteral("%1 has %2 data tracks, not %3").arg(path).arg(next).arg(kinds.size());
    const QByteArray rewritten = movie->serialize();
    if (!file.resize(where.offset) || !file.seek(where.offset) || file.write(rewritten) != rewritten.size())
        return file.errorString();
    return {};
}

} // namespace

QString makeTimedMetadataClip(const QString& path, const QList<QByteArray>& kinds, double seconds) {
    QTemporaryDir work;
    const QString picture = work.filePath(QStringLiteral("picture.mp4"));
    if (QString made = makeClip(picture, {.seconds = seconds, .audio = false}); !made.isEmpty())
        return made;
    auto input = openVideoAsset(picture);
    if (!input)
        return input.error().message;
    AVFormatContext* in = input->get();
    AVFormatContext* raw = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_alloc_output_context2(&raw, nullptr, "mp4", name.constData()) < 0)
        return QStringLiteral("no MP4 writer");
    av::OutputContextPtr out(raw);
    AVStream* video = avformat_new_stream(out.get(), nullptr);
    avcodec_parameters_copy(video->codecpar, in->streams[0]->codecpar);
    video->codecpar->codec_tag = 0;
    video->time_base = in->streams[0]->time_base;
    std::vector<AVStream*> tracks;
    for (const QByteArray& kind : kinds) {
        AVStream* track = avformat_new_stream(out.get(), nullptr);
        track->codecpar->codec_type = AVMEDIA_TYPE_DATA;
        track->codecpar->codec_id = AV_CODEC_ID_BIN_DATA;
        track->codecpar->codec_tag = MKTAG('g', 'p', 'm', 'd');
        track->time_base = AVRational{1, 1000};
        av_dict_set(&track->metadata, "handler_name", qUtf8Printable(handlerName(kind)), 0);
        tracks.push_back(track);
    }
    if (avio_open(&out->pb, name.constData(), AVIO_FLAG_WRITE) < 0)
        return QStringLiteral("cannot write %1").arg(path);
    av::FileIoPtr io(out->pb);
    if (avformat_write_header(out.get(), nullptr) < 0)
        return QStringLiteral("cannot start %1").arg(path);
    av::PacketPtr packet(av_packet_alloc());
    while (av_read_frame(in, packet.get()) >= 0) {
        if (packet->stream_index == 0) {
            av_packet_rescale_ts(packet.get(), in->streams[0]->time_base, video->time_base);
            packet->pos = -1;
            av_interleaved_write_frame(out.get(), packet.get());
        }
        av_packet_unref(packet.get());
    }
    for (int second = 0; second < int(seconds); ++second) {
        for (size_t k = 0; k < tracks.size(); ++k) {
            const QByteArray bytes = sample(kinds[qsizetype(k)], second);
            av::PacketPtr data(av_packet_alloc());
            if (av_new_packet(data.get(), int(bytes.size())) < 0)
                return QStringLiteral("out of memory");
            std::memcpy(data->data, bytes.constData(), size_t(bytes.size()));
            data->pts = data->dts = second * 1000;
            data->duration = 1000;
            data->stream_index = tracks[k]->index;
            data->flags |= AV_PKT_FLAG_KEY;
            if (av_interleaved_write_frame(out.get(), data.get()) < 0)
                return QStringLiteral("cannot write a sample of %1").arg(path);
        }
    }
    if (av_write_trailer(out.get()) < 0)
        return QStringLiteral("cannot finish %1").arg(path);
    io.reset();
    out->pb = nullptr;
    return rewriteSampleEntries(path, kinds);
}

} // namespace velarix::test
