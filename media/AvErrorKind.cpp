#include "media/AvPtr.h"

extern "C" {
#include <libavutil/error.h>
}

namespace velarix {

ErrorKind avErrorKind(int status) {
    switch (status) {
    case AVERROR_EXIT:
        return ErrorKind::cancelled;
    case AVERROR_INVALIDDATA:
    case AVERROR_BSF_NOT_FOUND:
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_STREAM_NOT_FOUND:
    case AVERROR_PATCHWELCOME:
        return ErrorKind::invalidData;
    case AVERROR_EOF:
        // The data ended where the container said there was more.
        return ErrorKind::invalidData;
    default:
        // libav passes system failures on as AVERROR(errno), the negated errno value.
        return status < 0 && status > -4096 ? errnoKind(AVUNERROR(status)) : ErrorKind::other;
    }
}

} // namespace velarix
