#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <QString>

#include <memory>
#include <type_traits>

namespace velarix::av {

// Frees a libav object with whichever free function fits: those taking T** also null the pointer.
template <auto Free> struct Deleter {
    template <class T> void operator()(T* p) const {
        if constexpr (std::is_invocable_v<decltype(Free), T**>)
            Free(&p);
        else
            Free(p);
    }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, Deleter<&avformat_close_input>>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, Deleter<&avcodec_free_context>>;
using FramePtr = std::unique_ptr<AVFrame, Deleter<&av_frame_free>>;
using PacketPtr = std::unique_ptr<AVPacket, Deleter<&av_packet_free>>;
using SwrContextPtr = std::unique_ptr<SwrContext, Deleter<&swr_free>>;
using SwsContextPtr = std::unique_ptr<SwsContext, Deleter<&sws_freeContext>>;

// An output context is not closed like an input one: its I/O is closed separately (see OutputFile).
struct OutputContextDeleter {
    void operator()(AVFormatContext* context) const { avformat_free_context(context); }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

// The text of a libav error code.
inline QString errorText(int code) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

} // namespace velarix::av
