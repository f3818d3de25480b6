// Draws an embedded video character: its frame at the placement's ratio.
#pragma once

#include "flash/render/PaintContext.h"
#include "flash/render/Placement.h"

namespace flash {

// The frame fills the stream's declared width x height (pixels, stored as twips).
void paintVideo(const PaintContext& context, const std::shared_ptr<const VideoDef>& video, const Placement& placement);

// The stream's rectangle in its own twips.
[[nodiscard]] Rect videoBounds(const VideoDef& video);

} // namespace flash
