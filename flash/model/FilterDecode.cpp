// Filter records: colours as RGBA, sizes as 16.16 fixed point, strengths as
// 8.8, angles in radians, and the flags and pass count packed into a last
// byte (most significant bit first).
#include "flash/model/FilterDecode.h"

#include "flash/io/ByteReader.h"

#include <numbers>
#include <type_traits>

namespace flash {
namespace {

Rgba readRgba(ByteReader& r)
{
    Rgba c;
    c.r = r.u8();
    c.g = r.u8();
    c.b = r.u8();
    c.a = r.u8();
    return c;
}

double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

bool bit(uint8_t flags, int index) { return (flags >> index) & 1; }

// Inner and on-top flags of bevels and gradient filters.
BevelType bevelType(uint8_t flags)
{
    if (bit(flags, 4))
        return BevelType::Full;
    return bit(flags, 7) ? BevelType::Inner : BevelType::Outer;
}

// The flags byte that ends the shadow kinds: inner (or a bevel's type), knockout,
// composite source, and the passes (five bits, or four beside a bevel's type).
template <typename ShadowFilter>
void readShadowFlags(ByteReader& r, ShadowFilter& f)
{
    const uint8_t flags = r.u8();
    if constexpr (requires { f.type; }) {
        f.type = bevelType(flags);
        f.quality = flags & 0x0f;
    } else {
        f.inner = bit(flags, 7);
        f.quality = flags & 0x1f;
    }
    f.knockout = bit(flags, 6);
    f.compositeSource = bit(flags, 5);
}

// Blur, angle, distance and strength, as the kinds with an offset store them.
template <typename OffsetFilter>
void readOffsetBlur(ByteReader& r, OffsetFilter& f)
{
    f.blurX = r.fixed16();
    f.blurY = r.fixed16();
    f.angle = degrees(r.fixed16());
    f.distance = r.fixed16();
    f.strength = r.fixed8();
}

DropShadowFilter readDropShadow(ByteReader& r)
{
    DropShadowFilter f;
    f.color = readRgba(r);
    readOffsetBlur(r, f);
    readShadowFlags(r, f);
    return f;
}

BlurFilter readBlur(ByteReader& r)
{
    BlurFilter f;
    f.blurX = r.fixed16();
    f.blurY = r.fixed16();
    f.quality = r.u8() >> 3;
    return f;
}

GlowFilter readGlow(ByteReader& r)
{
    GlowFilter f;
    f.color = readRgba(r);
    f.blurX = r.fixed16();
    f.blurY = r.fixed16();
    f.strength = r.fixed8();
    readShadowFlags(r, f);
    return f;
}

BevelFilter readBevel(ByteReader& r)
{
    BevelFilter f;
    f.shadowColor = readRgba(r);
    f.highlightColor = readRgba(r);
    readOffsetBlur(r, f);
    readShadowFlags(r, f);
    return f;
}

template <typename GradientFilter>
GradientFilter readGradient(ByteReader& r)
{
    GradientFilter f;
    const size_t count = r.u8();
    // All colours come first, then all ratios: the count must fit the data.
    if (count * 5 > r.remaining()) {
        r.fail();
        return f;
    }
    f.stops.resize(count);
    for (auto& stop : f.stops)
        stop.color = readRgba(r);
    for (auto& stop : f.stops)
        stop.ratio = r.u8();
    readOffsetBlur(r, f);
    readShadowFlags(r, f);
    return f;
}

ConvolutionFilter readConvolution(ByteReader& r)
{
    ConvolutionFilter f;
    f.matrixX = r.u8();
    f.matrixY = r.u8();
    f.divisor = r.f32();
    f.bias = r.f32();
    const size_t cells = size_t(f.matrixX) * size_t(f.matrixY);
    if (cells * 4 > r.remaining()) {
        r.fail();
        return f;
    }
    f.matrix.resize(cells);
    for (double& value : f.matrix)
        value = r.f32();
    f.defaultColor = readRgba(r);
    const uint8_t flags = r.u8();
    f.clamp = bit(flags, 1);
    f.preserveAlpha = bit(flags, 0);
    return f;
}

ColorMatrixFilter readColorMatrix(ByteReader& r)
{
    ColorMatrixFilter f;
    for (double& value : f.matrix)
        value = r.f32();
    return f;
}

static_assert(std::is_same_v<std::variant_alternative_t<7, TypedFilter>, GradientBevelFilter>,
              "the variant follows the file's filter ids");

std::optional<TypedFilter> read(uint8_t type, ByteReader& r)
{
    switch (type) {
    case 0: return readDropShadow(r);
    case 1: return readBlur(r);
    case 2: return readGlow(r);
    case 3: return readBevel(r);
    case 4: return readGradient<GradientGlowFilter>(r);
    case 5: return readConvolution(r);
    case 6: return readColorMatrix(r);
    case 7: return readGradient<GradientBevelFilter>(r);
    default: return std::nullopt;
    }
}

} // namespace

std::optional<TypedFilter> decodeFilter(const Filter& raw)
{
    ByteReader r(raw.data);
    auto filter = read(raw.type, r);
    if (r.failed())
        return std::nullopt;
    return filter;
}

std::vector<TypedFilter> decodeFilters(const std::vector<Filter>& raw)
{
    std::vector<TypedFilter> filters;
    filters.reserve(raw.size());
    for (const Filter& record : raw)
        if (auto filter = decodeFilter(record))
            filters.push_back(std::move(*filter));
    return filters;
}

} // namespace flash
