#include "import/ChapterJoin.h"

#include "media/MediaIo.h"
#include "media/MediaStreams.h"
#include "storage/FileHash.h"
#include "storage/PosixFile.h"
#include "storage/SequentialDiskReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("ChapterJoin");

// The demuxer's reads of the file's header, from the storage through a window of direct reads where
// the file system allows them (the samples are read by a SequentialDiskReader).
struct DiskInput final : ByteAccess {
    static constexpr int kBufferSize = 256 * 1024;
    static constexpr int64_t kWindowSize = 1024 * 1024; // for the header; the samples are read ahead
    static constexpr int64_t kAlignment = 4096;
    UniqueFd fd;
    bool direct = false;
    std::unique_ptr<char, decltype(&std::free)> window{nullptr, &std::free};
    int64_t windowStart = 0;
    int64_t windowLength = 0;
    std::unique_ptr<MediaIo> io;
    av::FormatContextPtr context; // declared after `io`, which it refers to, so freed before it
    bool open(const QString& path) {
        window.reset(static_cast<char*>(std::aligned_alloc(size_t(kAlignment), size_t(kWindowSize))));
        if (!window) {
            errno = ENOMEM;
            return false;
        }
        auto opened = openPath(path, O_RDONLY | O_DIRECT);
        direct = bool(opened);
        if (!opened)
            opened = openPath(path, O_RDONLY);
        if (!opened) {
            errno = opened.error().code;
            return false;
        }
        fd = std::move(*opened);
        if (!direct)
            adviseSequential(fd.get());
        return true;
    }
    // Makes the window hold `at`; gives how many bytes from there it holds (0 at the end), or -1.
    int64_t fill(int64_t at) {
        if (at >= windowStart && at < windowStart + windowLength)
            return windowStart + windowLength - at;
        const int64_t start = at / kAlignment * kAlignment;
        for (;;) {
            const ssize_t n = ::pread(fd.get(), window.get(), size_t(kWindowSize), start);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno == EINVAL && direct) { // refused after all: through the page cache
                direct = false;
                setDirectIo(fd.get(), false);
                continue;
            }
            if (n < 0)
                return -1;
            windowStart = start;
            windowLength = n;
            return std::max<int64_t>(0, windowStart + windowLength - at);
        }
    }
    qint64 readAt(qint64 at, char* buffer, qint64 size) override {
        const int64_t available = fill(at);
        if (available < 0)
            return -errno;
        const int64_t n = std::min<int64_t>(size, available);
        std::memcpy(buffer, window.get() + (at - windowStart), size_t(n));
        return n;
    }
    qint64 size() override {
        struct stat info {};
        return ::fstat(fd.get(), &info) == 0 ? qint64(info.st_size) : -errno;
    }
};

struct Sample {
    int64_t position;
    int64_t size;
    size_t stream;
};

// The samples of the first `count` streams as the file's index lists them, in file order; empty when
// a stream's samples do not follow each other through the file (then they are read packet by packet).
std::vector<Sample> samplesInFileOrder(AVFormatContext* context, size_t count) {
    std::vector<Sample> samples;
    for (size_t i = 0; i < count; ++i) {
        AVStream* stream = context->streams[i];
        int64_t previous = -1;
        for (int k = 0, n = avformat_index_get_entries_count(stream); k < n; ++k) {
            const AVIndexEntry* entry = avformat_index_get_entry(stream, k);
            if (!entry || entry->pos <= previous)
                return {};
            previous = entry->pos;
            samples.push_back({entry->pos, entry->size, i});
        }
    }
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.position < b.position; });
    return samples;
}

// Whether every sample of the first `count` streams is one of the muxer's writes, found by its place
// and size; each such write's checksum goes into its stream's, in the index's order.
bool samplesFromPieces(AVFormatContext* context, size_t count, const JoinOutcome& expected,
                       std::vector<std::unique_ptr<StreamHasher>>& hashers, std::vector<int64_t>& packets) {
    const std::vector<JoinOutcome::Piece>& pieces = expected.pieces;
    for (size_t i = 0; i < count; ++i) {
        AVStream* stream = context->streams[i];
        for (int k = 0, n = avformat_index_get_entries_count(stream); k < n; ++k) {
            const AVIndexEntry* entry = avformat_index_get_entry(stream, k);
            if (!entry)
                return false;
            const auto found = std::lower_bound(
                pieces.begin(), pieces.end(), entry->pos,
                [](const JoinOutcome::Piece& piece, int64_t position) { return piece.position < position; });
            if (found == pieces.end() || found->position != entry->pos || found->size != entry->size ||
                found->position + found->size > expected.samplesEnd)
                return false;
            hashers[i]->update(reinterpret_cast<const char*>(&found->digest), sizeof found->digest);
            ++packets[i];
        }
    }
    return true;
}

} // namespace

Result<void> verifyJoin(int fd, const QString& path, const JoinOutcome& expected, const CancelToken* cancel,
                        bool samplesReadBack) {
    const QString name = QFileInfo(path).fileName();
    const auto mismatch = [&](const QString& what) {
        return Error::make(kDomain, 6,
                           QCoreApplication::translate(
                               "ChapterJoin", "The joined video %1 does not match its chapters (%2).")
                               .arg(name, what));
    };
    const auto unreadable = [&](int status) {
        if (isCancelled(cancel))
            return Error::cancellation();
        return Error::make(
            kDomain, status,
            QCoreApplication::translate("ChapterJoin", "The joined video %1 could not be read back: %2")
                .arg(name, av::reasonText(status)),
            avErrorKind(status));
    };
    const auto cancelled = [cancel] {
        return isCancelled(cancel);
    };
    // Clean pages are dropped, so that nothing of it comes from memory.
    dropCachedPages(fd, 0, 0);
    DiskInput input;
    if (!input.open(path))
        return unreadable(AVERROR(errno));
    input.io = MediaIo::create(input, MediaIo::Mode::read, DiskInput::kBufferSize, cancel);
    av::FormatContextPtr allocated(avformat_alloc_context());
    if (!input.io || !allocated)
        return Error::make(kDomain, AVERROR(ENOMEM),
                           QCoreApplication::translate("ChapterJoin", "Out of memory."));
    input.io->attach(allocated.get());
    watchCancellation(allocated.get(), cancel);
    // avformat_open_input frees the context itself when it fails, so it is handed over, not owned.
    AVFormatContext* context = allocated.release();
    if (const int opened = avformat_open_input(&context, nullptr, av_find_input_format("mp4"), nullptr);
        opened < 0)
        return unreadable(opened);
    input.context.reset(context);
    const size_t count = expected.streams.size();
    if (context->nb_streams < count)
        return mismatch(QCoreApplication::translate("ChapterJoin", "%1 streams instead of %2")
                            .arg(context->nb_streams)
                            .arg(count));
    for (size_t i = 0; i < count; ++i) {
        if (context->streams[i]->codecpar->codec_id != expected.streams[i].codec)
            return mismatch(QCoreApplication::translate("ChapterJoin", "stream %1 has another codec").arg(i));
    }
    for (unsigned i = unsigned(count); i < context->nb_streams; ++i) {
        // Only the timecode track the muxer made may come on top.
        if (context->streams[i]->codecpar->codec_id != AV_CODEC_ID_NONE || expected.timecode.isEmpty())
            return mismatch(QCoreApplication::translate("ChapterJoin", "%1 streams instead of %2")
                                .arg(context->nb_streams)
                                .arg(count));
        context->streams[i]->discard = AVDISCARD_ALL;
    }
    if (!expected.timecode.isEmpty()) {
        const int video = primaryVideoStream(context);
        const AVDictionaryEntry* timecode =
            video >= 0 ? av_dict_get(context->streams[video]->metadata, "timecode", nullptr, 0) : nullptr;
        if (!timecode || QString::fromLatin1(timecode->value) != expected.timecode)
            return mismatch(
                QCoreApplication::translate("ChapterJoin", "the timecode is not %1").arg(expected.timecode));
    }
    // A frame of slack: the container rounds the movie's duration to its own time scale.
    const double duration = containerDuration(context);
    if (std::abs(duration - expected.duration) > 0.05)
        return mismatch(QCoreApplication::translate("ChapterJoin", "%1 s long instead of %2 s")
                            .arg(duration)
                            .arg(expected.duration));

    std::vector<std::unique_ptr<StreamHasher>> hashers(count);
    std::vector<int64_t> packets(count, 0);
    const auto startOver = [&] {
        for (auto& hasher : hashers)
            hasher = std::make_unique<StreamHasher>();
        std::fill(packets.begin(), packets.end(), 0);
    };
    startOver();
    // The bytes were read back already: the index must list the packets that were written there.
    // Where a sample is not one write of the muxer, every sample is read back as below.
    const bool fromPieces = samplesReadBack && samplesFromPieces(context, count, expected, hashers, packets);
    if (!fromPieces)
        startOver();
    // The demuxer would hand out each sample the index lists, in this order per stream: reading them
    // straight from the disk, a few pieces ahead, spares a packet allocation and a copy for each.
    const std::vector<Sample> samples =
        fromPieces ? std::vector<Sample>() : samplesInFileOrder(context, count);
    StreamHasher sampleHash;
    if (!samples.empty()) {
        const int64_t from = samples.front().position / DiskInput::kAlignment * DiskInput::kAlignment;
        SequentialDiskReader reader(input.fd.get(), from);
        std::span<const char> piece;
        int64_t pieceStart = from;
        for (const Sample& sample : samples) {
            if (cancelled())
                return Error::cancellation();
            if (sample.position < pieceStart)
                return mismatch(
                    QCoreApplication::translate("ChapterJoin", "packets of stream %1 overlap others")
                        .arg(sample.stream));
            sampleHash.reset();
            for (int64_t at = sample.position, left = sample.size; left > 0;) {
                while (at >= pieceStart + int64_t(piece.size())) {
                    auto next = reader.next();
                    if (!next)
                        return unreadable(AVERROR(next.error().code));
                    if (next->empty())
                        return mismatch(
                            QCoreApplication::translate("ChapterJoin", "it ends inside a packet of stream %1")
                                .arg(sample.stream));
                    piece = *next;
                    pieceStart = reader.pieceStart();
                }
                const int64_t n = std::min(left, pieceStart + int64_t(piece.size()) - at);
                sampleHash.update(piece.data() + (at - pieceStart), n);
                at += n;
                left -= n;
            }
            const quint64 digest = sampleHash.digest();
            hashers[sample.stream]->update(reinterpret_cast<const char*>(&digest), sizeof digest);
            ++packets[sample.stream];
        }
    }
    if (samples.empty() && !fromPieces) {
        av::PacketPtr packet(av_packet_alloc());
        for (;;) {
            if (cancelled())
                return Error::cancellation();
            const int status = av_read_frame(context, packet.get());
            if (status == AVERROR_EOF)
                break;
            if (status < 0)
                return unreadable(status);
            const auto index = size_t(packet->stream_index);
            if (index < count) {
                const quint64 digest = checksum(reinterpret_cast<const char*>(packet->data), packet->size);
                hashers[index]->update(reinterpret_cast<const char*>(&digest), sizeof digest);
                ++packets[index];
            }
            av_packet_unref(packet.get());
        }
    }
    dropCachedPages(fd, 0, 0);
    for (size_t i = 0; i < count; ++i) {
        if (packets[i] != expected.streams[i].packets)
            return mismatch(
                QCoreApplication::translate("ChapterJoin", "stream %1 has %2 packets instead of %3")
                    .arg(i)
                    .arg(packets[i])
                    .arg(expected.streams[i].packets));
        if (hashers[i]->digest() != expected.streams[i].digest)
            return mismatch(
                QCoreApplication::translate("ChapterJoin", "the bytes of stream %1 differ").arg(i));
    }
    return {};
}

} // namespace velarix
