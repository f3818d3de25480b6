// Shapes drawn by script calls render like shapes from the file.
#include "RenderScene.h"

#include "flash/stage/Drawing.h"

namespace flash::test {
namespace {

TEST(Drawing, FillsCloseThemselvesLinesStrokeAndLaterCallsDrawOnTop)
{
    Drawing drawing;
    drawing.moveTo({px(10), px(10)});
    drawing.beginFill(solidFill(kRed));
    drawing.lineTo({px(60), px(10)});
    drawing.lineTo({px(60), px(60)});
    drawing.lineTo({px(10), px(60)});
    drawing.endFill(); // closes back to (10, 10)
    drawing.moveTo({px(30), px(30)});
    drawing.beginFill(solidFill(kBlue));
    drawing.curveTo({px(90), px(30)}, {px(90), px(90)});
    drawing.lineTo({px(30), px(90)}); // left open: shown closed
    drawing.lineStyle(solidLine(uint16_t(px(4)), kGreen));
    drawing.moveTo({px(5), px(95)});
    drawing.lineTo({px(95), px(95)});

    RenderScene scene;
    DisplayObject& clip = scene.placeSprite(1);
    clip.drawing = drawing.shape();
    ASSERT_NE(clip.drawing, nullptr);
    EXPECT_EQ(clip.drawing, drawing.shape()) << "unchanged drawings are not rebuilt";
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 20, 20, kRed);
    EXPECT_PIXEL(image, 50, 50, kBlue) << "the later fill covers the earlier";
    EXPECT_PIXEL(image, 40, 80, kBlue);
    EXPECT_PIXEL(image, 80, 40, kWhite) << "outside the curve";
    EXPECT_PIXEL(image, 50, 95, kGreen);
    EXPECT_PIXEL(image, 70, 20, kWhite);

    drawing.clear();
    EXPECT_EQ(drawing.shape(), nullptr);
}

} // namespace
} // namespace flash::test
