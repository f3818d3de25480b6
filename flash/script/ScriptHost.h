// The interpreter's window on everything outside the language: clips and
// their timelines, the network, sound, output, time. The stage implements it;
// clips appear as host-backed objects (HostObject) made through the heap.
#pragma once

#include "flash/script/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace flash::script {

enum class GotoPlay : uint8_t { Stop, Play };
enum class PathStyle : uint8_t { Dot, Slash };
enum class UrlMethod : uint8_t { None, Get, Post };
// GetURL2's flags: whether the target names a clip to load into, and whether variables are loaded.
enum class UrlTarget : uint8_t { Window, Clip };
enum class UrlLoad : uint8_t { Document, Variables };

class Object;

struct UrlRequest {
    std::string url; // "FSCommand:..." urls are commands to the player, not pages
    std::string target;
    Object* from = nullptr; // the timeline the call ran on: relative targets start there
    UrlMethod method = UrlMethod::None;
    UrlTarget targetKind = UrlTarget::Window;
    UrlLoad load = UrlLoad::Document;
};

struct FrameCounts {
    uint32_t loaded = 0;
    uint32_t total = 0;
};

struct DragBounds {
    double left = 0, top = 0, right = 0, bottom = 0;
};

enum class DragCenter : uint8_t { AsGrabbed, LockToPointer };

class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // The clip a target path names, seen from `from` ("/", "/a/b", "../x", "_root", "_levelN", "_parent", "a.b", "this"); null if none.
    [[nodiscard]] virtual Object* resolveTarget(Object* from, std::string_view path) = 0;
    // The clip at _levelN (0 is the main movie's root), or null.
    [[nodiscard]] virtual Object* level(int n) = 0;
    // The clip containing `clip`, or null for a root.
    [[nodiscard]] virtual Object* parentOf(Object& clip) = 0;
    // Whether `object` is a clip's script object (typeof says "movieclip").
    [[nodiscard]] virtual bool isClip(const Object& object) const = 0;
    // "_level0.a.b" or "/a/b" for a clip.
    [[nodiscard]] virtual std::string targetPath(Object& clip, PathStyle style) = 0;

    // GetProperty/SetProperty by index (0 _x ... 21 _ymouse); a null clip means no target.
    [[nodiscard]] virtual Value getProperty(Object* clip, int index) = 0;
    virtual void setProperty(Object* clip, int index, const Value& value) = 0;

    // Timelines; frames are 0-based. gotoLabel is false when no frame has the label.
    virtual void gotoFrame(Object& clip, uint32_t frame, GotoPlay play) = 0;
    virtual bool gotoLabel(Object& clip, std::string_view label, GotoPlay play) = 0;
    virtual void play(Object& clip) = 0;
    virtual void stop(Object& clip) = 0;
    virtual void nextFrame(Object& clip) = 0;
    virtual void prevFrame(Object& clip) = 0;
    // Frames loaded and in total, for WaitForFrame.
    [[nodiscard]] virtual FrameCounts frames(Object& clip) = 0;
    // The 0-based frame carrying `label`, if any (for Call and frame strings).
    [[nodiscard]] virtual std::optional<uint32_t> frameOfLabel(Object& clip, std::string_view label) = 0;
    // Runs the actions of a frame of `clip` now, without moving its playhead (the Call action).
    virtual void callFrame(Object& clip, uint32_t frame) = 0;

    // Script-made and script-removed clips, dragging.
    virtual void cloneSprite(Object& source, std::string_view name, int depth) = 0;
    virtual void removeSprite(Object& clip) = 0;
    virtual void startDrag(Object& clip, DragCenter center, std::optional<DragBounds> bounds) = 0;
    virtual void endDrag() = 0;

    // Pages, variables, movies and FSCommands.
    virtual void getUrl(const UrlRequest& request) = 0;
    virtual void toggleQuality() = 0;
    virtual void stopSounds() = 0;

    // One line of trace output.
    virtual void trace(std::string_view line) = 0;
    // Milliseconds since the movie started (getTimer).
    [[nodiscard]] virtual double timeMs() = 0;
    // A random integer in [0, bound); bound is at least 1.
    [[nodiscard]] virtual uint32_t random(uint32_t bound) = 0;
    // One line about a script fault or a limit reached; the movie goes on.
    virtual void report(std::string_view line) = 0;
    // Object.registerClass: clips exported as `linkage` are made by `constructor` (null unregisters).
    virtual bool registerClass(std::string_view linkage, Object* constructor) = 0;

    // The bytes of a local file a movie may read (`url` relative to the movie's
    // folder, or file:); nothing when it is refused, missing or too large. No
    // network address is ever read.
    [[nodiscard]] virtual std::optional<std::string> readLocalFile(std::string_view url)
    {
        (void)url;
        return std::nullopt;
    }
};

} // namespace flash::script
