// The skin: every picture is compiled in at its exact size, opaque except the
// icon, whose mask is one bit deep; the pictures of a button pair share their
// size and tile.

#include "ui/skin.h"
#include "ui/skin_catalog.h"
#include "ui/window_design.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace vf::test {
namespace {

QString nameOf(const ui::SkinPicture& picture)
{
    return QString::fromUtf8(picture.name.data(), static_cast<qsizetype>(picture.name.size()));
}

TEST(Skin, EveryPictureExistsAtItsExactSize)
{
    for (const auto& entry : ui::kSkinPictures) {
        SCOPED_TRACE(entry.name.data());
        const QImage picture(ui::skinPicturePath(nameOf(entry)));
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(entry.width, entry.height));
    }
}

TEST(Skin, PicturesAreOpaqueAndTheIconHasAOneBitMask)
{
    for (const auto& entry : ui::kSkinPictures) {
        SCOPED_TRACE(entry.name.data());
        const QImage picture = QImage(ui::skinPicturePath(nameOf(entry))).convertToFormat(QImage::Format_ARGB32);
        int transparent = 0;
        bool partial = false;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const int alpha = qAlpha(picture.pixel(x, y));
                transparent += alpha == 0;
                partial |= alpha != 0 && alpha != 255;
            }
        }
        EXPECT_FALSE(partial);
        if (entry.name == ui::kIconPicture) {
            const double share = static_cast<double>(transparent) / (picture.width() * picture.height());
            EXPECT_GT(share, 0.4);
            EXPECT_LT(share, 0.8);
        } else {
            EXPECT_EQ(transparent, 0);
        }
    }
}

TEST(Skin, ButtonPairsShareSizeAndTileButDiffer)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"about1", "ab2"}, {"small1", "small2"}, {"close1", "close2"},       {"list1", "list2"},
        {"qian1", "qian2"}, {"ying1", "ying2"},  {"openfile1", "openfile2"}, {"opendir1", "opendir2"},
        {"play1", "play2"}, {"ht1", "ht2"},      {"qj1", "qj2"},             {"kht1", "kht2"},
        {"kqj1", "kqj2"},   {"stop1", "stop2"},
    };
    for (const auto& [normalName, hoverName] : pairs) {
        SCOPED_TRACE(normalName);
        const QImage normal(ui::skinPicturePath(QString::fromLatin1(normalName)));
        const QImage hover(ui::skinPicturePath(QString::fromLatin1(hoverName)));
        ASSERT_EQ(normal.size(), hover.size());
        EXPECT_NE(normal, hover);
        // The tile's corners carry no symbol.
        EXPECT_EQ(normal.pixel(0, 0), hover.pixel(0, 0));
        EXPECT_EQ(normal.pixel(0, normal.height() - 1), hover.pixel(0, hover.height() - 1));
        EXPECT_EQ(normal.pixel(normal.width() - 1, 1), hover.pixel(hover.width() - 1, 1));
    }
}

TEST(Skin, TrackHasItsGrooveAndWhiteFoot)
{
    const QImage track(ui::skinPicturePath(QStringLiteral("jin1")));
    ASSERT_EQ(track.size(), QSize(269, 17));
    for (const int x : {0, 134, 268}) {
        EXPECT_EQ(QColor(track.pixel(x, 7)), QColor(0x50, 0xCF, 0xF0));
        for (const int y : {8, 9, 10})
            EXPECT_EQ(QColor(track.pixel(x, y)), QColor(Qt::black));
        EXPECT_EQ(QColor(track.pixel(x, 14)), QColor(0x50, 0xCF, 0xF0));
        EXPECT_EQ(QColor(track.pixel(x, 16)), QColor(Qt::white));
    }
}

TEST(Skin, EveryPictureNamedByADesignIsInTheSkin)
{
    const auto inSkin = [](const QString& name) {
        return std::ranges::any_of(ui::kSkinPictures, [&](const auto& entry) { return nameOf(entry) == name; });
    };
    for (const char* window : {"main", "flashfrom", "Form2", "Form3", "Form1"}) {
        SCOPED_TRACE(window);
        const auto design = ui::loadWindowDesign(QString::fromLatin1(window));
        ASSERT_TRUE(design.has_value()) << design.error().toStdString();
        if (!design->background.isEmpty()) {
            EXPECT_TRUE(inSkin(design->background));
        }
        EXPECT_TRUE(inSkin(design->icon));
        for (const auto& control : design->controls) {
            if (!control.picture.isEmpty()) {
                EXPECT_TRUE(inSkin(control.picture)) << control.name.toStdString();
            }
        }
    }
}

} // namespace
} // namespace vf::test
