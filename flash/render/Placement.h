// One character about to be drawn, with everything its placement decided.
#pragma once

#include "flash/stage/DisplayList.h"

#include <span>

namespace flash {

struct Placement {
    const Character* character = nullptr;
    Matrix toView;                         // the character's twips to view pixels
    ColorTransform transform;              // accumulated from all parents
    uint16_t ratio = 0;                    // morph shapes
    const DisplayList* children = nullptr; // sprites, and buttons the timeline started
    uint8_t buttonState = ButtonRecord::Up;
    BlendMode blend = BlendMode::Normal;
    std::shared_ptr<const ShapeDef> drawing; // what scripts drew into a clip, beneath its children
    const EditTextState* editText = nullptr; // a text field's live text and settings
    std::optional<Rect> scalingGrid;         // a grid a script gave the instance
    const VideoState* video = nullptr;       // a Video object's attached stream and settings
    std::span<const TypedFilter> filters;    // drawn over the object's picture, in order
    const BitmapSurface* surface = nullptr;  // attachBitmap: pixels shown instead of a definition
    bool surfaceSmoothing = false;
    PixelSnapping surfaceSnapping = PixelSnapping::Auto;
    const DisplayObject* object = nullptr;   // the live object placed, if any (cached surfaces are its)
    bool cacheAsBitmap = false;
};

// A button the timeline started draws what it placed; any other button, its definition.
[[nodiscard]] inline bool showsLiveChildren(const Placement& placement)
{
    return placement.children && !placement.children->objects().empty();
}

// Where `object` of a display list lands, its parent drawn by `parentToView`
// with `parentTransform`: the one place that reads a display object for drawing.
[[nodiscard]] inline Placement placementOf(const DisplayObject& object, const Matrix& parentToView,
                                           const ColorTransform& parentTransform = {})
{
    Placement placement;
    placement.character = &object.character;
    placement.toView = parentToView.multiplied(object.matrix);
    placement.transform = parentTransform.multiplied(object.colorTransform);
    placement.ratio = object.ratio;
    placement.children = liveChildren(object);
    placement.buttonState = object.buttonState;
    placement.blend = object.blendMode;
    placement.drawing = object.drawing;
    placement.editText = object.editText.get();
    placement.scalingGrid = object.scalingGrid;
    placement.video = object.video.get();
    placement.filters = object.filters;
    placement.surface = object.surface.get();
    placement.surfaceSmoothing = object.surfaceSmoothing;
    placement.surfaceSnapping = object.surfaceSnapping;
    placement.object = &object;
    placement.cacheAsBitmap = object.cacheAsBitmap;
    return placement;
}

// Sprites in sprites and buttons in buttons are followed this deep at most.
inline constexpr int kMaxNesting = 64;

} // namespace flash
