#pragma once

#include <QSize>
#include <QString>

namespace velarix::test {

// A short, small clip that sounds and looks like a jump: quiet cabin noise, wind noise rising to full
// strength over 3 s from the exit, a quiet canopy ride from the opening on, and the picture turned
// upside down at the opening (the jolt). Made with the ffmpeg command.
struct SkydiveClip {
    double duration = 150;
    double exitTime = 20;
    double openingTime = 75;
    bool audio = true;
    bool video = true;
    int sampleRate = 48000;
    QString channelLayout = QStringLiteral("stereo"); // "mono", "stereo", "5.1"
    QSize size{128, 96};
    int frameRate = 5;
    double keyFrameInterval = 1; // seconds, as action cameras write them
    int bFrames = 0;             // B-frames between reference frames (reordered on decoding)
    int rotation = 0;            // degrees, written as the display rotation
    bool secondVideoStream = false;
    bool headerFirst = false; // the MP4 header before the data, so that a cut-off file still opens
};

// Writes the clip as `directory/fileName` (the container follows the name, ".360" is MP4) and
// returns its path, or an empty string with the ffmpeg command's complaint in `error`.
QString makeSkydiveClip(const QString& directory, const QString& fileName, const SkydiveClip& clip,
                        QString* error = nullptr);

} // namespace velarix::test
