// Frame label lookup.
#include "flash/model/DisplayTags.h"

#include <algorithm>
#include <cctype>

namespace flash {
namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::optional<uint32_t> Timeline::frameOfLabel(const std::string& label) const
{
    for (size_t i = 0; i < frames.size(); ++i) {
        for (const auto& candidate : frames[i].labels) {
            if (equalsIgnoringCase(candidate, label))
                return uint32_t(i);
        }
    }
    return std::nullopt;
}

} // namespace flash
