// A timeline's tag stream: placements (with clip actions), removals, labels,
// actions, init actions and frame ends. The main movie and every sprite write
// their frames through one.
#pragma once

#include "Actions.h"
#include "Records.h"
#include "SwfTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace swfw {

enum class PlaceVersion { Auto, V1, V2, V3 };

// Clip event flags with the bit positions they are stored at (SWF 5 keeps the low 16).
namespace clipEvent {
inline constexpr uint32_t Load = 0x00000001;
inline constexpr uint32_t EnterFrame = 0x00000002;
inline constexpr uint32_t Unload = 0x00000004;
inline constexpr uint32_t MouseMove = 0x00000008;
inline constexpr uint32_t MouseDown = 0x00000010;
inline constexpr uint32_t MouseUp = 0x00000020;
inline constexpr uint32_t KeyDown = 0x00000040;
inline constexpr uint32_t KeyUp = 0x00000080;
inline constexpr uint32_t Data = 0x00000100;
inline constexpr uint32_t Initialize = 0x00000200;
inline constexpr uint32_t Press = 0x00000400;
inline constexpr uint32_t Release = 0x00000800;
inline constexpr uint32_t ReleaseOutside = 0x00001000;
inline constexpr uint32_t RollOver = 0x00002000;
inline constexpr uint32_t RollOut = 0x00004000;
inline constexpr uint32_t DragOver = 0x00008000;
inline constexpr uint32_t DragOut = 0x00010000;
inline constexpr uint32_t KeyPress = 0x00020000;
inline constexpr uint32_t Construct = 0x00040000;
} // namespace clipEvent

// One handler of a placed sprite: the events it runs on, the key of a KeyPress
// event, and the action block (End included, as Avm1Assembler::bytes() gives it).
struct ClipAction {
    uint32_t events = 0;
    std::optional<uint8_t> keyCode;
    std::vector<uint8_t> actions;
};

// One PlaceObject. Auto picks PlaceObject3 when a field needs it, PlaceObject2 otherwise.
struct Placement {
    uint16_t depth = 1;
    std::optional<uint16_t> characterId;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
    std::optional<uint16_t> clipDepth;
    std::optional<BlendMode> blendMode;
    std::optional<bool> cacheAsBitmap;
    std::optional<bool> visible;
    std::vector<ClipAction> clipActions; // PlaceObject2/3 from SWF 5 on
    bool move = false; // changes the object already at `depth` (replacing it when a character is given)
    PlaceVersion version = PlaceVersion::Auto;
};

class Timeline {
public:
    // The movie's SWF version decides how clip actions are stored; a timeline
    // made without one refuses them.
    explicit Timeline(uint8_t swfVersion = 0) : m_swfVersion(swfVersion) {}

    Timeline& place(uint16_t depth, uint16_t characterId, const Matrix& matrix = {});
    Timeline& place(const Placement& p);
    Timeline& move(uint16_t depth, const Matrix& matrix);
    Timeline& remove(uint16_t depth);                           // RemoveObject2
    Timeline& removeCharacter(uint16_t depth, uint16_t characterId); // RemoveObject
    Timeline& label(const std::string& name);
    Timeline& actions(const Actions& actions);
    Timeline& actions(std::span<const uint8_t> block); // DoAction of a finished block
    // DoInitAction: runs once, before the first frame that places `spriteId` runs its actions.
    Timeline& initActions(uint16_t spriteId, const Actions& actions);
    Timeline& initActions(uint16_t spriteId, std::span<const uint8_t> block);
    Timeline& showFrame();

    void appendTag(uint16_t code, std::span<const uint8_t> body, TagHeader header = TagHeader::Auto);

    [[nodiscard]] uint8_t swfVersion() const { return m_swfVersion; }
    [[nodiscard]] uint16_t frameCount() const { return m_frames; }
    [[nodiscard]] const std::vector<uint8_t>& tags() const { return m_tags; }

private:
    uint8_t m_swfVersion;
    std::vector<uint8_t> m_tags;
    uint16_t m_frames = 0;
};

} // namespace swfw
