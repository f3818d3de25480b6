// Splits a run of tags into (code, body) pieces, each body limited to its tag.
#pragma once

#include "flash/io/ByteReader.h"

#include <cstdint>
#include <optional>

namespace flash {

struct RawTag {
    uint16_t code = 0;
    size_t offset = 0;          // of the tag header in the uncompressed file
    uint32_t declaredLength = 0;
    bool isTruncated = false;   // the declared length ran past the data; `body` holds what is there
    ByteReader body;
};

class TagStream {
public:
    explicit TagStream(ByteReader& reader) : m_reader(reader) { }

    // The next tag, or nothing once the data is used up (or a header is cut off).
    [[nodiscard]] std::optional<RawTag> next();
    // True if the data ended inside a tag header.
    [[nodiscard]] bool endedInHeader() const { return m_endedInHeader; }

private:
    ByteReader& m_reader;
    bool m_endedInHeader = false;
};

} // namespace flash
