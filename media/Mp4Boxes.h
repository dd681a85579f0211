#pragma once

#include <QByteArray>

#include <optional>

#include <vector>

class QFile;

namespace velarix::mp4 {

// One box of an MP4 file held in memory. Boxes that only hold other boxes (the movie, its tracks and
// the layers between) are parsed into `children`; every other box keeps its body as it was, so that
// what is not understood is written back byte for byte.
struct Box {
    QByteArray type;
    QByteArray body; // leaves only: everything after the header
    std::vector<Box> children;
    bool container = false;

    Box* child(const QByteArray& childType);
    const Box* child(const QByteArray& childType) const;
    // Follows a path of child types, e.g. {"mdia", "minf", "stbl", "stsd"}.
    Box* find(std::initializer_list<const char*> path);
    const Box* find(std::initializer_list<const char*> path) const;
    // The whole box with its header, sizes worked out anew.
    QByteArray serialize() const;
};

// Parses one whole box (header included); false when the bytes are not a well-formed box.
bool parseBox(const QByteArray& bytes, Box* box);

// The track ID of a `trak` box (from its `tkhd`), 0 when unknown.
quint32 trackId(const Box& trak);
// The handler type of a `trak` box (`vide`, `soun`, `tmcd`, `meta`…), empty when unknown.
QByteArray handlerType(const Box& trak);

// Where a top-level box lies in a file; `last` when nothing follows it.
struct TopLevel {
    qint64 offset = 0;
    qint64 size = 0;
    bool last = false;
};

// Finds the last top-level box of a type by walking the headers only.
std::optional<TopLevel> findTopLevel(QFile& file, const QByteArray& type);
// The header of the box at `offset` of a file that ends at `end`: its type and whole size (a size of
// 0 runs to the end). None where fewer than 8 bytes are left or the size is below a header's.
struct BoxHeader {
    QByteArray type;
    qint64 size = 0;
};
std::optional<BoxHeader> readBoxHeader(QFile& file, qint64 offset, qint64 end);
// Reads and parses the movie box (`moov`) of an open file; `where` gets its place.
std::optional<Box> readMovie(QFile& file, TopLevel* where);

} // namespace velarix::mp4
