// Untrusted files: truncated, mislabelled, oversized, deeply nested or simply
// random input must load (or be rejected) without crashing or hanging.
#include "MovieBytes.h"

#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace flash::test;
using flash::loadMovie;

bool hasErrorContaining(const flash::Movie& movie, const std::string& text)
{
    return std::ranges::any_of(movie.errors, [&](const std::string& e) { return e.find(text) != std::string::npos; });
}

// A small movie touching most tag families: shapes, sprites, labels, actions, removal.
std::vector<uint8_t> richTags()
{
    Bytes action;
    action.u8(0x07).u8(0x00); // stop, end
    Bytes label;
    return join({tag(9, std::vector<uint8_t>{1, 2, 3}), squareShape(1),
                 sprite(2, 2, join({place2(1, 1), showFrame(), removeObject2(1), showFrame(), endTag()})),
                 place2(1, 1), frameLabel("start"), showFrame(), place2(2, 2), tag(12, action), showFrame(),
                 removeObject2(1), showFrame(), endTag()});
}

TEST(HostileInput, EveryTruncationOfAValidMovieLoadsOrIsRejected)
{
    for (char sig : {'F', 'C', 'Z'}) {
        const auto full = movie(richTags(), {.signature = sig});
        auto complete = loadMovie(full);
        ASSERT_TRUE(complete);
        EXPECT_EQ((*complete)->timeline.frames.size(), 3u);
        EXPECT_TRUE((*complete)->errors.empty());
        for (size_t size = 0; size < full.size(); ++size) {
            const std::span<const uint8_t> prefix(full.data(), size);
            auto result = loadMovie(prefix);
            if (sig == 'F' && size >= 8 + 13 && result) {
                // Cut inside the tags: what was read is kept and the cut reported.
                EXPECT_FALSE((*result)->errors.empty()) << "size " << size;
                EXPECT_LE((*result)->timeline.frames.size(), 3u);
            }
        }
    }
}

TEST(HostileInput, TagLongerThanTheFileIsCutAndReported)
{
    Bytes placeBody;
    placeBody.u8(0x06).u16(2).u16(2).identityMatrix();
    const auto bytes = movie(join({place2(1, 1), showFrame(), tagWithLength(26, 1000000, placeBody)}));
    auto result = loadMovie(bytes);
    ASSERT_TRUE(result);
    const auto& movie = **result;
    EXPECT_TRUE(hasErrorContaining(movie, "PlaceObject2 at offset"));
    EXPECT_TRUE(hasErrorContaining(movie, "declared length 1000000"));
    EXPECT_EQ(movie.timeline.frames.size(), 2u); // the cut tag still forms a trailing frame
}

TEST(HostileInput, TagShorterThanItsContentLeavesTheRestAsTags)
{
    // A shape whose tag claims 3 bytes: the shape fails, the following bytes are read as tags.
    auto shape = squareShape(1);
    shape[0] = uint8_t((2 << 6) | 3);
    auto result = loadMovie(movie(join({shape, showFrame(), endTag()})));
    ASSERT_TRUE(result);
    EXPECT_TRUE(hasErrorContaining(**result, "DefineShape at offset 21"));
    EXPECT_EQ((*result)->find<flash::ShapeDef>(1), nullptr);
}

TEST(HostileInput, AbsurdCountsStayCheap)
{
    std::vector<std::vector<uint8_t>> tags;
    {   // DefineShape3 announcing 65535 fill styles in a few bytes
        Bytes b;
        b.u16(1).rect(0, 10, 0, 10).u8(0xff).u16(0xffff).u8(0).u8(255);
        tags.push_back(tag(32, b));
    }
    {   // DefineFont2 announcing 65535 glyphs
        Bytes b;
        b.u16(2).u8(0x08).u8(0).u8(1).u8('x').u16(0xffff).u32(8);
        tags.push_back(tag(48, b));
    }
    {   // scene and label data with 2^32-1 entries
        Bytes b;
        b.u8(0xff).u8(0xff).u8(0xff).u8(0xff).u8(0x0f).u8(0).cString("a");
        tags.push_back(tag(86, b));
    }
    {   // exports and a filter list with far more entries than bytes
        Bytes e;
        e.u16(0xffff).u16(1).cString("x");
        tags.push_back(tag(56, e));
        Bytes p;
        p.u8(0x02).u8(0x01).u16(1).u16(1).u8(255).u8(6);
        tags.push_back(tag(70, p));
    }
    {   // DefineText with 32-bit glyph fields and 255 glyphs in one record
        Bytes t;
        t.u16(3).rect(0, 1, 0, 1).identityMatrix().u8(32).u8(32).u8(0x80).u8(255);
        tags.push_back(tag(11, t));
    }
    std::vector<uint8_t> all;
    for (const auto& t : tags)
        all.insert(all.end(), t.begin(), t.end());
    all = join({all, showFrame(), endTag()});
    auto result = loadMovie(movie(all));
    ASSERT_TRUE(result);
    const auto& m = **result;
    EXPECT_TRUE(m.dictionary.empty());
    EXPECT_GE(m.errors.size(), 5u);
    EXPECT_EQ(m.timeline.frames.size(), 1u);
}

// A timeline of sprites nested `levels` deep: each sprite holds the next one,
// a ShowFrame and an End tag, and so does the main timeline. Built in linear time.
std::vector<uint8_t> nestedSprites(uint16_t levels)
{
    const auto tail = join({showFrame(), endTag()});
    std::vector<uint32_t> bodyLengths(levels);
    uint32_t inner = uint32_t(tail.size());
    for (size_t level = levels; level-- > 0;) {
        bodyLengths[level] = 4 + inner + uint32_t(tail.size());
        inner = 6 + bodyLengths[level];
    }
    Bytes b;
    for (uint16_t level = 0; level < levels; ++level)
        b.u16(uint16_t(39 << 6 | 0x3f)).u32(bodyLengths[level]).u16(uint16_t(level + 1)).u16(1);
    // The innermost sprite's content, every sprite's own tail, the main timeline's tail.
    for (size_t i = 0; i < size_t(levels) + 2; ++i)
        b.append(tail);
    return b.data();
}

TEST(HostileInput, DeeplyNestedSpritesStopAtTheNestingLimit)
{
    auto result = loadMovie(movie(nestedSprites(10000)));
    ASSERT_TRUE(result);
    const auto& m = **result;
    const flash::LoadLimits limits;
    EXPECT_EQ(m.dictionary.size(), limits.maxSpriteNesting);
    EXPECT_TRUE(hasErrorContaining(m, "nested deeper"));
    EXPECT_EQ(m.tagCounts.at("DefineSprite"), int(limits.maxSpriteNesting + 1));
    EXPECT_EQ(m.timeline.frames.size(), 1u);
    EXPECT_EQ(m.find<flash::SpriteDef>(1)->timeline.frames.size(), 1u);
}

TEST(HostileInput, HugeDeclaredSizes)
{
    // A header claiming 4 GiB and a tag claiming 4 GiB.
    auto bytes = movie(join({place2(1, 1), showFrame(), tagWithLength(2, 0xffffffff, {})}),
                       {.signature = 'C', .declaredLength = 0xffffffff});
    auto result = loadMovie(bytes);
    ASSERT_TRUE(result);
    EXPECT_EQ((*result)->header.fileLength, 0xffffffffu);
    EXPECT_EQ((*result)->timeline.frames.size(), 1u);
    // A stage rectangle with 31-bit coordinates.
    Bytes content;
    content.rect(-0x40000000, 0x3fffffff, -0x40000000, 0x3fffffff, 31).u16(0).u16(0xffff);
    content.append(join({showFrame(), endTag()}));
    Bytes file;
    file.u8('F').u8('W').u8('S').u8(10).u32(uint32_t(content.size() + 8)).append(content);
    auto wide = loadMovie(file);
    ASSERT_TRUE(wide);
    EXPECT_EQ((*wide)->header.stage.xMax, 0x3fffffff);
    EXPECT_EQ((*wide)->timeline.frames.size(), 1u);
}

TEST(HostileInput, ZlibBombIsCappedByTheLimit)
{
    // 32 MiB of one repeated label tag compresses to a few dozen KiB.
    std::vector<uint8_t> labels = frameLabel("boom");
    while (labels.size() < (32u << 20))
        labels.insert(labels.end(), labels.begin(), labels.end());
    Bytes content;
    content.rect(0, 100, 0, 100).u16(12 << 8).u16(1).append(labels);
    Bytes file;
    file.u8('C').u8('W').u8('S').u8(10).u32(100).append(zlibCompress(content));
    ASSERT_LT(file.size(), 1u << 20);
    flash::LoadLimits limits;
    limits.maxUncompressedBytes = 2u << 20;
    auto result = loadMovie(file.data(), limits);
    ASSERT_TRUE(result);
    EXPECT_TRUE(hasErrorContaining(**result, "limit"));
    EXPECT_EQ((*result)->timeline.frames.size(), 1u); // labels only: one trailing frame
}

TEST(HostileInput, FrameAndMemoryLimits)
{
    std::vector<uint8_t> frames;
    for (int i = 0; i < 5000; ++i) {
        const auto f = join({place2(1, 1), showFrame()});
        frames.insert(frames.end(), f.begin(), f.end());
    }
    flash::LoadLimits limits;
    limits.maxFrames = 100;
    auto few = loadMovie(movie(frames), limits);
    ASSERT_TRUE(few);
    EXPECT_EQ((*few)->timeline.frames.size(), 100u);
    EXPECT_TRUE(hasErrorContaining(**few, "too many frames"));

    limits = {};
    limits.maxModelBytes = 64 * 1024;
    auto small = loadMovie(movie(frames), limits);
    ASSERT_TRUE(small);
    EXPECT_LT((*small)->timeline.frames.size(), 5000u);
    EXPECT_TRUE(hasErrorContaining(**small, "load limit"));

    // One shape of 100000 tiny edges: each costs a path command, so the budget stops it.
    Bytes shape;
    shape.u16(1).rect(0, 10, 0, 10).u8(0).u8(0).ub(0, 4).ub(0, 4);
    for (int i = 0; i < 100000; ++i)
        shape.ub(1, 1).ub(1, 1).ub(0, 4).ub(0, 1).ub(i & 1, 1).sb(1, 2); // alternating 1-twip steps
    shape.ub(0, 6).flushBits();
    auto shapes = loadMovie(movie(join({tag(2, shape), showFrame(), endTag()})), limits);
    ASSERT_TRUE(shapes);
    EXPECT_EQ((*shapes)->find<flash::ShapeDef>(1), nullptr);
    EXPECT_TRUE(hasErrorContaining(**shapes, "load limit"));
    auto unlimited = loadMovie(movie(join({tag(2, shape), showFrame(), endTag()})));
    ASSERT_TRUE(unlimited);
    ASSERT_TRUE((*unlimited)->find<flash::ShapeDef>(1));
    EXPECT_EQ((*unlimited)->find<flash::ShapeDef>(1)->paths.at(0).commands.size(), 100001u);
}

TEST(HostileInput, HeaderFrameCountIsNotTrusted)
{
    for (uint16_t declared : {uint16_t(0), uint16_t(65535)}) {
        auto result = loadMovie(movie(join({place2(1, 1), showFrame(), showFrame(), endTag()}),
                                      {.headerFrames = declared}));
        ASSERT_TRUE(result);
        EXPECT_EQ((*result)->header.headerFrameCount, declared);
        EXPECT_EQ((*result)->timeline.frames.size(), 2u);
    }
}

TEST(HostileInput, RandomCorruptionNeverCrashes)
{
    const auto base = movie(richTags());
    std::mt19937 rng(1234);
    for (int round = 0; round < 3000; ++round) {
        auto bytes = base;
        const int flips = 1 + int(rng() % 8);
        for (int i = 0; i < flips; ++i)
            bytes[8 + rng() % (bytes.size() - 8)] = uint8_t(rng());
        if (rng() % 4 == 0)
            bytes.resize(8 + rng() % (bytes.size() - 8));
        auto result = loadMovie(bytes);
        if (result) {
            EXPECT_LE((*result)->timeline.frames.size(), bytes.size());
        }
    }
}

TEST(HostileInput, RandomBytesAfterAValidHeader)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 500; ++round) {
        std::vector<uint8_t> noise(rng() % 4000);
        for (auto& b : noise)
            b = uint8_t(rng());
        for (char sig : {'F', 'C'}) {
            auto result = loadMovie(movie(noise, {.signature = sig}));
            ASSERT_TRUE(result);
        }
    }
}

} // namespace
