// State shared by every tag parser of one load: the movie being built, the
// limits, the error list and the allocation budget.
#pragma once

#include "flash/io/ByteReader.h"
#include "flash/model/Movie.h"
#include "flash/parse/MovieLoader.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace flash {

class TimelineBuilder;

class ParseContext {
public:
    ParseContext(Movie& movie, uint8_t version, const LoadLimits& limits)
        : m_movie(movie), m_version(version), m_limits(limits) { }

    [[nodiscard]] Movie& movie() { return m_movie; }
    [[nodiscard]] uint8_t version() const { return m_version; }
    [[nodiscard]] const LoadLimits& limits() const { return m_limits; }

    // Records a recovered fault: "DefineShape at offset 1234: what".
    void error(uint16_t tagCode, size_t offset, std::string_view what);
    void error(std::string message);

    void countTag(uint16_t code) { ++m_tagCounts[code & 0x3ff]; }
    // Moves the per-code counts into Movie::tagCounts by name (End excluded).
    void publishTagCounts();

    // Adds a definition; the first definition of an id wins, as in players,
    // unless FreeCharacter freed the id: then the new one holds from this frame on.
    void define(uint16_t tagCode, size_t offset, uint16_t id, Character character);
    void freeCharacter(uint16_t id) { m_freed.insert(id); }
    // Frames of the main timeline closed so far: where a redefinition takes effect.
    uint32_t mainTimelineFrame = 0;

    // Accounts for memory the movie model will hold; false once the budget is spent.
    bool charge(size_t bytes);
    [[nodiscard]] bool isExhausted() const { return m_exhausted; }

    uint32_t spriteNesting = 0;

private:
    Movie& m_movie;
    uint8_t m_version;
    const LoadLimits& m_limits;
    std::array<uint32_t, 1024> m_tagCounts{};
    size_t m_charged = 0;
    bool m_exhausted = false;
    size_t m_suppressedErrors = 0;
    std::set<uint16_t> m_freed;
};

// One tag being parsed: its body (limited to the tag's length) and where it is.
struct TagContext {
    ParseContext& ctx;
    TimelineBuilder& timeline;
    uint16_t code;
    size_t offset;
    ByteReader body;
    std::string problem; // set by a handler that rejects the tag

    void reject(std::string what) { problem = std::move(what); }
    [[nodiscard]] bool ok() const { return problem.empty() && !body.failed(); }
    [[nodiscard]] uint8_t version() const { return ctx.version(); }
};

} // namespace flash
