// The timeline's control tags: what a frame does to the display list.
#pragma once

#include "flash/model/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace flash {

enum class BlendMode : uint8_t {
    Normal = 0, Layer = 2, Multiply, Screen, Lighten, Darken, Difference,
    Add, Subtract, Invert, Alpha, Erase, Overlay, HardLight,
};

// A filter as stored; decodeFilter (FilterDecode.h) reads it into its typed form.
struct Filter {
    uint8_t type = 0;
    std::vector<uint8_t> data;
};

// An event handler attached to a placed sprite (onClipEvent).
struct ClipAction {
    uint32_t events = 0;   // event flag bits as stored
    uint8_t keyCode = 0;
    std::vector<uint8_t> actions;
};

// PlaceObject 1/2/3. Absent optionals mean "keep what the object has" on a move.
struct PlaceObject {
    uint16_t depth = 0;
    bool isMove = false;                 // modifies the object at depth (with a character: replaces it)
    std::optional<uint16_t> characterId;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clipDepth;
    std::optional<BlendMode> blendMode;
    std::optional<std::vector<Filter>> filters;
    std::optional<bool> cacheAsBitmap;
    std::optional<bool> visible;
    std::optional<Rgba> backgroundColor;
    std::optional<std::string> className;
    std::vector<ClipAction> clipActions;
};

struct RemoveObject {
    uint16_t depth = 0;
    std::optional<uint16_t> characterId; // RemoveObject (1) names it
};

struct DoAction {
    std::vector<uint8_t> actions; // action bytes, run after the frame's display changes
    std::optional<uint16_t> initSpriteId; // DoInitAction
};

struct StartSound {
    uint16_t soundId = 0;
    std::vector<uint8_t> info; // sound info record, decoded by the sound stage
};

// A tag of a frame that the timeline handles; unknown tags never get here.
using ControlTag = std::variant<PlaceObject, RemoveObject, DoAction, StartSound>;

// How a sound's samples are stored: codec, rate, sample size and channels, as
// DefineSound, StartSound and the stream heads give them.
struct SoundFormat {
    uint8_t codec = 0;  // 0/3 uncompressed, 1 ADPCM, 2 MP3, 4-6 Nellymoser, 11 Speex
    uint8_t rate = 0;   // 0: 5.5 kHz, 1: 11 kHz, 2: 22 kHz, 3: 44 kHz
    bool is16Bit = false;
    bool stereo = false;
    friend bool operator==(const SoundFormat&, const SoundFormat&) = default;
};

// SoundStreamHead(2): the sound a timeline streams, one block a frame.
struct SoundStreamHead {
    SoundFormat format;
    uint16_t samplesPerBlock = 0; // per channel, as the header promises
    int16_t latencySeek = 0;      // MP3: samples to drop at the start
};

struct Frame {
    std::vector<ControlTag> tags;
    std::vector<std::string> labels; // FrameLabel tags of this frame
    std::vector<uint8_t> soundBlock; // SoundStreamBlock of this frame, if any
};

struct Scene {
    uint32_t offset = 0; // first frame, 0-based
    std::string name;
};

struct Timeline {
    std::vector<Frame> frames; // the real frames: one per ShowFrame (a trailing partial frame counts)
    std::vector<Scene> scenes;
    std::optional<SoundStreamHead> soundStream;

    // 0-based frame carrying `label` (compared without regard to case), if any.
    [[nodiscard]] std::optional<uint32_t> frameOfLabel(const std::string& label) const;
};

} // namespace flash
