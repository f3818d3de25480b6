// Blend modes of placed objects over known colours.
#include "RenderScene.h"

namespace flash::test {
namespace {

constexpr Rgba kGrey{128, 128, 128, 255};
constexpr Rgba kOrange{255, 128, 0, 255};

// A red square blended over a grey background, sampled at its centre.
Rgba blendRedOverGrey(BlendMode mode)
{
    RenderScene scene(40, 40, kGrey);
    scene.place(1, scene.define(1, filledRectangle(10, 10, 30, 30, solidFill(kOrange)))).blendMode = mode;
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 5, 5, kGrey) << "outside the object, mode " << int(mode);
    return pixelAt(image, 20, 20);
}

TEST(BlendMode, SeparableModesOnKnownColours)
{
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Normal), kOrange));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Layer), kOrange));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Multiply), Rgba{128, 64, 0, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Screen), Rgba{255, 192, 128, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Lighten), Rgba{255, 128, 128, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Darken), Rgba{128, 128, 0, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Difference), Rgba{127, 0, 128, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Add), Rgba{255, 255, 128, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Subtract), Rgba{0, 0, 128, 255}));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Invert), Rgba{127, 127, 127, 255}));
}

TEST(BlendMode, AlphaAndEraseOutsideALayerShowNothing)
{
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Alpha), kGrey));
    EXPECT_TRUE(colorNear(blendRedOverGrey(BlendMode::Erase), kGrey));
}

TEST(BlendMode, EraseAndAlphaCutIntoTheirLayer)
{
    RenderScene scene(100, 40, kWhite);
    DisplayObject& group = scene.placeSprite(1);
    group.blendMode = BlendMode::Layer;
    DisplayList* children = group.clip->children.get();
    scene.place(1, scene.define(1, filledRectangle(0, 0, 100, 40, solidFill(kRed))), {}, children);
    scene.place(2, scene.define(2, filledRectangle(10, 10, 30, 30, solidFill(kBlack))), {}, children).blendMode =
        BlendMode::Erase;
    DisplayObject& halfAlpha = scene.place(3, scene.define(3, filledRectangle(60, 10, 80, 30, solidFill(kBlack))), {}, children);
    halfAlpha.blendMode = BlendMode::Alpha;
    halfAlpha.colorTransform.aMult = 0.5;
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 20, 20, kWhite);                           // erased to the background
    EXPECT_PIXEL_NEAR(image, 70, 20, (Rgba{255, 127, 127, 255}), 3); // half the layer's alpha left
    EXPECT_PIXEL(image, 45, 20, kRed);
}

TEST(BlendMode, PixelLoopModesStayInsideTheirMask)
{
    RenderScene scene(40, 40, kGrey);
    scene.place(1, scene.define(1, filledRectangle(0, 0, 20, 40, solidFill(kBlue)))).clipDepth = 2;
    scene.place(2, scene.define(2, filledRectangle(0, 0, 40, 40, solidFill(kOrange)))).blendMode = BlendMode::Subtract;
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 10, 20, (Rgba{0, 0, 128, 255}));
    EXPECT_PIXEL(image, 30, 20, kGrey);
}

TEST(BlendMode, LayerAlphaAppliesToTheGroupAsAWhole)
{
    RenderScene scene(40, 40, kWhite);
    DisplayObject& group = scene.placeSprite(1);
    group.blendMode = BlendMode::Layer;
    group.colorTransform.aMult = 0.5;
    DisplayList* children = group.clip->children.get();
    scene.place(1, scene.define(1, filledRectangle(0, 0, 30, 30, solidFill(kBlue))), {}, children);
    scene.place(2, scene.define(2, filledRectangle(10, 10, 40, 40, solidFill(kBlue))), {}, children);
    const QImage image = scene.render();
    EXPECT_PIXEL_NEAR(image, 5, 5, (Rgba{127, 127, 255, 255}), 3);
    EXPECT_PIXEL_NEAR(image, 20, 20, (Rgba{127, 127, 255, 255}), 3); // overlap no darker
}

} // namespace
} // namespace flash::test
