// Signature sniffing and the three container kinds, including lying headers.
#include "MovieBytes.h"

#include "flash/io/SwfContainer.h"

#include <gtest/gtest.h>

namespace {

using namespace flash::test;

constexpr size_t kCap = 64u << 20;

std::vector<uint8_t> sampleTags()
{
    return join({squareShape(1), place2(1, 1), showFrame(), endTag()});
}

TEST(SwfContainer, AllThreeSignaturesGiveTheSameContent)
{
    const auto plain = movie(sampleTags(), {.version = 8, .signature = 'F'});
    const auto zlib = movie(sampleTags(), {.version = 8, .signature = 'C'});
    const auto lzma = movie(sampleTags(), {.version = 13, .signature = 'Z'});
    auto a = flash::openSwfContainer(plain, kCap);
    auto b = flash::openSwfContainer(zlib, kCap);
    auto c = flash::openSwfContainer(lzma, kCap);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->compression, flash::SwfCompression::None);
    EXPECT_EQ(b->compression, flash::SwfCompression::Zlib);
    EXPECT_EQ(c->compression, flash::SwfCompression::Lzma);
    EXPECT_EQ(std::string(b->signature), "CWS");
    EXPECT_EQ(a->version, 8);
    EXPECT_EQ(c->version, 13);
    const std::vector<uint8_t> expected(plain.begin() + 8, plain.end());
    EXPECT_EQ(std::vector<uint8_t>(a->body.begin(), a->body.end()), expected);
    EXPECT_EQ(std::vector<uint8_t>(b->body.begin(), b->body.end()), expected);
    EXPECT_EQ(std::vector<uint8_t>(c->body.begin(), c->body.end()), expected);
    EXPECT_TRUE(b->problems.empty());
    EXPECT_TRUE(c->problems.empty());
}

TEST(SwfContainer, DeclaredLengthNeverOverridesTheRealData)
{
    for (int64_t declared : {0LL, 9LL, 100LL, 0xffffffffLL}) {
        SCOPED_TRACE(declared);
        for (char sig : {'F', 'C', 'Z'}) {
            const auto bytes = movie(sampleTags(), {.signature = sig, .declaredLength = declared});
            auto c = flash::openSwfContainer(bytes, kCap);
            ASSERT_TRUE(c);
            EXPECT_EQ(c->declaredLength, uint32_t(declared));
            EXPECT_EQ(c->body.size(), movie(sampleTags()).size() - 8);
        }
    }
}

TEST(SwfContainer, LzmaWithUnknownCompressedLength)
{
    auto bytes = movie(sampleTags(), {.signature = 'Z'});
    bytes[8] = bytes[9] = bytes[10] = bytes[11] = 0;
    auto c = flash::openSwfContainer(bytes, kCap);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->body.size(), movie(sampleTags()).size() - 8);
}

TEST(SwfContainer, ContentIsCappedAndTheCapReported)
{
    const std::vector<uint8_t> padding(100000, 0);
    const auto tags = join({tag(77, padding, true), endTag()});
    for (char sig : {'F', 'C', 'Z'}) {
        auto c = flash::openSwfContainer(movie(tags, {.signature = sig}), 5000);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->body.size(), 5000u);
        ASSERT_EQ(c->problems.size(), 1u);
    }
}

TEST(SwfContainer, WhatIsNotAMovieIsRejected)
{
    const std::vector<std::vector<uint8_t>> notMovies{
        {},
        {'F', 'W'},
        {'F', 'W', 'S', 10},                            // header cut off
        {'G', 'W', 'S', 10, 20, 0, 0, 0, 0, 0},         // wrong signature
        {'c', 'W', 'S', 10, 20, 0, 0, 0, 0, 0},         // lower case is not a signature
        {'C', 'W', 'S', 10, 20, 0, 0, 0, 1, 2, 3, 4},   // not zlib data
        {'Z', 'W', 'S', 10, 20, 0, 0, 0, 1, 0, 0, 0},   // no LZMA properties
        {'F', 'W', 'S', 10, 8, 0, 0, 0},                // nothing after the header
    };
    for (const auto& bytes : notMovies) {
        auto c = flash::openSwfContainer(bytes, kCap);
        EXPECT_FALSE(c) << "accepted " << bytes.size() << " bytes";
        if (!c) {
            EXPECT_FALSE(c.error().empty());
        }
    }
}

TEST(SwfContainer, TruncatedCompressedMovieKeepsItsBeginning)
{
    const std::vector<uint8_t> body(20000, 0x41);
    auto bytes = movie(join({tag(77, body, true), endTag()}), {.signature = 'C'});
    bytes.resize(bytes.size() - 10);
    auto c = flash::openSwfContainer(bytes, kCap);
    ASSERT_TRUE(c);
    EXPECT_FALSE(c->problems.empty());
    EXPECT_GT(c->body.size(), 1000u);
}

} // namespace
