// Bitmaps, fonts, text, buttons, edit text and sounds built in code.
#include "MovieBytes.h"

#include "flash/parse/MovieLoader.h"

#include <gtest/gtest.h>

namespace {

using namespace flash::test;

std::shared_ptr<const flash::Movie> loadTags(const std::vector<uint8_t>& tags)
{
    auto result = flash::loadMovie(movie(join({tags, showFrame(), endTag()})));
    EXPECT_TRUE(result);
    return result ? *result : nullptr;
}

std::vector<uint8_t> bytesOf(std::initializer_list<uint8_t> b) { return b; }

TEST(ParseBitmaps, EncodedDataIsKeptPerKind)
{
    const auto jpeg = bytesOf({0xff, 0xd9, 0xff, 0xd8, 0xff, 0xd8, 0x01, 0x02, 0xff, 0xd9});
    Bytes bits, jpeg2, jpeg3, jpeg4, lossless, lossless2, tables;
    bits.u16(1).append(jpeg);
    tables.append(bytesOf({0xff, 0xd8, 0xaa, 0xff, 0xd9}));
    jpeg2.u16(2).append(jpeg);
    jpeg3.u16(3).u32(uint32_t(jpeg.size())).append(jpeg).append(bytesOf({0x78, 0x9c, 0x01}));
    jpeg4.u16(4).u32(2).u16(0x0100).append(bytesOf({0x89, 'P', 0x55}));
    lossless.u16(5).u8(3).u16(7).u16(3).u8(15).append(bytesOf({0x78, 0x9c}));
    lossless2.u16(6).u8(5).u16(2).u16(2).append(bytesOf({0x78}));
    auto m = loadTags(join({tag(8, tables), tag(6, bits), tag(21, jpeg2), tag(35, jpeg3), tag(90, jpeg4),
                            tag(20, lossless), tag(36, lossless2), tag(8, bytesOf({1}))}));
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    EXPECT_EQ(m->jpegTables, bytesOf({0xff, 0xd8, 0xaa, 0xff, 0xd9})); // the second tables tag is ignored
    auto b1 = m->find<flash::BitmapDef>(1);
    ASSERT_TRUE(b1);
    EXPECT_EQ(b1->encoding, flash::BitmapEncoding::JpegWithTables);
    EXPECT_EQ(b1->data, jpeg); // kept as stored, stray markers included
    auto b2 = m->find<flash::BitmapDef>(2);
    EXPECT_EQ(b2->encoding, flash::BitmapEncoding::Image);
    EXPECT_EQ(b2->data, jpeg);
    auto b3 = m->find<flash::BitmapDef>(3);
    EXPECT_EQ(b3->encoding, flash::BitmapEncoding::ImageWithAlpha);
    EXPECT_EQ(b3->data, jpeg);
    EXPECT_EQ(b3->alphaData, bytesOf({0x78, 0x9c, 0x01}));
    auto b4 = m->find<flash::BitmapDef>(4);
    EXPECT_EQ(b4->deblocking, 0x0100);
    EXPECT_EQ(b4->data, bytesOf({0x89, 'P'}));
    EXPECT_EQ(b4->alphaData, bytesOf({0x55}));
    auto b5 = m->find<flash::BitmapDef>(5);
    EXPECT_EQ(b5->encoding, flash::BitmapEncoding::Lossless);
    EXPECT_EQ(b5->losslessFormat, 3);
    EXPECT_EQ(b5->width, 7);
    EXPECT_EQ(b5->height, 3);
    EXPECT_EQ(b5->colorTableSize, 16);
    EXPECT_EQ(b5->data, bytesOf({0x78, 0x9c}));
    auto b6 = m->find<flash::BitmapDef>(6);
    EXPECT_EQ(b6->encoding, flash::BitmapEncoding::LosslessAlpha);
    EXPECT_EQ(b6->colorTableSize, 0);
}

TEST(ParseBitmaps, BadAlphaOffsetAndFormatAreRejected)
{
    Bytes jpeg3, lossless;
    jpeg3.u16(3).u32(100).u8(1);
    lossless.u16(5).u8(9).u16(1).u16(1);
    auto m = loadTags(join({tag(35, jpeg3), tag(20, lossless)}));
    EXPECT_TRUE(m->dictionary.empty());
    EXPECT_EQ(m->errors.size(), 2u);
}

// A one-glyph outline: move, two lines, fill0 = 1.
void glyph(Bytes& b)
{
    b.ub(1, 4).ub(0, 4);
    b.ub(0, 1).ub(0x03, 5).ub(8, 5).sb(0, 8).sb(-100, 8).ub(1, 1);
    b.ub(1, 1).ub(1, 1).ub(6, 4).ub(1, 1).sb(50, 8).sb(100, 8);
    b.ub(1, 1).ub(1, 1).ub(6, 4).ub(1, 1).sb(-50, 8).sb(0, 8);
    b.ub(0, 6).flushBits();
}

TEST(ParseFonts, DefineFontWithInfoAndDefineFont3Layout)
{
    Bytes g;
    glyph(g);
    Bytes font1;
    font1.u16(1).u16(4).u16(uint16_t(4 + g.size())).append(g).append(g);
    Bytes info;
    info.u16(1).u8(5).append(bytesOf({'A', 'r', 'i', 'a', 'l'})).u8(0x04 | 0x01).u16('a').u16(0x263a);
    Bytes font3;
    font3.u16(2).u8(0x80 | 0x04 | 0x02 | 0x01).u8(1).u8(5).append(bytesOf({'S', 'e', 'r', 'f', 0})).u16(2);
    const uint16_t firstGlyph = 6;
    font3.u16(firstGlyph).u16(uint16_t(firstGlyph + g.size())).u16(uint16_t(firstGlyph + 2 * g.size()));
    font3.append(g).append(g).u16('x').u16('y');
    font3.u16(900).u16(200).u16(10).u16(1000).u16(uint16_t(-5));
    font3.rect(0, 1, 0, 1).rect(0, 1, 0, 1).u16(0);
    auto m = loadTags(join({tag(10, font1), tag(13, info), tag(75, font3)}));
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    auto f1 = m->find<flash::FontDef>(1);
    ASSERT_TRUE(f1);
    EXPECT_EQ(f1->version, 1);
    EXPECT_EQ(f1->name, "Arial");
    EXPECT_TRUE(f1->italic);
    EXPECT_FALSE(f1->bold);
    ASSERT_EQ(f1->glyphs.size(), 2u);
    EXPECT_EQ(f1->glyphs[1].code, 0x263a);
    ASSERT_EQ(f1->glyphs[0].paths.size(), 1u);
    const auto& path = f1->glyphs[0].paths[0];
    EXPECT_EQ(path.fill1, 1u); // glyphs are normalised to fill1
    EXPECT_EQ(path.fill0, 0u);
    EXPECT_EQ(path.commands.at(0).to, (flash::Point{0, -100}));
    EXPECT_EQ(path.commands.at(2).to, (flash::Point{0, 0}));

    auto f3 = m->find<flash::FontDef>(2);
    ASSERT_TRUE(f3);
    EXPECT_EQ(f3->version, 3);
    EXPECT_EQ(f3->emSize, 20480);
    EXPECT_EQ(f3->name, "Serf");
    EXPECT_TRUE(f3->bold && f3->italic && f3->hasLayout);
    EXPECT_EQ(f3->ascent, 900);
    EXPECT_EQ(f3->descent, 200);
    EXPECT_EQ(f3->leading, 10);
    ASSERT_EQ(f3->glyphs.size(), 2u);
    EXPECT_EQ(f3->glyphs[0].code, 'x');
    EXPECT_EQ(f3->glyphs[1].advance, -5);
}

TEST(ParseFonts, BrokenOffsetsAndMissingFontsAreRejected)
{
    Bytes font1;
    font1.u16(1).u16(4).u16(200).u8(0);
    Bytes info;
    info.u16(77).u8(1).u8('x').u8(0);
    Bytes font2;
    font2.u16(3).u8(0).u8(0).u8(0).u16(1).u16(4).u16(2);
    auto m = loadTags(join({tag(10, font1), tag(13, info), tag(48, font2)}));
    EXPECT_TRUE(m->dictionary.empty());
    EXPECT_EQ(m->errors.size(), 3u);
}

TEST(ParseText, CarriedOverValuesAreResolved)
{
    Bytes t;
    t.u16(4).rect(0, 1000, 0, 1000).translateMatrix(5, 6).u8(4).u8(10);
    t.u8(0x80 | 0x08 | 0x04 | 0x01 | 0x02).u16(1).u8(1).u8(2).u8(3).u8(200).u16(100).u16(500).u16(240).u8(2);
    t.ub(3, 4).sb(120, 10).ub(4, 4).sb(130, 10).flushBits();
    t.u8(0x80 | 0x02).u16(800).u8(1).ub(5, 4).sb(90, 10).flushBits();      // new line: y only
    t.u8(0x80 | 0x04).u8(9).u8(9).u8(9).u8(9).u8(1).ub(6, 4).sb(10, 10).flushBits(); // colour only
    t.u8(0);
    auto m = loadTags(tag(33, t));
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    auto text = m->find<flash::TextDef>(4);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->version, 2);
    EXPECT_EQ(text->matrix.tx, 5);
    ASSERT_EQ(text->records.size(), 3u);
    const auto& r0 = text->records[0];
    EXPECT_EQ(r0.fontId, 1);
    EXPECT_EQ(r0.color, (flash::Rgba{1, 2, 3, 200}));
    EXPECT_EQ(r0.x, 100);
    EXPECT_EQ(r0.y, 500);
    EXPECT_EQ(r0.height, 240);
    ASSERT_EQ(r0.glyphs.size(), 2u);
    EXPECT_EQ(r0.glyphs[1].index, 4u);
    EXPECT_EQ(r0.glyphs[1].advance, 130);
    const auto& r1 = text->records[1];
    EXPECT_EQ(r1.fontId, 1);
    EXPECT_EQ(r1.height, 240);
    EXPECT_EQ(r1.y, 800);
    EXPECT_EQ(r1.x, 350); // continues after the previous run's advances
    const auto& r2 = text->records[2];
    EXPECT_EQ(r2.color, (flash::Rgba{9, 9, 9, 9}));
    EXPECT_EQ(r2.x, 440);
    EXPECT_EQ(r2.y, 800);
}

TEST(ParseButtons, RecordsActionsAndColourTransform)
{
    Bytes b1;
    b1.u16(5).u8(0x01 | 0x08).u16(1).u16(1).identityMatrix().u8(0).u8(0x07).u8(0);
    Bytes b2;
    b2.u16(6).u8(1).u16(0);
    const size_t offsetPos = b2.size() - 2;
    b2.u8(0x20 | 0x10 | 0x02).u16(1).u16(3).identityMatrix().ub(0, 1).ub(0, 1).ub(0, 4).flushBits();
    b2.u8(1).u8(1).append(std::vector<uint8_t>(9, 0)).u8(5);
    b2.u8(0);
    const size_t actionsStart = b2.size();
    b2.u16(7).u16(0x0008).u8(0x06).u8(0).u8(0);
    b2.u16(0).u16(0x0001).u8(0x07).u8(0);
    auto data = b2.data();
    data[offsetPos] = uint8_t(actionsStart - offsetPos);
    Bytes cx;
    cx.u16(5).ub(0, 1).ub(1, 1).ub(10, 4).sb(128, 10).sb(128, 10).sb(128, 10).flushBits();
    auto m = loadTags(join({tag(7, b1), tag(34, data), tag(23, cx)}));
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    auto button1 = m->find<flash::ButtonDef>(5);
    ASSERT_TRUE(button1);
    ASSERT_EQ(button1->records.size(), 1u);
    EXPECT_EQ(button1->records[0].states, flash::ButtonRecord::Up | flash::ButtonRecord::HitTest);
    EXPECT_DOUBLE_EQ(button1->records[0].colorTransform.rMult, 0.5);
    ASSERT_EQ(button1->actions.size(), 1u);
    EXPECT_EQ(button1->actions[0].actions, (std::vector<uint8_t>{0x07, 0x00}));

    auto button2 = m->find<flash::ButtonDef>(6);
    ASSERT_TRUE(button2);
    EXPECT_TRUE(button2->trackAsMenu);
    ASSERT_EQ(button2->records.size(), 1u);
    EXPECT_EQ(button2->records[0].blendMode, flash::BlendMode::Lighten);
    EXPECT_EQ(button2->records[0].filters.size(), 1u);
    ASSERT_EQ(button2->actions.size(), 2u);
    EXPECT_EQ(button2->actions[0].conditions, 0x0008);
    EXPECT_EQ(button2->actions[0].actions, (std::vector<uint8_t>{0x06, 0, 0}));
    EXPECT_EQ(button2->actions[1].actions, (std::vector<uint8_t>{0x07, 0}));
}

TEST(ParseOther, EditTextAndSound)
{
    Bytes e;
    e.u16(8).rect(0, 2000, 0, 400).u8(0x80 | 0x04 | 0x01).u8(0x20).u16(3).u16(240).u8(1).u8(2).u8(3).u8(4);
    e.u8(0).u16(0).u16(0).u16(0).u16(0).cString("name").cString("hello");
    Bytes s;
    s.u16(9).u8(0x2f).u32(44100).append(bytesOf({1, 2, 3}));
    auto m = loadTags(join({tag(37, e), tag(14, s)}));
    ASSERT_TRUE(m->errors.empty()) << m->errors[0];
    auto edit = m->find<flash::EditTextDef>(8);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->fontId, 3);
    EXPECT_EQ(edit->fontHeight, 240);
    EXPECT_EQ(edit->color, (flash::Rgba{1, 2, 3, 4}));
    EXPECT_EQ(edit->variableName, "name");
    EXPECT_EQ(edit->initialText, "hello");
    EXPECT_EQ(edit->flags, 0x8520);
    auto sound = m->find<flash::SoundDef>(9);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->format, 2);
    EXPECT_EQ(sound->rate, 3);
    EXPECT_TRUE(sound->is16Bit);
    EXPECT_TRUE(sound->stereo);
    EXPECT_EQ(sound->sampleCount, 44100u);
    EXPECT_EQ(sound->data, bytesOf({1, 2, 3}));
}

} // namespace

namespace {

TEST(ParseButtons, ABadActionOffsetCostsOnlyTheActions)
{
    Bytes b;
    b.u16(6).u8(0).u16(2); // offset pointing back into the records
    b.u8(0x01).u16(1).u16(1).identityMatrix().ub(0, 1).ub(0, 1).ub(0, 4).flushBits().u8(0);
    b.u16(0).u16(8).u8(0x07).u8(0);
    auto m = loadTags(tag(34, b));
    auto button = m->find<flash::ButtonDef>(6);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->records.size(), 1u);
    EXPECT_TRUE(button->actions.empty());
    ASSERT_EQ(m->errors.size(), 1u);
    EXPECT_NE(m->errors[0].find("DefineButton2 at offset"), std::string::npos);
}

} // namespace
