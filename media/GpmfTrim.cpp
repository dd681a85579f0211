#include "media/GpmfTrim.h"

#include "media/Gpmf.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace velarix::gpmf {

namespace {

constexpr int kHeaderSize = 8;
constexpr int kMaximumDepth = 8;

struct Klv {
    uint32_t key = 0;
    char type = 0;
    int sampleSize = 0;
    int repeat = 0;
    QByteArray header; // as it was, for entries written back unchanged
    QByteArray data;   // the packed values, without padding
};

// The entries of one container; nullopt when a size runs past it.
std::optional<std::vector<Klv>> entries(const QByteArray& bytes) {
    std::vector<Klv> list;
    qsizetype at = 0;
    while (at + kHeaderSize <= bytes.size()) {
        const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
        Klv klv;
        klv.key = qFromBigEndian<quint32>(p);
        klv.type = char(p[4]);
        klv.sampleSize = p[5];
        klv.repeat = qFromBigEndian<quint16>(p + 6);
        const qsizetype packed = qsizetype(klv.sampleSize) * klv.repeat;
        const qsizetype padded = (packed + 3) / 4 * 4;
        if (at + kHeaderSize + padded > bytes.size())
            return std::nullopt;
        klv.header = bytes.mid(at, kHeaderSize);
        klv.data = bytes.mid(at + kHeaderSize, packed);
        list.push_back(std::move(klv));
        at += kHeaderSize + padded;
    }
    if (at != bytes.size() && bytes.mid(at).count('\0') != bytes.size() - at)
        return std::nullopt;
    return list;
}

QByteArray written(const Klv& klv) {
    QByteArray out = klv.header + klv.data;
    while (out.size() % 4 != 0)
        out += '\0';
    return out;
}

// A container with new children, its header in the same sample size as before; as it was where that
// size cannot count them.
QByteArray sameKind(const Klv& klv, const QByteArray& children) {
    if (klv.sampleSize == 0 || children.size() % klv.sampleSize != 0 ||
        children.size() / klv.sampleSize > 0xFFFF)
        return written(klv);
    Klv changed = klv;
    changed.data = children;
    qToBigEndian<quint16>(quint16(children.size() / klv.sampleSize), changed.header.data() + 6);
    return written(changed);
}

class Trimmer {
public:
    Trimmer(double duration, double from, double to)
        : m_duration(duration)
        , m_from(from)
        , m_to(to) {}

    // The container's children trimmed; nullopt when the container is to go (a stream left empty).
    std::optional<QByteArray> container(const QByteArray& bytes, uint32_t key, int depth) {
        auto list = entries(bytes);
        if (!list || depth > kMaximumDepth)
            return bytes;
        if (key == fourCC("STRM"))
            return stream(*list);
        QByteArray out;
        for (const Klv& klv : *list) {
            if (klv.type != 0) {
                out += written(klv);
                continue;
            }
            if (auto children = container(klv.data, klv.key, depth + 1))
                out += sameKind(klv, *children);
        }
        return out;
    }

private:
    // A sensor's stream: its last entry holds the samples, the entries before describe them.
    std::optional<QByteArray> stream(std::vector<Klv>& list) {
        if (list.empty() || list.back().type == 0 || list.back().repeat == 0)
            return join(list);
        Klv& samples = list.back();
        const int count = samples.repeat;
        const auto index = [&](double seconds) {
            return std::clamp(int(std::ceil(seconds / m_duration * count - 1e-9)), 0, count);
        };
        const int first = index(m_from);
        const int last = std::max(first, index(m_to));
        if (first == 0 && last == count)
            return join(list);
        if (first == last)
            return std::nullopt;
        samples.data = samples.data.mid(qsizetype(first) * samples.sampleSize,
                                        qsizetype(last - first) * samples.sampleSize);
        samples.repeat = last - first;
        qToBigEndian<quint16>(quint16(samples.repeat), samples.header.data() + 6);
        for (Klv& klv : list) {
            if (klv.key == fourCC("STMP") && klv.type == 'J' && klv.data.size() == 8) {
                const auto micros = qFromBigEndian<quint64>(klv.data.constData());
                const auto skipped = quint64(std::llround(double(first) / count * m_duration * 1e6));
                qToBigEndian<quint64>(micros + skipped, klv.data.data());
            } else if (klv.key == fourCC("TSMP") && klv.type == 'L' && klv.data.size() == 4) {
                const auto total = qFromBigEndian<quint32>(klv.data.constData());
                qToBigEndian<quint32>(total - std::min<quint32>(total, quint32(count - last)),
                                      klv.data.data());
            }
        }
        return join(list);
    }

    static QByteArray join(const std::vector<Klv>& list) {
        QByteArray out;
        for (const Klv& klv : list)
            out += written(klv);
        return out;
    }

    double m_duration;
    double m_from;
    double m_to;
};

} // namespace

QByteArray keepSamplesWithin(const QByteArray& payload, double duration, double from, double to) {
    if (!(duration > 0) || (from <= 0 && to >= duration))
        return payload;
    auto trimmed = Trimmer(duration, std::max(0.0, from), std::min(duration, to)).container(payload, 0, 0);
    return trimmed ? *trimmed : payload;
}

} // namespace velarix::gpmf
