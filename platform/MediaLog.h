#pragma once

namespace velarix {

// Sends FFmpeg's own messages to our log category instead of stderr: warnings and errors as
// warnings, everything else only when the category's debug output is on.
void routeMediaLogs();

} // namespace velarix
