// Bitmap filters: records decoded from bytes, and their pixels against values
// worked out by hand from the definitions.
#include "flash/model/FilterDecode.h"
#include "flash/render/filters/BoxBlur.h"
#include "flash/render/filters/FilterChain.h"

#include <QImage>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

namespace flash {
namespace {

// ---- Pictures --------------------------------------------------------------

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QRgb raw(const QImage& image, int x, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]; }
void setRaw(QImage& image, int x, int y, QRgb value) { reinterpret_cast<QRgb*>(image.scanLine(y))[x] = value; }

void fill(QImage& image, const QRect& rect, QRgb premultiplied)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            setRaw(image, x, y, premultiplied);
}

QRgb grey(int v, int a = 255) { return qRgba(v, v, v, a); }
constexpr QRgb kOpaqueRed = 0xffff0000, kOpaqueBlack = 0xff000000, kOpaqueWhite = 0xffffffff;

QImage noise(int width, int height, uint32_t seed)
{
    QImage image = transparentImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525 + 1013904223;
            const int a = int(seed >> 24);
            setRaw(image, x, y, qRgba(a * int((seed >> 8) & 0xff) / 255, a * int((seed >> 16) & 0xff) / 255, a / 2, a));
        }
    return image;
}

// ---- Records ---------------------------------------------------------------

// Little-endian filter data, written field by field.
struct Bytes {
    std::vector<uint8_t> data;

    Bytes& u8(int v) { data.push_back(uint8_t(v)); return *this; }
    Bytes& u16(int v) { return u8(v & 0xff).u8((v >> 8) & 0xff); }
    Bytes& u32(uint32_t v) { return u16(int(v & 0xffff)).u16(int(v >> 16)); }
    Bytes& rgba(int r, int g, int b, int a) { return u8(r).u8(g).u8(b).u8(a); }
    Bytes& fixed16(double v) { return u32(uint32_t(int32_t(std::lround(v * 65536)))); }
    Bytes& fixed8(double v) { return u16(int(std::lround(v * 256)) & 0xffff); }
    Bytes& f32(float v) { return u32(std::bit_cast<uint32_t>(v)); }
    Filter filter(uint8_t type) const { return {type, data}; }
};

template <typename T>
T decoded(const Bytes& bytes, uint8_t type)
{
    const auto filter = decodeFilter(bytes.filter(type));
    EXPECT_TRUE(filter.has_value());
    EXPECT_TRUE(filter && std::holds_alternative<T>(*filter));
    return filter && std::holds_alternative<T>(*filter) ? std::get<T>(*filter) : T{};
}

// Flags: inner, knockout, composite source, then the pass count.
Bytes dropShadowBytes()
{
    return Bytes{}.rgba(10, 20, 30, 128).fixed16(4.5).fixed16(2).fixed16(std::numbers::pi / 4).fixed16(6).fixed8(1.5)
        .u8(0b110'00011);
}

Bytes gradientBytes()
{
    return Bytes{}.u8(2).rgba(255, 0, 0, 0).rgba(0, 0, 255, 255).u8(0).u8(255)
        .fixed16(3).fixed16(5).fixed16(std::numbers::pi).fixed16(2).fixed8(2).u8(0b0011'0010); // on top: full
}

Bytes convolutionBytes()
{
    Bytes b;
    b.u8(3).u8(2).f32(9).f32(-1.5f);
    for (int i = 0; i < 6; ++i)
        b.f32(float(i) - 2.5f);
    return b.rgba(1, 2, 3, 4).u8(0b10);
}

TEST(FilterDecode, ShadowsAndGlows)
{
    const auto shadow = decoded<DropShadowFilter>(dropShadowBytes(), 0);
    EXPECT_EQ(shadow.color, (Rgba{10, 20, 30, 128}));
    EXPECT_DOUBLE_EQ(shadow.blurX, 4.5);
    EXPECT_DOUBLE_EQ(shadow.blurY, 2);
    EXPECT_NEAR(shadow.angle, 45, 1e-3); // radians in the file, degrees here
    EXPECT_DOUBLE_EQ(shadow.distance, 6);
    EXPECT_DOUBLE_EQ(shadow.strength, 1.5);
    EXPECT_TRUE(shadow.inner);
    EXPECT_TRUE(shadow.knockout);
    EXPECT_FALSE(shadow.compositeSource);
    EXPECT_EQ(shadow.quality, 3);

    const auto blur = decoded<BlurFilter>(Bytes{}.fixed16(8).fixed16(0.5).u8(15 << 3), 1);
    EXPECT_DOUBLE_EQ(blur.blurX, 8);
    EXPECT_DOUBLE_EQ(blur.blurY, 0.5);
    EXPECT_EQ(blur.quality, 15);

    const auto glow = decoded<GlowFilter>(Bytes{}.rgba(0, 255, 0, 255).fixed16(6).fixed16(7).fixed8(-2).u8(0b001'00010), 2);
    EXPECT_EQ(glow.color, (Rgba{0, 255, 0, 255}));
    EXPECT_DOUBLE_EQ(glow.blurY, 7);
    EXPECT_DOUBLE_EQ(glow.strength, -2); // kept as stored; the engine clamps
    EXPECT_FALSE(glow.inner);
    EXPECT_TRUE(glow.compositeSource);
    EXPECT_EQ(glow.quality, 2);
}

TEST(FilterDecode, BevelsAndGradients)
{
    const auto bevel = decoded<BevelFilter>(Bytes{}.rgba(0, 0, 0, 255).rgba(255, 255, 255, 200).fixed16(4).fixed16(4)
                                                .fixed16(0).fixed16(3).fixed8(1).u8(0b1010'0001),
                                            3);
    EXPECT_EQ(bevel.shadowColor, (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(bevel.highlightColor, (Rgba{255, 255, 255, 200}));
    EXPECT_EQ(bevel.type, BevelType::Inner);
    EXPECT_EQ(bevel.quality, 1);

    for (uint8_t type : {uint8_t(4), uint8_t(7)}) {
        const auto filter = decodeFilter(gradientBytes().filter(type));
        ASSERT_TRUE(filter);
        const auto& g = type == 4 ? static_cast<const GradientFilterFields&>(std::get<GradientGlowFilter>(*filter))
                                  : std::get<GradientBevelFilter>(*filter);
        ASSERT_EQ(g.stops.size(), 2u);
        EXPECT_EQ(g.stops[1], (GradientStop{255, {0, 0, 255, 255}}));
        EXPECT_DOUBLE_EQ(g.blurY, 5);
        EXPECT_NEAR(g.angle, 180, 1e-3);
        EXPECT_EQ(g.type, BevelType::Full);
        EXPECT_EQ(g.quality, 2);
    }
}

TEST(FilterDecode, ConvolutionAndColorMatrix)
{
    const auto c = decoded<ConvolutionFilter>(convolutionBytes(), 5);
    EXPECT_EQ(c.matrixX, 3);
    EXPECT_EQ(c.matrixY, 2);
    EXPECT_EQ(c.matrix, (std::vector<double>{-2.5, -1.5, -0.5, 0.5, 1.5, 2.5}));
    EXPECT_DOUBLE_EQ(c.divisor, 9);
    EXPECT_DOUBLE_EQ(c.bias, -1.5);
    EXPECT_EQ(c.defaultColor, (Rgba{1, 2, 3, 4}));
    EXPECT_TRUE(c.clamp);
    EXPECT_FALSE(c.preserveAlpha);

    Bytes m;
    for (int i = 0; i < 20; ++i)
        m.f32(float(i) / 4);
    const auto matrix = decoded<ColorMatrixFilter>(m, 6);
    EXPECT_DOUBLE_EQ(matrix.matrix[0], 0);
    EXPECT_DOUBLE_EQ(matrix.matrix[19], 4.75);
}

TEST(FilterDecode, ShortOrUnknownDataGivesNothing)
{
    Bytes matrix;
    for (int i = 0; i < 20; ++i)
        matrix.f32(1);
    const std::pair<uint8_t, Bytes> valid[] = {
        {0, dropShadowBytes()}, {1, Bytes{}.fixed16(1).fixed16(1).u8(8)},
        {2, Bytes{}.rgba(0, 0, 0, 0).fixed16(1).fixed16(1).fixed8(1).u8(1)},
        {3, Bytes{}.rgba(0, 0, 0, 0).rgba(0, 0, 0, 0).fixed16(1).fixed16(1).fixed16(1).fixed16(1).fixed8(1).u8(1)},
        {4, gradientBytes()}, {5, convolutionBytes()}, {6, matrix}, {7, gradientBytes()}};
    for (const auto& [type, bytes] : valid) {
        ASSERT_TRUE(decodeFilter(bytes.filter(type))) << "type " << int(type);
        for (size_t length = 0; length < bytes.data.size(); ++length) {
            const Filter cut{type, {bytes.data.begin(), bytes.data.begin() + ptrdiff_t(length)}};
            EXPECT_FALSE(decodeFilter(cut)) << "type " << int(type) << ", " << length << " bytes";
        }
    }
    EXPECT_FALSE(decodeFilter(Bytes{}.u8(0).filter(8)));
    EXPECT_FALSE(decodeFilter(Bytes{}.u8(255).u8(0).filter(4)));       // 255 stops promised, none there
    EXPECT_FALSE(decodeFilter(Bytes{}.u8(255).u8(255).f32(1).f32(0).filter(5))); // a 255 x 255 matrix promised

}

TEST(FilterDecode, ArbitraryBytesDecodeAndDrawSafely)
{
    uint32_t seed = 12345;
    int decodedCount = 0;
    for (int round = 0; round < 2000; ++round) {
        Filter raw{uint8_t(round % 9), {}};
        raw.data.resize(size_t(round % 97));
        for (uint8_t& byte : raw.data)
            byte = uint8_t((seed = seed * 1664525 + 1013904223) >> 24);
        const auto filter = decodeFilter(raw);
        if (!filter)
            continue;
        ++decodedCount;
        FilterCanvas canvas{noise(6, 6, seed), {}};
        applyFilters(canvas, std::vector<TypedFilter>{*filter}, {}, QRect(-16, -16, 40, 40));
        ASSERT_TRUE(QRect(-16, -16, 40, 40).contains(canvas.rect()));
    }
    EXPECT_GT(decodedCount, 100);
}

// ---- Pixels ----------------------------------------------------------------

// One row through the middle of a blurred single white pixel.
std::vector<int> blurredDot(double width, int passes)
{
    QImage image = transparentImage(11, 1);
    setRaw(image, 5, 0, kOpaqueWhite);
    boxBlur(image, {width, 0, passes});
    std::vector<int> row;
    for (int x = 0; x < 11; ++x) {
        const QRgb p = raw(image, x, 0);
        EXPECT_TRUE(qRed(p) == qAlpha(p) && qGreen(p) == qAlpha(p) && qBlue(p) == qAlpha(p));
        row.push_back(qAlpha(p));
    }
    return row;
}

TEST(BoxBlur, KernelOfASinglePixel)
{
    EXPECT_EQ(blurredDot(3, 1), (std::vector<int>{0, 0, 0, 0, 85, 85, 85, 0, 0, 0, 0}));
    EXPECT_EQ(blurredDot(3, 2), (std::vector<int>{0, 0, 0, 28, 57, 85, 57, 28, 0, 0, 0}));
    // A width of 4: three whole taps and half a tap beyond each end.
    EXPECT_EQ(blurredDot(4, 1), (std::vector<int>{0, 0, 0, 32, 64, 64, 64, 32, 0, 0, 0}));
    const std::vector<int> threePasses = blurredDot(3, 3);
    EXPECT_EQ(std::count_if(threePasses.begin(), threePasses.end(), [](int v) { return v > 0; }), 7);
    EXPECT_EQ(blurExtent(3, 3), 3);
    EXPECT_EQ(blurExtent(4, 2), 4);
    for (double none : {0.0, 1.0, -5.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(blurredDot(none, 3), (std::vector<int>{0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0}));

    QImage square = transparentImage(5, 5);
    setRaw(square, 2, 2, kOpaqueWhite);
    boxBlur(square, {3, 3, 1});
    EXPECT_EQ(raw(square, 1, 1), 0x1c1c1c1cu); // 255 / 3 / 3, rounded at each pass
    EXPECT_EQ(raw(square, 3, 2), 0x1c1c1c1cu);
    EXPECT_EQ(raw(square, 0, 2), 0u);
}

// The kernel applied tap by tap, as the definition reads.
void referenceBlur(QImage& image, double widthX, double widthY, int passes)
{
    for (int axis = 0; axis < 2; ++axis) {
        const BoxKernel k = boxKernel(axis == 0 ? widthX : widthY);
        const int length = axis == 0 ? image.width() : image.height();
        for (int pass = 0; pass < passes && !k.isIdentity(); ++pass) {
            const QImage source = image.copy();
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    for (int c = 0; c < 4; ++c) {
                        auto at = [&](int offset) -> uint32_t {
                            const int i = (axis == 0 ? x : y) + offset;
                            if (i < 0 || i >= length)
                                return 0;
                            return (raw(source, axis == 0 ? i : x, axis == 0 ? y : i) >> (8 * c)) & 0xff;
                        };
                        uint32_t sum = 0;
                        for (int t = -k.reach; t <= k.reach; ++t)
                            sum += at(t);
                        const uint32_t edges = at(-k.reach - 1) + at(k.reach + 1);
                        const uint32_t v = std::min<uint32_t>(255, (sum * k.weight + edges * k.edgeWeight + 32768) >> 16);
                        QRgb p = raw(image, x, y);
                        setRaw(image, x, y, (p & ~(0xffu << (8 * c))) | (v << (8 * c)));
                    }
        }
    }
}

TEST(BoxBlur, MatchesTheKernelTapByTap)
{
    // 97 pixels: several strips and a tail too narrow for vector code;
    // width 300 is beyond the 16-bit sums.
    for (const auto& [wx, wy, passes] : {std::tuple{9.0, 9.0, 3}, {4.0, 2.5, 2}, {6.3, 300.0, 1}, {17.0, 1.0, 15}}) {
        QImage expected = noise(97, 41, 7);
        QImage actual = expected.copy();
        referenceBlur(expected, wx, wy, passes);
        boxBlur(actual, {wx, wy, passes});
        EXPECT_EQ(actual, expected) << wx << " x " << wy << ", " << passes << " passes";
    }
}

TEST(BoxBlur, KeepsFlatAreasAndPremultipliedPixels)
{
    QImage flat = transparentImage(60, 60);
    fill(flat, {0, 0, 60, 60}, kOpaqueWhite);
    boxBlur(flat, {9, 9, 3});
    EXPECT_EQ(raw(flat, 30, 30), kOpaqueWhite);

    QImage image = noise(50, 30, 99);
    boxBlur(image, {5.5, 7, 3});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = raw(image, x, y);
            ASSERT_TRUE(qRed(p) <= qAlpha(p) && qGreen(p) <= qAlpha(p) && qBlue(p) <= qAlpha(p)) << x << ", " << y;
        }
}

TEST(ColorMatrixFilter, ArithmeticOnUnpremultipliedColour)
{
    // Identity leaves every premultiplied pixel exactly as it was.
    QImage all = transparentImage(256, 256);
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c <= a; ++c)
            setRaw(all, c, a, qRgba(c, c / 2, a - c, a));
    const QImage before = all.copy();
    FilterCanvas canvas{all, {}};
    applyFilters(canvas, std::vector<TypedFilter>{ColorMatrixFilter{}}, {});
    EXPECT_EQ(canvas.image, before);

    auto filtered = [](QRgb pixel, std::array<double, 20> matrix) {
        FilterCanvas one{transparentImage(1, 1), {}};
        setRaw(one.image, 0, 0, pixel);
        applyFilters(one, std::vector<TypedFilter>{ColorMatrixFilter{matrix}}, {});
        return raw(one.image, 0, 0);
    };
    EXPECT_EQ(filtered(qRgba(200, 100, 50, 255), {0.5, 0.5, 0, 0, 0, 0, 0, 1, 0, 10, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0}),
              qRgba(150, 60, 255, 255)); // blue clamped
    // Straight red 51 at alpha 170 doubles, and alpha halves: 102 at 85.
    EXPECT_EQ(filtered(qRgba(34, 0, 0, 170), {2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0.5, 0}),
              qRgba(34, 0, 0, 85));
    // Offsets reach transparent pixels; non-finite entries count as zero.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(filtered(0, {nan, 0, 0, 0, 255, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 255}), kOpaqueRed);
}

TEST(ConvolutionFilter, KernelDivisorBiasAndEdges)
{
    auto convolved = [](ConvolutionFilter filter) {
        FilterCanvas row{transparentImage(3, 1), {}};
        setRaw(row.image, 0, 0, grey(30));
        setRaw(row.image, 1, 0, grey(60));
        setRaw(row.image, 2, 0, grey(90));
        applyFilters(row, std::vector<TypedFilter>{filter}, {});
        EXPECT_EQ(row.image.size(), QSize(3, 1)); // convolution does not grow the picture
        return std::vector<QRgb>{raw(row.image, 0, 0), raw(row.image, 1, 0), raw(row.image, 2, 0)};
    };
    ConvolutionFilter f{.matrixX = 3, .matrixY = 1, .matrix = {1, 2, 1}, .divisor = 4, .bias = 10};
    EXPECT_EQ(convolved(f), (std::vector<QRgb>{grey(48), grey(70), grey(93)})); // edge pixels repeated
    f.clamp = false;
    f.defaultColor = {200, 200, 200, 255};
    EXPECT_EQ(convolved(f), (std::vector<QRgb>{grey(90), grey(70), grey(120)}));
    // Transparent surroundings, alpha convolved too: (0 + 2 * 255 + 255) / 4 + 10 = 201 at the ends.
    f.defaultColor = {0, 0, 0, 0};
    f.preserveAlpha = false;
    EXPECT_EQ(convolved(f)[0], qPremultiply(grey(40, 201)));

    const std::vector<QRgb> unchanged{grey(30), grey(60), grey(90)};
    EXPECT_EQ(convolved({.matrixX = 16, .matrixY = 1, .matrix = std::vector<double>(16, 1.0)}), unchanged);
    EXPECT_EQ(convolved({.matrixX = 3, .matrixY = 3, .matrix = {1, 2, 1}}), unchanged); // size mismatch
    EXPECT_EQ(convolved({.matrixX = 1, .matrixY = 1, .matrix = {1}, .divisor = 0}), unchanged);
}

// A 12 x 12 picture with an opaque red square over (4, 4) - (7, 7), filtered.
FilterCanvas filteredSquare(const TypedFilter& filter, FilterScale scale = {})
{
    FilterCanvas canvas{transparentImage(12, 12), {}};
    fill(canvas.image, {4, 4, 4, 4}, kOpaqueRed);
    applyFilters(canvas, std::vector<TypedFilter>{filter}, scale);
    return canvas;
}

// Pixel (x, 5) of the canvas in the square's coordinates.
QRgb rowFive(const FilterCanvas& canvas, int x) { return raw(canvas.image, x - canvas.origin.x(), 5 - canvas.origin.y()); }

TEST(DropShadowFilter, OffsetColourAndCompositing)
{
    // No blur: the shadow is the square moved 3 pixels to the right.
    DropShadowFilter shadow{.blurX = 0, .blurY = 0, .angle = 0, .distance = 3};
    FilterCanvas plain = filteredSquare(shadow);
    EXPECT_EQ(plain.rect(), QRect(0, 0, 15, 12));
    EXPECT_EQ(rowFive(plain, 3), 0u);
    EXPECT_EQ(rowFive(plain, 7), kOpaqueRed); // the object stays on top
    EXPECT_EQ(rowFive(plain, 10), kOpaqueBlack);
    EXPECT_EQ(rowFive(plain, 11), 0u);

    shadow.knockout = true;
    const FilterCanvas knockedOut = filteredSquare(shadow);
    EXPECT_EQ(rowFive(knockedOut, 5), 0u);
    EXPECT_EQ(rowFive(knockedOut, 7), 0u);
    EXPECT_EQ(rowFive(knockedOut, 9), kOpaqueBlack);

    shadow.knockout = false;
    shadow.compositeSource = false; // hideObject
    const FilterCanvas hidden = filteredSquare(shadow);
    EXPECT_EQ(rowFive(hidden, 5), 0u);
    EXPECT_EQ(rowFive(hidden, 7), kOpaqueBlack);

    // Inner: the shadow falls inside, on the side away from the offset.
    shadow = {.color = {0, 0, 255, 128}, .blurX = 0, .blurY = 0, .angle = 0, .distance = 3, .inner = true};
    const FilterCanvas inner = filteredSquare(shadow);
    EXPECT_EQ(inner.rect(), QRect(0, 0, 12, 12));
    EXPECT_EQ(rowFive(inner, 3), 0u);
    EXPECT_EQ(rowFive(inner, 6), 0xff7f0080u); // half blue over red
    EXPECT_EQ(rowFive(inner, 7), kOpaqueRed);
    shadow.knockout = true;
    const FilterCanvas innerAlone = filteredSquare(shadow);
    EXPECT_EQ(rowFive(innerAlone, 4), 0x80000080u);
    EXPECT_EQ(rowFive(innerAlone, 7), 0u);

    // Shadows to the left move the origin; sizes follow the object's scale.
    const FilterCanvas left = filteredSquare(DropShadowFilter{.blurX = 0, .blurY = 0, .angle = 180, .distance = 3});
    EXPECT_EQ(left.rect(), QRect(-3, 0, 15, 12));
    EXPECT_EQ(rowFive(left, 1), kOpaqueBlack);
    const FilterCanvas scaled = filteredSquare(DropShadowFilter{.blurX = 0, .blurY = 0, .angle = 90, .distance = 2}, {1, 2});
    EXPECT_EQ(scaled.rect(), QRect(0, 0, 12, 16));
    EXPECT_EQ(raw(scaled.image, 5, 11), kOpaqueBlack);
    EXPECT_EQ(raw(scaled.image, 5, 12), 0u);
}

TEST(GlowFilter, StrengthScalesTheBlurredAlphaAndClamps)
{
    auto glowBesideDot = [](double strength) {
        FilterCanvas canvas{transparentImage(5, 5), {}};
        setRaw(canvas.image, 2, 2, kOpaqueWhite);
        applyFilters(canvas, std::vector<TypedFilter>{GlowFilter{.blurX = 3, .blurY = 3, .strength = strength}}, {});
        EXPECT_EQ(canvas.rect(), QRect(-1, -1, 7, 7));
        EXPECT_EQ(raw(canvas.image, 3, 3), kOpaqueWhite);
        return raw(canvas.image, 4, 3);
    };
    EXPECT_EQ(glowBesideDot(2), qRgba(56, 0, 0, 56)); // blurred alpha 28, doubled
    EXPECT_EQ(glowBesideDot(10), kOpaqueRed);
    EXPECT_EQ(glowBesideDot(-1), 0u);
    EXPECT_EQ(glowBesideDot(std::numeric_limits<double>::quiet_NaN()), 0u);

    // A gradient glow from transparent to red is the same glow.
    FilterCanvas plain = filteredSquare(GlowFilter{.blurX = 5, .blurY = 4, .strength = 1.5, .quality = 2});
    GradientGlowFilter gradient;
    gradient.stops = {{0, {255, 0, 0, 0}}, {255, {255, 0, 0, 255}}};
    gradient.blurX = 5;
    gradient.blurY = 4;
    gradient.strength = 1.5;
    gradient.distance = 0;
    gradient.type = BevelType::Outer;
    gradient.quality = 2;
    EXPECT_EQ(filteredSquare(gradient).image, plain.image);
}

TEST(BevelFilter, HighlightTowardsTheLightShadowAway)
{
    // A grey square with a sharp bevel, light from the left.
    auto bevelled = [](BevelType type, bool knockout) {
        FilterCanvas canvas{transparentImage(20, 20), {}};
        fill(canvas.image, {5, 5, 10, 10}, grey(128));
        BevelFilter bevel{.blurX = 0, .blurY = 0, .angle = 0, .distance = 2, .type = type, .knockout = knockout};
        applyFilters(canvas, std::vector<TypedFilter>{bevel}, {});
        std::vector<QRgb> row;
        for (int x : {3, 5, 10, 14, 16})
            row.push_back(raw(canvas.image, x - canvas.origin.x(), 10));
        return std::pair{canvas.rect(), row};
    };
    const auto [innerRect, inner] = bevelled(BevelType::Inner, false);
    EXPECT_EQ(innerRect, QRect(0, 0, 20, 20));
    EXPECT_EQ(inner, (std::vector<QRgb>{0, kOpaqueWhite, grey(128), kOpaqueBlack, 0}));
    EXPECT_EQ(bevelled(BevelType::Inner, true).second, (std::vector<QRgb>{0, kOpaqueWhite, 0, kOpaqueBlack, 0}));
    const auto [outerRect, outer] = bevelled(BevelType::Outer, false);
    EXPECT_EQ(outerRect, QRect(-2, 0, 24, 20));
    EXPECT_EQ(outer, (std::vector<QRgb>{kOpaqueWhite, grey(128), grey(128), grey(128), kOpaqueBlack}));
    EXPECT_EQ(bevelled(BevelType::Full, false).second,
              (std::vector<QRgb>{kOpaqueWhite, kOpaqueWhite, grey(128), kOpaqueBlack, kOpaqueBlack}));

    // A gradient bevel: highlight at ratio 0, nothing at 128, shadow at 255.
    GradientBevelFilter gradient;
    gradient.stops = {{0, {0, 255, 0, 255}}, {128, {0, 0, 0, 0}}, {255, {0, 0, 255, 255}}};
    gradient.blurX = gradient.blurY = 0;
    gradient.angle = 0;
    gradient.distance = 2;
    const FilterCanvas g = filteredSquare(gradient);
    EXPECT_EQ(rowFive(g, 4), 0xff00ff00u);
    EXPECT_EQ(rowFive(g, 7), 0xff0000ffu);
}

TEST(FilterRegion, MarginsBoundsAndLimits)
{
    const std::vector<TypedFilter> filters{
        BlurFilter{.blurX = 9, .blurY = 3, .quality = 3},                                    // 12 and 3 each side
        DropShadowFilter{.blurX = 0, .blurY = 0, .angle = 0, .distance = 4},                 // 4 to the right
        DropShadowFilter{.blurX = 20, .blurY = 20, .distance = 50, .inner = true},           // nothing
        ColorMatrixFilter{}};
    EXPECT_EQ(filterMargins(filters, {}), (FilterMargins{12, 3, 16, 3}));
    EXPECT_EQ(filterMargins(filters, {2, 1}), (FilterMargins{27, 3, 35, 3})); // a box 18 wide reaches 9
    EXPECT_EQ(grownBounds(filters, Rect{0, 200, 0, 100}), (Rect{-240, 520, -60, 160}));

    // The picture grows no further than the visible area, and never past the cap.
    FilterCanvas canvas{transparentImage(10, 10), {100, 100}};
    applyFilters(canvas, std::vector<TypedFilter>{BlurFilter{.blurX = 9, .blurY = 9, .quality = 3}}, {},
                 QRect(95, 0, 200, 200));
    EXPECT_EQ(canvas.rect(), QRect(95, 88, 27, 34));
    FilterCanvas huge{transparentImage(10, 10), {}};
    applyFilters(huge, std::vector<TypedFilter>{BlurFilter{.blurX = 255, .blurY = 255, .quality = 99}}, {100, 100});
    EXPECT_EQ(huge.rect(), QRect(0, 0, 10, 10));
}

TEST(FilterChain, HostileSettingsNeitherCrashNorGrowWithoutBound)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    GradientGlowFilter unsortedStops;
    unsortedStops.stops = {{200, {1, 2, 3, 255}}, {10, {4, 5, 6, 255}}, {10, {7, 8, 9, 255}}};
    const std::vector<TypedFilter> filters{
        BlurFilter{.blurX = nan, .blurY = inf, .quality = -4},
        DropShadowFilter{.blurX = inf, .blurY = -3, .angle = nan, .distance = inf, .strength = inf, .quality = 1000},
        BevelFilter{.blurX = 1e300, .angle = -inf, .distance = -1e300, .strength = nan},
        unsortedStops,
        GradientBevelFilter{},
        ConvolutionFilter{.matrixX = 2, .matrixY = 2, .matrix = {nan, inf, -inf, 1}, .divisor = nan, .bias = inf},
        ConvolutionFilter{.matrixX = -1, .matrixY = 3, .matrix = {}}};
    FilterCanvas canvas{noise(16, 16, 3), {}};
    applyFilters(canvas, filters, {nan, inf});
    EXPECT_FALSE(canvas.image.isNull());
    EXPECT_LE(qint64(canvas.image.width()) * canvas.image.height(), 64ll * 1024 * 1024);
    FilterCanvas empty;
    applyFilters(empty, filters, {});
    EXPECT_TRUE(empty.image.isNull());
}

} // namespace
} // namespace flash
