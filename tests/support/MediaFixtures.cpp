#include "tests/support/MediaFixtures.h"

#include "demo/SyntheticTelemetry.h"
#include "media/AvPtr.h"
#include "media/MediaOpen.h"
#include "media/Mp4Boxes.h"
#include "storage/FileStatus.h"
#include "tests/support/TestSupport.h"

extern "C" {
#include <libavutil/display.h>
}

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cmath>

namespace velarix::test {

namespace {

constexpr int kBarWidth = 16;

int barCount(const ClipRecipe& recipe) {
    const int frames = int(std::ceil(recipe.seconds * recipe.fps)) + 1;
    int bits = 8;
    while ((1 << bits) < frames)
        ++bits;
    return bits;
}

// Copies every stream of `from` into `to`, adding what the recipe asks for that ffmpeg's command line
// cannot write: a second video stream, a display matrix, a `gpmd` telemetry stream.
QString addStreams(const QString& from, const QString& to, const ClipRecipe& recipe) {
    auto input = openVideoAsset(from);
    if (!input)
        return input.error().message;
    AVFormatContext* in = input->get();
    AVFormatContext* raw = nullptr;
    const QByteArray name = QFile::encodeName(to);
    avformat_alloc_output_context2(&raw, nullptr, "mp4", name.constData());
    av::OutputContextPtr out(raw);
    std::vector<std::vector<AVStream*>> targets(in->nb_streams);
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        AVStream* stream = in->streams[i];
        if (stream->codecpar->codec_id == AV_CODEC_ID_NONE)
            continue; // the timecode track: the muxer makes it again from the video's metadata
        const bool video = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        const int copies = video && recipe.secondVideo ? 2 : 1;
        for (int c = 0; c < copies; ++c) {
            AVStream* copy = avformat_new_stream(out.get(), nullptr);
            avcodec_parameters_copy(copy->codecpar, stream->codecpar);
            copy->codecpar->codec_tag = 0;
            copy->time_base = stream->time_base;
            copy->avg_frame_rate = stream->avg_frame_rate;
            av_dict_copy(&copy->metadata, stream->metadata, 0);
            if (video && c == 0 && recipe.rotation != 0) {
                auto* matrix = reinterpret_cast<int32_t*>(
                    av_stream_new_side_data(copy, AV_PKT_DATA_DISPLAYMATRIX, sizeof(int32_t) * 9));
                av_display_rotation_set(matrix, recipe.rotation);
            }
            targets[i].push_back(copy);
        }
    }
    AVStream* telemetry = recipe.telemetry ? addTelemetryStream(out.get()) : nullptr;
    av_dict_copy(&out->metadata, in->metadata, 0);
    if (avio_open(&out->pb, name.constData(), AVIO_FLAG_WRITE) < 0)
        return QStringLiteral("cannot write %1").arg(to);
    av::FileIoPtr io(out->pb);
    av::Dictionary options;
    if (recipe.headerFirst)
        av_dict_set(options.address(), "movflags", "+faststart", 0);
    if (avformat_write_header(out.get(), options.address()) < 0)
        return QStringLiteral("cannot start %1").arg(to);
    av::PacketPtr packet(av_packet_alloc());
    while (av_read_frame(in, packet.get()) >= 0) {
        const AVStream* stream = in->streams[packet->stream_index];
        for (AVStream* target : targets[size_t(packet->stream_index)]) {
            av::PacketPtr copy(av_packet_clone(packet.get()));
            av_packet_rescale_ts(copy.get(), stream->time_base, target->time_base);
            copy->stream_index = target->index;
            copy->pos = -1;
            av_interleaved_write_frame(out.get(), copy.get());
        }
        av_packet_unref(packet.get());
    }
    if (telemetry) {
        // The camera's sensors on a jump that fits the clip.
        JumpTelemetry jump;
        jump.duration = recipe.seconds;
        jump.exitTime = recipe.seconds * 0.25;
        jump.openingTime = recipe.seconds * 0.6;
        const auto payloads = synthesiseTelemetry(jump);
        for (size_t second = 0; second < payloads.size(); ++second)
            if (!writeTelemetryPayload(out.get(), telemetry, payloads[second], double(second),
                                       std::min(1.0, recipe.seconds - double(second))))
                return QStringLiteral("cannot write the telemetry of %1").arg(to);
    }
    av_write_trailer(out.get());
    return {};
}

// Appends camera entries at the end of the movie's user data box; ffmpeg writes that box as the
// last child of `moov`, and `moov` as the last box of the file.
QString appendCameraUserData(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    const auto u32 = [&](qint64 at) {
        return qint64(qFromBigEndian<quint32>(bytes.constData() + at));
    };
    qint64 moov = -1;
    for (qint64 at = 0; at + 8 <= bytes.size(); at += u32(at)) {
        if (bytes.mid(at + 4, 4) == "moov")
            moov = at;
        if (u32(at) < 8)
            return QStringLiteral("unexpected box layout");
    }
    if (moov < 0 || moov + u32(moov) != bytes.size())
        return QStringLiteral("moov is not last");
    qint64 udta = -1;
    for (qint64 at = moov + 8; at < bytes.size(); at += u32(at))
        if (bytes.mid(at + 4, 4) == "udta")
            udta = at;
    QByteArray entries;
    const auto entry = [&](const char* type, const QByteArray& payload) {
        char size[4];
        qToBigEndian<quint32>(quint32(8 + payload.size()), size);
        entries += QByteArray(size, 4) + QByteArray(type, 4) + payload;
    };
    entry("FIRM", QByteArrayLiteral("HD9.01.01.60.00"));
    entry("GPMF", QByteArray(48, '\x07'));
    QByteArray tail;
    if (udta < 0 || udta + u32(udta) != bytes.size()) {
        char size[4];
        qToBigEndian<quint32>(quint32(8 + entries.size()), size);
        tail = QByteArray(size, 4) + "udta" + entries;
        udta = -1;
    } else {
        tail = entries;
        QByteArray size(4, 0);
        qToBigEndian<quint32>(quint32(u32(udta) + entries.size()), size.data());
        file.seek(udta);
        file.write(size);
    }
    QByteArray moovSize(4, 0);
    qToBigEndian<quint32>(quint32(u32(moov) + tail.size()), moovSize.data());
    file.seek(moov);
    file.write(moovSize);
    file.seek(bytes.size());
    file.write(tail);
    return {};
}

// Moves the key list ffmpeg writes into the user data box up into the movie box, where phones keep it.
QString moveKeysIntoMovie(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    const qint64 at = bytes.lastIndexOf("moov") - 4;
    mp4::Box movie;
    if (at < 0 || !mp4::parseBox(bytes.mid(at), &movie))
        return QStringLiteral("moov is not last");
    mp4::Box* userData = movie.child("udta");
    if (!userData || !userData->child("meta"))
        return QStringLiteral("no keys were written");
    // Copied out first: adding to the movie's children moves the user data box.
    mp4::Box keys = *userData->child("meta");
    // Phones write the movie's `meta` as QuickTime does, without the version and flags of the ISO box.
    if (keys.body.startsWith(QByteArray(4, '\0')))
        keys.body.remove(0, 4);
    std::erase_if(userData->children, [](const mp4::Box& box) { return box.type == "meta"; });
    movie.children.push_back(keys);
    const QByteArray rewritten = movie.serialize();
    file.seek(at);
    file.write(rewritten);
    file.resize(at + rewritten.size());
    return {};
}

} // namespace

ClipRecipe ClipRecipe::jump() {
    return {.seconds = 150,
            .picture = Picture::testPattern,
            .fps = 5,
            .gop = 5,
            .bFrames = 0,
            .sampleRate = 48000,
            .channelLayout = QStringLiteral("stereo"),
            .exitTime = 20,
            .openingTime = 75,
            .windRise = 3};
}

namespace {

QString pictureSource(const ClipRecipe& recipe) {
    QString source;
    if (recipe.picture == ClipRecipe::Picture::frameNumbers) {
        source = QStringLiteral("nullsrc=s=%1x32:r=%2:d=%3,geq=lum='if(bitand(floor(N/pow(2,floor(X/%4))),1),"
                                "235,16)':cb=128:cr=128")
                     .arg(barCount(recipe) * kBarWidth)
                     .arg(recipe.fps)
                     .arg(recipe.seconds)
                     .arg(kBarWidth);
    } else {
        source = QStringLiteral("testsrc2=s=%1x%2:r=%3:d=%4")
                     .arg(recipe.size.width())
                     .arg(recipe.size.height())
                     .arg(recipe.fps)
                     .arg(recipe.seconds);
        if (recipe.openingTime >= 0)
            source += QStringLiteral(",vflip=enable='gte(t,%1)'").arg(recipe.openingTime);
    }
    source += QStringLiteral(",format=yuv420p");
    if (recipe.variableFrameRate)
        source += QStringLiteral(",select='lt(t\\,3)+not(mod(n\\,3))'");
    return source;
}

QString soundSource(const ClipRecipe& recipe) {
    QString gain = QStringLiteral("0.02");
    // Wind rises by 34 dB from the exit and stops at the opening.
    if (recipe.exitTime >= 0)
        gain = QStringLiteral("'if(between(t,%1,%2),0.02*pow(50,min(1,(t-%1)/%3)),0.02)'")
                   .arg(recipe.exitTime)
                   .arg(recipe.openingTime)
                   .arg(std::max(recipe.windRise, 0.001));
    QString pan = QStringLiteral("pan=stereo|c0=c0|c1=c0");
    if (recipe.channelLayout == QLatin1String("mono"))
        pan = QStringLiteral("pan=mono|c0=c0");
    else if (recipe.channelLayout == QLatin1String("5.1"))
        pan = QStringLiteral("pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0");
    return QStringLiteral("anoisesrc=d=%1:c=pink:r=%2:a=0.5,volume=%3:eval=frame,%4")
        .arg(recipe.seconds)
        .arg(recipe.sampleRate)
        .arg(gain, pan);
}

} // namespace

QString makeClip(const QString& path, const ClipRecipe& recipe) {
    const bool extras = recipe.secondVideo || recipe.telemetry || recipe.rotation != 0;
    const QString base = extras ? path + QStringLiteral(".base.mp4") : path;
    QStringList arguments = {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                             QStringLiteral("error"), QStringLiteral("-y")};
    if (recipe.video)
        arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
                  << pictureSource(recipe);
    if (recipe.audio)
        arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
                  << soundSource(recipe) << QStringLiteral("-c:a") << QStringLiteral("aac")
                  << QStringLiteral("-b:a") << QStringLiteral("48k");
    if (recipe.video) {
        if (recipe.hevc)
            arguments << QStringLiteral("-c:v") << QStringLiteral("libx265") << QStringLiteral("-x265-params")
                      << QStringLiteral("log-level=error") << QStringLiteral("-tag:v")
                      << QStringLiteral("hvc1");
        else
            arguments << QStringLiteral("-c:v") << QStringLiteral("libx264");
        if (recipe.variableFrameRate)
            arguments << QStringLiteral("-fps_mode") << QStringLiteral("vfr");
        arguments << QStringLiteral("-preset") << QStringLiteral("veryfast") << QStringLiteral("-g")
                  << QString::number(recipe.gop) << QStringLiteral("-keyint_min")
                  << QString::number(recipe.gop) << QStringLiteral("-sc_threshold") << QStringLiteral("0")
                  << QStringLiteral("-bf") << QString::number(recipe.bFrames);
    }
    QStringList movieFlags;
    if (recipe.headerFirst)
        movieFlags << QStringLiteral("+faststart");
    if (recipe.phoneKeys != ClipRecipe::PhoneKeys::none) {
        movieFlags << QStringLiteral("+use_metadata_tags");
        arguments << QStringLiteral("-metadata")
                  << QStringLiteral("com.apple.quicktime.location.ISO6709=+46.5577+007.9833+1500.000/")
                  << QStringLiteral("-metadata") << QStringLiteral("com.apple.quicktime.make=Apple")
                  << QStringLiteral("-metadata") << QStringLiteral("com.apple.quicktime.model=iPhone 12");
    }
    if (!movieFlags.isEmpty())
        arguments << QStringLiteral("-movflags") << movieFlags.join(QString());
    arguments << QStringLiteral("-t") << QString::number(recipe.seconds) << QStringLiteral("-f")
              << QStringLiteral("mp4");
    if (!recipe.creationTime.isEmpty())
        arguments << QStringLiteral("-metadata") << QStringLiteral("creation_time=") + recipe.creationTime;
    if (!recipe.timecode.isEmpty())
        arguments << QStringLiteral("-timecode") << recipe.timecode;
    arguments << base;
    const auto result = runProcess(QStringLiteral("ffmpeg"), arguments);
    if (result.exitCode != 0)
        return QStringLiteral("ffmpeg failed: ") + QString::fromUtf8(result.err);
    if (extras) {
        const QString error = addStreams(base, path, recipe);
        QFile::remove(base);
        if (!error.isEmpty())
            return error;
    }
    if (recipe.phoneKeys == ClipRecipe::PhoneKeys::inMovie)
        if (const QString error = moveKeysIntoMovie(path); !error.isEmpty())
            return error;
    if (recipe.cameraUserData)
        return appendCameraUserData(path);
    return {};
}

QString readerOutput(const QString& program, const QStringList& arguments) {
    const auto result = runProcess(program, arguments);
    return result.exitCode == 0 ? QString::fromUtf8(result.out) : QString();
}

namespace {
int presentedFrameNumber(const QString& path, int videoIndex, bool last) {
    auto input = openVideoAsset(path);
    if (!input)
        return -1;
    AVFormatContext* context = input->get();
    int streamIndex = -1;
    for (unsigned i = 0, seen = 0; i < context->nb_streams; ++i) {
        if (context->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && int(seen++) == videoIndex) {
            streamIndex = int(i);
            break;
        }
    }
    if (streamIndex < 0)
        return -1;
    const AVStream* stream = context->streams[streamIndex];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    av::CodecContextPtr decoder(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return -1;
    av::PacketPtr packet(av_packet_alloc());
    av::FramePtr frame(av_frame_alloc());
    av::FramePtr shown;
    bool draining = false;
    for (;;) {
        if (!draining) {
            if (av_read_frame(context, packet.get()) < 0) {
                draining = true;
                avcodec_send_packet(decoder.get(), nullptr);
            } else {
                if (packet->stream_index == streamIndex)
                    avcodec_send_packet(decoder.get(), packet.get());
                av_packet_unref(packet.get());
            }
        }
        const int status = avcodec_receive_frame(decoder.get(), frame.get());
        if (status == 0) {
            if (!last)
                break;
            shown.reset(av_frame_clone(frame.get()));
            continue;
        }
        if (status == AVERROR_EOF && shown) {
            frame = std::move(shown);
            break;
        }
        if (status != AVERROR(EAGAIN) || draining)
            return -1;
    }
    const int bars = frame->width / kBarWidth;
    const uint8_t* row = frame->data[0] + frame->linesize[0] * (frame->height / 2);
    int number = 0;
    for (int bit = 0; bit < bars; ++bit)
        if (row[bit * kBarWidth + kBarWidth / 2] > 128)
            number |= 1 << bit;
    return number;
}
} // namespace

int firstFrameNumber(const QString& path, int videoIndex) {
    return presentedFrameNumber(path, videoIndex, false);
}

int lastFrameNumber(const QString& path, int videoIndex) {
    return presentedFrameNumber(path, videoIndex, true);
}

int frameNumberShown(const QImage& picture) {
    if (picture.isNull() || picture.width() < kBarWidth)
        return -1;
    int number = 0;
    for (int bit = 0; bit < picture.width() / kBarWidth; ++bit)
        if (qGray(picture.pixel(bit * kBarWidth + kBarWidth / 2, picture.height() / 2)) > 128)
            number |= 1 << bit;
    return number;
}

double containerDuration(const QString& path) {
    auto input = openVideoAsset(path);
    if (!input || input->get()->duration == AV_NOPTS_VALUE)
        return -1;
    return double(input->get()->duration) / AV_TIME_BASE;
}

StreamSummary summarizeStreams(const QString& path) {
    StreamSummary summary;
    auto input = openVideoAsset(path);
    if (!input)
        return summary;
    const AVFormatContext* context = input->get();
    if (const auto* entry = av_dict_get(context->metadata, "creation_time", nullptr, 0))
        summary.creationTime = QString::fromUtf8(entry->value);
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const double start =
            stream->start_time == AV_NOPTS_VALUE ? 0 : double(stream->start_time) * av_q2d(stream->time_base);
        switch (stream->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            if (summary.video++ == 0) {
                summary.videoStart = start;
                if (const auto* entry = av_dict_get(stream->metadata, "timecode", nullptr, 0))
                    summary.timecode = QString::fromUtf8(entry->value);
                if (const auto* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr))
                    summary.rotation = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
            }
            break;
        case AVMEDIA_TYPE_AUDIO:
            if (summary.audio++ == 0)
                summary.audioStart = start;
            break;
        case AVMEDIA_TYPE_DATA:
            ++summary.data;
            if (stream->codecpar->codec_tag == MKTAG('g', 'p', 'm', 'd'))
                ++summary.telemetry;
            break;
        default:
            break;
        }
    }
    summary.ok = true;
    return summary;
}

QByteArray movieUserData(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const auto u32 = [&](qint64 at) {
        return qint64(qFromBigEndian<quint32>(bytes.constData() + at));
    };
    for (qint64 at = 0; at + 8 <= bytes.size() && u32(at) >= 8; at += u32(at)) {
        if (bytes.mid(at + 4, 4) != "moov")
            continue;
        for (qint64 child = at + 8; child + 8 <= at + u32(at) && u32(child) >= 8; child += u32(child))
            if (bytes.mid(child + 4, 4) == "udta")
                return bytes.mid(child, u32(child));
    }
    return {};
}

bool setFileTime(const QString& path, const QDateTime& time) {
    const qint64 ns = time.toMSecsSinceEpoch() * 1'000'000;
    return setFileTimes(path, ns, ns).ok();
}

QByteArray fileDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

} // namespace velarix::test
