#pragma once

#include <QString>

#include <optional>

namespace velarix {

// Bytes after a file's last top-level MP4 box: no MP4 reader sees them and no muxer writes them
// again. A 360 camera keeps its own sensor, exposure and stitching data there.
struct Mp4Trailer {
    qint64 offset = 0;
    qint64 size = 0;
    bool threeSixtyCamera = false; // ends in the 360 camera's signature
};

// The trailer of the file at `path`; absent when its boxes run to its end, when it cannot be read,
// or when its last box is cut short (a truncated recording, not extra data).
std::optional<Mp4Trailer> readMp4Trailer(const QString& path);

} // namespace velarix
