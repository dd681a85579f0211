#include "media/Mp4Trailer.h"

#include "media/Mp4Boxes.h"

#include <QFile>

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
        const auto header = mp4::readBoxHeader(file, offset, end);
        if (!header || !isBoxType(header->type))
            break;
        if (header->size > end - offset)
            return std::nullopt;
        offset += header->size;
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
