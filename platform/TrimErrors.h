#pragma once

#include "platform/Result.h"

#include <QString>

namespace velarix {

// The error domain of trimming: the analysis, the export and the media steps under them. The numbers
// are kept as they are, since callers compare them. Where no code below fits, a step passes on the
// errno or libav (AVERROR) code of the failure, so compare a code together with the step it came from.
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

inline Error trimError(TrimErrorCode code, QString message) {
    return Error::make(kTrimErrorDomain, int(code), std::move(message));
}

// An error in the trimming domain carrying a system or libav code.
inline Error trimError(int code, QString message) {
    return Error::make(kTrimErrorDomain, code, std::move(message));
}

} // namespace velarix
