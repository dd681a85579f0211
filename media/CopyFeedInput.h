#pragma once

#include "media/CopyFeed.h"
#include "media/MediaOpen.h"

#include <memory>

namespace velarix {

// Opens the copy that `feed` carries as a video, its bytes read through the feed as the copy
// writes them (waiting for the copy where the demuxer is ahead of it). `name` names it in errors.
Result<MediaInput> openCopyFeed(std::shared_ptr<CopyFeed> feed, const QString& name,
                                const OpenOptions& options);

} // namespace velarix
