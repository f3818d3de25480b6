// Error list, tag counts, dictionary and budget of one load.
#include "flash/parse/ParseContext.h"

#include "flash/parse/TagCodes.h"

namespace flash {
namespace {

// A hostile file can be made of millions of broken tags; keep the list readable.
constexpr size_t kMaxErrors = 200;

} // namespace

void ParseContext::error(uint16_t tagCode, size_t offset, std::string_view what)
{
    if (m_movie.errors.size() >= kMaxErrors) {
        ++m_suppressedErrors;
        return;
    }
    error(tagName(tagCode) + " at offset " + std::to_string(offset) + ": " + std::string(what));
}

void ParseContext::error(std::string message)
{
    if (m_movie.errors.size() >= kMaxErrors) {
        ++m_suppressedErrors;
        return;
    }
    m_movie.errors.push_back(std::move(message));
}

void ParseContext::publishTagCounts()
{
    // End tags close timelines; they are not counted as content.
    for (size_t code = 1; code < m_tagCounts.size(); ++code) {
        if (m_tagCounts[code])
            m_movie.tagCounts[tagName(uint16_t(code))] += int(m_tagCounts[code]);
    }
    if (m_suppressedErrors)
        m_movie.errors.push_back(std::to_string(m_suppressedErrors) + " further errors not listed");
}

void ParseContext::define(uint16_t tagCode, size_t offset, uint16_t id, Character character)
{
    if (m_movie.dictionary.contains(id) && m_freed.erase(id)) {
        auto& versions = m_movie.laterVersions[id];
        // Two definitions within one frame: the later one is what that frame shows.
        if (!versions.empty() && versions.back().fromFrame == mainTimelineFrame)
            versions.back().character = std::move(character);
        else
            versions.push_back({mainTimelineFrame, std::move(character)});
        return;
    }
    if (m_movie.dictionary.contains(id)) {
        error(tagCode, offset, "character id " + std::to_string(id) + " already defined; kept the first");
        return;
    }
    m_movie.dictionary.emplace(id, std::move(character));
}

bool ParseContext::charge(size_t bytes)
{
    if (m_exhausted)
        return false;
    m_charged += bytes;
    if (m_charged > m_limits.maxModelBytes) {
        m_exhausted = true;
        error("movie needs more memory than the load limit allows; the rest is ignored");
        return false;
    }
    return true;
}

} // namespace flash
