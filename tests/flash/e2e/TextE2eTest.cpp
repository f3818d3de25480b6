// Static text end to end: glyph outlines of each font version, laid out by
// the text's advances, height, position and colour.
#include "E2eSupport.h"

using namespace e2e;

namespace {

// Two glyphs: 'I' a bar 500 units wide and 700 tall, 'O' a square ring; both advance 800 units.
FontBuilder testFont()
{
    FontBuilder font("Test Blocks");
    font.glyph(u'I', ShapeBuilder().fillSolid(Color{}).rect(100, -700, 500, 700), 800);
    font.glyph(u'O', ShapeBuilder().fillSolid(Color{}).rect(100, -700, 500, 700).rect(250, -550, 200, 400), 800);
    font.glyph(u' ', ShapeBuilder().fillSolid(Color{}), 400);
    return font;
}

// At 51.2 px a font unit is 0.05 px: glyphs stand 35 px tall and advance 40 px.
constexpr double kHeight = 51.2;

} // namespace

TEST(TextE2e, GlyphsOfEveryFontVersionLandWhereTheAdvancesPutThem)
{
    const std::pair<FontVersion, int> versions[] = {{FontVersion::V1, 1}, {FontVersion::V1, 2}, {FontVersion::V2, 0}, {FontVersion::V3, 0}};
    for (const auto& [version, infoVersion] : versions) {
        SCOPED_TRACE(static_cast<int>(version) * 10 + infoVersion);
        SwfWriter w = newMovie();
        const uint16_t font = w.defineFont(testFont(), version, infoVersion);
        // Baseline at y = 60 from x = 10: 'I' covers x 15..40, 'O' x 55..80 with a hole at 62.5..72.5.
        w.place(1, w.defineText({TextRun{font, kHeight, Color::rgb(0x0000ff), 10, 60, u"IO"}}));
        const QImage img = renderFirstFrame(w);
        EXPECT_TRUE(colorNear(img, 27, 45, kBlue));
        EXPECT_TRUE(colorNear(img, 27, 27, kBlue));
        EXPECT_TRUE(colorNear(img, 27, 22, kWhite)) << "above the glyph's top";
        EXPECT_TRUE(colorNear(img, 27, 62, kWhite)) << "below the baseline";
        EXPECT_TRUE(colorNear(img, 47, 45, kWhite)) << "between the glyphs";
        EXPECT_TRUE(colorNear(img, 57, 45, kBlue));
        EXPECT_TRUE(colorNear(img, 67, 45, kWhite)) << "the ring's hole";
        EXPECT_TRUE(colorNear(img, 78, 45, kBlue));
    }
}

TEST(TextE2e, RunsKeepTheirOwnColourSizeAndPosition)
{
    SwfWriter w = newMovie();
    const uint16_t font = w.defineFont(testFont());
    w.place(1, w.defineText({TextRun{font, kHeight, Color::rgb(0xff0000), 0, 40, u"I"},
                             TextRun{font, kHeight / 2, Color::rgb(0x00ff00), 50, 90, u" I"}}));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 15, 25, kRed));
    // The second run: half size, after a space of 10 px: the bar covers x 62.5..75, y 72.5..90.
    EXPECT_TRUE(colorNear(img, 68, 82, kGreen));
    EXPECT_TRUE(colorNear(img, 55, 82, kWhite));
    EXPECT_TRUE(colorNear(img, 68, 68, kWhite));
}

TEST(TextE2e, GlyphsFollowTheTextsOwnAdvances)
{
    // 10 px of extra spacing: the second 'I' starts 50 px after the first instead of 40.
    SwfWriter w = newMovie();
    const uint16_t font = w.defineFont(testFont());
    TextRun run{font, kHeight, Color::rgb(0xff0000), 0, 40, u"II"};
    run.letterSpacingPx = 10;
    w.place(1, w.defineText({run}));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 20, 25, kRed));
    EXPECT_TRUE(colorNear(img, 52, 25, kWhite)) << "where the font's advance would put the second glyph";
    EXPECT_TRUE(colorNear(img, 58, 25, kRed));
    EXPECT_TRUE(colorNear(img, 78, 25, kRed));
}

TEST(TextE2e, TheTextsOwnMatrixAppliesBeforeThePlacement)
{
    // Glyph 'I' covers x 5..30, y -35..0 from the run's origin; the text's own
    // matrix doubles its width, the placement moves it to (10, 50).
    SwfWriter w = newMovie();
    const uint16_t font = w.defineFont(testFont());
    const uint16_t text = w.defineText({TextRun{font, kHeight, Color::rgb(0x0000ff), 0, 0, u"I"}}, 1, Matrix::scaling(2, 1));
    w.place(1, text, Matrix::translation(10, 50));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 22, 30, kBlue));
    EXPECT_TRUE(colorNear(img, 66, 30, kBlue)) << "twice as wide: 20..70";
    EXPECT_TRUE(colorNear(img, 74, 30, kWhite));
    EXPECT_TRUE(colorNear(img, 16, 30, kWhite));
}

TEST(TextE2e, DefineText2ColoursHaveAlphaAndTextMovesWithItsMatrix)
{
    SwfWriter w = newMovie();
    const uint16_t font = w.defineFont(testFont(), FontVersion::V3);
    const uint16_t text = w.defineText({TextRun{font, kHeight, Color::rgb(0x0000ff, 128), 0, 40, u"I"}}, 2);
    w.place(1, text, Matrix::translation(40, 40));
    const QImage img = renderFirstFrame(w);
    EXPECT_TRUE(colorNear(img, 55, 65, QColor(127, 127, 255), 6));
    EXPECT_TRUE(colorNear(img, 15, 25, kWhite));
}
