// Solid fills drawn straight into a picture: coverage from exact pixel areas,
// the painter's clip region and masks respected, and what the painter itself
// would draw, up to rounding.
#include "flash/render/raster/DirectFill.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace flash {
namespace {

// Coverage of each pixel the raster reports, by (x, y).
std::map<std::pair<int, int>, int> coverageOf(CoverageRaster& raster, WindingRule rule)
{
    std::map<std::pair<int, int>, int> coverage;
    raster.sweep(rule, [&](int y, int x, int length, uint8_t value) {
        for (int i = 0; i < length; ++i)
            coverage[{x + i, y}] = value;
    });
    return coverage;
}

void addRectangle(CoverageRaster& raster, double x0, double y0, double x1, double y1)
{
    raster.addLine(x0, y0, x1, y0);
    raster.addLine(x1, y0, x1, y1);
    raster.addLine(x1, y1, x0, y1);
    raster.addLine(x0, y1, x0, y0);
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

TEST(CoverageRaster, EachPixelIsCoveredByTheAreaInsideTheOutline)
{
    CoverageRaster raster;
    raster.reset(QRect(0, 0, 10, 10));
    addRectangle(raster, 1.25, 2.5, 4.75, 5.0);
    const auto coverage = coverageOf(raster, WindingRule::NonZero);
    EXPECT_EQ(coverage.at({1, 2}), 96) << "0.75 x 0.5 of the pixel";
    EXPECT_EQ(coverage.at({2, 2}), 128) << "half a row";
    EXPECT_EQ(coverage.at({2, 3}), 255);
    EXPECT_EQ(coverage.at({4, 4}), 191) << "three quarters of a column";
    EXPECT_FALSE(coverage.contains({5, 3}));
    EXPECT_FALSE(coverage.contains({2, 5}));

    // Left of the box, an outline still covers the box's pixels to its right;
    // past its right and below it, nothing is reported.
    raster.reset(QRect(10, 10, 5, 5));
    addRectangle(raster, -100, 11, 12.5, 100);
    const auto clipped = coverageOf(raster, WindingRule::NonZero);
    EXPECT_EQ(clipped.at({10, 11}), 255);
    EXPECT_EQ(clipped.at({12, 14}), 128);
    EXPECT_FALSE(clipped.contains({13, 12}));
    EXPECT_FALSE(clipped.contains({10, 10}));
    EXPECT_EQ(clipped.size(), 12u) << "rows 11 to 14, pixels 10 to 12";

    // An outline reaching past the box's right edge covers the box up to it.
    raster.reset(QRect(10, 10, 5, 5));
    addRectangle(raster, 11.5, 11, 100, 100);
    const auto pastRight = coverageOf(raster, WindingRule::NonZero);
    EXPECT_EQ(pastRight.at({11, 12}), 128);
    EXPECT_EQ(pastRight.at({14, 12}), 255);
    EXPECT_EQ(pastRight.size(), 16u) << "rows 11 to 14, pixels 11 to 14";
}

TEST(CoverageRaster, OverlapsFollowTheWindingRule)
{
    CoverageRaster raster;
    for (WindingRule rule : {WindingRule::NonZero, WindingRule::EvenOdd}) {
        raster.reset(QRect(0, 0, 20, 20));
        addRectangle(raster, 0, 0, 10, 10);
        addRectangle(raster, 5, 5, 15, 15);
        const auto coverage = coverageOf(raster, rule);
        EXPECT_EQ(coverage.at({2, 2}), 255);
        EXPECT_EQ(coverage.contains({7, 7}) ? coverage.at({7, 7}) : 0, rule == WindingRule::NonZero ? 255 : 0);
    }
}

class DirectFillTest : public ::testing::Test {
protected:
    QImage picture(QColor background = Qt::white) const
    {
        QImage image(120, 90, QImage::Format_ARGB32_Premultiplied);
        image.fill(background);
        return image;
    }

    CoverageRaster raster;
};

TEST_F(DirectFillTest, PaintsWhatThePainterPaints)
{
    QPainterPath shapes;
    shapes.moveTo(10.3, 5.2);
    shapes.lineTo(100.7, 30.9);
    shapes.lineTo(40.1, 80.6);
    shapes.closeSubpath();
    shapes.addRect(60.5, 10.25, 30, 70);
    for (Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill}) {
        shapes.setFillRule(rule);
        for (const QColor color : {QColor(200, 40, 10), QColor(10, 90, 200, 120)}) {
            QImage expected = picture();
            QImage direct = picture();
            const QTransform rotated = QTransform().translate(4, -6).rotate(6);
            {
                QPainter painter(&expected);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setTransform(rotated);
                painter.fillPath(shapes, color);
            }
            {
                QPainter painter(&direct);
                painter.setRenderHint(QPainter::Antialiasing);
                DirectFill fill(painter, raster);
                painter.setTransform(rotated);
                EXPECT_TRUE(fill.fill(shapes, color));
            }
            EXPECT_LE(largestDifference(expected, direct), 3) << "rule " << rule << " alpha " << color.alpha();
        }
    }
}

// Curves are cut into lines at most a tenth of a pixel from them (the
// painter's own lines stray farther), drawn once or kept for the next time.
TEST_F(DirectFillTest, CurvesStayWithinATenthOfAPixel)
{
    const QPointF centre(45.3, 40.6);
    QPainterPath ellipse;
    ellipse.addEllipse(centre, 30, 25);
    const FlatOutlineCache flat;
    for (const bool kept : {false, true}) {
        QImage image = picture(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            DirectFill fill(painter, raster);
            EXPECT_TRUE(kept ? fill.fill(ellipse, flat, Qt::black) : fill.fill(ellipse, Qt::black));
        }
        int largestError = 0;
        for (int y = 10; y < 72; ++y) {
            for (int x = 10; x < 80; ++x) {
                constexpr int kSamples = 16;
                int inside = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const double dx = (x + (sx + 0.5) / kSamples - centre.x()) / 30;
                        const double dy = (y + (sy + 0.5) / kSamples - centre.y()) / 25;
                        inside += dx * dx + dy * dy <= 1 ? 1 : 0;
                    }
                }
                const int exact = int(std::lround(inside * 255.0 / (kSamples * kSamples)));
                largestError = std::max(largestError, std::abs(qAlpha(image.pixel(x, y)) - exact));
            }
        }
        EXPECT_LE(largestError, 26 + 4) << (kept ? "kept" : "drawn once") << ": a tenth of 255, and sampling";
    }
}

TEST_F(DirectFillTest, KeepsToTheClipRegionAndTheMasks)
{
    QImage image = picture();
    QPainterPath everything;
    everything.addRect(-50, -50, 300, 300);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRegion(QRegion(0, 0, 40, 40) + QRegion(80, 50, 40, 40));
        DirectFill fill(painter, raster);
        EXPECT_TRUE(fill.fill(everything, Qt::blue));

        // A mask with edges half way through pixels leaves half of them drawable.
        QPainterPath mask;
        mask.addRect(10.5, 10.5, 10, 10);
        fill.save();
        fill.clipTo(mask);
        EXPECT_TRUE(fill.fill(everything, Qt::red));
        fill.restore();
    }
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100, 70), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(60, 20), qRgb(255, 255, 255)) << "outside the region";
    EXPECT_EQ(image.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_NEAR(qRed(image.pixel(10, 15)), 128, 1) << "the mask's edge";
    EXPECT_EQ(image.pixel(25, 15), qRgb(0, 0, 255)) << "outside the mask";
}

// Hairlines cover a band one pixel wide about the line, wherever it runs.
TEST_F(DirectFillTest, HairlinesAreOnePixelWide)
{
    QImage image = picture();
    QPainterPath lines;
    lines.moveTo(5, 10.5);
    lines.lineTo(30, 10.5);
    lines.lineTo(30, 40);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        DirectFill fill(painter, raster);
        painter.translate(0.5, 0); // the vertical line's band then lies on column 30
        EXPECT_TRUE(fill.strokeHairlines(lines, Qt::black));
    }
    EXPECT_EQ(image.pixel(15, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 9), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(15, 11), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(30, 25), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(29, 25), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(31, 25), qRgb(255, 255, 255));
}

TEST_F(DirectFillTest, LeavesToThePainterWhatItCannotDraw)
{
    QPainterPath square;
    square.addRect(10, 10, 20, 20);
    QImage small(40, 40, QImage::Format_RGB16);
    QPainter onSmall(&small);
    onSmall.setRenderHint(QPainter::Antialiasing);
    EXPECT_FALSE(DirectFill(onSmall, raster).fill(square, Qt::red)) << "not a 32-bit picture";

    QImage image = picture();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DirectFill fill(painter, raster);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    EXPECT_FALSE(fill.fill(square, Qt::red));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setTransform(QTransform(1, 0, 0.001, 0, 1, 0, 0, 0, 1));
    EXPECT_FALSE(fill.fill(square, Qt::red)) << "a perspective transform";
}

} // namespace
} // namespace flash
