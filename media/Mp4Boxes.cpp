#include "media/Mp4Boxes.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace velarix::mp4 {

namespace {

// The boxes parsed into children: the path from the movie down to each track's sample description.
bool isContainer(const QByteArray& type) {
    static const QByteArray types[] = {"moov", "trak", "mdia", "minf", "stbl",
                                       "udta", "edts", "tref", "dinf"};
    return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

bool parseAt(const QByteArray& bytes, qint64 offset, qint64 limit, Box* box, qint64* size, int depth) {
    if (offset + 8 > limit || depth > 16)
        return false;
    const char* data = bytes.constData() + offset;
    qint64 boxSize = qFromBigEndian<quint32>(data);
    int header = 8;
    if (boxSize == 1) {
        if (offset + 16 > limit)
            return false;
        boxSize = qint64(qFromBigEndian<quint64>(data + 8));
        header = 16;
    } else if (boxSize == 0) {
        boxSize = limit - offset;
    }
    if (boxSize < header || boxSize > limit - offset)
        return false;
    box->type = QByteArray(data + 4, 4);
    box->container = isContainer(box->type);
    box->children.clear();
    box->body.clear();
    *size = boxSize;
    if (!box->container) {
        box->body = bytes.mid(offset + header, boxSize - header);
        return true;
    }
    for (qint64 at = offset + header; at < offset + boxSize;) {
        Box child;
        qint64 childSize = 0;
        // Padding or damage at the end of a container is left out rather than failing the whole.
        if (!parseAt(bytes, at, offset + boxSize, &child, &childSize, depth + 1))
            break;
        box->children.push_back(std::move(child));
        at += childSize;
    }
    return true;
}

} // namespace

Box* Box::child(const QByteArray& childType) {
    for (Box& box : children)
        if (box.type == childType)
            return &box;
    return nullptr;
}

const Box* Box::child(const QByteArray& childType) const {
    return const_cast<Box*>(this)->child(childType);
}

Box* Box::find(std::initializer_list<const char*> path) {
    Box* box = this;
    for (const char* step : path) {
        box = box->child(QByteArray(step));
        if (!box)
            return nullptr;
    }
    return box;
}

const Box* Box::find(std::initializer_list<const char*> path) const {
    return const_cast<Box*>(this)->find(path);
}

QByteArray Box::serialize() const {
    QByteArray content;
    if (container) {
        for (const Box& box : children)
            content += box.serialize();
    } else {
        content = body;
    }
    QByteArray out;
    const qint64 size = content.size() + 8;
    if (size <= 0xFFFFFFFFll) {
        out.resize(8);
        qToBigEndian<quint32>(quint32(size), out.data());
        memcpy(out.data() + 4, type.constData(), 4);
    } else {
        out.resize(16);
        qToBigEndian<quint32>(1, out.data());
        memcpy(out.data() + 4, type.constData(), 4);
        qToBigEndian<quint64>(quint64(size + 8), out.data() + 8);
    }
    return out + content;
}

bool parseBox(const QByteArray& bytes, Box* box) {
    qint64 size = 0;
    return parseAt(bytes, 0, bytes.size(), box, &size, 0) && size == bytes.size();
}

quint32 trackId(const Box& trak) {
    const Box* header = trak.child("tkhd");
    if (!header || header->body.size() < 4)
        return 0;
    // Version 1 headers have 64-bit creation and modification times before the ID.
    const qint64 at = header->body[0] == 1 ? 20 : 12;
    if (header->body.size() < at + 4)
        return 0;
    return qFromBigEndian<quint32>(header->body.constData() + at);
}

QByteArray handlerType(const Box& trak) {
    const Box* handler = trak.find({"mdia", "hdlr"});
    if (!handler || handler->body.size() < 12)
        return {};
    return handler->body.mid(8, 4);
}

std::optional<BoxHeader> readBoxHeader(QFile& file, qint64 offset, qint64 end) {
    if (offset + 8 > end || !file.seek(offset))
        return std::nullopt;
    const QByteArray header = file.read(16);
    if (header.size() < 8)
        return std::nullopt;
    qint64 size = qFromBigEndian<quint32>(header.constData());
    if (size == 1 && header.size() == 16)
        size = qint64(qFromBigEndian<quint64>(header.constData() + 8));
    else if (size == 0)
        size = end - offset;
    if (size < 8)
        return std::nullopt;
    return BoxHeader{header.mid(4, 4), size};
}

// Finds the top-level box of a type by walking the headers only.
std::optional<TopLevel> findTopLevel(QFile& file, const QByteArray& type) {
    std::optional<TopLevel> found;
    const qint64 end = file.size();
    for (qint64 offset = 0; offset + 8 <= end;) {
        const auto header = readBoxHeader(file, offset, end);
        if (!header || header->size > end - offset)
            break;
        const qint64 size = header->size;
        if (header->type == type)
            found = TopLevel{offset, size, offset + size == end};
        else if (found)
            found->last = false;
        offset += size;
    }
    return found;
}

std::optional<mp4::Box> readMovie(QFile& file, TopLevel* where) {
    const auto movie = findTopLevel(file, "moov");
    // A movie header of hundreds of megabytes is not a camera's; it is not read into memory.
    if (!movie || movie->size > 256ll * 1024 * 1024 || !file.seek(movie->offset))
        return std::nullopt;
    mp4::Box box;
    if (!mp4::parseBox(file.read(movie->size), &box))
        return std::nullopt;
    if (where)
        *where = *movie;
    return box;
}

} // namespace velarix::mp4
