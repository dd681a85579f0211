#include "platform/Mp4Trailer.h"

#include <QFile>
#include <QtEndian>

namespace velarix {

namespace {

// The signature that ends a 360 camera's trailer, as its published format descriptions give it.
constexpr char kThreeSixtySignature[] = "8db42d694ccc418790edff439fe026bf";

bool isBoxType(const QByteArray& type) {
    for (const char c : type)
        if (c < 0x20 || c > 0x7e)
            return false;
    return type.size() == 4;
}

} // namespace

std::optional<Mp4Trailer> readMp4Trailer(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 end = file.size();
    qint64 offset = 0;
    while (offset < end) {
        if (!file.seek(offset))
            return std::nullopt;
        const QByteArray header = file.read(16);
        if (header.size() < 8 || !isBoxType(header.mid(4, 4)))
            break;
        qint64 size = qFromBigEndian<quint32>(header.constData());
        if (size == 1 && header.size() == 16)
            size = qint64(qFromBigEndian<quint64>(header.constData() + 8));
        else if (size == 0)
            size = end - offset;
        if (size < 8)
            break;
        if (size > end - offset)
            return std::nullopt;
        offset += size;
    }
    if (offset >= end || offset == 0)
        return std::nullopt;
    Mp4Trailer trailer{offset, end - offset, false};
    const qint64 signatureSize = qint64(sizeof kThreeSixtySignature) - 1;
    if (trailer.size >= signatureSize && file.seek(end - signatureSize))
        trailer.threeSixtyCamera = file.read(signatureSize) == QByteArray(kThreeSixtySignature);
    return trailer;
}

} // namespace velarix
