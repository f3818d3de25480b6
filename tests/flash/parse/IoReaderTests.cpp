// The bounded readers and capped decompression.
#include "flash/io/BitReader.h"
#include "flash/io/ByteReader.h"
#include "flash/io/Decompress.h"

#include <gtest/gtest.h>

#include <lzma.h>
#include <zlib.h>

#include <numeric>

namespace {

using flash::BitReader;
using flash::ByteReader;

std::vector<uint8_t> deflate(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, data.data(), uLong(data.size()), 9);
    out.resize(size);
    return out;
}

TEST(ByteReader, ReadsLittleEndianAndStopsAtTheEnd)
{
    const std::vector<uint8_t> data{0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xff};
    ByteReader r(data);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0x12345678u);
    EXPECT_EQ(r.s16(), 0); // only one byte left: fails, reads zero
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.u8(), 0);  // stays failed even though a byte was left
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReader, SubReadersAreLimitedAndKnowTheirFileOffset)
{
    const std::vector<uint8_t> data{1, 2, 3, 4, 5};
    ByteReader r(data, 100);
    r.u8();
    ByteReader sub = r.sub(2);
    EXPECT_EQ(sub.fileOffset(), 101u);
    EXPECT_EQ(sub.u16(), 0x0302);
    EXPECT_EQ(sub.u8(), 0);
    EXPECT_TRUE(sub.failed());
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(r.u8(), 4);
    ByteReader tooLong = r.sub(10);
    EXPECT_TRUE(tooLong.failed());
    EXPECT_TRUE(r.failed());
}

TEST(ByteReader, StringsNeedTheirTerminator)
{
    const std::vector<uint8_t> good{'a', 'b', 0, 'c'};
    ByteReader r(good);
    EXPECT_EQ(r.cString(), "ab");
    EXPECT_EQ(r.cString(), "");
    EXPECT_TRUE(r.failed());
}

TEST(ByteReader, EncodedU32StopsAfterFiveBytes)
{
    const std::vector<uint8_t> data{0xff, 0xff, 0xff, 0xff, 0x0f, 0x01};
    ByteReader r(data);
    EXPECT_EQ(r.encodedU32(), 0xffffffffu);
    EXPECT_EQ(r.u8(), 1);
}

TEST(ByteReader, FloatsAndFixedPoint)
{
    const std::vector<uint8_t> data{0x00, 0x00, 0xc0, 0x3f, 0x80, 0xff, 0x00, 0x80, 0x01, 0x00};
    ByteReader r(data);
    EXPECT_FLOAT_EQ(r.f32(), 1.5f);
    EXPECT_DOUBLE_EQ(r.fixed8(), -0.5);
    EXPECT_DOUBLE_EQ(r.fixed16(), 1.5);
    EXPECT_FALSE(r.failed());
}

TEST(ByteReader, SeekStaysInside)
{
    const std::vector<uint8_t> data{1, 2, 3};
    ByteReader r(data);
    EXPECT_TRUE(r.seek(2));
    EXPECT_EQ(r.u8(), 3);
    EXPECT_TRUE(r.seek(3));
    EXPECT_FALSE(r.seek(4));
    EXPECT_TRUE(r.failed());
}

TEST(BitReader, ReadsFieldsAcrossBytesAndSignExtends)
{
    // 10110 | 1111111111 (-1 in 10 bits) | 0 ...
    const std::vector<uint8_t> data{0b10110111, 0b11111110, 0b00000000};
    ByteReader bytes(data);
    BitReader bits(bytes);
    EXPECT_EQ(bits.ub(5), 0b10110u);
    EXPECT_EQ(bits.sb(10), -1);
    EXPECT_EQ(bits.ub(1), 0u);
    EXPECT_EQ(bytes.position(), 2u); // the partly read byte is consumed
    EXPECT_EQ(bits.ub(32), 0u);      // runs out
    EXPECT_TRUE(bytes.failed());
}

TEST(BitReader, WideFieldsAndZeroWidth)
{
    const std::vector<uint8_t> data{0x80, 0, 0, 0, 0xff};
    ByteReader bytes(data);
    BitReader bits(bytes);
    EXPECT_EQ(bits.sb(0), 0);
    EXPECT_EQ(bits.sb(32), int32_t(0x80000000u));
    EXPECT_EQ(bits.ub(33), 0u); // more than 32 bits is never valid
    EXPECT_TRUE(bytes.failed());
}

TEST(Decompress, ZlibRoundTripAndCap)
{
    std::vector<uint8_t> data(300000);
    std::iota(data.begin(), data.end(), 0);
    const auto packed = deflate(data);
    const auto whole = flash::inflateZlib(packed, 1 << 20, 10); // a far too small hint
    EXPECT_EQ(whole.data, data);
    EXPECT_TRUE(whole.problem.empty());
    EXPECT_FALSE(whole.hitCap);

    const auto capped = flash::inflateZlib(packed, 1000, data.size());
    EXPECT_EQ(capped.data.size(), 1000u);
    EXPECT_TRUE(capped.hitCap);
    EXPECT_TRUE(std::equal(capped.data.begin(), capped.data.end(), data.begin()));
}

TEST(Decompress, TruncatedAndCorruptZlibKeepWhatDecoded)
{
    std::vector<uint8_t> data(100000, 7);
    for (size_t i = 0; i < data.size(); i += 3)
        data[i] = uint8_t(i * 31);
    auto packed = deflate(data);
    packed.resize(packed.size() / 2);
    const auto partial = flash::inflateZlib(packed, 1 << 20);
    EXPECT_FALSE(partial.problem.empty());
    EXPECT_GT(partial.data.size(), 0u);
    EXPECT_LT(partial.data.size(), data.size());
    EXPECT_TRUE(std::equal(partial.data.begin(), partial.data.end(), data.begin()));

    const std::vector<uint8_t> garbage{0x12, 0x34, 0x56, 0x78, 0x9a};
    const auto broken = flash::inflateZlib(garbage, 1 << 20);
    EXPECT_FALSE(broken.problem.empty());
    EXPECT_TRUE(broken.data.empty());
}

TEST(Decompress, LzmaRoundTripCapAndBadProperties)
{
    std::vector<uint8_t> data(50000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t((i * i) >> 3);
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 3);
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    uint8_t props[5];
    ASSERT_EQ(lzma_properties_encode(filters, props), LZMA_OK);
    std::vector<uint8_t> packed(data.size() * 2 + 1000);
    size_t packedSize = 0;
    ASSERT_EQ(lzma_raw_buffer_encode(filters, nullptr, data.data(), data.size(), packed.data(), &packedSize,
                                     packed.size()),
              LZMA_OK);
    packed.resize(packedSize);

    const auto out = flash::decodeLzma(props, packed, 1 << 20);
    EXPECT_EQ(out.data, data);
    EXPECT_TRUE(out.problem.empty());

    const auto capped = flash::decodeLzma(props, packed, 4096);
    EXPECT_EQ(capped.data.size(), 4096u);
    EXPECT_TRUE(capped.hitCap);

    // A hostile dictionary size of 4 GiB decodes the same data without a huge allocation.
    uint8_t hugeDictionary[5] = {props[0], 0xff, 0xff, 0xff, 0xff};
    EXPECT_EQ(flash::decodeLzma(hugeDictionary, packed, 1 << 20).data, data);

    const std::vector<uint8_t> badProps{0xff, 0, 0, 0, 0};
    EXPECT_FALSE(flash::decodeLzma(badProps, packed, 1 << 20).problem.empty());
    EXPECT_FALSE(flash::decodeLzma(std::span<const uint8_t>(props, 3), packed, 1 << 20).problem.empty());
}

} // namespace
