#include "media/JoinedSamples.h"

#include "media/MediaIo.h"
#include "media/MediaLog.h"
#include "media/MediaStreams.h"
#include "media/Mp4Boxes.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
}

namespace velarix {

namespace {

Error notServed(const QString& why) {
    return Error::make(QStringLiteral("JoinedSamples"), 1, why);
}

} // namespace

// The joined file as a demuxer reads it: its samples of the kept streams from memory, the rest of
// its media data as zeros (a demuxer that skips a stream's samples never looks at them; its buffer
// may only run over them), and everything else (headers, index) from the file.
struct JoinedSamples::Served final : ByteAccess {
    struct Sample {
        qint64 position = 0;
        qint64 size = 0;
        const char* data = nullptr;
    };
    struct Range {
        qint64 begin = 0;
        qint64 end = 0;
    };

    QFile file;
    qint64 fileSize = 0;
    std::vector<Range> mediaData; // the bodies of the `mdat` boxes
    std::vector<Sample> samples;  // by position
    std::shared_ptr<std::atomic<qint64>> fromDisk = std::make_shared<std::atomic<qint64>>(0);
    // The kept samples, freed with the input that reads them.
    std::vector<Stream> streams;

    qint64 readAt(qint64 position, char* buffer, qint64 size) override {
        size = std::min(size, fileSize - position);
        if (size <= 0)
            return 0;
        const qint64 end = position + size;
        const auto inMediaData = std::find_if(mediaData.begin(), mediaData.end(), [&](const Range& range) {
            return position >= range.begin && position < range.end;
        });
        if (inMediaData == mediaData.end()) {
            // Up to the next media data at most, which is served below.
            qint64 until = end;
            for (const Range& range : mediaData)
                if (range.begin > position)
                    until = std::min(until, range.begin);
            if (!file.seek(position))
                return -EIO;
            const qint64 read = file.read(buffer, until - position);
            if (read < 0)
                return -EIO;
            *fromDisk += read;
            return read;
        }
        const qint64 until = std::min(end, inMediaData->end);
        std::memset(buffer, 0, size_t(until - position));
        auto sample = std::upper_bound(samples.begin(), samples.end(), position,
                                       [](qint64 at, const Sample& s) { return at < s.position; });
        if (sample != samples.begin())
            --sample;
        for (; sample != samples.end() && sample->position < until; ++sample) {
            const qint64 from = std::max(position, sample->position);
            const qint64 to = std::min(until, sample->position + sample->size);
            if (from < to)
                std::memcpy(buffer + (from - position), sample->data + (from - sample->position),
                            size_t(to - from));
        }
        return until - position;
    }

    qint64 size() override { return fileSize; }
};

bool JoinedSamples::keeps(AVMediaType type) {
    return type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_DATA;
}

void JoinedSamples::keep(int stream, const AVPacket* packet) {
    // The muxer writes no empty sample.
    if (m_overflowed || packet->size <= 0)
        return;
    if (m_kept + packet->size > kLimit) {
        m_overflowed = true;
        m_streams.clear();
        m_streams.shrink_to_fit();
        return;
    }
    auto found = std::find_if(m_streams.begin(), m_streams.end(),
                              [stream](const Stream& kept) { return kept.index == stream; });
    if (found == m_streams.end()) {
        m_streams.push_back(Stream{stream, {}, {}});
        found = m_streams.end() - 1;
    }
    found->starts.push_back(qint64(found->bytes.size()));
    found->bytes.insert(found->bytes.end(), packet->data, packet->data + packet->size);
    m_kept += packet->size;
}

void JoinedSamples::end(Result<QString> named) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_outcome)
            return;
        m_outcome = std::move(named);
    }
    m_ended.notify_all();
}

Result<QString> JoinedSamples::waitForName() {
    std::unique_lock lock(m_mutex);
    m_ended.wait(lock, [this] { return m_outcome.has_value(); });
    return *m_outcome;
}

// Each kept stream's samples where the file's index places them; fails unless they are exactly the
// ones kept.
Result<void> JoinedSamples::placeSamples(Served& served, const QString& path, const OpenOptions& options) {
    auto header = openVideoAsset(path, std::shared_ptr<ByteAccess>(std::shared_ptr<Served>(), &served),
                                 OpenOptions{options.cancel, options.ioBufferSize, false});
    if (!header)
        return header.error();
    if (streamsNeedProbing(header->get()))
        return notServed(QStringLiteral("its streams need probing"));
    for (const Stream& kept : served.streams) {
        if (unsigned(kept.index) >= header->get()->nb_streams)
            return notServed(QStringLiteral("it has fewer streams than were written"));
        AVStream* stream = header->get()->streams[kept.index];
        std::vector<std::pair<qint64, qint64>> listed; // position, size
        for (int i = 0; i < avformat_index_get_entries_count(stream); ++i) {
            const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
            if (entry->size > 0)
                listed.emplace_back(entry->pos, entry->size);
        }
        // An edit list may list a sample twice.
        std::sort(listed.begin(), listed.end());
        listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
        if (listed.size() != kept.starts.size())
            return notServed(QStringLiteral("stream %1 lists %2 samples, %3 were written")
                                 .arg(kept.index)
                                 .arg(listed.size())
                                 .arg(kept.starts.size()));
        for (size_t i = 0; i < listed.size(); ++i) {
            const qint64 keptSize =
                (i + 1 < kept.starts.size() ? kept.starts[i + 1] : qint64(kept.bytes.size())) -
                kept.starts[i];
            if (listed[i].second != keptSize)
                return notServed(
                    QStringLiteral("stream %1 sample %2 differs in size").arg(kept.index).arg(i));
            served.samples.push_back({listed[i].first, keptSize, kept.bytes.data() + kept.starts[i]});
        }
    }
    std::sort(served.samples.begin(), served.samples.end(),
              [](const Served::Sample& a, const Served::Sample& b) { return a.position < b.position; });
    for (size_t i = 1; i < served.samples.size(); ++i)
        if (served.samples[i].position < served.samples[i - 1].position + served.samples[i - 1].size)
            return notServed(QStringLiteral("its samples overlap"));
    for (const Served::Sample& sample : served.samples) {
        const bool inside = std::any_of(served.mediaData.begin(), served.mediaData.end(), [&](const auto& r) {
            return sample.position >= r.begin && sample.position + sample.size <= r.end;
        });
        if (!inside)
            return notServed(QStringLiteral("a sample lies outside the media data"));
    }
    return {};
}

Result<MediaInput> JoinedSamples::open(const QString& path, const OpenOptions& options) {
    if (m_overflowed)
        return notServed(QStringLiteral("its sound and telemetry were too large to keep"));
    if (m_opened)
        return notServed(QStringLiteral("its samples were read already"));
    m_opened = true;
    auto served = std::make_shared<Served>();
    served->file.setFileName(path);
    if (!served->file.open(QIODevice::ReadOnly))
        return notServed(served->file.errorString());
    served->fileSize = served->file.size();
    for (qint64 offset = 0; offset < served->fileSize;) {
        const auto box = mp4::readBoxHeader(served->file, offset, served->fileSize);
        if (!box)
            break;
        const qint64 size = box->size == 0 ? served->fileSize - offset : box->size;
        if (box->type == "mdat") {
            // A 32-bit size of 1 says a 64-bit one follows the type.
            uchar size32[4] = {};
            if (!served->file.seek(offset) || served->file.read(reinterpret_cast<char*>(size32), 4) != 4)
                return notServed(served->file.errorString());
            const bool large = qFromBigEndian<quint32>(size32) == 1;
            served->mediaData.push_back({offset + (large ? 16 : 8), offset + size});
        }
        offset += size;
    }

    served->streams = std::move(m_streams);
    if (auto placed = placeSamples(*served, path, options); !placed)
        return placed.error();
    m_fromDisk = served->fromDisk;
    return openVideoAsset(path, std::shared_ptr<ByteAccess>(std::move(served)), options);
}

qint64 JoinedSamples::bytesReadFromDisk() const {
    return m_fromDisk ? m_fromDisk->load() : 0;
}

} // namespace velarix
