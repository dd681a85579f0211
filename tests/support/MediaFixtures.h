#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

namespace velarix::test {

// A synthesised clip, the one kind every test makes. The picture either shows its own frame number
// as a row of black and white bars (bit i of the number is bar i, least significant bit on the left),
// so that a test can read back which frame a decoder produced, or a moving test pattern. The sound is
// pink noise: quiet in the cabin, wind rising to full strength over `windRise` seconds from the exit,
// quiet again from the opening, where the test pattern also turns upside down (the opening's jolt).
// Every field has a default, so that a recipe names only what differs: {.seconds = 6, .fps = 25}.
struct ClipRecipe {
    enum class Picture { frameNumbers, testPattern };
    double seconds = 40;
    Picture picture = Picture::frameNumbers;
    QSize size{128, 96}; // of the test pattern; the frame number bars have a size of their own
    int fps = 10;
    int gop = 10;    // frames between key frames
    int bFrames = 2; // B-frames between reference frames (reordered on decoding)
    bool video = true;
    bool audio = true;
    int sampleRate = 22050;
    QString channelLayout = QStringLiteral("mono"); // "mono", "stereo", "5.1"
    double exitTime = -1;                           // no freefall when negative
    double openingTime = -1;
    double windRise = 0;
    QString creationTime{};         // ISO 8601, e.g. "2023-05-01T10:00:00Z"
    QString timecode{};             // e.g. "10:00:00:00"
    int rotation = 0;               // degrees, stored as a display matrix
    bool secondVideo = false;       // a second video stream, as the two lenses of a .360 file
    bool telemetry = false;         // the camera's sensors as a `gpmd` data stream, one packet a second
    bool cameraUserData = false;    // `FIRM` and `GPMF` entries in the movie's user data box
    bool hevc = false;              // HEVC tagged `hvc1` (parameter sets in the sample description only)
    bool variableFrameRate = false; // every frame for 3 s, then every third: the average rate drifts
    bool headerFirst = false;       // the MP4 header before the data, so that a cut-off file still opens
    // Phone-style keys (`mdta` handler, `keys`, `ilst`) with a location, make and model; in the movie
    // box itself as phones write them, or in its user data box as ffmpeg does.
    enum class PhoneKeys { none, inUserData, inMovie } phoneKeys = PhoneKeys::none;

    // A small recording of a whole jump, as an action camera makes it: 2:30 long, exit at 0:20,
    // opening at 1:15, a key frame every second, stereo sound at 48 kHz.
    static ClipRecipe jump();
};

// Writes the clip (an MP4 container whatever the extension); an error text, empty on success.
QString makeClip(const QString& path, const ClipRecipe& recipe);

// The frame number shown by the first picture a decoder presents for the given video stream of
// the file (index among the video streams); -1 when none could be decoded.
int firstFrameNumber(const QString& path, int videoIndex = 0);
// The same for the last picture presented.
int lastFrameNumber(const QString& path, int videoIndex = 0);

// The frame number a picture of such a clip shows (as saved by a player), -1 when it is none of ours.
int frameNumberShown(const QImage& picture);

// The container's duration in seconds, -1 when unknown.
double containerDuration(const QString& path);

// Counts of the streams of a file by kind, and the first video stream's tags.
struct StreamSummary {
    int video = 0;
    int audio = 0;
    int data = 0;      // gpmd and other data streams (a timecode track included)
    int telemetry = 0; // data streams with the `gpmd` tag
    QString creationTime;
    QString timecode; // the first video stream's
    double rotation = 0;
    double videoStart = 0; // where presentation begins, seconds
    double audioStart = 0;
    bool ok = false;
};
StreamSummary summarizeStreams(const QString& path);

// Runs an independent reader (ffprobe, mediainfo, exiftool…) and gives its output; empty when the
// program is missing or failed.
QString readerOutput(const QString& program, const QStringList& arguments);

// The bytes of the movie header's user data box, empty if there is none.
QByteArray movieUserData(const QString& path);

// Sets modification and access time.
bool setFileTime(const QString& path, const QDateTime& time);

QByteArray fileDigest(const QString& path);

} // namespace velarix::test
