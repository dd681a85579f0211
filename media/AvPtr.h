#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "core/ErrorKind.h"

#include <QString>

#include <memory>
#include <type_traits>
#include <utility>

namespace velarix {

// The kind of a libav status (AVERROR(e), AVERROR_INVALIDDATA, AVERROR_EXIT, …). The one place
// libav codes are sorted into kinds.
ErrorKind avErrorKind(int status);

} // namespace velarix

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

// An I/O context opened on a file by avio_open: closing it closes the file.
using FileIoPtr = std::unique_ptr<AVIOContext, Deleter<&avio_closep>>;

// An I/O context over our own callbacks. libav may replace its buffer while reading, so the buffer is
// freed through the context, not through the pointer it was allocated as.
struct CustomIoDeleter {
    void operator()(AVIOContext* context) const {
        av_freep(&context->buffer);
        avio_context_free(&context);
    }
};
using CustomIoPtr = std::unique_ptr<AVIOContext, CustomIoDeleter>;

// Owns a dictionary (options, metadata). libav fills and consumes dictionaries through
// AVDictionary**, which address() gives; what an open call leaves in it is freed here.
class Dictionary {
public:
    Dictionary() = default;
    Dictionary(Dictionary&& other) noexcept
        : m_dictionary(std::exchange(other.m_dictionary, nullptr)) {}
    Dictionary& operator=(Dictionary&& other) noexcept {
        std::swap(m_dictionary, other.m_dictionary);
        return *this;
    }
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;
    ~Dictionary() { av_dict_free(&m_dictionary); }

    AVDictionary* get() const { return m_dictionary; }
    AVDictionary** address() { return &m_dictionary; }
    void set(const char* key, const char* value) { av_dict_set(&m_dictionary, key, value, 0); }

private:
    AVDictionary* m_dictionary = nullptr;
};

// An output context is not closed like an input one: its I/O is closed separately, after it.
struct OutputContextDeleter {
    void operator()(AVFormatContext* context) const { avformat_free_context(context); }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

// The text of a libav error code, as libav words it (in English).
inline QString errorText(int code) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

// The reason a libav call failed, for a message: the words of its kind in the user's language where
// it has one, else libav's own.
inline QString reasonText(int code) {
    const ErrorKind kind = avErrorKind(code);
    return kind == ErrorKind::other ? errorText(code) : errorKindText(kind);
}

} // namespace velarix::av
