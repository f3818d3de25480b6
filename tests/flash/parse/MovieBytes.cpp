// Test movie writer.
#include "MovieBytes.h"

#include <lzma.h>
#include <zlib.h>

#include <stdexcept>

namespace flash::test {

Bytes& Bytes::ub(uint32_t v, unsigned n)
{
    for (unsigned i = n; i-- > 0;) {
        m_bitBuffer = uint8_t(m_bitBuffer << 1 | ((v >> i) & 1));
        if (++m_bitCount == 8) {
            m_data.push_back(m_bitBuffer);
            m_bitBuffer = 0;
            m_bitCount = 0;
        }
    }
    return *this;
}

Bytes& Bytes::flushBits()
{
    if (m_bitCount)
        ub(0, 8 - m_bitCount);
    return *this;
}

Bytes& Bytes::rect(int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax, unsigned bits)
{
    return ub(bits, 5).sb(xMin, bits).sb(xMax, bits).sb(yMin, bits).sb(yMax, bits).flushBits();
}

std::vector<uint8_t> tag(uint16_t code, std::span<const uint8_t> body, bool forceLong)
{
    Bytes b;
    if (body.size() < 0x3f && !forceLong) {
        b.u16(uint16_t(code << 6 | body.size()));
    } else {
        b.u16(uint16_t(code << 6 | 0x3f)).u32(uint32_t(body.size()));
    }
    b.append(body);
    return b.data();
}

std::vector<uint8_t> tagWithLength(uint16_t code, uint32_t declaredLength, std::span<const uint8_t> body)
{
    Bytes b;
    b.u16(uint16_t(code << 6 | 0x3f)).u32(declaredLength).append(body);
    return b.data();
}

std::vector<uint8_t> zlibCompress(std::span<const uint8_t> data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), uLong(data.size()), 9) != Z_OK)
        throw std::runtime_error("zlib compress failed");
    out.resize(size);
    return out;
}

std::vector<uint8_t> lzmaCompress(std::span<const uint8_t> data, std::vector<uint8_t>& properties)
{
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    properties.assign(5, 0);
    if (lzma_properties_encode(filters, properties.data()) != LZMA_OK)
        throw std::runtime_error("lzma properties failed");
    std::vector<uint8_t> out(data.size() + data.size() / 2 + 1024);
    size_t outPos = 0;
    lzma_stream s = LZMA_STREAM_INIT;
    if (lzma_raw_encoder(&s, filters) != LZMA_OK)
        throw std::runtime_error("lzma encoder failed");
    s.next_in = data.data();
    s.avail_in = data.size();
    s.next_out = out.data();
    s.avail_out = out.size();
    while (lzma_code(&s, LZMA_FINISH) == LZMA_OK) { }
    outPos = out.size() - s.avail_out;
    lzma_end(&s);
    out.resize(outPos);
    return out;
}

std::vector<uint8_t> movie(std::span<const uint8_t> tags, const MovieOptions& options)
{
    Bytes content;
    content.rect(0, 11000, 0, 8000).u16(options.frameRate).u16(options.headerFrames).append(tags);
    const uint32_t realLength = uint32_t(content.size() + 8);
    const uint32_t declared = options.declaredLength < 0 ? realLength : uint32_t(options.declaredLength);
    Bytes file;
    file.u8(uint8_t(options.signature)).u8('W').u8('S').u8(options.version).u32(declared);
    if (options.signature == 'C') {
        file.append(zlibCompress(content));
    } else if (options.signature == 'Z') {
        std::vector<uint8_t> props;
        const auto compressed = lzmaCompress(content, props);
        file.u32(uint32_t(compressed.size())).append(props).append(compressed);
    } else {
        file.append(content);
    }
    return file.data();
}

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<uint8_t> showFrame() { return tag(1); }
std::vector<uint8_t> endTag() { return tag(0); }

std::vector<uint8_t> squareShape(uint16_t id)
{
    Bytes b;
    b.u16(id).rect(0, 100, 0, 100);
    b.u8(1).u8(0x00).u8(255).u8(0).u8(0); // one solid red fill
    b.u8(0);                               // no line styles
    b.ub(1, 4).ub(0, 4);                   // 1 fill bit, 0 line bits
    // Style change: move to (0,0), fill1 = 1.
    b.ub(0, 1).ub(0b00101, 5).ub(1, 5).sb(0, 1).sb(0, 1).ub(1, 1);
    // Four straight edges: right, down, left, up (vertical/horizontal forms).
    auto hline = [&](int dx) { b.ub(1, 1).ub(1, 1).ub(8, 4).ub(0, 1).ub(0, 1).sb(dx, 10); };
    auto vline = [&](int dy) { b.ub(1, 1).ub(1, 1).ub(8, 4).ub(0, 1).ub(1, 1).sb(dy, 10); };
    hline(100);
    vline(100);
    hline(-100);
    vline(-100);
    b.ub(0, 6).flushBits();                // end of shape
    return tag(2, b);
}

std::vector<uint8_t> place2(uint16_t depth, uint16_t characterId)
{
    Bytes b;
    b.u8(0x06).u16(depth).u16(characterId).identityMatrix();
    return tag(26, b);
}

std::vector<uint8_t> removeObject2(uint16_t depth)
{
    Bytes b;
    b.u16(depth);
    return tag(28, b);
}

std::vector<uint8_t> frameLabel(const std::string& label)
{
    Bytes b;
    b.cString(label);
    return tag(43, b);
}

std::vector<uint8_t> sprite(uint16_t id, uint16_t frames, std::span<const uint8_t> tags)
{
    Bytes b;
    b.u16(id).u16(frames).append(tags);
    return tag(39, b, true);
}

} // namespace flash::test
