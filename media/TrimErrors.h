#pragma once

#include "core/Result.h"
#include "media/AvPtr.h"

#include <QString>

namespace velarix {

// The error domain of trimming: the analysis, the export and the media steps under them. The numbers
// are kept as they are, since callers compare them, and they are the only codes of the domain: a
// failure of the system or of libav has the code `failed`, and what went wrong is its kind.
inline const QString kTrimErrorDomain = QStringLiteral("VideoTrimming");

enum class TrimErrorCode : int {
    failed = 0,           // a step failed in a way the message tells (a bad copy, an odd layout)
    audioReaderSetup = 1, // "Unable to prepare the audio reader."
    audioStart = 2,       // "Audio analysis failed to start."
    audioRead = 3,        // "Audio analysis failed."
    noRange = 4,          // "No trim range available."
    noExportSession = 5,  // "Unable to create an export session.": no usable stream, the muxer refused
    rangeOutsideClip = 6, // the range does not lie within the clip, or its duration is unknown
};

inline Error trimError(TrimErrorCode code, QString message, ErrorKind kind = ErrorKind::other) {
    return Error::make(kTrimErrorDomain, int(code), std::move(message), kind);
}

// A step failed on an errno value.
inline Error trimSystemError(int error, QString message) {
    return trimError(TrimErrorCode::failed, std::move(message), errnoKind(error));
}

// A step failed on an earlier error, whose kind it keeps.
inline Error trimErrorFrom(const Error& cause, QString message) {
    return trimError(TrimErrorCode::failed, std::move(message), cause.kind);
}

// A step failed on a libav status.
inline Error trimMediaError(int status, QString message) {
    return trimError(TrimErrorCode::failed, std::move(message), avErrorKind(status));
}

} // namespace velarix
