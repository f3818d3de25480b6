// The live display tree: objects with an identity, owned by the clip or button
// that shows them, by depth. The timeline and scripts change it; the renderer
// only reads it.
#pragma once

#include "flash/model/DisplayTags.h"
#include "flash/model/Filters.h"
#include "flash/model/Movie.h"
#include "flash/stage/Drawing.h"
#include "flash/model/BitmapSurface.h"
#include "flash/stage/EditTextState.h"
#include "flash/stage/ObjectRegistry.h"
#include "flash/stage/VideoState.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace flash {

class DisplayList;
class ObjectRegistry;

// Timeline depths are kept as the file gives them (1 to 65535). A depth that a
// script names is stored kScriptDepthBase higher, so that script depth 0 sits
// above every timeline depth a real movie uses and script depth -16384 meets
// timeline depth 0.
using Depth = int32_t;
inline constexpr Depth kScriptDepthBase = 16384;
inline constexpr Depth kLowestScriptDepth = -16384;
inline constexpr Depth kHighestScriptDepth = 1048575;

// Who put an object on stage: the timeline moves and removes only its own.
enum class Origin : uint8_t { Timeline, Script };

// Properties a script has set: the timeline's later moves leave them alone.
enum ScriptLock : uint8_t {
    LockNone = 0,
    LockMatrix = 1,
    LockColor = 2,
};

// A movie clip's own timeline state: the main timeline's, or a sprite instance's.
struct ClipState {
    // Set on a movie's own root (the main movie's, or one loaded into a clip or
    // a level): its timeline, and the characters of everything below it, are that movie's.
    std::shared_ptr<const Movie> movie;
    std::string url;                      // where that movie came from (_url), on a loaded movie's root
    std::shared_ptr<const SpriteDef> def; // null for a movie's main timeline
    const Timeline* timeline = nullptr;   // the frames it plays (the movie's or the sprite's)
    uint32_t currentFrame = 0;            // 0-based
    bool playing = true;
    bool actionsPending = false;          // the current frame's actions have yet to be queued
    bool lockRoot = false;                // _lockroot: _root seen from below is this clip
    std::unique_ptr<DisplayList> children;

    [[nodiscard]] uint32_t frameCount() const { return timeline ? uint32_t(timeline->frames.size()) : 0; }
};

struct DisplayObject {
    DisplayObject() = default;
    ~DisplayObject();
    DisplayObject(const DisplayObject&) = delete;
    DisplayObject& operator=(const DisplayObject&) = delete;

    uint64_t id = 0;                    // unique for the stage's life, never reused; 0 when not enrolled
    ObjectRegistry* registry = nullptr; // where the object is enrolled, if anywhere
    DisplayObject* parent = nullptr;    // the clip or button showing it; null for the root
    Depth depth = 0;
    uint16_t characterId = 0;
    Character character;
    Matrix matrix;
    ColorTransform colorTransform;
    uint16_t ratio = 0;                 // morph position, 0..65535
    std::optional<Depth> clipDepth;     // a mask over depths (depth, clipDepth]
    BlendMode blendMode = BlendMode::Normal;
    std::vector<TypedFilter> filters;   // drawn in order over the object's picture
    bool cacheAsBitmap = false;
    bool visible = true;
    std::string name;
    uint8_t buttonState = ButtonRecord::Up; // buttons: which state records show
    std::unique_ptr<ClipState> clip;        // movie clips only
    // Buttons: the records of the shown state as objects of their own, so that
    // clips among them play; null until the stage starts the button.
    std::unique_ptr<DisplayList> buttonChildren;
    uint32_t placedOnFrame = 0;             // frame of the parent's timeline that placed it
    Origin origin = Origin::Timeline;
    uint8_t scriptLocks = LockNone;
    bool constructPending = false;          // a new clip whose construction has yet to be queued
    bool removed = false;                   // taken off stage, waiting for its unload handlers
    std::span<const ClipAction> clipActions; // event handlers of the placing tag (the movie keeps them)
    std::shared_ptr<const ShapeDef> drawing; // what scripts drew into a clip, beneath its children
    std::unique_ptr<Drawing> drawingBuilder; // the drawing calls behind it, once a script draws
    // setMask: the object whose area clips this one, and on that mask, the object it clips.
    // Both sides are kept so that either may leave the stage first.
    ObjectHandle maskedBy;
    ObjectHandle masking;
    std::unique_ptr<EditTextState> editText; // text fields: their live text, made by the text engine
    std::optional<Rect> scalingGrid; // scale9Grid set by a script, in the clip's twips
    std::string dropTarget;          // _droptarget: the slash path of the clip it was last dragged over
    std::unique_ptr<VideoState> video; // Video objects a script attached a stream to or set up
    std::shared_ptr<const BitmapSurface> surface; // attachBitmap: a BitmapData's pixels shown as they are
    bool surfaceSmoothing = false;
    PixelSnapping surfaceSnapping = PixelSnapping::Auto;

    [[nodiscard]] bool isClip() const { return clip != nullptr; }
};

class DisplayList {
public:
    using Objects = std::map<Depth, std::unique_ptr<DisplayObject>>;

    [[nodiscard]] const Objects& objects() const { return m_objects; }
    [[nodiscard]] Objects& objects() { return m_objects; }
    [[nodiscard]] DisplayObject* at(Depth depth) const
    {
        auto it = m_objects.find(depth);
        return it == m_objects.end() ? nullptr : it->second.get();
    }
    void clear() { m_objects.clear(); }

private:
    Objects m_objects; // drawn in ascending depth order
};

// What a clip or a started button shows now; null for anything else.
[[nodiscard]] inline const DisplayList* liveChildren(const DisplayObject& object)
{
    return object.clip ? object.clip->children.get() : object.buttonChildren.get();
}
[[nodiscard]] inline DisplayList* liveChildren(DisplayObject& object)
{
    return object.clip ? object.clip->children.get() : object.buttonChildren.get();
}

} // namespace flash
