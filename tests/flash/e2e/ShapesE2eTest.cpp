// Shapes end to end: fills on either side of an edge, style groups, fill
// rules, curves, alpha and strokes, as written, parsed, placed and drawn.
#include "E2eSupport.h"

using namespace e2e;

TEST(ShapesE2e, SolidRectangleCoversExactlyItsArea)
{
    for (int version = 1; version <= 4; ++version) {
        SCOPED_TRACE(version);
        SwfWriter w = newMovie();
        w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000)).rect(20, 30, 40, 20), version));
        const QImage img = renderFirstFrame(w);
        EXPECT_TRUE(colorNear(img, 40, 40, kRed));
        EXPECT_TRUE(colorNear(img, 21, 31, kRed));
        EXPECT_TRUE(colorNear(img, 58, 48, kRed));
        EXPECT_TRUE(colorNear(img, 18, 40, kWhite));
        EXPECT_TRUE(colorNear(img, 62, 40, kWhite));
        EXPECT_TRUE(colorNear(img, 40, 28, kWhite));
        EXPECT_TRUE(colorNear(img, 40, 52, kWhite));
    }
}

TEST(ShapesE2e, FillsOnEitherSideOfTheEdgesPaintTheSameArea)
{
    // Clockwise outlines with the fill on the left (fill0) or the right (fill1),
    // and a counter-clockwise one with fill0: all enclose the same square.
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000), FillSide::Left).rect(10, 10, 30, 30)));
    w.place(2, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x0000ff), FillSide::Right).rect(60, 10, 30, 30)));
    w.place(3, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x00ff00), FillSide::Left)
                                 .polygon({{10, 60}, {10, 90}, {40, 90}, {40, 60}})));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kRed));
    EXPECT_TRUE(colorNear(img, 75, 25, kBlue));
    EXPECT_TRUE(colorNear(img, 25, 75, kGreen));
    EXPECT_TRUE(colorNear(img, 50, 50, kWhite));
}

TEST(ShapesE2e, SharedEdgeCarriesBothNeighbouringFills)
{
    // Two squares side by side drawn as one outline each, except the middle
    // edge, which is written once with fill0 = left square, fill1 = right one.
    ShapeBuilder b;
    b.fillSolid(Color::rgb(0xff0000)).fillSolid(Color::rgb(0x0000ff));
    b.useFill0(1).useFill1(0).moveTo(50, 20).lineTo(20, 20).lineTo(20, 80).lineTo(50, 80); // red on its left
    b.useFill0(1).useFill1(2).lineTo(50, 20);                                            // middle edge, going up
    b.useFill0(0).useFill1(2).lineTo(80, 20).lineTo(80, 80).lineTo(50, 80);             // blue on its right
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 30, 50, kRed));
    EXPECT_TRUE(colorNear(img, 48, 50, kRed));
    EXPECT_TRUE(colorNear(img, 52, 50, kBlue));
    EXPECT_TRUE(colorNear(img, 70, 50, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 10, kWhite));
}

TEST(ShapesE2e, EdgesScatteredAcrossRecordsAreLinkedIntoOutlines)
{
    // The four sides of a square as four separate runs, in no particular order,
    // two of them drawn against the outline's direction with the fill on their left.
    ShapeBuilder b;
    b.fillSolid(Color::rgb(0x0000ff));
    b.useFill0(0).useFill1(1).moveTo(20, 20).lineTo(80, 20);  // top, rightwards
    b.useFill0(1).useFill1(0).moveTo(20, 80).lineTo(80, 80);  // bottom, rightwards
    b.useFill0(0).useFill1(1).moveTo(80, 20).lineTo(80, 80);  // right side, down
    b.useFill0(1).useFill1(0).moveTo(20, 20).lineTo(20, 80);  // left side, down
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 50, kBlue));
    EXPECT_TRUE(colorNear(img, 23, 77, kBlue));
    EXPECT_TRUE(colorNear(img, 10, 50, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 90, kWhite));
}

TEST(ShapesE2e, NewStylesPartWayThroughAShape)
{
    ShapeBuilder b;
    b.fillSolid(Color::rgb(0xff0000)).rect(10, 10, 30, 30);
    b.newStyles().fillSolid(Color::rgb(0x0000ff)).lineSolid(4, Color::rgb(0x00ff00)).rect(60, 60, 30, 30);
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b, 2));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 25, 25, kRed));
    EXPECT_TRUE(colorNear(img, 75, 75, kBlue));
    EXPECT_TRUE(colorNear(img, 60, 75, kGreen)); // on the left edge of the second square
    EXPECT_TRUE(colorNear(img, 50, 50, kWhite));
}

TEST(ShapesE2e, ALaterStyleGroupsFillCoversAnEarlierGroupsLine)
{
    // One shape: a thick green line, then in a new style group a blue square across it.
    // Within one group lines go over fills; a later group goes over everything before it.
    ShapeBuilder b;
    b.lineSolid(10, Color::rgb(0x00ff00)).moveTo(10, 50).lineTo(90, 50);
    b.newStyles().fillSolid(Color::rgb(0x0000ff)).rect(30, 30, 40, 40);
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b, 2));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 50, kBlue)) << "the later fill hides the line where they overlap";
    EXPECT_TRUE(colorNear(img, 50, 40, kBlue));
    EXPECT_TRUE(colorNear(img, 20, 50, kGreen)) << "the line shows outside the square";
    EXPECT_TRUE(colorNear(img, 80, 50, kGreen));
}

TEST(ShapesE2e, FillRulesDecideWhetherAnInnerLoopIsAHole)
{
    // Both loops clockwise: a hole under even-odd, filled under non-zero (DefineShape4 flag).
    auto nested = [] {
        return ShapeBuilder().fillSolid(Color::rgb(0x0000ff)).rect(10, 10, 80, 80).rect(35, 35, 30, 30);
    };
    SwfWriter evenOdd = newMovie();
    evenOdd.place(1, evenOdd.defineShape(nested(), 3));
    const QImage holed = renderFirstFrame(evenOdd);
    EXPECT_TRUE(colorNear(holed, 20, 20, kBlue));
    EXPECT_TRUE(colorNear(holed, 50, 50, kWhite));

    SwfWriter nonZero = newMovie();
    nonZero.place(1, nonZero.defineShape(nested(), 4, FillRule::NonZero));
    const QImage filled = renderFirstFrame(nonZero);
    EXPECT_TRUE(colorNear(filled, 20, 20, kBlue));
    EXPECT_TRUE(colorNear(filled, 50, 50, kBlue));
}

TEST(ShapesE2e, CurvedEdgesBendTheOutline)
{
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x000000)).circle(50, 50, 40)));
    // A quadratic bulge: the curve through control (50, 0) peaks at y = 40.
    w.place(2, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000)).moveTo(10, 95).curveTo(50, 55, 90, 95).close()));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 50, kBlack));
    EXPECT_TRUE(colorNear(img, 50, 12, kBlack));
    EXPECT_TRUE(colorNear(img, 14, 14, kWhite)); // inside the bounding box, outside the circle
    EXPECT_TRUE(colorNear(img, 86, 86, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 90, kRed));   // the curve's peak is at y = 75
    EXPECT_TRUE(colorNear(img, 15, 85, kWhite));
}

TEST(ShapesE2e, LongEdgesAndNegativeCoordinates)
{
    // A 3000 px square needs 17-bit edge deltas; scaled down to 80 px it covers 10..90.
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x0000ff)).rect(0, 0, 3000, 3000)
                                 .newStyles().fillSolid(Color::rgb(0xff0000)).circle(1500, 1500, 1200), 2),
            Matrix::scaling(1.0 / 37.5).then(Matrix::translation(10, 10)));
    // Drawn entirely left of and above the origin, placed back on stage.
    w.place(2, w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0x00ff00)).rect(-500, -500, 10, 10)),
            Matrix::translation(580, 580));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 12, 12, kBlue));
    EXPECT_TRUE(colorNear(img, 88, 12, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 50, kRed));
    EXPECT_TRUE(colorNear(img, 92, 50, kWhite));
    EXPECT_TRUE(colorNear(img, 85, 85, kGreen));
}

TEST(ShapesE2e, HundredsOfFillStylesNeedTheExtendedCount)
{
    // 300 styles: the count is stored in the extended form and indices take nine bits.
    ShapeBuilder b;
    for (int i = 0; i < 300; ++i)
        b.fill(FillStyle::solid(i == 299 ? Color::rgb(0x0000ff) : Color::rgb(0xff0000)));
    b.useFill1(300).rect(50, 10, 40, 80).useFill1(1).rect(10, 10, 30, 80);
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b, 3));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 70, 50, kBlue));
    EXPECT_TRUE(colorNear(img, 25, 50, kRed));
    EXPECT_TRUE(colorNear(img, 45, 50, kWhite));
}

TEST(ShapesE2e, ShapeColoursCarryAlphaFromDefineShape3)
{
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(square(10, 10, 40, Color::rgb(0xff0000, 128)), 3));
    w.place(2, w.defineShape(square(50, 50, 40, Color::rgb(0x0000ff, 128)), 1)); // no alpha stored: opaque
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 30, 30, QColor(255, 127, 127), 4));
    EXPECT_TRUE(colorNear(img, 70, 70, kBlue));
}

TEST(ShapesE2e, StrokesHaveTheirWidthAndHairlinesStillShow)
{
    ShapeBuilder b;
    b.lineSolid(10, Color::rgb(0x0000ff)).moveTo(10, 30).lineTo(90, 30);
    b.lineSolid(0, Color::rgb(0x000000)).moveTo(10, 70.5).lineTo(90, 70.5); // zero width: one pixel
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 30, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 26, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 33, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 37, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 22, kWhite));
    EXPECT_LT(pixel(img, 50, 70).lightness(), 100) << "a hairline must draw at least one dark pixel";
    EXPECT_TRUE(colorNear(img, 50, 74, kWhite));
}

TEST(ShapesE2e, LineCapsAndJoins)
{
    const Color blue = Color::rgb(0x0000ff);
    auto stroke = [&](Cap cap, Join join) {
        return LineStyle{.widthPx = 10, .color = blue, .startCap = cap, .endCap = cap, .join = join, .miterLimit = 10};
    };
    ShapeBuilder b;
    b.line(stroke(Cap::None, Join::Round)).moveTo(20, 15).lineTo(80, 15);
    b.line(stroke(Cap::Square, Join::Round)).moveTo(20, 40).lineTo(80, 40);
    b.line(stroke(Cap::Round, Join::Miter)).moveTo(20, 90).lineTo(50, 60).lineTo(80, 90);
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b, 4));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 15, kBlue));
    EXPECT_TRUE(colorNear(img, 17, 15, kWhite)) << "no cap: the stroke stops at its end point";
    EXPECT_TRUE(colorNear(img, 83, 15, kWhite));
    EXPECT_TRUE(colorNear(img, 17, 40, kBlue)) << "square cap: half the width past the end";
    EXPECT_TRUE(colorNear(img, 83, 40, kBlue));
    // A right-angle miter reaches 5 * sqrt(2) = 7.07 px above the corner; a round join only 5.
    EXPECT_TRUE(colorNear(img, 50, 54, kBlue, 40)) << "miter join";
}

TEST(ShapesE2e, BevelJoinCutsTheCorner)
{
    ShapeBuilder b;
    b.line(LineStyle{.widthPx = 10, .color = Color::rgb(0x0000ff), .join = Join::Bevel}).moveTo(20, 90).lineTo(50, 60).lineTo(80, 90);
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(b, 4));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 50, 60, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 54, kWhite, 40)) << "a bevel stops 3.5 px above the corner";
}
