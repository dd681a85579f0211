#include "media/Gpmf.h"

#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace velarix::gpmf {

namespace {

constexpr int kHeaderSize = 8;
constexpr int kMaximumDepth = 8; // real files nest three deep (DEVC, STRM, a grouped entry)

// Bytes of one value of a type; 0 for types that carry no numbers (text, dates, nesting).
int valueSize(char type) {
    switch (type) {
    case 'b':
    case 'B':
        return 1;
    case 's':
    case 'S':
        return 2;
    case 'l':
    case 'L':
    case 'f':
    case 'q':
        return 4;
    case 'd':
    case 'j':
    case 'J':
    case 'Q':
        return 8;
    default:
        return 0;
    }
}

double valueAt(const uint8_t* p, char type) {
    switch (type) {
    case 'b':
        return double(int8_t(p[0]));
    case 'B':
        return double(p[0]);
    case 's':
        return double(qFromBigEndian<qint16>(p));
    case 'S':
        return double(qFromBigEndian<quint16>(p));
    case 'l':
        return double(qFromBigEndian<qint32>(p));
    case 'L':
        return double(qFromBigEndian<quint32>(p));
    case 'q':
        return double(qFromBigEndian<qint32>(p)) / 65536.0;
    case 'f': {
        const quint32 bits = qFromBigEndian<quint32>(p);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return double(value);
    }
    case 'd': {
        const quint64 bits = qFromBigEndian<quint64>(p);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 'j':
        return double(qFromBigEndian<qint64>(p));
    case 'J':
        return double(qFromBigEndian<quint64>(p));
    case 'Q':
        return double(qFromBigEndian<qint64>(p)) / 4294967296.0;
    default:
        return 0;
    }
}

bool isKeyCharacter(uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ';
}

// Expands a structure description such as "JlllSSSSBB" or "f[8]L" into one type per field; empty
// when it names a type without numbers or is malformed.
std::vector<char> expandStructure(const QByteArray& description) {
    std::vector<char> fields;
    for (qsizetype i = 0; i < description.size(); ++i) {
        const char type = description[i];
        if (type == 0)
            break;
        if (valueSize(type) == 0)
            return {};
        int count = 1;
        if (i + 1 < description.size() && description[i + 1] == '[') {
            const qsizetype close = description.indexOf(']', i + 2);
            bool ok = false;
            count = close < 0 ? 0 : description.mid(i + 2, close - i - 2).toInt(&ok);
            if (!ok || count < 1 || count > 255)
                return {};
            i = close;
        }
        fields.insert(fields.end(), size_t(count), type);
    }
    return fields;
}

// What the entries of one container say about the samples that follow them.
struct Properties {
    std::vector<double> scales;
    QByteArray structure;
    QString streamName;
    QString units;
    std::optional<uint32_t> totalSamples;
    std::optional<uint64_t> timestampMicros;
    std::optional<uint32_t> gpsFix;
    std::optional<uint32_t> gpsPrecision;
};

struct Entry {
    uint32_t key;
    char type;
    int sampleSize;
    int repeat;
    const uint8_t* data;
    size_t packedSize;
};

QString text(const Entry& e) {
    QByteArray bytes(reinterpret_cast<const char*>(e.data), qsizetype(e.packedSize));
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    return QString::fromLatin1(bytes);
}

std::optional<double> firstValue(const Entry& e) {
    const int size = valueSize(e.type);
    if (size == 0 || e.packedSize < size_t(size))
        return std::nullopt;
    return valueAt(e.data, e.type);
}

class Parser {
public:
    Parser(Payload& out, const QSet<uint32_t>* only)
        : m_out(out)
        , m_only(only) {}

    void container(const uint8_t* data, size_t size, int depth) {
        if (depth > kMaximumDepth) {
            m_out.problems.append(QStringLiteral("nesting deeper than %1 levels").arg(kMaximumDepth));
            return;
        }
        Properties properties;
        size_t at = 0;
        while (at + kHeaderSize <= size) {
            const uint8_t* p = data + at;
            const uint32_t key = qFromBigEndian<quint32>(p);
            if (key == 0) { // padding between entries
                at += 4;
                continue;
            }
            if (!(isKeyCharacter(p[0]) && isKeyCharacter(p[1]) && isKeyCharacter(p[2]) &&
                  isKeyCharacter(p[3]))) {
                m_out.problems.append(QStringLiteral("an entry without a valid key"));
                return;
            }
            const Entry e{key,
                          char(p[4]),
                          p[5],
                          qFromBigEndian<quint16>(p + 6),
                          p + kHeaderSize,
                          size_t(p[5]) * qFromBigEndian<quint16>(p + 6)};
            const size_t padded = (e.packedSize + 3) & ~size_t(3);
            if (padded > size - at - kHeaderSize) {
                m_out.problems.append(
                    QStringLiteral("%1 runs past the end of its container").arg(keyText(key)));
                return;
            }
            at += kHeaderSize + padded;
            if (e.type == 0)
                container(e.data, e.packedSize, depth + 1);
            else
                take(e, properties);
        }
    }

private:
    void take(const Entry& e, Properties& properties) {
        switch (e.key) {
        case fourCC("SCAL"): {
            properties.scales.clear();
            const int size = valueSize(e.type);
            for (size_t i = 0; size > 0 && (i + 1) * size_t(size) <= e.packedSize; ++i)
                properties.scales.push_back(valueAt(e.data + i * size_t(size), e.type));
            return;
        }
        case fourCC("TYPE"):
            properties.structure = QByteArray(reinterpret_cast<const char*>(e.data), qsizetype(e.packedSize));
            return;
        case fourCC("STNM"):
            properties.streamName = text(e);
            return;
        case fourCC("SIUN"):
        case fourCC("UNIT"):
            properties.units = text(e);
            return;
        case fourCC("TSMP"):
            if (auto v = firstValue(e); v && *v >= 0)
                properties.totalSamples = uint32_t(std::min(*v, 4294967295.0));
            return;
        case fourCC("STMP"):
            if (auto v = firstValue(e); v && *v >= 0 && *v < 1.8e19)
                properties.timestampMicros = uint64_t(*v);
            return;
        case fourCC("GPSF"):
            if (auto v = firstValue(e); v && *v >= 0 && *v < 256)
                properties.gpsFix = uint32_t(*v);
            return;
        case fourCC("GPSP"):
            if (auto v = firstValue(e); v && *v >= 0 && *v < 65536)
                properties.gpsPrecision = uint32_t(*v);
            return;
        case fourCC("EMPT"):
        case fourCC("TICK"):
        case fourCC("TOCK"):
        case fourCC("TIMO"):
        case fourCC("DVID"):
            return;
        default:
            break;
        }
        samples(e, properties);
    }

    void samples(const Entry& e, const Properties& properties) {
        if (m_only && !m_only->contains(e.key))
            return;
        std::vector<char> fields;
        if (e.type == '?') {
            fields = expandStructure(properties.structure);
        } else if (const int size = valueSize(e.type); size > 0 && e.sampleSize % size == 0) {
            fields.assign(size_t(e.sampleSize / size), e.type);
        } else {
            return; // text, dates, identifiers and compressed entries carry no samples for us
        }
        int structureSize = 0;
        for (char type : fields)
            structureSize += valueSize(type);
        if (fields.empty() || structureSize != e.sampleSize) {
            m_out.problems.append(
                QStringLiteral("%1 has a sample layout that does not add up").arg(keyText(e.key)));
            return;
        }
        const std::vector<double>& scales = properties.scales;
        if (scales.size() > 1 && scales.size() < fields.size()) {
            m_out.problems.append(QStringLiteral("%1 has fewer scales than values").arg(keyText(e.key)));
            return;
        }
        for (double scale : scales) {
            if (!std::isfinite(scale) || scale == 0) {
                m_out.problems.append(QStringLiteral("%1 has a scale of zero").arg(keyText(e.key)));
                return;
            }
        }
        SensorSamples out;
        out.key = e.key;
        out.elements = int(fields.size());
        out.streamName = properties.streamName;
        out.units = properties.units;
        out.totalSamples = properties.totalSamples;
        out.timestampMicros = properties.timestampMicros;
        out.gpsFix = properties.gpsFix;
        out.gpsPrecision = properties.gpsPrecision;
        out.values.reserve(size_t(e.repeat) * fields.size());
        for (int s = 0; s < e.repeat; ++s) {
            const uint8_t* p = e.data + size_t(s) * size_t(e.sampleSize);
            for (size_t f = 0; f < fields.size(); ++f) {
                const double scale = scales.empty() ? 1.0 : scales.size() == 1 ? scales[0] : scales[f];
                out.values.push_back(valueAt(p, fields[f]) / scale);
                p += valueSize(fields[f]);
            }
        }
        m_out.sensors.push_back(std::move(out));
    }

    Payload& m_out;
    const QSet<uint32_t>* m_only;
};

} // namespace

QString keyText(uint32_t key) {
    QString text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = uint8_t(key >> shift);
        text += isKeyCharacter(c) ? QChar(c) : QChar(u'?');
    }
    return text;
}

Payload parsePayload(const uint8_t* data, size_t size, const QSet<uint32_t>* only) {
    Payload payload;
    if (data && size > 0)
        Parser(payload, only).container(data, size, 0);
    return payload;
}

QByteArray entry(uint32_t key, char type, int sampleSize, int repeat, const QByteArray& packed) {
    QByteArray out(kHeaderSize, '\0');
    qToBigEndian<quint32>(key, out.data());
    out[4] = type;
    out[5] = char(uint8_t(sampleSize));
    qToBigEndian<quint16>(quint16(repeat), out.data() + 6);
    out += packed;
    while (out.size() % 4 != 0)
        out += '\0';
    return out;
}

QByteArray nested(uint32_t key, const QByteArray& children) {
    // As cameras write it: byte-sized samples, or 4-byte ones where the count would not fit 16 bits.
    if (children.size() <= 0xFFFF)
        return entry(key, '\0', 1, int(children.size()), children);
    return entry(key, '\0', 4, int(children.size() / 4), children);
}

QByteArray bigEndian16(const std::vector<int16_t>& values) {
    QByteArray out(qsizetype(values.size() * 2), '\0');
    for (size_t i = 0; i < values.size(); ++i)
        qToBigEndian<qint16>(values[i], out.data() + i * 2);
    return out;
}

QByteArray bigEndian32(const std::vector<int32_t>& values) {
    QByteArray out(qsizetype(values.size() * 4), '\0');
    for (size_t i = 0; i < values.size(); ++i)
        qToBigEndian<qint32>(values[i], out.data() + i * 4);
    return out;
}

QByteArray bigEndianU32(uint32_t value) {
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(value, out.data());
    return out;
}

QByteArray bigEndianU64(uint64_t value) {
    QByteArray out(8, '\0');
    qToBigEndian<quint64>(value, out.data());
    return out;
}

} // namespace velarix::gpmf
