// PlaceObject and RemoveObject: new, move, replace and remove by depth.
#include "MovieFixture.h"

#include "flash/stage/TimelineApplier.h"

#include <gtest/gtest.h>

namespace flash::test {
namespace {

class DisplayListBuilderTest : public ::testing::Test {
protected:
    void SetUp() override { m_movie = MovieWriter().shape(1).shape(2).finish(TimelineWriter()); }

    void apply(const PlaceObject& tag, uint32_t frame = 0) { TimelineApplier(*m_movie, m_list).place(tag, frame); }

    std::shared_ptr<const Movie> m_movie;
    DisplayList m_list;
};

PlaceObject placeTag(uint16_t depth, std::optional<uint16_t> character, bool isMove)
{
    PlaceObject tag;
    tag.depth = depth;
    tag.characterId = character;
    tag.isMove = isMove;
    return tag;
}

TEST_F(DisplayListBuilderTest, NewPlacementTakesEveryGivenField)
{
    PlaceObject tag = placeTag(3, 1, false);
    tag.matrix = Matrix{2, 0, 0, 2, 40, 60};
    tag.colorTransform = ColorTransform{0.5, 1, 1, 1, 0, 0, 0, 0};
    tag.ratio = 1000;
    tag.name = "clip";
    tag.clipDepth = 7;
    tag.blendMode = BlendMode::Multiply;
    // A blur of 4 x 4 pixels, one pass; and a glow too short to read, which is left out.
    tag.filters = std::vector<Filter>{Filter{1, {0, 0, 4, 0, 0, 0, 4, 0, 0x08}}, Filter{2, {1, 2}}};
    tag.cacheAsBitmap = true;
    apply(tag, 4);

    const DisplayObject* object = m_list.at(3);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->characterId, 1);
    EXPECT_EQ(object->matrix, (Matrix{2, 0, 0, 2, 40, 60}));
    EXPECT_EQ(object->colorTransform.rMult, 0.5);
    EXPECT_EQ(object->ratio, 1000);
    EXPECT_EQ(object->name, "clip");
    EXPECT_EQ(object->clipDepth, 7);
    EXPECT_EQ(object->blendMode, BlendMode::Multiply);
    ASSERT_EQ(object->filters.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<BlurFilter>(object->filters[0]));
    EXPECT_TRUE(object->cacheAsBitmap);
    EXPECT_EQ(object->placedOnFrame, 4u);
}

TEST_F(DisplayListBuilderTest, MoveChangesOnlyWhatItGives)
{
    PlaceObject first = placeTag(1, 1, false);
    first.matrix = Matrix{1, 0, 0, 1, 10, 20};
    first.colorTransform = ColorTransform{1, 1, 1, 0.25, 0, 0, 0, 0};
    first.name = "kept";
    apply(first, 0);

    PlaceObject move = placeTag(1, std::nullopt, true);
    move.matrix = Matrix{1, 0, 0, 1, 99, 20};
    move.ratio = 5;
    apply(move, 3);

    const DisplayObject* object = m_list.at(1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->matrix.tx, 99);
    EXPECT_EQ(object->colorTransform.aMult, 0.25);
    EXPECT_EQ(object->name, "kept");
    EXPECT_EQ(object->ratio, 5);
    EXPECT_EQ(object->placedOnFrame, 0u) << "a move keeps the instance";
}

TEST_F(DisplayListBuilderTest, ReplaceSwapsTheCharacterAndKeepsThePlacement)
{
    PlaceObject first = placeTag(1, 1, false);
    first.matrix = Matrix{1, 0, 0, 1, 10, 20};
    first.colorTransform = ColorTransform{1, 1, 1, 0.5, 0, 0, 0, 0};
    apply(first, 0);
    apply(placeTag(1, 2, true), 2);

    const DisplayObject* object = m_list.at(1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->characterId, 2);
    EXPECT_EQ(object->matrix, (Matrix{1, 0, 0, 1, 10, 20}));
    EXPECT_EQ(object->colorTransform.aMult, 0.5);
    EXPECT_EQ(object->placedOnFrame, 2u);
}

TEST_F(DisplayListBuilderTest, RemoveEmptiesTheDepthAndPlacingOnAnOccupiedDepthReplacesIt)
{
    apply(placeTag(1, 1, false));
    apply(placeTag(2, 1, false));
    TimelineApplier(*m_movie, m_list).remove(RemoveObject{1, std::nullopt});
    EXPECT_EQ(m_list.at(1), nullptr);
    ASSERT_NE(m_list.at(2), nullptr);

    apply(placeTag(2, 2, false), 5);
    EXPECT_EQ(m_list.at(2)->characterId, 2);
    EXPECT_EQ(m_list.at(2)->placedOnFrame, 5u);
}

TEST_F(DisplayListBuilderTest, UnknownCharactersAndMovesOfNothingAreIgnored)
{
    apply(placeTag(1, 77, false));
    apply(placeTag(2, std::nullopt, true));
    apply(placeTag(3, std::nullopt, false));
    EXPECT_TRUE(m_list.objects().empty());

    // A move naming a character onto an empty depth places it.
    apply(placeTag(4, 1, true));
    ASSERT_NE(m_list.at(4), nullptr);
    EXPECT_EQ(m_list.at(4)->characterId, 1);

    // Replacing with an unknown character keeps what is there.
    apply(placeTag(4, 99, true));
    EXPECT_EQ(m_list.at(4)->characterId, 1);
}

} // namespace
} // namespace flash::test
