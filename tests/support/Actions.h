// A small builder for the timeline actions of a DoAction or button action list.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace swfw {

class Actions {
public:
    Actions& stop() { return op(0x07); }
    Actions& play() { return op(0x06); }
    Actions& nextFrame() { return op(0x04); }
    Actions& prevFrame() { return op(0x05); }
    Actions& gotoFrame(uint16_t frame); // 0-based
    Actions& gotoLabel(std::string_view label);
    Actions& raw(std::vector<uint8_t> bytes);

    // The actions followed by the end marker.
    [[nodiscard]] std::vector<uint8_t> bytes() const;

private:
    Actions& op(uint8_t code);
    Actions& opWithData(uint8_t code, const std::vector<uint8_t>& data);

    std::vector<uint8_t> m_code;
};

} // namespace swfw
