#include "media/MediaLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QByteArray>

#include <cstdio>

// Debug messages, FFmpeg's verbose ones among them, are off unless asked for
// (QT_LOGGING_RULES="velarix.media.debug=true").
Q_LOGGING_CATEGORY(lcMedia, "velarix.media", QtInfoMsg)

namespace velarix {

namespace {
void forward(void* context, int level, const char* format, va_list arguments) {
    const bool debug = lcMedia().isDebugEnabled();
    if (level > AV_LOG_WARNING && !debug)
        return;
    char line[1024];
    int printPrefix = 1;
    av_log_format_line2(context, level, format, arguments, line, sizeof line, &printPrefix);
    const QByteArray text = QByteArray(line).trimmed();
    if (text.isEmpty())
        return;
    if (level <= AV_LOG_WARNING)
        qCWarning(lcMedia, "ffmpeg: %s", text.constData());
    else
        qCDebug(lcMedia, "ffmpeg: %s", text.constData());
}
} // namespace

void routeMediaLogs() {
    av_log_set_callback(forward);
    // Frame-level decoder complaints about damaged files are expected and handled; keep them out.
    av_log_set_level(lcMedia().isDebugEnabled() ? AV_LOG_VERBOSE : AV_LOG_ERROR);
}

} // namespace velarix
