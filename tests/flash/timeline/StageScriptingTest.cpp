// What scripts see of the stage: paths to objects and their properties.
#include "MovieFixture.h"

#include "flash/stage/ClipProperties.h"
#include "flash/stage/DisplayPath.h"

#include <cmath>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

// The main timeline holds clip "outer" (depth 1) holding clip "Inner" (depth 1), which walks.
struct NestedClips {
    NestedClips()
    {
        TimelineWriter walking;
        walking.place(1, 1, 0).showFrame().move(1, 10).showFrame();
        TimelineWriter outer;
        outer.add(named(1, 11, "Inner")).showFrame();
        TimelineWriter main;
        main.add(named(1, 10, "outer")).showFrame().move(1, 40).showFrame();
        player = std::make_unique<StageDriver>(MovieWriter().shape(1, Rect{0, 400, 0, 400}).sprite(11, walking).sprite(10, outer).finish(main));
    }
    static PlaceObject named(uint16_t depth, uint16_t id, std::string name)
    {
        PlaceObject tag;
        tag.depth = depth;
        tag.characterId = id;
        tag.name = std::move(name);
        return tag;
    }
    Stage& stage() { return player->stage(); }
    DisplayObject& root() { return stage().root(); }
    DisplayObject* outer() { return player->displayList().at(1); }

    std::unique_ptr<StageDriver> player;
};

TEST(StageScripting, PathsInBothSyntaxesFindObjectsAndReadBack)
{
    NestedClips clips;
    DisplayObject& root = clips.root();
    DisplayObject* outer = clips.outer();
    ASSERT_NE(outer, nullptr);
    DisplayObject* inner = childNamed(*outer, "Inner", NameCase::Sensitive);
    ASSERT_NE(inner, nullptr);
    const auto find = [&](DisplayObject& from, const char* path, NameCase nameCase = NameCase::Insensitive) {
        return resolvePath([&root](int level) { return level == 0 ? &root : nullptr; }, from, path, nameCase);
    };
    EXPECT_EQ(find(root, "/outer/Inner"), inner);
    EXPECT_EQ(find(root, "outer.inner"), inner) << "names ignore case up to SWF 6";
    EXPECT_EQ(find(root, "outer.inner", NameCase::Sensitive), nullptr) << "and not from SWF 7";
    EXPECT_EQ(find(*inner, "../.."), &root);
    EXPECT_EQ(find(*inner, "_parent._parent.outer"), outer);
    EXPECT_EQ(find(*inner, "_root.outer.Inner"), inner);
    EXPECT_EQ(find(*inner, "_level0"), &root);
    EXPECT_EQ(find(*inner, "/"), &root);
    EXPECT_EQ(find(*inner, ""), inner);
    EXPECT_EQ(find(*inner, "this"), inner);
    EXPECT_EQ(find(root, "outer/missing/Inner"), nullptr);
    EXPECT_EQ(find(root, "_level3"), nullptr);
    EXPECT_EQ(dotPath(*inner), "_level0.outer.Inner");
    EXPECT_EQ(slashPath(*inner), "/outer/Inner");
    EXPECT_EQ(slashPath(root), "/");
}

TEST(StageScripting, PropertiesReadAndWriteTheObjectAndScriptedOnesOutliveTimelineMoves)
{
    NestedClips clips;
    Stage& stage = clips.stage();
    DisplayObject& outer = *clips.outer();
    const auto number = [&](ClipProperty property) { return std::get<double>(clipProperty(stage, outer, property)); };

    EXPECT_EQ(number(ClipProperty::CurrentFrame), 1.0) << "frames count from 1";
    EXPECT_EQ(number(ClipProperty::TotalFrames), 1.0);
    setClipProperty(stage, outer, ClipProperty::Rotation, 90.0);
    setClipProperty(stage, outer, ClipProperty::XScale, 200.0);
    EXPECT_NEAR(number(ClipProperty::Rotation), 90, 1e-9);
    EXPECT_NEAR(number(ClipProperty::XScale), 200, 1e-9);
    EXPECT_NEAR(number(ClipProperty::YScale), 100, 1e-9);
    setClipProperty(stage, outer, ClipProperty::Rotation, 0.0);
    EXPECT_NEAR(number(ClipProperty::Width), 40, 1e-9) << "a 20 px square at scale 200";
    setClipProperty(stage, outer, ClipProperty::Width, 60.0);
    EXPECT_NEAR(number(ClipProperty::XScale), 300, 1e-9);
    setClipProperty(stage, outer, ClipProperty::X, 12.5);
    setClipProperty(stage, outer, ClipProperty::X, 12.5249);
    setClipProperty(stage, outer, ClipProperty::X, std::nan(""));
    EXPECT_EQ(number(ClipProperty::X), 12.5) << "whole twips; a value that is not a number changes nothing";
    setClipProperty(stage, outer, ClipProperty::Alpha, 30.0);
    setClipProperty(stage, outer, ClipProperty::Name, std::string("renamed"));
    EXPECT_EQ(std::get<std::string>(clipProperty(stage, outer, ClipProperty::Target)), "/renamed");

    clips.player->advance(); // the timeline moves depth 1 to x 40
    EXPECT_EQ(number(ClipProperty::X), 12.5) << "a script set the position";
    EXPECT_EQ(number(ClipProperty::Alpha), 29.6875) << "kept in 1/256 steps";
    EXPECT_EQ(clipPropertyNamed("_ALPHA", NameCase::Insensitive), ClipProperty::Alpha);
    EXPECT_EQ(clipPropertyNamed("_ALPHA", NameCase::Sensitive), std::nullopt);
    EXPECT_EQ(clipPropertyAt(21), ClipProperty::YMouse);
    EXPECT_EQ(clipPropertyAt(22), std::nullopt);
}

} // namespace
} // namespace flash::test
