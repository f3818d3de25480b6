// Shapes and morph shapes built in code: styles, records to absolute paths,
// styles introduced part-way, and start/end correspondence of morphs.
#include "MovieBytes.h"

#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

namespace {

using namespace flash::test;
using flash::PathCommand;
using Kind = flash::PathCommand::Kind;

std::shared_ptr<const flash::Movie> load(const std::vector<uint8_t>& tags, uint8_t version = 10)
{
    auto result = flash::loadMovie(movie(join({tags, showFrame(), endTag()}), {.version = version}));
    EXPECT_TRUE(result);
    return result ? *result : nullptr;
}

// Shape record helpers (bit level).
void styleChange(Bytes& b, int moveX, int moveY, int fill0, int fill1, int line, unsigned fillBits, unsigned lineBits)
{
    unsigned flags = 0x01;
    if (fill0 >= 0) flags |= 0x02;
    if (fill1 >= 0) flags |= 0x04;
    if (line >= 0) flags |= 0x08;
    b.ub(0, 1).ub(flags, 5).ub(16, 5).sb(moveX, 16).sb(moveY, 16);
    if (fill0 >= 0) b.ub(unsigned(fill0), fillBits);
    if (fill1 >= 0) b.ub(unsigned(fill1), fillBits);
    if (line >= 0) b.ub(unsigned(line), lineBits);
}
void lineEdge(Bytes& b, int dx, int dy) { b.ub(1, 1).ub(1, 1).ub(14, 4).ub(1, 1).sb(dx, 16).sb(dy, 16); }
void curveEdge(Bytes& b, int cdx, int cdy, int adx, int ady)
{
    b.ub(1, 1).ub(0, 1).ub(14, 4).sb(cdx, 16).sb(cdy, 16).sb(adx, 16).sb(ady, 16);
}
void endShape(Bytes& b) { b.ub(0, 6).flushBits(); }

TEST(ParseShape, SquareBecomesOneAbsolutePath)
{
    auto m = load(squareShape(7));
    auto shape = m->find<flash::ShapeDef>(7);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->version, 1);
    EXPECT_EQ(shape->bounds, (flash::Rect{0, 100, 0, 100}));
    EXPECT_EQ(shape->edgeBounds, shape->bounds);
    ASSERT_EQ(shape->fills.size(), 1u);
    EXPECT_EQ(shape->fills[0].color, (flash::Rgba{255, 0, 0, 255}));
    ASSERT_EQ(shape->paths.size(), 1u);
    const auto& path = shape->paths[0];
    EXPECT_EQ(path.fill0, 0u);
    EXPECT_EQ(path.fill1, 1u);
    const std::vector<flash::Point> expected{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
    ASSERT_EQ(path.commands.size(), expected.size());
    EXPECT_EQ(path.commands[0].kind, Kind::MoveTo);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(path.commands[i].to, expected[i]) << i;
        if (i) {
            EXPECT_EQ(path.commands[i].kind, Kind::LineTo);
        }
    }
}

// DefineShape2 with two fills, a style change mid-shape and new styles
// appended (one fill, one line) whose indices must be offset.
std::vector<uint8_t> shapeWithNewStyles()
{
    Bytes b;
    b.u16(3).rect(-200, 200, -200, 200);
    b.u8(2).u8(0).u8(1).u8(2).u8(3).u8(0).u8(4).u8(5).u8(6); // two solid fills
    b.u8(1).u16(20).u8(9).u8(9).u8(9);                        // one line
    b.ub(2, 4).ub(1, 4);
    styleChange(b, 10, 10, 1, -1, 1, 2, 1);
    lineEdge(b, 50, 0);
    curveEdge(b, 10, 10, 0, 40);
    // Style change without a move: the pen stays, a new path starts with fill0 = 2.
    b.ub(0, 1).ub(0x02, 5).ub(2, 2);
    lineEdge(b, -60, 0);
    // New styles: one gradient fill, one line; index 1 now means the third fill.
    b.ub(0, 1).ub(0x10 | 0x08 | 0x04 | 0x01, 5).ub(16, 5).sb(-100, 16).sb(-100, 16).ub(1, 2).ub(1, 1);
    b.flushBits();
    b.u8(1).u8(0x10).identityMatrix().u8(0x02).u8(0).u8(1).u8(2).u8(3).u8(255).u8(4).u8(5).u8(6);
    b.u8(1).u16(40).u8(7).u8(7).u8(7);
    b.ub(1, 4).ub(1, 4);
    lineEdge(b, 0, 30);
    endShape(b);
    return tag(22, b);
}

TEST(ParseShape, NewStylesAreAppendedAndIndicesOffset)
{
    auto m = load(shapeWithNewStyles());
    auto shape = m->find<flash::ShapeDef>(3);
    ASSERT_TRUE(shape);
    ASSERT_EQ(shape->fills.size(), 3u);
    ASSERT_EQ(shape->lines.size(), 2u);
    EXPECT_EQ(shape->fills[2].kind, flash::FillKind::LinearGradient);
    ASSERT_EQ(shape->fills[2].gradient.stops.size(), 2u);
    EXPECT_EQ(shape->fills[2].gradient.stops[1].ratio, 255);
    EXPECT_EQ(shape->lines[1].width, 40);
    ASSERT_EQ(shape->paths.size(), 3u);

    const auto& first = shape->paths[0];
    EXPECT_EQ(first.fill0, 1u);
    EXPECT_EQ(first.line, 1u);
    ASSERT_EQ(first.commands.size(), 3u);
    EXPECT_EQ(first.commands[0].to, (flash::Point{10, 10}));
    EXPECT_EQ(first.commands[1].to, (flash::Point{60, 10}));
    EXPECT_EQ(first.commands[2].kind, Kind::CurveTo);
    EXPECT_EQ(first.commands[2].control, (flash::Point{70, 20}));
    EXPECT_EQ(first.commands[2].to, (flash::Point{70, 60}));
    EXPECT_FALSE(first.newStyles);

    const auto& second = shape->paths[1];
    EXPECT_EQ(second.fill0, 2u);
    EXPECT_EQ(second.line, 1u); // carried over
    EXPECT_EQ(second.commands[0].to, (flash::Point{70, 60}));
    EXPECT_EQ(second.commands[1].to, (flash::Point{10, 60}));
    EXPECT_FALSE(second.newStyles) << "a style change without new arrays stays in the same group";

    const auto& third = shape->paths[2];
    EXPECT_EQ(third.fill0, 0u); // reset by the new styles
    EXPECT_EQ(third.fill1, 3u);
    EXPECT_EQ(third.line, 2u);
    EXPECT_EQ(third.commands[0].to, (flash::Point{-100, -100}));
    EXPECT_EQ(third.commands[1].to, (flash::Point{-100, -70}));
    EXPECT_TRUE(third.newStyles) << "the first path after new style arrays starts a new group";
}

TEST(ParseShape, Shape4StylesAndWindingRule)
{
    Bytes b;
    b.u16(4).rect(0, 100, 0, 100).rect(5, 95, 5, 95).u8(0x04);
    b.u8(1).u8(0x13).identityMatrix().u8(0x52).u8(0).u8(1).u8(2).u8(3).u8(4).u8(255).u8(5).u8(6).u8(7).u8(8);
    b.u16(0x8000); // focal point -128.0 as 8.8
    b.u8(2);
    // Line 1: square caps, miter join, no close, fill with a bitmap.
    b.u16(30).ub(2, 2).ub(2, 2).ub(1, 1).ub(0, 1).ub(1, 1).ub(0, 1).ub(0, 5).ub(1, 1).ub(1, 2);
    b.u16(0x0180); // miter limit 1.5
    b.u8(0x41).u16(9).identityMatrix();
    // Line 2: round caps, bevel join, colour.
    b.u16(10).ub(0, 2).ub(1, 2).ub(0, 1).ub(1, 1).ub(0, 1).ub(1, 1).ub(0, 5).ub(0, 1).ub(0, 2);
    b.u8(1).u8(2).u8(3).u8(128);
    b.ub(1, 4).ub(2, 4);
    styleChange(b, 0, 0, -1, 1, 2, 1, 2);
    lineEdge(b, 10, 10);
    endShape(b);
    auto m = load(tag(83, b));
    auto shape = m->find<flash::ShapeDef>(4);
    ASSERT_TRUE(shape);
    EXPECT_TRUE(shape->nonZeroWinding);
    EXPECT_EQ(shape->edgeBounds, (flash::Rect{5, 95, 5, 95}));
    const auto& g = shape->fills.at(0).gradient;
    EXPECT_EQ(shape->fills[0].kind, flash::FillKind::FocalRadialGradient);
    EXPECT_EQ(g.spread, flash::SpreadMode::Reflect);
    EXPECT_EQ(g.interpolation, flash::InterpolationMode::LinearRgb);
    EXPECT_EQ(g.stops.at(1).color, (flash::Rgba{5, 6, 7, 8}));
    EXPECT_DOUBLE_EQ(g.focalPoint, -128.0);
    const auto& l1 = shape->lines.at(0);
    EXPECT_EQ(l1.startCap, flash::CapStyle::Square);
    EXPECT_EQ(l1.endCap, flash::CapStyle::None);
    EXPECT_EQ(l1.join, flash::JoinStyle::Miter);
    EXPECT_DOUBLE_EQ(l1.miterLimit, 1.5);
    EXPECT_TRUE(l1.noClose);
    EXPECT_TRUE(l1.noVScale);
    EXPECT_FALSE(l1.noHScale);
    ASSERT_TRUE(l1.hasFill);
    EXPECT_EQ(l1.fill.kind, flash::FillKind::ClippedBitmap);
    EXPECT_EQ(l1.fill.bitmapId, 9);
    const auto& l2 = shape->lines.at(1);
    EXPECT_EQ(l2.join, flash::JoinStyle::Bevel);
    EXPECT_TRUE(l2.noHScale);
    EXPECT_TRUE(l2.pixelHinting);
    EXPECT_EQ(l2.color, (flash::Rgba{1, 2, 3, 128}));
    ASSERT_EQ(shape->paths.size(), 1u);
    EXPECT_EQ(shape->paths[0].line, 2u);
}

TEST(ParseShape, BadStyleIndicesAndUnknownFillTypes)
{
    // An index past the style arrays draws nothing instead of reading out of range.
    Bytes ok;
    ok.u16(5).rect(0, 10, 0, 10).u8(1).u8(0).u8(1).u8(2).u8(3).u8(0).ub(3, 4).ub(0, 4);
    styleChange(ok, 0, 0, 7, 1, -1, 3, 0);
    lineEdge(ok, 5, 5);
    endShape(ok);
    Bytes bad;
    bad.u16(6).rect(0, 10, 0, 10).u8(1).u8(0x33).u8(0).ub(0, 8).ub(0, 6).flushBits();
    auto m = load(join({tag(2, ok), tag(2, bad)}));
    auto shape = m->find<flash::ShapeDef>(5);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->paths.at(0).fill0, 0u);
    EXPECT_EQ(shape->paths.at(0).fill1, 1u);
    EXPECT_EQ(m->find<flash::ShapeDef>(6), nullptr);
    ASSERT_EQ(m->errors.size(), 1u);
    EXPECT_NE(m->errors[0].find("unknown fill style type 51"), std::string::npos);
}

// A morph whose start has a straight edge where the end has a curve, and a
// move with no partner move in the end shape's records.
std::vector<uint8_t> morphTag(uint16_t code)
{
    Bytes styles;
    styles.u8(1).u8(0x00).u8(255).u8(0).u8(0).u8(255).u8(0).u8(0).u8(255).u8(128);
    styles.u8(1).u16(20).u16(60);
    if (code == 84)
        styles.ub(0, 2).ub(0, 2).ub(0, 1).ub(0, 1).ub(0, 1).ub(0, 1).ub(0, 5).ub(0, 1).ub(0, 2).flushBits();
    styles.u8(0).u8(0).u8(0).u8(255).u8(10).u8(10).u8(10).u8(255);
    Bytes start;
    start.ub(1, 4).ub(1, 4);
    styleChange(start, 0, 0, 1, -1, 1, 1, 1);
    lineEdge(start, 100, 0);
    curveEdge(start, 0, 50, -50, 50);
    endShape(start);
    Bytes end;
    end.ub(0, 4).ub(0, 4);
    styleChange(end, 20, 20, -1, -1, -1, 0, 0);
    curveEdge(end, 50, -20, 50, 20);
    lineEdge(end, 0, 100);
    endShape(end);

    Bytes b;
    b.u16(8).rect(0, 100, 0, 100).rect(0, 120, 0, 120);
    if (code == 84)
        b.rect(0, 100, 0, 100).rect(0, 120, 0, 120).u8(0x01);
    b.u32(uint32_t(styles.size() + start.size())).append(styles).append(start).append(end);
    return tag(code, b);
}

TEST(ParseMorphShape, StartAndEndCorrespondOneToOne)
{
    for (uint16_t code : {uint16_t(46), uint16_t(84)}) {
        SCOPED_TRACE(code);
        auto m = load(morphTag(code));
        auto morph = m->find<flash::MorphShapeDef>(8);
        ASSERT_TRUE(morph) << (m->errors.empty() ? "" : m->errors[0]);
        EXPECT_EQ(morph->version, code == 84 ? 2 : 1);
        EXPECT_EQ(morph->end.bounds, (flash::Rect{0, 120, 0, 120}));
        ASSERT_EQ(morph->start.paths.size(), 1u);
        ASSERT_EQ(morph->end.paths.size(), 1u);
        const auto& s = morph->start.paths[0].commands;
        const auto& e = morph->end.paths[0].commands;
        ASSERT_EQ(s.size(), 3u);
        ASSERT_EQ(e.size(), 3u);
        EXPECT_EQ(e[0].to, (flash::Point{20, 20}));
        // Start line vs end curve: the line became a curve through its midpoint.
        EXPECT_EQ(s[1].kind, Kind::CurveTo);
        EXPECT_EQ(s[1].control, (flash::Point{50, 0}));
        EXPECT_EQ(s[1].to, (flash::Point{100, 0}));
        EXPECT_EQ(e[1].control, (flash::Point{70, 0}));
        EXPECT_EQ(e[1].to, (flash::Point{120, 20}));
        // Start curve vs end line: the end line became a curve.
        EXPECT_EQ(e[2].kind, Kind::CurveTo);
        EXPECT_EQ(e[2].control, (flash::Point{120, 70}));
        EXPECT_EQ(s[2].control, (flash::Point{100, 50}));
        EXPECT_EQ(morph->end.fills.at(0).color, (flash::Rgba{0, 0, 255, 128}));
        EXPECT_EQ(morph->start.lines.at(0).width, 20);
        EXPECT_EQ(morph->end.lines.at(0).width, 60);
        EXPECT_EQ(morph->end.lines.at(0).color, (flash::Rgba{10, 10, 10, 255}));

        const auto half = flash::morphShapeAt(*morph, 0.5);
        EXPECT_EQ(half.paths[0].commands[0].to, (flash::Point{10, 10}));
        EXPECT_EQ(half.paths[0].commands[1].control, (flash::Point{60, 0}));
        EXPECT_EQ(half.lines[0].width, 40);
        EXPECT_EQ(half.fills[0].color, (flash::Rgba{128, 0, 128, 192}));
        EXPECT_EQ(flash::morphShapeAt(*morph, 0).paths, morph->start.paths);
        EXPECT_EQ(flash::morphShapeAt(*morph, 7).paths, morph->end.paths); // clamped
    }
}

TEST(ParseMorphShape, MismatchedEdgeCountsAreRejected)
{
    auto bytes = morphTag(46);
    // Cut the end shape down to its move record only.
    auto m = load(bytes);
    ASSERT_TRUE(m->find<flash::MorphShapeDef>(8));

    Bytes styles;
    styles.u8(0).u8(0);
    Bytes start;
    start.ub(0, 4).ub(0, 4);
    styleChange(start, 0, 0, -1, -1, -1, 0, 0);
    lineEdge(start, 10, 0);
    lineEdge(start, 0, 10);
    endShape(start);
    Bytes end;
    end.ub(0, 4).ub(0, 4);
    lineEdge(end, 10, 0);
    endShape(end);
    Bytes b;
    b.u16(9).rect(0, 1, 0, 1).rect(0, 1, 0, 1).u32(uint32_t(styles.size() + start.size()));
    b.append(styles).append(start).append(end);
    Bytes badOffset;
    badOffset.u16(10).rect(0, 1, 0, 1).rect(0, 1, 0, 1).u32(0xfffffff0).append(styles);
    auto m2 = load(join({tag(46, b), tag(46, badOffset)}));
    EXPECT_EQ(m2->find<flash::MorphShapeDef>(9), nullptr);
    EXPECT_EQ(m2->find<flash::MorphShapeDef>(10), nullptr);
    EXPECT_EQ(m2->errors.size(), 2u);
}

} // namespace
