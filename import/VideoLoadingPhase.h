#pragma once

#include <QObject>

namespace velarix {
Q_NAMESPACE

// Stage of a running card scan.
enum class VideoLoadingPhase { idle, scanning, loadingMetadata };
Q_ENUM_NS(VideoLoadingPhase)

} // namespace velarix
