// Tag header decoding: 10-bit code, 6-bit length, 0x3f announcing a 32-bit length.
#include "flash/parse/TagStream.h"

namespace flash {

std::optional<RawTag> TagStream::next()
{
    if (m_reader.atEnd() || m_reader.failed())
        return std::nullopt;
    RawTag tag;
    tag.offset = m_reader.fileOffset();
    const uint16_t codeAndLength = m_reader.u16();
    tag.code = codeAndLength >> 6;
    tag.declaredLength = codeAndLength & 0x3f;
    if (tag.declaredLength == 0x3f)
        tag.declaredLength = m_reader.u32();
    if (m_reader.failed()) {
        m_endedInHeader = true;
        return std::nullopt;
    }
    if (tag.declaredLength > m_reader.remaining()) {
        tag.isTruncated = true;
        tag.body = m_reader.sub(m_reader.remaining());
    } else {
        tag.body = m_reader.sub(tag.declaredLength);
    }
    return tag;
}

} // namespace flash
