// BitmapData: the pixel operations on surfaces, checked against their
// arithmetic, and the class as movies use it, shown on stage by attachBitmap.
#include "ScriptedMovie.h"

#include "flash/scripting/bitmap/PixelValues.h"
#include "flash/scripting/bitmap/SurfaceCopy.h"
#include "flash/scripting/bitmap/SurfaceImaging.h"
#include "flash/scripting/bitmap/SurfaceNoise.h"
#include "flash/scripting/bitmap/SurfacePixels.h"
#include "flash/scripting/bitmap/SurfaceQueries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace flash::test {
namespace {

BitmapSurface surface(int width, int height, bool transparent, uint32_t fill)
{
    auto made = makeSurface(width, height, transparent, fill);
    return made ? *made : BitmapSurface{};
}

uint32_t at(const BitmapSurface& s, int x, int y)
{
    return pixelAt(s, x, y).value_or(0xDEADBEEF);
}

// ---- Pixels ----

TEST(BitmapPixels, ColoursAreHeldPremultipliedAndReadBackWithTheRoundingLoss)
{
    BitmapSurface s = surface(2, 1, true, 0);
    setPixel32(s, 0, 0, 0x80FF0000);
    EXPECT_EQ(s.pixels[0], 0x80800000u);
    EXPECT_EQ(at(s, 0, 0), 0x80FF0000u) << "a channel at full intensity survives any alpha";
    setPixel32(s, 0, 0, 0x40336699);
    EXPECT_EQ(at(s, 0, 0), 0x40346897u) << "fainter channels lose precision as alpha falls";
    setPixel32(s, 1, 0, 0x00FFFFFF);
    EXPECT_EQ(at(s, 1, 0), 0u) << "alpha 0 keeps no colour";
    setPixel32(s, 0, 0, 0x80000000);
    setPixel(s, 0, 0, 0x00FF00);
    EXPECT_EQ(at(s, 0, 0), 0x8000FF00u) << "setPixel keeps the alpha";

    BitmapSurface opaque = surface(1, 1, false, 0x00123456);
    EXPECT_EQ(at(opaque, 0, 0), 0xFF123456u);
    setPixel32(opaque, 0, 0, 0x12345678);
    EXPECT_EQ(at(opaque, 0, 0), 0xFF345678u);
    const uint64_t serial = opaque.serial;
    setPixel32(opaque, 1, 0, 0xFFFFFFFF); // outside: nothing changes
    EXPECT_EQ(opaque.serial, serial);
}

TEST(BitmapPixels, SizesOutsideTheRuntimesLimitsAreRefused)
{
    for (const auto& [w, h] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {2881, 1}, {1, 2881}, {10000, 10000}})
        EXPECT_EQ(makeSurface(w, h, true, 0), nullptr) << w << "x" << h;
    const auto largest = makeSurface(2880, 2880, false, 0);
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(largest->pixels.size(), 2880u * 2880u);
}

TEST(BitmapPixels, FillScrollAndFloodFillStayWithinTheirAreas)
{
    BitmapSurface s = surface(5, 5, false, 0xFFFFFFFF);
    // A black ring around the centre pixel.
    fillRect(s, {1, 1, 3, 3}, 0xFF000000);
    setPixel32(s, 2, 2, 0xFFFFFFFF);
    floodFill(s, 2, 2, 0xFFFF0000);
    EXPECT_EQ(at(s, 2, 2), 0xFFFF0000u);
    EXPECT_EQ(at(s, 1, 2), 0xFF000000u);
    EXPECT_EQ(at(s, 0, 0), 0xFFFFFFFFu);
    floodFill(s, 0, 0, 0xFF0000FF);
    EXPECT_EQ(at(s, 4, 4), 0xFF0000FFu) << "the outer ring is one area";
    EXPECT_EQ(at(s, 2, 2), 0xFFFF0000u);

    fillRect(s, {-100, 3, 1000, 100}, 0xFF00FF00); // clipped to the bottom rows
    EXPECT_EQ(at(s, 0, 4), 0xFF00FF00u);
    EXPECT_EQ(at(s, 0, 2), 0xFF0000FFu);

    BitmapSurface line = surface(4, 2, false, 0);
    for (int x = 0; x < 4; ++x)
        setPixel32(line, x, 0, 0xFF000000 | uint32_t(x + 1));
    scroll(line, 2, 1);
    EXPECT_EQ(at(line, 2, 1), 0xFF000001u);
    EXPECT_EQ(at(line, 3, 1), 0xFF000002u);
    EXPECT_EQ(at(line, 3, 0), 0xFF000004u) << "what the scroll uncovers keeps its pixels";

    // A whole surface at the largest size, filled without recursion.
    auto large = makeSurface(2880, 2880, false, 0);
    ASSERT_NE(large, nullptr);
    floodFill(*large, 0, 0, 0xFFFFFFFF);
    EXPECT_EQ(at(*large, 2879, 2879), 0xFFFFFFFFu);
}

TEST(BitmapPixels, ColorTransformWorksOnStraightColours)
{
    BitmapSurface s = surface(2, 1, true, 0xFF804020);
    setPixel32(s, 1, 0, 0x80FF0000);
    colorTransform(s, {0, 0, 1, 1}, ColorTransform{0.5, 1, 2, 1, 10, -20, 0, 0});
    EXPECT_EQ(at(s, 0, 0), 0xFF4A2C40u);
    EXPECT_EQ(at(s, 1, 0), 0x80FF0000u) << "outside the rectangle";
    colorTransform(s, {1, 0, 1, 1}, ColorTransform{1, 1, 1, 0.5, 0, 0, 0, 0});
    EXPECT_EQ(at(s, 1, 0), 0x40FF0000u);
}

// ---- Copies ----

TEST(BitmapCopies, CopyPixelsClipsReplacesOrDrawsOverAndTakesAnAlphaMask)
{
    const BitmapSurface red = surface(4, 4, true, 0x80FF0000);
    BitmapSurface blue = surface(4, 4, false, 0xFF0000FF);
    copyPixels(blue, red, {0, 0, 4, 4}, {-2, -2}, std::nullopt, true);
    EXPECT_EQ(at(blue, 1, 1), 0xFF80007Fu) << "half red drawn over blue";
    EXPECT_EQ(at(blue, 2, 2), 0xFF0000FFu) << "beyond the clipped copy";
    copyPixels(blue, red, {0, 0, 1, 1}, {3, 3}, std::nullopt, false);
    EXPECT_EQ(at(blue, 3, 3), 0xFFFF0000u) << "an opaque target keeps the colour, not the transparency";

    BitmapSurface clear = surface(2, 2, true, 0);
    copyPixels(clear, red, {-1, -1, 2, 2}, {0, 0}, std::nullopt, false);
    EXPECT_EQ(at(clear, 1, 1), 0x80FF0000u) << "a source area cut at its top-left moves its destination along";
    EXPECT_EQ(at(clear, 0, 0), 0u);

    BitmapSurface mask = surface(1, 1, true, 0x80000000);
    const BitmapSurface solid = surface(2, 2, false, 0xFFFF0000);
    BitmapSurface target = surface(2, 2, false, 0xFF0000FF);
    copyPixels(target, solid, {0, 0, 2, 2}, {0, 0}, AlphaMask{&mask, {0, 0}}, true);
    EXPECT_EQ(at(target, 0, 0), 0xFF80007Fu) << "masked to half red";
    EXPECT_EQ(at(target, 1, 1), 0xFF0000FFu) << "beyond the mask nothing is copied";

    // Within one surface the area is read before it is written.
    BitmapSurface row = surface(3, 1, false, 0);
    for (int x = 0; x < 3; ++x)
        setPixel32(row, x, 0, 0xFF000000 | uint32_t(x + 1));
    copyPixels(row, row, {0, 0, 2, 1}, {1, 0}, std::nullopt, false);
    EXPECT_EQ(at(row, 1, 0), 0xFF000001u);
    EXPECT_EQ(at(row, 2, 0), 0xFF000002u);
}

TEST(BitmapCopies, ChannelCopiesMergesAndPalettesWorkChannelByChannel)
{
    const BitmapSurface source = surface(1, 1, false, 0xFF123456);
    BitmapSurface opaque = surface(1, 1, false, 0xFF000000);
    copyChannel(opaque, source, {0, 0, 1, 1}, {0, 0}, kRedChannel, kBlueChannel);
    EXPECT_EQ(at(opaque, 0, 0), 0xFF000012u);
    copyChannel(opaque, source, {0, 0, 1, 1}, {0, 0}, kRedChannel, kAlphaChannel);
    EXPECT_EQ(at(opaque, 0, 0), 0xFF000012u) << "an opaque target has no alpha to set";
    BitmapSurface clear = surface(1, 1, true, 0x00FFFFFF);
    copyChannel(clear, source, {0, 0, 1, 1}, {0, 0}, kAlphaChannel, kAlphaChannel);
    EXPECT_EQ(at(clear, 0, 0), 0xFF000000u) << "a transparent pixel kept no colour to show";

    BitmapSurface black = surface(1, 1, false, 0xFF000000);
    merge(black, surface(1, 1, false, 0xFFFFFFFF), {0, 0, 1, 1}, {0, 0}, {128, 0, 256, 0});
    EXPECT_EQ(at(black, 0, 0), 0xFF7F00FFu);

    Palette palette = identityPalette();
    palette[0][0x12] = 0x00000099; // red 0x12 becomes blue 0x99
    BitmapSurface mapped = surface(1, 1, false, 0);
    paletteMap(mapped, source, {0, 0, 1, 1}, {0, 0}, palette);
    EXPECT_EQ(at(mapped, 0, 0), 0xFF0034EFu) << "entries add: 0x99 + 0x56";
}

TEST(BitmapCopies, ThresholdCountsThePixelsThatPassAndCopiesTheOthers)
{
    BitmapSurface source = surface(3, 1, false, 0);
    for (int x = 0; x < 3; ++x)
        setPixel32(source, x, 0, 0xFF000000 | 0x10 * uint32_t(x + 1));
    BitmapSurface target = surface(3, 1, true, 0);
    const ThresholdTest below20{Comparison::LessOrEqual, 0x20, 0xFF};
    EXPECT_EQ(threshold(target, source, {0, 0, 3, 1}, {0, 0}, below20, 0xFFFF0000, true), 2u);
    EXPECT_EQ(at(target, 1, 0), 0xFFFF0000u);
    EXPECT_EQ(at(target, 2, 0), 0xFF000030u) << "copied from the source";
    EXPECT_EQ(threshold(target, source, {0, 0, 3, 1}, {0, 0}, {Comparison::Equal, 0x12345678, 0}, 0, false), 3u)
        << "a mask of 0 compares nothing with nothing";
}

TEST(BitmapCopies, PixelDissolveReachesEveryPixelOnceAcrossCalls)
{
    const BitmapSurface red = surface(7, 5, false, 0xFFFF0000);
    BitmapSurface target = surface(7, 5, false, 0xFF0000FF);
    auto redCount = [&] { return std::count(target.pixels.begin(), target.pixels.end(), 0xFFFF0000u); };
    int32_t seed = 99;
    for (const long expected : {10L, 20L, 30L, 35L}) {
        seed = pixelDissolve(target, red, {0, 0, 7, 5}, {0, 0}, seed, 10, 0);
        EXPECT_EQ(redCount(), expected);
    }
}

// ---- Questions ----

TEST(BitmapQueries, ColourBoundsAndHitTests)
{
    BitmapSurface s = surface(10, 10, true, 0);
    setPixel32(s, 2, 3, 0xFFFF0000);
    setPixel32(s, 6, 7, 0x80FF0000);
    EXPECT_EQ(colorBounds(s, 0xFFFFFFFF, 0xFFFF0000, true), (PixelRect{2, 3, 1, 1}));
    EXPECT_EQ(colorBounds(s, 0xFF000000, 0, false), (PixelRect{2, 3, 5, 5}));
    EXPECT_TRUE(colorBounds(s, 0xFFFFFFFF, 0x12345678, true).isEmpty());

    const HitSurface placed{s, {10, 10}, 0x80};
    EXPECT_TRUE(hitsArea(placed, {16, 17, 1, 1}));
    EXPECT_FALSE(hitsArea(HitSurface{s, {10, 10}, 0x81}, {16, 17, 1, 1}));
    EXPECT_FALSE(hitsArea(placed, {0, 0, 12, 13}));
    EXPECT_TRUE(hitsArea(placed, {0, 0, 13, 14}));
    const BitmapSurface dot = surface(1, 1, false, 0);
    EXPECT_TRUE(hitsSurface(placed, HitSurface{dot, {12, 13}, 1}));
    EXPECT_FALSE(hitsSurface(placed, HitSurface{dot, {13, 13}, 1}));
}

// ---- Random pictures ----

TEST(BitmapNoise, ASeedGivesTheSamePixelsWithinTheRangeAndChannelsAsked)
{
    BitmapSurface a = surface(16, 16, true, 0), b = surface(16, 16, true, 0), c = surface(16, 16, true, 0);
    noise(a, 5, 10, 20, kRedChannel, false);
    noise(b, 5, 10, 20, kRedChannel, false);
    noise(c, 6, 10, 20, kRedChannel, false);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_NE(a.pixels, c.pixels);
    for (int i = 0; i < 256; ++i) {
        const uint32_t p = at(a, i % 16, i / 16), red = (p >> 16) & 0xFF;
        ASSERT_EQ(p & 0xFF00FFFF, 0xFF000000u) << "no other colour, opaque";
        ASSERT_TRUE(red >= 10 && red <= 20) << red;
    }

    BitmapSurface p1 = surface(32, 32, false, 0), p2 = surface(32, 32, false, 0);
    const Point offsets[] = {{3, 4}};
    const PerlinSettings settings{.baseX = 16, .baseY = 8, .octaves = 3, .seed = 7, .stitch = true,
                                  .channels = 7, .grayScale = true, .offsets = offsets};
    perlinNoise(p1, settings);
    perlinNoise(p2, settings);
    EXPECT_EQ(p1.pixels, p2.pixels);
    const uint32_t grey = at(p1, 5, 5);
    EXPECT_EQ((grey >> 16) & 0xFF, grey & 0xFF);
    EXPECT_EQ((grey >> 8) & 0xFF, grey & 0xFF);
    EXPECT_GT(std::set<uint32_t>(p1.pixels.begin(), p1.pixels.end()).size(), 20u) << "not flat";
}

// ---- Drawing and filters ----

TEST(BitmapImaging, DrawingABitmapScalesClipsRecoloursAndBlends)
{
    BitmapSurface source = surface(2, 2, true, 0xFFFF0000);
    setPixel32(source, 1, 1, 0xFF00FF00);
    BitmapSurface target = surface(4, 4, true, 0);
    drawSurface(target, source, Matrix{2, 0, 0, 2, 0, 0}, {}, BlendMode::Normal, PixelRect{0, 0, 4, 3}, false);
    EXPECT_EQ(at(target, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(at(target, 1, 2), 0xFFFF0000u);
    EXPECT_EQ(at(target, 2, 2), 0xFF00FF00u);
    EXPECT_EQ(at(target, 3, 3), 0u) << "beyond the clip";

    BitmapSurface blue = surface(2, 2, true, 0xFF0000FF);
    drawSurface(blue, source, {}, ColorTransform{1, 1, 1, 0.5, 0, 0, 0, 0}, BlendMode::Erase, std::nullopt, false);
    EXPECT_NEAR(double(alphaOf(blue.pixels[0])), 128, 1) << "half erased";

    // A surface drawn into itself reads a copy.
    drawSurface(source, source, Matrix{1, 0, 0, 1, 1, 0}, {}, BlendMode::Normal, std::nullopt, false);
    EXPECT_EQ(at(source, 1, 0), 0xFFFF0000u);
    EXPECT_EQ(at(source, 1, 1), 0xFFFF0000u);
}

TEST(BitmapImaging, AFilterSpreadsTheAreaAsGenerateFilterRectSays)
{
    BitmapSurface s = surface(9, 9, true, 0);
    setPixel32(s, 4, 4, 0xFFFFFFFF);
    const TypedFilter blur = BlurFilter{4, 4, 1};
    ASSERT_TRUE(applyFilter(s, s, {4, 4, 1, 1}, {4, 4}, blur));
    EXPECT_LT(alphaOf(s.pixels[4 * 9 + 4]), 255u);
    EXPECT_GT(alphaOf(s.pixels[4 * 9 + 5]), 0u);
    const PixelRect grown = filterRect({4, 4, 1, 1}, blur);
    EXPECT_LT(grown.x, 4);
    EXPECT_GT(grown.right(), 5);
}

// ---- In movies ----

std::vector<uint8_t> movieWith(const std::string& script)
{
    swfw::SwfWriter w(8, 100, 100, 12);
    w.background(swfw::Color::rgb(0xFFFFFF));
    const uint16_t square = w.defineShape(swfw::ShapeBuilder().fillSolid(swfw::Color::rgb(0x0000ff)).rect(0, 0, 20, 20));
    const uint16_t sprite = w.defineSprite(swfw::Timeline(8).place(1, square).showFrame());
    w.place(swfw::Placement{.depth = 1, .characterId = sprite, .matrix = swfw::Matrix::translation(40, 60),
                            .name = std::string("box")});
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    w.exportAssets({{w.defineBitsLossless(picture), "picture"}});
    w.actions(test::script(script));
    w.showFrame();
    return w.finish();
}

TEST(BitmapDataScript, TheClassAnswersAsTheRuntimeDoes)
{
    const auto run = runMovie(movieWith(R"(
        var B = flash.display.BitmapData;
        function hex(n) { return (n >>> 0).toString(16); }
        var origin = new flash.geom.Point(0, 0);
        var b = new B(4, 3, true, 0x80FF0000);
        trace(b.width + "x" + b.height + " " + b.transparent + " " + b.rectangle);
        trace(b.getPixel32(0, 0) + " " + hex(b.getPixel32(0, 0)) + " " + hex(b.getPixel(0, 0)) + " " + b.getPixel(9, 9));
        var sizes = "";
        var tried = [[0, 5], [-3, 4], [10000, 10000], [2881, 1], [undefined, 3]];
        for (var i = 0; i < tried.length; i++)
            sizes += new B(tried[i][0], tried[i][1]).width + " ";
        trace(sizes);
        var c = b.clone();
        c.setPixel32(0, 0, 0xFF00FF00);
        trace(hex(b.getPixel32(0, 0)) + " " + hex(b.compare(c).getPixel(0, 0)) + " " + b.compare(b.clone()) + " " +
              b.compare(new B(2, 2)));
        trace(b.getColorBoundsRect(0xFFFFFFFF, 0xFF00FF00) + " " + c.getColorBoundsRect(0xFFFFFFFF, 0xFF00FF00));
        var blur = new flash.filters.BlurFilter(2, 2, 1);
        trace(c.applyFilter(c, c.rectangle, origin, blur) + " " + c.applyFilter(c, c.rectangle, origin, {}) + " " +
              (c.generateFilterRect(c.rectangle, blur).width > 4));
        b.dispose();
        trace(b.width + " " + b.height + " " + b.getPixel(0, 0) + " " + b.clone() + " " + b.rectangle);
        b.fillRect(b.rectangle, 0);
        function Sub() { super(3, 2, false, 0xFF00FF00); } // a script's subclass holds pixels too
        Sub.prototype.__proto__ = B.prototype;
        Sub.prototype.__constructor__ = B;
        trace(new Sub().width + " " + hex(new Sub().getPixel(2, 1)));
        var p = B.loadBitmap("picture");
        trace(p.width + " " + hex(p.getPixel32(1, 1)) + " " + B.loadBitmap("nothing"));
    )"), 1);
    EXPECT_EQ(run.traces, (Lines{
        "4x3 true (x=0, y=0, w=4, h=3)",
        "-2130771968 80ff0000 ff0000 0",
        "-1 -1 -1 -1 -1 ",
        "80ff0000 ff0100 0 -3",
        "(x=0, y=0, w=0, h=0) (x=0, y=0, w=1, h=1)",
        "0 -1 true",
        "-1 -1 undefined undefined undefined",
        "3 ff00",
        "4 ffff0000 undefined",
    }));
    EXPECT_TRUE(run.reports.empty()) << run.reports.front();
}

TEST(BitmapDataScript, HostileArgumentsAreAnsweredWithoutHarm)
{
    const auto run = runMovie(movieWith(R"(
        var B = flash.display.BitmapData;
        var Rect = flash.geom.Rectangle, Pt = flash.geom.Point;
        var b = new B(50, 50, true, 0);
        b.getPixel(NaN, Infinity);
        b.setPixel32(-1e300, 1e300, 0);
        b.fillRect(new Rect(-1e300, -1e300, 1e309, 1e309), 0xFF00FF00);
        b.copyPixels(b, new Rect(-5e8, -5e8, 1e9, 1e9), new Pt(4e8, -4e8), b, new Pt(NaN, 0), true);
        b.copyChannel("b", null, undefined, 3, 99);
        b.noise(1, -1000, 1e9, 0xFFFFFFFF, true);
        b.perlinNoise(0, -5, 1e9, 3, true, true, 15, false, [new Pt(1e308, NaN), null]);
        b.floodFill(1e12, 0, 1);
        b.scroll(1e12, -1e12);
        b.threshold(b, b.rectangle, new Pt(0, 0), "<>", 0);
        b.draw(b, new flash.geom.Matrix(1e300, 0, 0, NaN, 1e300, 0));
        b.draw(box, {a: 1e9, d: 1e9}, null, "nonsense", new Rect(0, 0, 0, 0));
        b.draw(box, {a: 1e9, d: -1e9, tx: -1e12});
        b.hitTest(null, undefined, "text");
        b.pixelDissolve(b, b.rectangle, new Pt(0, 0), 1, 1e15, 0);
        _root.attachBitmap(b, 1e20);
        _root.attachBitmap("not a bitmap", 3);
        trace("done " + b.width + " " + b.getPixel32(25, 25));
    )"), 1);
    ASSERT_EQ(run.traces.size(), 1u);
    EXPECT_EQ(run.traces[0].substr(0, 8), "done 50 ");
    EXPECT_TRUE(run.reports.empty()) << run.reports.front();
}

TEST(BitmapDataScript, AttachedPixelsAndClipsDrawnIntoBitmapsShowOnStage)
{
    const auto run = runMovie(movieWith(R"(
        var b = new flash.display.BitmapData(20, 10, false, 0xFF00FF00);
        _root.createEmptyMovieClip("holder", 5);
        holder._x = 10;
        holder._y = 30;
        holder.attachBitmap(b, 2);
        b.fillRect(new flash.geom.Rectangle(10, 0, 10, 10), 0xFFFF0000); // after attaching: shown as it is now

        var shot = new flash.display.BitmapData(30, 30, true, 0);
        shot.draw(box, new flash.geom.Matrix(1, 0, 0, 1, 5, 5));
        trace((shot.getPixel32(10, 10) >>> 0).toString(16) + " " + shot.getPixel32(2, 2) + " " + shot.getPixel32(27, 27));
        _root.createEmptyMovieClip("copy", 6);
        copy._x = 60;
        copy.attachBitmap(shot, 1);
        var gone = new flash.display.BitmapData(10, 10, false, 0xFF000000);
        _root.createEmptyMovieClip("hole", 7);
        hole._y = 80;
        hole.attachBitmap(gone, 1);
        gone.dispose();
        var snapped = new flash.display.BitmapData(10, 10, false, 0xFF0000FF);
        _root.createEmptyMovieClip("snap", 8);
        snap._x = 70.4;
        snap._y = 40.4;
        snap._xscale = snap._yscale = 150;
        snap.attachBitmap(snapped, 1, "always", true);
    )"), 1, QSize(100, 100));
    EXPECT_EQ(run.traces, (Lines{"ff0000ff 0 0"}));
    EXPECT_EQ(run.image.pixel(15, 35), qRgb(0, 255, 0));
    EXPECT_EQ(run.image.pixel(25, 35), qRgb(255, 0, 0));
    EXPECT_EQ(run.image.pixel(35, 35), qRgb(255, 255, 255));
    EXPECT_EQ(run.image.pixel(70, 10), qRgb(0, 0, 255)) << "the clip drawn into a bitmap, shown";
    EXPECT_EQ(run.image.pixel(62, 2), qRgb(255, 255, 255));
    EXPECT_EQ(run.image.pixel(5, 85), qRgb(255, 255, 255)) << "a disposed bitmap shows nothing";
    // Snapped to whole pixels, a smoothed and scaled bitmap keeps sharp edges.
    EXPECT_EQ(run.image.pixel(70, 40), qRgb(0, 0, 255));
    EXPECT_EQ(run.image.pixel(84, 54), qRgb(0, 0, 255));
    EXPECT_EQ(run.image.pixel(85, 55), qRgb(255, 255, 255));
}

// A drawing filled with a bitmap tiles its pixels, as they are at each frame.
TEST(BitmapDataScript, ADrawingFilledWithABitmapTilesItsPixels)
{
    const auto run = runMovie(movieWith(R"(
        var tile = new flash.display.BitmapData(10, 10, false, 0xFFFF0000);
        tile.fillRect(new flash.geom.Rectangle(5, 0, 5, 10), 0xFF0000FF);
        _root.createEmptyMovieClip("floor", 5);
        floor.beginBitmapFill(tile, new flash.geom.Matrix(1, 0, 0, 1, 0, 0), true, false);
        floor.moveTo(0, 50); floor.lineTo(40, 50); floor.lineTo(40, 60); floor.lineTo(0, 60); floor.endFill();
    )"), 1, QSize(100, 100));
    EXPECT_EQ(run.image.pixel(2, 55), qRgb(255, 0, 0));
    EXPECT_EQ(run.image.pixel(7, 55), qRgb(0, 0, 255));
    EXPECT_EQ(run.image.pixel(32, 55), qRgb(255, 0, 0)) << "the tile repeats";
    EXPECT_EQ(run.image.pixel(45, 55), qRgb(255, 255, 255));
}

} // namespace
} // namespace flash::test
