#pragma once

#include <QString>

#include <optional>

namespace velarix {

// What the container header says about a file found on a card.
struct VideoProbe {
    double duration = 0; // seconds; 0 when unknown
    // Why the file cannot be played, in words for the user; absent when it looks like a whole video.
    std::optional<QString> unreadable;
};

// Reads the header only (no decoding): a file that cannot be opened as a container, that holds no
// video stream, or whose samples lie beyond its end (a recording cut short) is unreadable.
VideoProbe probeVideoFile(const QString& path);

} // namespace velarix
