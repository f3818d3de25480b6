// Primitive records against the corpus's independently decoded values.
#include "CorpusJson.h"

#include "flash/io/ByteReader.h"
#include "flash/io/SwfContainer.h"
#include "flash/parse/Primitives.h"

#include <gtest/gtest.h>

#include <QJsonObject>

namespace {

using flash::ByteReader;
using flash::test::loadVectors;

void skipWithoutCorpus(const std::vector<flash::test::Vector>& vectors)
{
    if (vectors.empty())
        GTEST_SKIP() << "corpus vectors not present";
}

// "uint32-leb128__overlong-0000000127-2" -> 127
uint32_t numberInName(const std::string& name)
{
    const auto start = name.find_first_of("0123456789", name.find("__"));
    return uint32_t(std::stoul(name.substr(start, 10)));
}

TEST(PrimitiveVectors, RectsDecodeToTheirValues)
{
    const auto vectors = loadVectors("primitive-vectors", "rect__");
    skipWithoutCorpus(vectors);
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        ByteReader r(v.input);
        const auto rect = flash::readRect(r);
        EXPECT_FALSE(r.failed());
        const QJsonObject expected = v.value.value_or(QJsonObject{}); // overlong zero rects have no value file
        EXPECT_EQ(rect.xMin, expected["x_min"].toInt());
        EXPECT_EQ(rect.xMax, expected["x_max"].toInt());
        EXPECT_EQ(rect.yMin, expected["y_min"].toInt());
        EXPECT_EQ(rect.yMax, expected["y_max"].toInt());
    }
}

TEST(PrimitiveVectors, MatricesDecodeToTheirFixedPointValues)
{
    const auto vectors = loadVectors("primitive-vectors", "matrix__");
    skipWithoutCorpus(vectors);
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        ASSERT_TRUE(v.value);
        ByteReader r(v.input);
        const auto m = flash::readMatrix(r);
        EXPECT_FALSE(r.failed());
        const auto& e = *v.value;
        EXPECT_DOUBLE_EQ(m.a, e["scale_x"].toDouble() / 65536);
        EXPECT_DOUBLE_EQ(m.d, e["scale_y"].toDouble() / 65536);
        EXPECT_DOUBLE_EQ(m.b, e["rotate_skew0"].toDouble() / 65536);
        EXPECT_DOUBLE_EQ(m.c, e["rotate_skew1"].toDouble() / 65536);
        EXPECT_DOUBLE_EQ(m.tx, e["translate_x"].toDouble());
        EXPECT_DOUBLE_EQ(m.ty, e["translate_y"].toDouble());
    }
}

TEST(PrimitiveVectors, ColorTransformsWithAlpha)
{
    const auto vectors = loadVectors("primitive-vectors", "color-transform-with-alpha__");
    skipWithoutCorpus(vectors);
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        ASSERT_TRUE(v.value);
        ByteReader r(v.input);
        const auto cx = flash::readColorTransform(r, true);
        EXPECT_FALSE(r.failed());
        const auto& e = *v.value;
        EXPECT_DOUBLE_EQ(cx.rMult, e["red_mult"].toDouble() / 256);
        EXPECT_DOUBLE_EQ(cx.aMult, e["alpha_mult"].toDouble() / 256);
        EXPECT_DOUBLE_EQ(cx.gAdd, e["green_add"].toDouble());
        EXPECT_DOUBLE_EQ(cx.aAdd, e["alpha_add"].toDouble());
    }
}

TEST(PrimitiveVectors, EncodedU32IncludingOverlongForms)
{
    const auto vectors = loadVectors("primitive-vectors", "uint32-leb128__");
    skipWithoutCorpus(vectors);
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        ByteReader r(v.input);
        EXPECT_EQ(r.encodedU32(), numberInName(v.name));
        EXPECT_FALSE(r.failed());
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(PrimitiveVectors, HalfFloats)
{
    const auto vectors = loadVectors("primitive-vectors", "float16-le__");
    skipWithoutCorpus(vectors);
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        // The value file holds a bare number.
        const auto text = flash::test::readFileBytes(flash::test::corpusDir() / "expected/primitive-vectors"
                                                     / (v.name + "__value.json"));
        const double expected = std::stod(std::string(text.begin(), text.end()));
        ByteReader r(v.input);
        EXPECT_DOUBLE_EQ(r.f16(), expected);
        EXPECT_FALSE(r.failed());
    }
}

TEST(PrimitiveVectors, SignatureAndMovieHeader)
{
    const auto signatures = loadVectors("primitive-vectors", "swf-signature__");
    const auto headers = loadVectors("primitive-vectors", "header__");
    if (signatures.empty() || headers.empty())
        GTEST_SKIP() << "corpus vectors not present";
    for (const auto& v : signatures) {
        ASSERT_TRUE(v.value);
        ASSERT_TRUE(flash::looksLikeSwf(v.input));
        ByteReader r(v.input);
        r.skip(3);
        EXPECT_EQ(r.u8(), (*v.value)["swf_version"].toInt());
        EXPECT_EQ(r.u32(), uint32_t((*v.value)["uncompressed_file_length"].toInt()));
    }
    for (const auto& v : headers) {
        ASSERT_TRUE(v.value);
        ByteReader r(v.input);
        const auto stage = flash::readRect(r);
        const auto size = (*v.value)["frame_size"].toObject();
        EXPECT_EQ(stage.xMax, size["x_max"].toInt());
        EXPECT_EQ(stage.yMax, size["y_max"].toInt());
        EXPECT_EQ(r.u16(), (*v.value)["frame_rate"].toInt());
        EXPECT_EQ(r.u16(), (*v.value)["frame_count"].toInt());
        EXPECT_FALSE(r.failed());
    }
}

} // namespace
