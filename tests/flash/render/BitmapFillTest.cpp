// Bitmap fills and placed bitmaps: tiling, clipping, smoothing, colour transforms.
#include "RenderScene.h"

#include <zlib.h>

namespace flash::test {
namespace {

// A 2 x 2 opaque bitmap: red, green / blue, black.
std::shared_ptr<BitmapDef> checkerBitmap()
{
    const std::vector<uint8_t> raw = {0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0};
    uLongf size = compressBound(uLong(raw.size()));
    auto def = std::make_shared<BitmapDef>();
    def->data.resize(size);
    compress(def->data.data(), &size, raw.data(), uLong(raw.size()));
    def->data.resize(size);
    def->encoding = BitmapEncoding::Lossless;
    def->losslessFormat = 5;
    def->width = def->height = 2;
    return def;
}

// A 40 x 40 pixel square filled with bitmap 5, each bitmap pixel 10 view pixels wide.
QImage renderBitmapFill(FillKind kind, uint16_t bitmapId = 5, const ColorTransform& transform = {})
{
    RenderScene scene;
    scene.define(5, checkerBitmap());
    FillStyle fill;
    fill.kind = kind;
    fill.bitmapId = bitmapId;
    fill.matrix = Matrix{px(10), 0, 0, px(10), 0, 0};
    DisplayObject& object = scene.place(1, scene.define(1, filledRectangle(0, 0, 40, 40, fill)));
    object.colorTransform = transform;
    return scene.render();
}

TEST(BitmapFill, RepeatingTilesThePicture)
{
    const QImage image = renderBitmapFill(FillKind::NonSmoothedRepeatingBitmap);
    EXPECT_PIXEL(image, 5, 5, kRed);
    EXPECT_PIXEL(image, 15, 5, kGreen);
    EXPECT_PIXEL(image, 5, 15, kBlue);
    EXPECT_PIXEL(image, 15, 15, kBlack);
    EXPECT_PIXEL(image, 25, 5, kRed);   // the next tile
    EXPECT_PIXEL(image, 35, 35, kBlack);
    EXPECT_PIXEL(image, 45, 5, kWhite); // beyond the shape
}

TEST(BitmapFill, ClippedRepeatsItsEdgePixelsOutwards)
{
    const QImage image = renderBitmapFill(FillKind::NonSmoothedClippedBitmap);
    EXPECT_PIXEL(image, 5, 5, kRed);
    EXPECT_PIXEL(image, 15, 15, kBlack);
    EXPECT_PIXEL(image, 25, 5, kGreen);  // the right edge column carried on
    EXPECT_PIXEL(image, 5, 35, kBlue);   // the bottom edge row
    EXPECT_PIXEL(image, 35, 35, kBlack); // the corner pixel
    EXPECT_PIXEL(image, 45, 5, kWhite);  // beyond the shape
}

TEST(BitmapFill, SmoothedClippedEdgesDoNotWrapAround)
{
    const QImage image = renderBitmapFill(FillKind::ClippedBitmap);
    // The top-left pixel's outer edge: a tiling picture would blend in the far side.
    EXPECT_PIXEL_NEAR(image, 0, 0, kRed, 4);
    EXPECT_PIXEL_NEAR(image, 19, 19, kBlack, 4);
}

TEST(BitmapFill, SmoothingBlendsNeighbouringPixels)
{
    const QImage sharp = renderBitmapFill(FillKind::NonSmoothedRepeatingBitmap);
    const QImage smooth = renderBitmapFill(FillKind::RepeatingBitmap);
    EXPECT_PIXEL(sharp, 9, 5, kRed);
    EXPECT_GT(pixelAt(smooth, 9, 5).g, 40); // part green already
    EXPECT_PIXEL_NEAR(smooth, 5, 5, kRed, 40);
}

TEST(BitmapFill, MissingBitmapDrawsNothing)
{
    const QImage image = renderBitmapFill(FillKind::RepeatingBitmap, 65535);
    EXPECT_PIXEL(image, 5, 5, kWhite);
}

TEST(BitmapFill, ColourTransformTintsThePicture)
{
    ColorTransform toGrey;
    toGrey.rMult = toGrey.gMult = toGrey.bMult = 0;
    toGrey.rAdd = toGrey.gAdd = toGrey.bAdd = 100;
    toGrey.aMult = 0.5;
    const QImage image = renderBitmapFill(FillKind::NonSmoothedRepeatingBitmap, 5, toGrey);
    // Grey 100 at half opacity over white.
    EXPECT_PIXEL_NEAR(image, 5, 5, (Rgba{178, 178, 178, 255}), 3);
}

TEST(BitmapFill, PlacedBitmapShowsOnePixelPerPixel)
{
    RenderScene scene;
    auto bitmap = scene.define(5, checkerBitmap());
    scene.place(1, bitmap, Matrix{10, 0, 0, 10, px(50), px(50)});
    DisplayObject& tinted = scene.place(2, bitmap, Matrix{1, 0, 0, 1, px(10), px(10)});
    tinted.colorTransform.rMult = 0;
    tinted.colorTransform.bAdd = 255;
    const QImage image = scene.render();
    EXPECT_PIXEL(image, 55, 55, kRed);
    EXPECT_PIXEL(image, 65, 55, kGreen);
    EXPECT_PIXEL(image, 65, 65, kBlack);
    EXPECT_PIXEL(image, 75, 75, kWhite);
    EXPECT_PIXEL(image, 10, 10, kBlue);          // red without red, plus blue
    EXPECT_PIXEL(image, 11, 10, (Rgba{0, 255, 255, 255}));
}

} // namespace
} // namespace flash::test
