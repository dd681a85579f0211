#include "import/ChapterJoin.h"

#include "media/ChapterContinuation.h"
#include "media/JoinedSamples.h"
#include "media/MediaIo.h"
#include "media/MediaLog.h"
#include "media/MediaStreams.h"
#include "media/Mp4UserData.h"
#include "media/StreamCopy.h"
#include "media/StreamSignature.h"
#include "storage/DirectFileWriter.h"
#include "storage/FileHash.h"
#include "storage/PosixFile.h"
#include "storage/ReadAhead.h"
#include "storage/RegionVerifier.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("ChapterJoin");
constexpr int kOutputBufferSize = 256 * 1024; // DirectFileWriter gathers larger writes
constexpr int kInputBufferSize = 256 * 1024;
// The muxer holds packets back only this long to interleave them, which bounds its memory: a sparse
// stream (telemetry once a second, the timecode once a chapter) makes it hold this much of every
// other stream. The chapters come interleaved already. A second held 28 MiB more at 90 Mbit/s.
constexpr int64_t kInterleaveDelta = AV_TIME_BASE / 10;

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

// Writes to a file descriptor the caller owns, past the page cache (see DirectFileWriter). The muxer
// writes front to back, then goes back to fix a few header fields.
struct FdOutput final : ByteAccess {
    std::unique_ptr<DirectFileWriter> writer;
    // Each write at the end, while the samples are written; with direct I/O a packet is one write.
    std::vector<JoinOutcome::Piece>* pieces = nullptr;

    int writeAt(qint64 position, const char* bytes, qint64 size) override {
        int64_t done = 0;
        if (position > writer->size()) { // a hole: zeros, as the file system would give
            static const char zeros[4096] = {};
            while (writer->size() < position) {
                if (auto appended =
                        writer->append(zeros, std::min<int64_t>(sizeof zeros, position - writer->size()));
                    !appended)
                    return -appended.error().code;
            }
        }
        if (position < writer->size()) {
            done = std::min<int64_t>(size, writer->size() - position);
            if (auto rewritten = writer->writeAt(position, bytes, done); !rewritten)
                return -rewritten.error().code;
        }
        if (done < size) {
            if (done == 0 && pieces)
                pieces->push_back({position, int(size), checksum(bytes, size)});
            if (auto appended = writer->append(bytes + done, size - done); !appended)
                return -appended.error().code;
        }
        return 0;
    }
    qint64 size() override { return writer->size(); }
};

// The output context refers to the I/O context, which writes to the file: they go in this order.
struct Output {
    FdOutput file;
    std::unique_ptr<MediaIo> io;
    av::OutputContextPtr context;
    ~Output() {
        context.reset();
        io.reset();
    }
};

// The samples in each packet of a compressed audio stream, from the container's sample table: the
// muxer asks for it (and logs "codec frame size is not set" without it), and only probing the stream,
// which the join leaves out, would fill it in. 0 where the table does not tell.
int audioFrameSize(const AVStream* stream) {
    auto* indexed = const_cast<AVStream*>(stream);
    const int sampleRate = stream->codecpar->sample_rate;
    if (sampleRate <= 0 || avformat_index_get_entries_count(indexed) < 2)
        return 0;
    const AVIndexEntry* first = avformat_index_get_entry(indexed, 0);
    const AVIndexEntry* second = avformat_index_get_entry(indexed, 1);
    if (!first || !second || second->timestamp <= first->timestamp)
        return 0;
    const int64_t samples =
        av_rescale_q(second->timestamp - first->timestamp, stream->time_base, {1, sampleRate});
    return samples > 1 && samples <= 65536 ? int(samples) : 0;
}

// One output stream across the chapters, in its own (the first chapter's) time base.
struct Track {
    int output = -1;
    AVRational timeBase{0, 1};
    int64_t chapterPackets = 0;
    std::unique_ptr<StreamHasher> hasher;
};

Error readError(const QString& chapter, const QString& reason) {
    return Error::make(kDomain, 1,
                       QCoreApplication::translate("ChapterJoin", "The chapter %1 could not be read: %2")
                           .arg(fileName(chapter), reason));
}

Error writeError(const QString& outputPath, int status) {
    return Error::make(kDomain, status,
                       QCoreApplication::translate("ChapterJoin", "Could not write the joined video %1: %2")
                           .arg(fileName(outputPath), av::reasonText(status)),
                       avErrorKind(status));
}

// The chapter's streams and codec parameters must be those of the first one.
Result<void> checkSameStreams(const AVFormatContext* first, const AVFormatContext* chapter,
                              const QString& path) {
    if (streamSignature(first) != streamSignature(chapter))
        return Error::make(
            kDomain, 2,
            QCoreApplication::translate("ChapterJoin",
                                        "The chapter %1 has other streams or codec parameters than the first "
                                        "chapter; it cannot be joined.")
                .arg(fileName(path)));
    return {};
}

// The chapters are read ahead of the demuxer, the next one from when this one is nearly read: the card
// goes on streaming while the join writes, and across a boundary while the next chapter's header is
// read (a demuxer reads a packet at a time, with pauses a card's own read-ahead does not cover).
class ChaptersAhead {
public:
    explicit ChaptersAhead(const QStringList& chapters)
        : m_chapters(chapters)
        , m_open(size_t(chapters.size())) {}

    // The demuxer is at `offset` of chapter `c`; the chapters before it are done.
    void at(qsizetype c, qint64 offset) {
        start(c);
        for (; m_done < c; ++m_done) {
            m_open[size_t(m_done)].ahead.reset();
            m_open[size_t(m_done)].fd = UniqueFd();
        }
        Open& open = m_open[size_t(c)];
        if (!open.ahead)
            return;
        open.ahead->consumed(offset);
        if (offset + ReadAhead::kDepth >= open.size)
            start(c + 1);
    }

private:
    struct Open {
        UniqueFd fd;
        qint64 size = 0;
        std::unique_ptr<ReadAhead> ahead; // declared last: stopped before the file closes
    };

    void start(qsizetype c) {
        if (c >= m_chapters.size() || m_open[size_t(c)].fd.valid())
            return;
        auto fd = openPath(m_chapters[c], O_RDONLY);
        if (!fd)
            return; // the join's own open says why
        const qint64 size = QFileInfo(m_chapters[c]).size();
        Open& open = m_open[size_t(c)];
        open.fd = std::move(*fd);
        open.size = size;
        open.ahead = std::make_unique<ReadAhead>(open.fd.get(), size);
    }

    const QStringList& m_chapters;
    std::vector<Open> m_open;
    qsizetype m_done = 0;
};

} // namespace

Result<JoinOutcome> joinChapters(const QStringList& chapters, int outputFd, const QString& outputPath,
                                 const JoinControl& control) {
    if (chapters.isEmpty())
        return Error::make(kDomain, 3,
                           QCoreApplication::translate("ChapterJoin", "There is nothing to join."));
    qint64 totalBytes = 0;
    for (const QString& chapter : chapters)
        totalBytes += QFileInfo(chapter).size();
    ChaptersAhead ahead(chapters);
    ahead.at(0, 0);

    auto first = openVideoAsset(chapters.first(), OpenOptions{control.cancel, kInputBufferSize, false});
    if (!first)
        return first.error();
    if (auto known = ensureStreamsKnown(*first, chapters.first(), control.cancel); !known)
        return known.error();
    const AVFormatContext* in = first->get();

    Output output;
    output.file.writer = std::make_unique<DirectFileWriter>(outputFd);
    output.file.writer->setVerifier(control.verifier);
    // The joined file is about as large as its chapters.
    if (auto reserved = output.file.writer->reserve(totalBytes); !reserved)
        return writeError(outputPath, AVERROR(reserved.error().code));
    {
        AVFormatContext* context = nullptr;
        const QByteArray name = QFile::encodeName(outputPath);
        // Chapters of a QuickTime recording are joined into QuickTime, as a trim of it is written.
        if (avformat_alloc_output_context2(&context, nullptr, streamCopyFormatName(chapters.first()),
                                           name.constData()) < 0 ||
            !context)
            return Error::make(kDomain, AVERROR(ENOMEM),
                               QCoreApplication::translate("ChapterJoin", "Out of memory."));
        output.context.reset(context);
    }
    AVFormatContext* out = output.context.get();
    watchCancellation(out, control.cancel);
    out->max_interleave_delta = kInterleaveDelta;

    JoinOutcome outcome;
    std::vector<Track> tracks(in->nb_streams);
    std::vector<CarriedTrack> carried;
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        const AVStream* stream = in->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        const bool picture = parameters->codec_type == AVMEDIA_TYPE_VIDEO &&
                             (stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
        // The QuickTime writer makes its own timecode track from the video's timecode, which is the
        // first chapter's.
        const bool quickTime = isQuickTimeOutput(out);
        if (quickTime && isTimecodeTrack(parameters))
            continue;
        const bool timecodeTrack = isTimecodeTrack(parameters);
        if (!timecodeTrack && !carriedUnderOwnTag(out, parameters) &&
            (picture || parameters->codec_id == AV_CODEC_ID_NONE ||
             avformat_query_codec(out->oformat, parameters->codec_id, FF_COMPLIANCE_NORMAL) != 1)) {
            qCInfo(lcMedia, "Joining %s leaves out stream %d (codec %s), which an %s file cannot carry",
                   qUtf8Printable(chapters.first()), int(i), avcodec_get_name(parameters->codec_id),
                   quickTime ? "MOV" : "MP4");
            continue;
        }
        // The timecode track goes on as data, each chapter's sample where the chapter begins, and gets
        // the first chapter's description back afterwards: the muxer's own would be named after the
        // video and lose the timecode's flags and frame count.
        AVStream* copy = timecodeTrack ? avformat_new_stream(out, nullptr) : addCopiedStream(out, stream);
        if (!copy)
            return Error::make(kDomain, AVERROR(ENOMEM),
                               QCoreApplication::translate("ChapterJoin", "Out of memory."));
        if (timecodeTrack) {
            copy->codecpar->codec_type = AVMEDIA_TYPE_DATA;
            copy->codecpar->codec_id = AV_CODEC_ID_BIN_DATA;
            copy->time_base = stream->time_base;
            carried.push_back(CarriedTrack{quint32(copy->index + 1), quint32(stream->id)});
        }
        if (parameters->codec_type == AVMEDIA_TYPE_AUDIO && parameters->frame_size == 0 &&
            av_get_bits_per_sample(parameters->codec_id) == 0)
            copy->codecpar->frame_size = audioFrameSize(stream);
        copyStreamProperties(stream, copy);
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && outcome.timecode.isEmpty()) {
            if (const AVDictionaryEntry* timecode = av_dict_get(stream->metadata, "timecode", nullptr, 0))
                outcome.timecode = QString::fromLatin1(timecode->value);
        }
        tracks[i].output = copy->index;
        tracks[i].timeBase = stream->time_base;
        tracks[i].hasher = std::make_unique<StreamHasher>();
        outcome.streams.push_back({0, 0, parameters->codec_id});
    }
    if (outcome.streams.empty())
        return Error::make(kDomain, 4,
                           QCoreApplication::translate("ChapterJoin", "%1 has no stream that can be joined.")
                               .arg(fileName(chapters.first())));
    av_dict_copy(&out->metadata, in->metadata, 0);
    if (!carried.empty()) {
        // The carried track says it all; the muxer would add a second one from these.
        av_dict_set(&out->metadata, "timecode", nullptr, 0);
        for (unsigned i = 0; i < out->nb_streams; ++i)
            av_dict_set(&out->streams[i]->metadata, "timecode", nullptr, 0);
    }

    // The muxer's interrupt callback sees the cancellation; the writes finish what they were given.
    output.io = MediaIo::create(output.file, MediaIo::Mode::write, kOutputBufferSize, nullptr);
    if (!output.io)
        return Error::make(kDomain, AVERROR(ENOMEM),
                           QCoreApplication::translate("ChapterJoin", "Out of memory."));
    // Packets go straight to the writer's buffers rather than through libav's buffer first.
    output.io->context()->direct = 1;
    output.io->attach(out);
    if (control.verifier)
        output.file.pieces = &outcome.pieces;
    // The muxer's defaults matter: the movie header goes last (no fast start), where the user data box
    // is appended afterwards, and the first chapter's negative timestamps become an edit list.
    int status = avformat_write_header(out, nullptr);
    if (status < 0)
        return isCancelled(control.cancel) ? Error::cancellation() : writeError(outputPath, status);

    av::PacketPtr packet(av_packet_alloc());
    ChapterContinuation timeline(in->nb_streams);
    qint64 doneBytes = 0;
    qint64 reportedBytes = 0;
    for (qsizetype c = 0; c < chapters.size(); ++c) {
        const QString& path = chapters[c];
        MediaInput opened;
        if (c > 0) {
            auto next = openVideoAsset(path, OpenOptions{control.cancel, kInputBufferSize, false});
            if (!next)
                return next.error();
            if (auto known = ensureStreamsKnown(*next, path, control.cancel); !known)
                return known.error();
            if (auto same = checkSameStreams(in, next->get(), path); !same)
                return same.error();
            opened = std::move(next.value());
        }
        AVFormatContext* chapter = c == 0 ? first->get() : opened.get();
        // The header is read: from here on, packets are read straight into their own memory rather
        // than copied out of libav's buffer.
        if (chapter->pb)
            chapter->pb->direct = 1;
        // Each stream of this chapter begins where the same stream of the previous one ended.
        timeline.beginChapter(chapter);
        for (unsigned i = 0; i < chapter->nb_streams; ++i) {
            Track& track = tracks[i];
            track.chapterPackets = 0;
            if (track.output < 0)
                chapter->streams[i]->discard = AVDISCARD_ALL;
        }

        for (;;) {
            if (isCancelled(control.cancel))
                return Error::cancellation();
            status = av_read_frame(chapter, packet.get());
            if (status == AVERROR_EOF)
                break;
            if (status < 0) {
                if (isCancelled(control.cancel))
                    return Error::cancellation();
                return readError(path, av::errorText(status));
            }
            ahead.at(c, avio_tell(chapter->pb));
            Track& track = tracks[size_t(packet->stream_index)];
            if (track.output < 0) {
                av_packet_unref(packet.get());
                continue;
            }
            if (packet->flags & AV_PKT_FLAG_CORRUPT)
                return readError(
                    path, QCoreApplication::translate("ChapterJoin", "the file is cut short or damaged"));
            const AVStream* stream = chapter->streams[packet->stream_index];
            doneBytes += packet->size;
            auto placed = timeline.place(packet.get(), stream, path);
            if (!placed)
                return placed.error();
            if (!*placed) {
                av_packet_unref(packet.get());
                continue;
            }
            ++track.chapterPackets;
            JoinOutcome::Stream& written = outcome.streams[size_t(track.output)];
            ++written.packets;
            const quint64 digest = checksum(reinterpret_cast<const char*>(packet->data), packet->size);
            track.hasher->update(reinterpret_cast<const char*>(&digest), sizeof digest);
            packet->stream_index = track.output;
            packet->pos = -1;
            if (control.samples && JoinedSamples::keeps(out->streams[track.output]->codecpar->codec_type))
                control.samples->keep(track.output, packet.get());
            status = av_interleaved_write_frame(out, packet.get());
            if (status < 0)
                return isCancelled(control.cancel) ? Error::cancellation() : writeError(outputPath, status);
            if (control.progress && doneBytes - reportedBytes >= 4 * 1024 * 1024) {
                control.progress(doneBytes, totalBytes);
                reportedBytes = doneBytes;
            }
        }
        // Read once: its pages need not stay cached, as a copy's source does not.
        if (const auto done = openPath(path, O_RDONLY))
            dropCachedPages(done->get(), 0, 0);
        // The header lists every sample: fewer read means the file ends early (a pulled card).
        for (unsigned i = 0; i < chapter->nb_streams; ++i) {
            const Track& track = tracks[i];
            const int64_t listed = chapter->streams[i]->nb_frames;
            if (track.output >= 0 && listed > 0 && track.chapterPackets < listed &&
                chapter->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
                return readError(path, QCoreApplication::translate("ChapterJoin",
                                                                   "the file is cut short (%1 of %2 frames)")
                                           .arg(track.chapterPackets)
                                           .arg(listed));
        }
    }

    // Every sample is written before the index: the bytes up to here are read back behind the writer,
    // what follows changes once more (the movie's user data).
    status = av_interleaved_write_frame(out, nullptr);
    if (status >= 0)
        avio_flush(out->pb);
    if (status < 0 || out->pb->error < 0)
        return isCancelled(control.cancel) ? Error::cancellation()
                                           : writeError(outputPath, status < 0 ? status : out->pb->error);
    outcome.samplesEnd = output.file.writer->size();
    output.file.pieces = nullptr;
    if (control.verifier)
        control.verifier->expectUpTo(outcome.samplesEnd);
    status = av_write_trailer(out);
    if (status < 0)
        return isCancelled(control.cancel) ? Error::cancellation() : writeError(outputPath, status);
    if (out->pb->error < 0)
        return writeError(outputPath, out->pb->error);
    if (auto finished = output.file.writer->finish(); !finished)
        return writeError(outputPath, AVERROR(finished.error().code));
    if (::fdatasync(outputFd) != 0)
        return writeError(outputPath, AVERROR(errno));
    if (auto carriedOver = carryOverMovieUserData(chapters.first(), outputPath, carried); !carriedOver)
        return carriedOver.error();

    for (unsigned i = 0; i < tracks.size(); ++i) {
        const Track& track = tracks[i];
        if (track.output < 0)
            continue;
        outcome.streams[size_t(track.output)].digest = track.hasher->digest();
        if (const int64_t end = timeline.end(i); end != AV_NOPTS_VALUE)
            outcome.duration = std::max(outcome.duration, double(end) * av_q2d(track.timeBase));
    }
    if (control.progress)
        control.progress(totalBytes, totalBytes);
    return outcome;
}

} // namespace velarix
