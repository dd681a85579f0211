#pragma once

#include <QLoggingCategory>

// Everything that speaks FFmpeg: opening, reading, the stream copy, the join, FFmpeg's own messages.
Q_DECLARE_LOGGING_CATEGORY(lcMedia)

namespace velarix {

// Sends FFmpeg's own messages to lcMedia instead of stderr: warnings and errors as
// warnings, everything else only when the category's debug output is on.
void routeMediaLogs();

} // namespace velarix
