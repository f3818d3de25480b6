// A timeline's tag stream: placements, removals, labels, actions and frame
// ends. The main movie and every sprite write their frames through one.
#pragma once

#include "Actions.h"
#include "Records.h"
#include "SwfTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace swfw {

enum class PlaceVersion { Auto, V1, V2, V3 };

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
    bool move = false; // changes the object already at `depth` (replacing it when a character is given)
    PlaceVersion version = PlaceVersion::Auto;
};

class Timeline {
public:
    Timeline& place(uint16_t depth, uint16_t characterId, const Matrix& matrix = {});
    Timeline& place(const Placement& p);
    Timeline& move(uint16_t depth, const Matrix& matrix);
    Timeline& remove(uint16_t depth);                           // RemoveObject2
    Timeline& removeCharacter(uint16_t depth, uint16_t characterId); // RemoveObject
    Timeline& label(const std::string& name);
    Timeline& actions(const Actions& actions);
    Timeline& showFrame();

    void appendTag(uint16_t code, std::span<const uint8_t> body, TagHeader header = TagHeader::Auto);

    [[nodiscard]] uint16_t frameCount() const { return m_frames; }
    [[nodiscard]] const std::vector<uint8_t>& tags() const { return m_tags; }

private:
    std::vector<uint8_t> m_tags;
    uint16_t m_frames = 0;
};

} // namespace swfw
