#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velarix::test {

// A short clip (picture only) with one timed-metadata track per fourcc of `kinds`, each described as
// its maker documents it: handler `meta` and the sample entry of that fourcc, with samples of the
// documented layout, one a second:
// - `camm`: Google's Camera Motion Metadata (a plain sample entry; samples: reserved, type 2, gyroscope
//   as three little-endian floats);
// - `rtmd`: Sony's real-time metadata of XAVC files (samples of two-byte tag, two-byte length, value);
// - `djmd`: DJI's flight and camera data (samples are protocol buffers);
// - `mebx`: QuickTime timed metadata (the sample entry names its key in a `keys` box; samples are
//   boxes of that key's local id holding the value);
// - `gpmd`: GoPro's GPMF, as the camera writes it.
// The MP4 writer makes the tracks as `gpmd` tracks; their sample entries are then rewritten. Gives an
// error text, empty on success.
QString makeTimedMetadataClip(const QString& path, const QList<QByteArray>& kinds, double seconds = 3);

} // namespace velarix::test
