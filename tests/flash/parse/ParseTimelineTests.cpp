// Frames and control tags: PlaceObject 1/2/3, RemoveObject, actions, sounds,
// labels, scenes, sprites and tag counts.
#include "MovieBytes.h"

#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

namespace {

using namespace flash::test;

std::shared_ptr<const flash::Movie> loadTags(const std::vector<uint8_t>& tags, uint8_t version = 10)
{
    auto result = flash::loadMovie(movie(tags, {.version = version}));
    EXPECT_TRUE(result);
    return result ? *result : nullptr;
}

template<typename T>
const T& controlTag(const flash::Movie& m, size_t frame, size_t index)
{
    return std::get<T>(m.timeline.frames.at(frame).tags.at(index));
}

TEST(ParseTimeline, FramesFollowShowFrameAndATrailingPartialFrameCounts)
{
    auto m = loadTags(join({place2(1, 1), showFrame(), showFrame(), removeObject2(1)})); // no End
    EXPECT_EQ(m->timeline.frames.size(), 3u);
    EXPECT_EQ(m->timeline.frames[1].tags.size(), 0u);
    EXPECT_EQ(controlTag<flash::RemoveObject>(*m, 2, 0).depth, 1);
    ASSERT_EQ(m->errors.size(), 1u);
    EXPECT_NE(m->errors[0].find("without an End tag"), std::string::npos);

    // Definitions or skipped tags after the last ShowFrame make no frame.
    auto m2 = loadTags(join({place2(1, 1), showFrame(), squareShape(3), tag(41, std::vector<uint8_t>(26)), endTag()}));
    EXPECT_EQ(m2->timeline.frames.size(), 1u);
    EXPECT_TRUE(m2->errors.empty());

    // Tags after End are not read.
    auto m3 = loadTags(join({showFrame(), endTag(), place2(1, 1), showFrame()}));
    EXPECT_EQ(m3->timeline.frames.size(), 1u);
}

TEST(ParseTimeline, PlaceObjectOneAndTwoFields)
{
    Bytes p1;
    p1.u16(5).u16(3).translateMatrix(100, -200);
    p1.ub(1, 1).ub(1, 1).ub(10, 4).sb(128, 10).sb(256, 10).sb(-512 + 1, 10).sb(10, 10).sb(-10, 10).sb(0, 10).flushBits();
    Bytes p2;
    p2.u8(0x7f).u16(4).u16(6).identityMatrix();
    p2.ub(1, 1).ub(1, 1).ub(9, 4).sb(256, 9).sb(128, 9).sb(0, 9).sb(64, 9).sb(1, 9).sb(2, 9).sb(3, 9).sb(-4, 9).flushBits();
    p2.u16(32768).cString("clip").u16(9);
    auto m = loadTags(join({tag(4, p1), tag(26, p2), showFrame(), endTag()}));
    const auto& a = controlTag<flash::PlaceObject>(*m, 0, 0);
    EXPECT_EQ(a.depth, 3);
    EXPECT_EQ(a.characterId, 5);
    EXPECT_FALSE(a.isMove);
    ASSERT_TRUE(a.matrix);
    EXPECT_EQ(a.matrix->tx, 100);
    EXPECT_EQ(a.matrix->ty, -200);
    ASSERT_TRUE(a.colorTransform);
    EXPECT_DOUBLE_EQ(a.colorTransform->rMult, 0.5);
    EXPECT_DOUBLE_EQ(a.colorTransform->gMult, 1.0);
    EXPECT_DOUBLE_EQ(a.colorTransform->bMult, -511 / 256.0);
    EXPECT_DOUBLE_EQ(a.colorTransform->rAdd, 10);
    EXPECT_DOUBLE_EQ(a.colorTransform->gAdd, -10);
    EXPECT_DOUBLE_EQ(a.colorTransform->aMult, 1.0);

    const auto& b = controlTag<flash::PlaceObject>(*m, 0, 1);
    EXPECT_TRUE(b.isMove);
    EXPECT_EQ(b.depth, 4);
    EXPECT_EQ(b.characterId, 6);
    ASSERT_TRUE(b.colorTransform);
    EXPECT_DOUBLE_EQ(b.colorTransform->aMult, 0.25);
    EXPECT_DOUBLE_EQ(b.colorTransform->aAdd, -4);
    EXPECT_EQ(b.ratio, 32768);
    EXPECT_EQ(b.name, "clip");
    EXPECT_EQ(b.clipDepth, 9);
    EXPECT_FALSE(b.blendMode);
    EXPECT_FALSE(b.filters);
}

TEST(ParseTimeline, PlaceObject3FiltersBlendCacheAndVisibility)
{
    Bytes p;
    p.u8(0x02).u8(0x08 | 0x01 | 0x02 | 0x04 | 0x20 | 0x40).u16(2).cString("Ball").u16(7);
    p.u8(3);                                   // three filters
    p.u8(1).append(std::vector<uint8_t>(9, 1));  // blur
    p.u8(4).u8(2).append(std::vector<uint8_t>(2 * 5 + 19, 2)); // gradient glow with two colours
    p.u8(5).u8(2).u8(1).append(std::vector<uint8_t>(8 + 2 * 4 + 5, 3)); // 2x1 convolution
    p.u8(13).u8(1).u8(0).u8(10).u8(20).u8(30).u8(40);
    auto m = loadTags(join({tag(70, p), showFrame(), endTag()}));
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    const auto& place = controlTag<flash::PlaceObject>(*m, 0, 0);
    EXPECT_EQ(place.className, "Ball");
    EXPECT_EQ(place.characterId, 7);
    ASSERT_TRUE(place.filters);
    ASSERT_EQ(place.filters->size(), 3u);
    EXPECT_EQ((*place.filters)[0].type, 1);
    EXPECT_EQ((*place.filters)[0].data.size(), 9u);
    EXPECT_EQ((*place.filters)[1].data.size(), 1u + 10 + 19);
    EXPECT_EQ((*place.filters)[2].data.size(), 2u + 8 + 8 + 5);
    EXPECT_EQ(place.blendMode, flash::BlendMode::Overlay);
    EXPECT_EQ(place.cacheAsBitmap, true);
    EXPECT_EQ(place.visible, false);
    EXPECT_EQ(place.backgroundColor, (flash::Rgba{10, 20, 30, 40}));

    Bytes unknownFilter;
    unknownFilter.u8(0x02).u8(0x01).u16(2).u16(7).u8(1).u8(9).u8(0);
    auto bad = loadTags(join({tag(70, unknownFilter), showFrame(), endTag()}));
    EXPECT_TRUE(bad->timeline.frames.at(0).tags.empty());
    ASSERT_EQ(bad->errors.size(), 1u);
    EXPECT_NE(bad->errors[0].find("PlaceObject3"), std::string::npos);
}

TEST(ParseTimeline, ClipActionFlagsAreSixteenBitsBeforeVersionSix)
{
    Bytes v5;
    v5.u8(0x82).u16(1).u16(2).u16(0).u16(0x0041);
    v5.u16(0x0001).u32(2).u8(0x07).u8(0x00); // load: stop
    v5.u16(0x0040).u32(1).u8(0x00);          // enter frame
    v5.u16(0);
    Bytes v6;
    v6.u8(0x82).u16(1).u16(2).u16(0).u32(0x00020001);
    v6.u32(0x00020000).u32(3).u8(65).u8(0x07).u8(0x00); // key press 'A': stop
    v6.u32(0);
    auto m5 = loadTags(join({tag(26, v5), showFrame(), endTag()}), 5);
    auto m6 = loadTags(join({tag(26, v6), showFrame(), endTag()}), 6);
    const auto& a5 = controlTag<flash::PlaceObject>(*m5, 0, 0).clipActions;
    ASSERT_EQ(a5.size(), 2u);
    EXPECT_EQ(a5[0].events, 0x0001u);
    EXPECT_EQ(a5[0].actions, (std::vector<uint8_t>{0x07, 0x00}));
    EXPECT_EQ(a5[1].events, 0x0040u);
    const auto& a6 = controlTag<flash::PlaceObject>(*m6, 0, 0).clipActions;
    ASSERT_EQ(a6.size(), 1u);
    EXPECT_EQ(a6[0].events, 0x00020000u);
    EXPECT_EQ(a6[0].keyCode, 65);
    EXPECT_EQ(a6[0].actions, (std::vector<uint8_t>{0x07, 0x00}));
}

TEST(ParseTimeline, RemoveActionsSoundsAndLabels)
{
    Bytes remove1;
    remove1.u16(4).u16(9);
    Bytes init;
    init.u16(12).u8(0x06).u8(0);
    Bytes sound;
    sound.u16(3).u8(0x20);
    auto m = loadTags(join({tag(5, remove1), tag(12, std::vector<uint8_t>{0x07, 0x00}), tag(59, init), tag(15, sound),
                            frameLabel("Intro"), showFrame(), frameLabel("loop"), showFrame(), endTag()}));
    ASSERT_EQ(m->timeline.frames.size(), 2u);
    const auto& r = controlTag<flash::RemoveObject>(*m, 0, 0);
    EXPECT_EQ(r.characterId, 4);
    EXPECT_EQ(r.depth, 9);
    EXPECT_EQ(controlTag<flash::DoAction>(*m, 0, 1).actions, (std::vector<uint8_t>{0x07, 0x00}));
    EXPECT_FALSE(controlTag<flash::DoAction>(*m, 0, 1).initSpriteId);
    EXPECT_EQ(controlTag<flash::DoAction>(*m, 0, 2).initSpriteId, 12);
    EXPECT_EQ(controlTag<flash::StartSound>(*m, 0, 3).soundId, 3);
    EXPECT_EQ(controlTag<flash::StartSound>(*m, 0, 3).info, (std::vector<uint8_t>{0x20}));
    EXPECT_EQ(m->timeline.frames[0].labels, (std::vector<std::string>{"Intro"}));
    EXPECT_EQ(m->timeline.frameOfLabel("intro"), 0u);
    EXPECT_EQ(m->timeline.frameOfLabel("LOOP"), 1u);
    EXPECT_FALSE(m->timeline.frameOfLabel("missing"));
}

TEST(ParseTimeline, ScenesAndFrameLabelData)
{
    Bytes data;
    data.u8(2).u8(0).cString("Scene 1").u8(0x82).u8(0x01).cString("Scene 2"); // offsets 0 and 130
    data.u8(2).u8(1).cString("second").u8(0xff).u8(0x7f).cString("far away");
    auto m = loadTags(join({tag(86, data), showFrame(), showFrame(), showFrame(), endTag()}));
    ASSERT_TRUE(m->errors.empty());
    ASSERT_EQ(m->timeline.scenes.size(), 2u);
    EXPECT_EQ(m->timeline.scenes[0].name, "Scene 1");
    EXPECT_EQ(m->timeline.scenes[1].offset, 2u); // 130 lies past the end: clamped to the last frame
    EXPECT_EQ(m->timeline.frameOfLabel("second"), 1u);
    EXPECT_FALSE(m->timeline.frameOfLabel("far away"));
}

TEST(ParseTimeline, SpritesHaveTheirOwnTimelinesAndCountTowardsTagCounts)
{
    auto inner = join({place2(1, 1), showFrame(), frameLabel("b"), removeObject2(1), showFrame(), endTag()});
    auto m = loadTags(join({squareShape(1), sprite(2, 5, inner), place2(1, 2), showFrame(), endTag()}));
    auto s = m->find<flash::SpriteDef>(2);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->headerFrameCount, 5);
    EXPECT_EQ(s->timeline.frames.size(), 2u);
    EXPECT_EQ(s->timeline.frameOfLabel("B"), 1u);
    EXPECT_EQ(m->tagCounts.at("PlaceObject2"), 2);
    EXPECT_EQ(m->tagCounts.at("ShowFrame"), 3);
    EXPECT_FALSE(m->tagCounts.contains("End"));
    EXPECT_EQ(m->tagCounts.at("DefineSprite"), 1);
    EXPECT_EQ(m->tagCounts.at("FrameLabel"), 1);
    EXPECT_EQ(m->tagCounts.at("DefineShape"), 1);
    EXPECT_EQ(m->timeline.frames.size(), 1u);
}

TEST(ParseTimeline, MovieWideTags)
{
    Bytes bg;
    bg.u8(10).u8(20).u8(30);
    Bytes exports;
    exports.u16(2).u16(1).cString("Square").u16(2).cString("Other");
    Bytes grid;
    grid.u16(1).rect(20, 80, 20, 80);
    auto m = loadTags(join({tag(69, std::vector<uint8_t>{0x08, 0, 0, 0}), tag(9, bg), squareShape(1), tag(56, exports),
                            tag(78, grid), tag(77, std::vector<uint8_t>{'<', 'x', 0}), tag(24), tag(64, std::vector<uint8_t>(5)),
                            tag(1000 & 0x3ff, std::vector<uint8_t>(3)), showFrame(), endTag()}));
    EXPECT_EQ(m->backgroundColor, (flash::Rgba{10, 20, 30, 255}));
    EXPECT_EQ(m->exports.at("Square"), 1);
    EXPECT_EQ(m->exports.at("Other"), 2);
    EXPECT_EQ(m->scalingGrids.at(1), (flash::Rect{20, 80, 20, 80}));
    EXPECT_EQ(m->tagCounts.at("FileAttributes"), 1);
    EXPECT_EQ(m->fileAttributes, 0x08u);
    EXPECT_EQ(m->tagCounts.at("Metadata"), 1);
    EXPECT_EQ(m->tagCounts.at("Protect"), 1);
    EXPECT_EQ(m->tagCounts.at("EnableDebugger2"), 1);
    EXPECT_EQ(m->tagCounts.at("Tag1000"), 1);
    EXPECT_TRUE(m->errors.empty());
    EXPECT_EQ(m->header.frameRate, 24.0);
    EXPECT_EQ(m->header.stage, (flash::Rect{0, 11000, 0, 8000}));
}

TEST(ParseTimeline, FirstDefinitionOfAnIdWins)
{
    auto m = loadTags(join({squareShape(1), sprite(1, 1, join({showFrame(), endTag()})), showFrame(), endTag()}));
    EXPECT_TRUE(m->find<flash::ShapeDef>(1));
    EXPECT_FALSE(m->find<flash::SpriteDef>(1));
    ASSERT_EQ(m->errors.size(), 1u);
    EXPECT_NE(m->errors[0].find("already defined"), std::string::npos);
}

} // namespace

namespace {

TEST(TagDump, ListsTagsWithSpritesIndentedAndRejectsNonMovies)
{
    const auto bytes = movie(join({squareShape(1), sprite(2, 1, join({place2(1, 1), showFrame(), endTag()})),
                                   tagWithLength(26, 500, std::vector<uint8_t>{1, 2})}),
                             {.signature = 'C'});
    const std::string dump = flash::dumpTags(bytes);
    EXPECT_NE(dump.find("CWS version 10"), std::string::npos) << dump;
    EXPECT_NE(dump.find("21 DefineShape ("), std::string::npos) << dump;
    EXPECT_NE(dump.find("DefineSprite (") , std::string::npos) << dump;
    EXPECT_NE(dump.find("\n  "), std::string::npos) << dump; // sprite children indented
    EXPECT_NE(dump.find("PlaceObject2 (500 bytes) TRUNCATED to 2"), std::string::npos) << dump;
    EXPECT_EQ(flash::dumpTags(std::vector<uint8_t>{'x', 'y', 'z'}).rfind("not a movie", 0), 0u);
}

} // namespace
