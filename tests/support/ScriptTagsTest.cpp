// The script-carrying tags the writer adds, read back by the engine's own parser.
#include "AsCompiler.h"
#include "SwfWriter.h"

#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

using namespace swfw;

namespace {

std::shared_ptr<const flash::Movie> load(const SwfWriter& w)
{
    auto movie = flash::loadMovie(w.finish());
    EXPECT_TRUE(movie.has_value());
    EXPECT_TRUE(movie && (*movie)->errors.empty()) << (*movie)->errors.front();
    return movie ? *movie : nullptr;
}

template<typename T>
const T& frameTag(const flash::Movie& m, size_t index)
{
    return std::get<T>(m.timeline.frames.at(0).tags.at(index));
}

} // namespace

TEST(ScriptTags, InitActionsExportsAndWideClipEventsRoundTrip)
{
    SwfWriter w(6, 100, 100, 12);
    const uint16_t sprite = w.defineSprite(Timeline(6).showFrame());
    const char* init = R"(trace("init");)";
    const auto onLoad = Actions().stop();
    const auto onKey = Actions().play();
    w.initActions(sprite, compileActionScript(init)).exportAssets({{sprite, "Thing"}});
    w.place(Placement{.depth = 1, .characterId = sprite,
                      .clipActions = {{clipEvent::Load | clipEvent::Construct, {}, onLoad.bytes()},
                                      {clipEvent::KeyPress, 13, onKey.bytes()}}});
    w.showFrame();

    const auto m = load(w);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->exports.at("Thing"), sprite);
    const auto& initTag = frameTag<flash::DoAction>(*m, 0);
    EXPECT_EQ(initTag.initSpriteId, sprite);
    EXPECT_EQ(initTag.actions, compileActionScript(init));
    const auto& place = frameTag<flash::PlaceObject>(*m, 1);
    ASSERT_EQ(place.clipActions.size(), 2u);
    EXPECT_EQ(place.clipActions[0].events, 0x00040001u);
    EXPECT_EQ(place.clipActions[0].actions, onLoad.bytes());
    EXPECT_EQ(place.clipActions[1].events, 0x00020000u);
    EXPECT_EQ(place.clipActions[1].keyCode, 13);
    EXPECT_EQ(place.clipActions[1].actions, onKey.bytes());
}

TEST(ScriptTags, SwfFiveClipEventsAreSixteenBitsAndVersionlessTimelinesRefuseThem)
{
    SwfWriter w(5, 100, 100, 12);
    Timeline inner(5);
    inner.place(Placement{.depth = 1, .characterId = w.defineSprite(Timeline(5).showFrame()),
                          .clipActions = {{clipEvent::Release | clipEvent::EnterFrame, {}, Actions().stop().bytes()}}});
    w.place(1, w.defineSprite(inner.showFrame())).showFrame();
    const auto m = load(w);
    ASSERT_TRUE(m);
    const auto outer = m->find<flash::SpriteDef>(2);
    ASSERT_TRUE(outer);
    const auto& place = std::get<flash::PlaceObject>(outer->timeline.frames.at(0).tags.at(0));
    ASSERT_EQ(place.clipActions.size(), 1u);
    EXPECT_EQ(place.clipActions[0].events, 0x0802u);

    const Placement keyed{.depth = 1, .characterId = 1, .clipActions = {{clipEvent::KeyPress, 13, Actions().bytes()}}};
    EXPECT_THROW(Timeline(5).place(keyed), std::invalid_argument);
    EXPECT_THROW(Timeline().place(Placement{.depth = 1, .characterId = 1,
                                            .clipActions = {{clipEvent::Load, {}, Actions().bytes()}}}),
                 std::invalid_argument);
    EXPECT_THROW(w.defineSprite(Timeline(6)), std::invalid_argument);
}

TEST(ScriptTags, ButtonConditionsCarryTheirBlocks)
{
    SwfWriter w(6, 100, 100, 12);
    const uint16_t shape = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xff0000)).rect(0, 0, 10, 10));
    ButtonBuilder button;
    button.part({.states = 0x0F, .characterId = shape})
        .on(buttonCondition::OverUpToOverDown, Actions().play())
        .on(buttonCondition::keyPress(65), Actions().stop());
    const uint16_t id = w.defineButton(button);
    w.place(1, id).showFrame();
    const auto m = load(w);
    ASSERT_TRUE(m);
    const auto def = m->find<flash::ButtonDef>(id);
    ASSERT_TRUE(def);
    ASSERT_EQ(def->actions.size(), 2u);
    // The parser reads the two condition bytes little-endian: press is the first byte's 0x04.
    EXPECT_EQ(def->actions[0].conditions, 0x0004);
    EXPECT_EQ(def->actions[0].actions, Actions().play().bytes());
    EXPECT_EQ(def->actions[1].conditions, 65 << 9);
    EXPECT_EQ(def->actions[1].actions, Actions().stop().bytes());
}
