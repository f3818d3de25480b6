// Filter record sizes by type, and clip event handlers.
#include "flash/parse/FilterList.h"

#include <optional>

namespace flash {
namespace {

// Length of a filter's data after its type byte, read from its leading fields.
std::optional<size_t> filterLength(uint8_t type, ByteReader r)
{
    switch (type) {
    case 0: return 23; // drop shadow: colour, blur x/y, angle, distance, strength, flags
    case 1: return 9;  // blur: blur x/y, flags
    case 2: return 15; // glow: colour, blur x/y, strength, flags
    case 3: return 27; // bevel: two colours, blur x/y, angle, distance, strength, flags
    case 4:            // gradient glow
    case 7: {          // gradient bevel: colours and ratios, then as bevel
        const size_t colours = r.u8();
        return 1 + colours * 5 + 19;
    }
    case 5: {          // convolution: matrix size, divisor, bias, matrix, colour, flags
        const size_t columns = r.u8();
        const size_t rows = r.u8();
        return 2 + 4 + 4 + columns * rows * 4 + 4 + 1;
    }
    case 6: return 80; // colour matrix: 20 floats
    default: return std::nullopt;
    }
}

} // namespace

std::vector<Filter> readFilterList(ByteReader& r, std::string& problem)
{
    std::vector<Filter> filters;
    const unsigned count = r.u8();
    for (unsigned i = 0; i < count && !r.failed(); ++i) {
        Filter filter;
        filter.type = r.u8();
        // The size is computed from a copy positioned at the filter's data.
        ByteReader peek = r;
        const auto length = filterLength(filter.type, peek);
        if (!length) {
            problem = "unknown filter type " + std::to_string(filter.type);
            r.fail();
            break;
        }
        const auto data = r.bytes(*length);
        filter.data.assign(data.begin(), data.end());
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::vector<ClipAction> readClipActions(ByteReader& r, uint8_t version, std::string& problem)
{
    std::vector<ClipAction> actions;
    const bool wideFlags = version >= 6;
    auto readFlags = [&] { return wideFlags ? r.u32() : uint32_t(r.u16()); };
    r.u16(); // reserved
    readFlags(); // union of all events
    // Key press is bit 1 of the third flag byte; only 32-bit flags have it.
    constexpr uint32_t kKeyPress = 0x00020000;
    while (!r.failed()) {
        const uint32_t events = readFlags();
        if (events == 0)
            break;
        ClipAction action;
        action.events = events;
        uint32_t size = r.u32();
        if (r.failed())
            break;
        if (size > r.remaining()) {
            problem = "clip action of " + std::to_string(size) + " bytes runs past the tag";
            r.fail();
            break;
        }
        if (wideFlags && (events & kKeyPress) && size > 0) {
            action.keyCode = r.u8();
            --size;
        }
        const auto bytes = r.bytes(size);
        action.actions.assign(bytes.begin(), bytes.end());
        actions.push_back(std::move(action));
    }
    return actions;
}

} // namespace flash
