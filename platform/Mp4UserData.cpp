#include "platform/Mp4UserData.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("VideoTrimming");

struct Box {
    qint64 offset = 0; // of the header
    qint64 size = 0;   // whole box, header included
    int headerSize = 8;
    QByteArray type;
};

// Reads the box header at `offset` of a file; `limit` is where the enclosing space ends.
std::optional<Box> readBoxHeader(QFile& file, qint64 offset, qint64 limit) {
    if (offset + 8 > limit || !file.seek(offset))
        return std::nullopt;
    const QByteArray header = file.read(16);
    if (header.size() < 8)
        return std::nullopt;
    Box box{offset, qFromBigEndian<quint32>(header.constData()), 8, header.mid(4, 4)};
    if (box.size == 1) {
        if (header.size() < 16)
            return std::nullopt;
        box.size = qint64(qFromBigEndian<quint64>(header.constData() + 8));
        box.headerSize = 16;
    } else if (box.size == 0) {
        box.size = limit - offset;
    }
    if (box.size < box.headerSize || offset + box.size > limit)
        return std::nullopt;
    return box;
}

// The same over bytes in memory.
std::optional<Box> boxAt(const QByteArray& bytes, qint64 offset, qint64 limit) {
    if (offset + 8 > limit)
        return std::nullopt;
    const char* data = bytes.constData() + offset;
    Box box{offset, qFromBigEndian<quint32>(data), 8, QByteArray(data + 4, 4)};
    if (box.size == 1) {
        if (offset + 16 > limit)
            return std::nullopt;
        box.size = qint64(qFromBigEndian<quint64>(data + 8));
        box.headerSize = 16;
    } else if (box.size == 0) {
        box.size = limit - offset;
    }
    if (box.size < box.headerSize || offset + box.size > limit)
        return std::nullopt;
    return box;
}

std::optional<Box> findTopLevel(QFile& file, const QByteArray& type, Box* last = nullptr) {
    std::optional<Box> found;
    const qint64 size = file.size();
    for (qint64 offset = 0; offset < size;) {
        auto box = readBoxHeader(file, offset, size);
        if (!box)
            break;
        if (box->type == type)
            found = box;
        if (last)
            *last = *box;
        offset += box->size;
    }
    return found;
}

std::optional<Box> findChild(const QByteArray& bytes, const Box& parent, const QByteArray& type) {
    for (qint64 offset = parent.offset + parent.headerSize; offset < parent.offset + parent.size;) {
        auto box = boxAt(bytes, offset, parent.offset + parent.size);
        if (!box)
            return std::nullopt;
        if (box->type == type)
            return box;
        offset += box->size;
    }
    return std::nullopt;
}

// Grows the size field of a box held in `bytes` by `extra` bytes.
bool growBox(QByteArray& bytes, const Box& box, qint64 extra) {
    char* data = bytes.data() + box.offset;
    if (box.headerSize == 16) {
        qToBigEndian<quint64>(quint64(box.size + extra), data + 8);
        return true;
    }
    if (box.size + extra > 0xFFFFFFFFll)
        return false;
    qToBigEndian<quint32>(quint32(box.size + extra), data);
    return true;
}

Error failure(const QString& path, const QString& reason) {
    return Error::make(kDomain, 0,
                       QStringLiteral("Could not carry the camera data over to %1: %2")
                           .arg(QFileInfo(path).fileName(), reason));
}

} // namespace

Result<void> carryOverMovieUserData(const QString& sourcePath, const QString& outputPath) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return failure(outputPath, source.errorString());
    const auto sourceMoov = findTopLevel(source, "moov");
    if (!sourceMoov)
        return {};
    // Only the movie box's own children are walked: the user data box sits among them.
    QByteArray sourceUserData;
    {
        const qint64 end = sourceMoov->offset + sourceMoov->size;
        for (qint64 offset = sourceMoov->offset + sourceMoov->headerSize; offset < end;) {
            auto box = readBoxHeader(source, offset, end);
            if (!box)
                break;
            if (box->type == "udta") {
                source.seek(box->offset);
                sourceUserData = source.read(box->size);
                break;
            }
            offset += box->size;
        }
    }
    if (sourceUserData.isEmpty())
        return {};

    QFile output(outputPath);
    if (!output.open(QIODevice::ReadWrite))
        return failure(outputPath, output.errorString());
    Box last;
    const auto moov = findTopLevel(output, "moov", &last);
    if (!moov || moov->offset != last.offset)
        return failure(outputPath, QStringLiteral("the movie header is not at the end of the file"));
    output.seek(moov->offset);
    QByteArray movie = output.read(moov->size);
    if (movie.size() != moov->size)
        return failure(outputPath, output.errorString());

    Box movieBox = *moov;
    movieBox.offset = 0;
    QByteArray addition;
    const auto userData = findChild(movie, movieBox, "udta");
    const auto sourceBox = boxAt(sourceUserData, 0, sourceUserData.size());
    if (!sourceBox)
        return {};
    if (!userData) {
        addition = sourceUserData;
        movie.append(addition);
    } else {
        // Entries of the source's box that the output's does not have go at the end of it.
        QSet<QByteArray> present;
        for (qint64 offset = userData->offset + userData->headerSize;
             offset < userData->offset + userData->size;) {
            auto child = boxAt(movie, offset, userData->offset + userData->size);
            if (!child)
                break;
            present.insert(child->type);
            offset += child->size;
        }
        for (qint64 offset = sourceBox->headerSize; offset < sourceBox->size;) {
            auto child = boxAt(sourceUserData, offset, sourceBox->size);
            if (!child)
                break;
            if (!present.contains(child->type))
                addition.append(sourceUserData.mid(child->offset, child->size));
            offset += child->size;
        }
        if (addition.isEmpty())
            return {};
        movie.insert(userData->offset + userData->size, addition);
        if (!growBox(movie, *userData, addition.size()))
            return failure(outputPath, QStringLiteral("the user data is too large"));
    }
    if (!growBox(movie, movieBox, addition.size()))
        return failure(outputPath, QStringLiteral("the movie header is too large"));

    // The movie box is last, so nothing after it moves; the media data offsets stay valid.
    if (!output.seek(moov->offset) || output.write(movie) != movie.size() || !output.flush())
        return failure(outputPath, output.errorString());
    // The copy is made durable before it replaces anything; this change comes after that.
    if (::fdatasync(output.handle()) != 0)
        return failure(outputPath, QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

} // namespace velarix
