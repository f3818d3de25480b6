// Strokes end to end: closing joins, stroke scaling modes under a scaled
// placement, and strokes painted with a fill.
#include "E2eSupport.h"

using namespace e2e;

TEST(StrokesE2e, ClosedOutlinesJoinAtTheStartUnlessNoClose)
{
    auto outline = [](bool noClose) {
        return ShapeBuilder()
            .line(LineStyle{.widthPx = 10, .color = Color::rgb(0x0000ff), .startCap = Cap::None, .endCap = Cap::None,
                            .join = Join::Miter, .miterLimit = 4, .noClose = noClose})
            .rect(20, 20, 60, 60);
    };
    SwfWriter closed = newMovie();
    closed.place(1, closed.defineShape(outline(false), 4));
    const QImage joined = renderFirstFrame(closed);
    EXPECT_TRUE(colorNear(joined, 17, 17, kBlue)) << "the corner where the outline starts is mitred";
    EXPECT_TRUE(colorNear(joined, 82, 82, kBlue));

    SwfWriter open = newMovie();
    open.place(1, open.defineShape(outline(true), 4));
    const QImage notched = renderFirstFrame(open);
    EXPECT_TRUE(colorNear(notched, 17, 17, kWhite)) << "no close: two capless ends leave the corner open";
    EXPECT_TRUE(colorNear(notched, 82, 82, kBlue));
}

TEST(StrokesE2e, ASmoothOpenLoopShowsNoGapWhereItStartsOrEnds)
{
    // Four curves round a rounded diamond, each meeting the next with the same
    // tangent: open or closed, the stroke runs on without a gap or a notch.
    for (bool noClose : {false, true}) {
        SCOPED_TRACE(noClose);
        SwfWriter w = newMovie();
        w.place(1, w.defineShape(ShapeBuilder()
                                     .line(LineStyle{.widthPx = 10, .color = Color::rgb(0x0000ff), .startCap = Cap::None,
                                                     .endCap = Cap::None, .noClose = noClose})
                                     .moveTo(50, 20)
                                     .curveTo(80, 20, 80, 50)
                                     .curveTo(80, 80, 50, 80)
                                     .curveTo(20, 80, 20, 50)
                                     .curveTo(20, 20, 50, 20),
                                 4));
        const QImage img = renderFirstFrame(w);
        EXPECT_TRUE(colorNear(img, 50, 20, kBlue)) << "where the loop starts and ends";
        EXPECT_TRUE(colorNear(img, 50, 17, kBlue));
        EXPECT_TRUE(colorNear(img, 50, 23, kBlue));
        EXPECT_TRUE(colorNear(img, 27, 27, kBlue)) << "half-way along the last curve";
        EXPECT_TRUE(colorNear(img, 50, 12, kWhite));
        EXPECT_TRUE(colorNear(img, 50, 50, kWhite));
    }
}

TEST(StrokesE2e, EachEndOfALineTakesItsOwnCap)
{
    auto line = [](Cap start, Cap end, double y) {
        return ShapeBuilder()
            .line(LineStyle{.widthPx = 10, .color = Color::rgb(0x0000ff), .startCap = start, .endCap = end})
            .moveTo(20, y)
            .lineTo(80, y);
    };
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(line(Cap::None, Cap::Square, 20), 4));
    w.place(2, w.defineShape(line(Cap::Square, Cap::None, 50), 4));
    w.place(3, w.defineShape(line(Cap::Round, Cap::None, 80), 4));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 17, 20, kWhite)) << "no cap where it starts";
    EXPECT_TRUE(colorNear(img, 83, 20, kBlue)) << "a square cap where it ends";
    EXPECT_TRUE(colorNear(img, 17, 50, kBlue));
    EXPECT_TRUE(colorNear(img, 83, 50, kWhite));
    EXPECT_TRUE(colorNear(img, 17, 80, kBlue)) << "a round cap reaches out on the line";
    EXPECT_TRUE(colorNear(img, 15, 75, kWhite)) << "but not into the corners";
    EXPECT_TRUE(colorNear(img, 83, 80, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 20, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 80, kBlue));
}

TEST(StrokesE2e, ScaledPlacementsScaleStrokesUnlessTheyOptOut)
{
    auto line = [](bool fixedWidth) {
        return ShapeBuilder()
            .line(LineStyle{.widthPx = 2, .color = Color::rgb(0x0000ff), .noHScale = fixedWidth, .noVScale = fixedWidth})
            .moveTo(0, 5)
            .lineTo(20, 5);
    };
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(line(false), 4), Matrix::scaling(4).then(Matrix::translation(10, 0)));
    w.place(2, w.defineShape(line(true), 4), Matrix::scaling(4).then(Matrix::translation(10, 50)));
    const QImage img = renderFirstFrame(w);
    // Both lines run at y = 20 (+50) from x 10 to 90; the first is 8 px thick, the second 2.
    EXPECT_TRUE(colorNear(img, 50, 20, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 17, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 22, kBlue));
    EXPECT_TRUE(colorNear(img, 50, 70, kBlue, 40));
    EXPECT_TRUE(colorNear(img, 50, 67, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 73, kWhite));
}

TEST(StrokesE2e, HairlinesStayOnePixelUnderScaling)
{
    SwfWriter w = newMovie();
    // Four times y = 5, moved half a pixel down: the line's centre is the middle of pixel row 20.
    w.place(1, w.defineShape(ShapeBuilder().lineSolid(0, Color::rgb(0x000000)).moveTo(0, 5).lineTo(20, 5)),
            Matrix::scaling(4).then(Matrix::translation(10, 0.5)));
    const QImage img = renderFirstFrame(w);
    EXPECT_LT(pixel(img, 50, 20).lightness(), 100);
    EXPECT_TRUE(colorNear(img, 50, 18, kWhite));
    EXPECT_TRUE(colorNear(img, 50, 22, kWhite));
}

TEST(StrokesE2e, StrokesPaintedWithAGradient)
{
    Gradient g{{{0, Color::rgb(0xff0000)}, {255, Color::rgb(0x0000ff)}}};
    SwfWriter w = newMovie();
    w.place(1, w.defineShape(ShapeBuilder()
                                 .line(LineStyle{.widthPx = 10, .fill = FillStyle::linear(g, 10, 0, 90, 0)})
                                 .moveTo(10, 50)
                                 .lineTo(90, 50), 4));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 12, 50, kRed, 20));
    EXPECT_TRUE(colorNear(img, 50, 50, QColor(128, 0, 127), 14));
    EXPECT_TRUE(colorNear(img, 87, 50, kBlue, 20));
    EXPECT_TRUE(colorNear(img, 50, 40, kWhite));
}
