// A Video object's live state: the stream a script attached to it and the
// settings a script gave it. The stream's player writes the feed; the
// renderer reads it.
#pragma once

#include "flash/model/VideoPicture.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace flash {

// The pictures of one playing stream, the newest last.
struct VideoFeed {
    std::shared_ptr<const VideoPicture> picture; // null before the first frame
    uint64_t serial = 0;                         // counts pictures, so that a viewer knows a new one
};

struct VideoState {
    std::shared_ptr<const VideoFeed> feed; // attachVideo's stream; null shows the timeline's frames
    uint64_t clearedAt = 0;                // clear(): pictures up to this serial are not shown
    std::optional<bool> smoothing;         // set by a script, over the stream definition's flag
    std::optional<uint8_t> deblocking;

    // What the object shows of its attached stream now (null: nothing).
    [[nodiscard]] const VideoPicture* shownPicture() const
    {
        return feed && feed->picture && feed->serial > clearedAt ? feed->picture.get() : nullptr;
    }
};

} // namespace flash
