// Single tags from the corpus against their independently decoded values.
// Each tag is wrapped into a one-frame movie and loaded through the public API.
#include "CorpusJson.h"
#include "ExpectedChecks.h"
#include "MovieBytes.h"

#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

#include <QJsonArray>

namespace {

using namespace flash::test;

// Vectors named "...swf5..." come from version-5 files; the rest load as version 10.
uint8_t versionFor(const std::string& name) { return name.find("swf5") != std::string::npos ? 5 : 10; }

std::shared_ptr<const flash::Movie> loadTag(const std::vector<uint8_t>& tagBytes, uint8_t version,
                                            const std::vector<uint8_t>& before = {})
{
    auto result = flash::loadMovie(movie(join({before, tagBytes, showFrame(), endTag()}), {.version = version}));
    EXPECT_TRUE(result);
    return result ? *result : nullptr;
}

void checkVector(const Vector& v)
{
    auto m = loadTag(v.input, versionFor(v.name));
    ASSERT_TRUE(m);
    checkTag(*m, *v.value);
}

TEST(TagVectors, EveryVectorDecodesToItsValue)
{
    const auto vectors = loadVectors("tag-vectors", "");
    if (vectors.empty())
        GTEST_SKIP() << "corpus vectors not present";
    int checked = 0;
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        ASSERT_TRUE(v.value);
        if ((*v.value)["type"].toString() == "RawBody" || (*v.value)["type"].toString() == "DefineFontInfo")
            continue;
        checkVector(v);
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

// Bodies the reference could not decode: they must load as a movie, with the
// tag either rejected (and reported) or kept in a safe form.
TEST(TagVectors, UndecodableBodiesAreSkippedSafely)
{
    const auto vectors = loadVectors("tag-vectors", "raw-body__");
    if (vectors.empty())
        GTEST_SKIP() << "corpus vectors not present";
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.name);
        auto m = loadTag(v.input, versionFor(v.name));
        ASSERT_TRUE(m);
        EXPECT_LE(m->dictionary.size(), 1u);
        EXPECT_EQ(m->timeline.frames.size(), 1u);
    }
}

TEST(TagVectors, FontInfoCompletesItsGlyphFont)
{
    const auto fonts = loadVectors("tag-vectors", "define-glyph-font__comic-sans-ms");
    const auto infos = loadVectors("tag-vectors", "define-font-info__dfi1-comic-sans-ms");
    if (fonts.empty() || infos.empty())
        GTEST_SKIP() << "corpus vectors not present";
    auto m = loadTag(infos[0].input, 10, fonts[0].input);
    ASSERT_TRUE(m);
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    QJsonObject expected = *infos[0].value;
    expected["id"] = expected["font_id"];
    checkFont(*m, expected);
}

} // namespace
