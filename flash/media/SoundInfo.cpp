// Reads the sound info record field by field, stopping at its end.
#include "flash/media/SoundInfo.h"

namespace flash::media {

namespace {

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool has(size_t n) const { return m_at + n <= m_bytes.size(); }
    uint8_t u8() { return m_bytes[m_at++]; }
    uint16_t u16()
    {
        const uint16_t v = uint16_t(m_bytes[m_at] | m_bytes[m_at + 1] << 8);
        m_at += 2;
        return v;
    }
    uint32_t u32() { return uint32_t(u16()) | uint32_t(u16()) << 16; }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_at = 0;
};

} // namespace

SoundInfo parseSoundInfo(std::span<const uint8_t> bytes)
{
    SoundInfo info;
    Reader r(bytes);
    if (!r.has(1))
        return info;
    const uint8_t flags = r.u8();
    info.stop = flags & 0x20;
    info.noMultiple = flags & 0x10;
    if ((flags & 0x01) && r.has(4))
        info.inPoint = r.u32();
    if ((flags & 0x02) && r.has(4))
        info.outPoint = r.u32();
    if ((flags & 0x04) && r.has(2))
        info.loops = r.u16();
    if ((flags & 0x08) && r.has(1)) {
        const uint8_t count = r.u8();
        for (uint8_t i = 0; i < count && r.has(8); ++i) {
            EnvelopePoint point;
            point.position = r.u32();
            point.left = r.u16();
            point.right = r.u16();
            info.envelope.push_back(point);
        }
    }
    return info;
}

} // namespace flash::media
