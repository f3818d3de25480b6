// Tag bodies for shapes, morph shapes and buttons.
#pragma once

#include "Actions.h"
#include "ShapeBuilder.h"
#include "SwfTypes.h"

#include <optional>
#include <span>
#include <vector>

namespace swfw {

enum class FillRule { EvenOdd, NonZero }; // NonZero needs DefineShape4

// DefineShape `version` 1..4.
[[nodiscard]] std::vector<uint8_t> shapeBody(uint16_t id, const ShapeBuilder& shape, int version,
                                             FillRule rule = FillRule::EvenOdd);

// DefineMorphShape `version` 1 or 2. Start and end have the same styles (in
// kind; colours, matrices and widths may differ) and the same number of edges.
[[nodiscard]] std::vector<uint8_t> morphShapeBody(uint16_t id, const ShapeBuilder& start, const ShapeBuilder& end,
                                                  int version);

struct ButtonPart {
    uint8_t states = 1; // 1 up, 2 over, 4 down, 8 hit test
    uint16_t characterId = 0;
    uint16_t depth = 1;
    Matrix matrix;
    std::optional<ColorTransform> colorTransform; // DefineButton2 only
};

// Conditions of a DefineButton2 action, the first stored byte high: released over the button.
inline constexpr uint16_t kButtonRelease = 0x0800;

// All DefineButton2 conditions, in the same first-byte-high form.
namespace buttonCondition {
inline constexpr uint16_t IdleToOverDown = 0x8000;
inline constexpr uint16_t OutDownToIdle = 0x4000;
inline constexpr uint16_t OutDownToOverDown = 0x2000;
inline constexpr uint16_t OverDownToOutDown = 0x1000;
inline constexpr uint16_t OverDownToOverUp = 0x0800; // release
inline constexpr uint16_t OverUpToOverDown = 0x0400; // press
inline constexpr uint16_t OverUpToIdle = 0x0200;     // roll out
inline constexpr uint16_t IdleToOverUp = 0x0100;     // roll over
inline constexpr uint16_t OverDownToIdle = 0x0001;
// A key press condition (SWF 4 on): the key code sits in the seven bits above OverDownToIdle.
[[nodiscard]] inline constexpr uint16_t keyPress(uint8_t key) { return static_cast<uint16_t>((key & 0x7F) << 1); }
} // namespace buttonCondition

class ButtonBuilder {
public:
    ButtonBuilder& part(const ButtonPart& p) { m_parts.push_back(p); return *this; }
    // The action list on release (DefineButton), or one per condition (DefineButton2).
    ButtonBuilder& onRelease(const Actions& a) { return on(kButtonRelease, a); }
    ButtonBuilder& on(uint16_t conditions, const Actions& a) { return on(conditions, a.bytes()); }
    ButtonBuilder& on(uint16_t conditions, std::span<const uint8_t> block) // a finished block, End included
    {
        m_actions.push_back({conditions, {block.begin(), block.end()}});
        return *this;
    }
    ButtonBuilder& trackAsMenu(bool on = true) { m_trackAsMenu = on; return *this; }

    [[nodiscard]] std::vector<uint8_t> body(uint16_t id, int version) const;

private:
    std::vector<ButtonPart> m_parts;
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> m_actions;
    bool m_trackAsMenu = false;
};

} // namespace swfw
