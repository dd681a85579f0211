#pragma once

#include "media/MediaOpen.h"

#include <QList>

namespace velarix {

// Audio streams of an opened input, in container order.
QList<int> audioStreams(const AVFormatContext* context);

// The video stream to take pictures from: the first real video stream (not a cover picture), or -1.
int primaryVideoStream(const AVFormatContext* context);

// The duration of an opened input in seconds from the container or, failing that, its longest
// stream; 0 when neither says.
double containerDuration(const AVFormatContext* context);

// Whether the header leaves a stream's codec unknown, so that packets must be read to find it.
bool streamsNeedProbing(const AVFormatContext* context);
// Makes sure the input's streams and their parameters are known: containers without a header
// (transport streams and the like) only reveal them by probing packets.
Result<void> ensureStreamsKnown(MediaInput& input, const QString& path, const CancelToken* cancel);

// Seconds from the container's start to a timestamp of a stream: times the analysis reports start
// at 0 where the container starts.
double streamSeconds(const AVFormatContext* context, const AVStream* stream, int64_t timestamp);
int64_t streamTimestamp(const AVFormatContext* context, const AVStream* stream, double seconds);

} // namespace velarix
