// Restrict patterns as an ordered list of ranges; the last range that matches decides.
#include "flash/text/RestrictFilter.h"

namespace flash::text {
namespace {

constexpr size_t kMaxRanges = 4096;

} // namespace

RestrictFilter::RestrictFilter(std::u32string_view pattern)
{
    m_anyByDefault = !pattern.empty() && pattern.front() == U'^';
    bool allowed = true;
    for (size_t i = 0; i < pattern.size() && m_ranges.size() < kMaxRanges; ++i) {
        char32_t c = pattern[i];
        if (c == U'^') {
            allowed = !allowed;
            continue;
        }
        if (c == U'\\' && i + 1 < pattern.size())
            c = pattern[++i];
        char32_t to = c;
        if (i + 2 < pattern.size() && pattern[i + 1] == U'-') {
            size_t next = i + 2;
            if (pattern[next] == U'\\' && next + 1 < pattern.size())
                ++next;
            to = pattern[next];
            i = next;
        }
        m_ranges.push_back({std::min(c, to), std::max(c, to), allowed});
    }
}

bool RestrictFilter::accepts(char32_t c) const
{
    bool accepted = m_anyByDefault;
    for (const Range& range : m_ranges) {
        if (c >= range.from && c <= range.to)
            accepted = range.allowed;
    }
    return accepted;
}

} // namespace flash::text
