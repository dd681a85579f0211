#pragma once

#include <QByteArray>

namespace velarix::gpmf {

// Keeps, of a telemetry payload that spans `duration` seconds, the samples that lie within
// [from, to) seconds of its start, each entry's samples counted as spread evenly over the payload, as
// the readers of this format time them. A payload cut short in the file must hold only the samples
// of its stated time, or readers squeeze the rest into it: the camera vendor's parser put them up to
// a second late. Each stream's timestamp (STMP) moves on by the time left out in front, its running
// sample count (TSMP) back by the samples left out behind; streams left without samples go, their
// devices stay. Properties and anything unreadable stay as they are; bytes that are not a payload
// come back unchanged.
QByteArray keepSamplesWithin(const QByteArray& payload, double duration, double from, double to);

} // namespace velarix::gpmf
