// Comparisons of parsed tags with the corpus's independently decoded values.
#include "ExpectedChecks.h"

#include "CorpusJson.h"
#include "ExpectedShape.h"

#include <gtest/gtest.h>

#include <QJsonArray>

namespace flash::test {
namespace {

flash::Rect rectOf(const QJsonValue& v)
{
    return {v["x_min"].toInt(), v["x_max"].toInt(), v["y_min"].toInt(), v["y_max"].toInt()};
}

flash::Rgba colorOf(const QJsonValue& v)
{
    return {uint8_t(v["r"].toInt()), uint8_t(v["g"].toInt()), uint8_t(v["b"].toInt()),
            uint8_t(v.toObject().contains("a") ? v["a"].toInt() : 255)};
}

void expectMatrix(const flash::Matrix& m, const QJsonValue& e)
{
    EXPECT_DOUBLE_EQ(m.a, e["scale_x"].toDouble() / 65536);
    EXPECT_DOUBLE_EQ(m.d, e["scale_y"].toDouble() / 65536);
    EXPECT_DOUBLE_EQ(m.b, e["rotate_skew0"].toDouble() / 65536);
    EXPECT_DOUBLE_EQ(m.c, e["rotate_skew1"].toDouble() / 65536);
    EXPECT_DOUBLE_EQ(m.tx, e["translate_x"].toDouble());
    EXPECT_DOUBLE_EQ(m.ty, e["translate_y"].toDouble());
}

// Expected straight edges may have become curves (morph partners); then the
// control point must lie halfway along the edge.
void expectEdges(const std::vector<Edge>& expected, const std::vector<Edge>& actual, bool compareStyles)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("edge " + std::to_string(i));
        EXPECT_EQ(actual[i].anchor, expected[i].anchor);
        if (expected[i].isCurve) {
            EXPECT_TRUE(actual[i].isCurve);
            EXPECT_EQ(actual[i].control, expected[i].control);
        }
        if (compareStyles) {
            EXPECT_EQ(actual[i].fill0, expected[i].fill0);
            EXPECT_EQ(actual[i].fill1, expected[i].fill1);
            EXPECT_EQ(actual[i].line, expected[i].line);
        }
    }
}

} // namespace

void checkShape(const flash::Movie& m, const QJsonObject& e)
{
    auto shape = m.find<flash::ShapeDef>(uint16_t(e["id"].toInt()));
    ASSERT_TRUE(shape) << (m.errors.empty() ? "" : m.errors[0]);
    EXPECT_EQ(shape->bounds, rectOf(e["bounds"]));
    if (e.contains("edge_bounds")) {
        EXPECT_EQ(shape->edgeBounds, rectOf(e["edge_bounds"]));
    }
    EXPECT_EQ(shape->nonZeroWinding, e["has_fill_winding"].toBool());
    const auto styles = e["shape"]["initial_styles"].toObject();
    const auto fills = styles["fill"].toArray();
    const auto lines = styles["line"].toArray();
    ASSERT_GE(shape->fills.size(), size_t(fills.size()));
    for (qsizetype i = 0; i < fills.size(); ++i) {
        if (fills[i]["type"].toString().toLower() == "solid") {
            EXPECT_EQ(shape->fills[size_t(i)].color, colorOf(fills[i]["color"]));
        }
    }
    ASSERT_GE(shape->lines.size(), size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(shape->lines[size_t(i)].width, lines[i]["width"].toInt());
    }
    const auto expected = expectedEdges(e["shape"]["records"].toArray(), size_t(fills.size()), size_t(lines.size()));
    expectEdges(expected.start, actualEdges(shape->paths), true);
}

void checkMorph(const flash::Movie& m, const QJsonObject& e)
{
    auto morph = m.find<flash::MorphShapeDef>(uint16_t(e["id"].toInt()));
    ASSERT_TRUE(morph) << (m.errors.empty() ? "" : m.errors[0]);
    EXPECT_EQ(morph->start.bounds, rectOf(e["bounds"]));
    EXPECT_EQ(morph->end.bounds, rectOf(e["morph_bounds"]));
    const auto styles = e["shape"]["initial_styles"].toObject();
    const auto fills = styles["fill"].toArray();
    const auto lines = styles["line"].toArray();
    ASSERT_EQ(morph->start.fills.size(), size_t(fills.size()));
    ASSERT_EQ(morph->end.fills.size(), size_t(fills.size()));
    for (qsizetype i = 0; i < fills.size(); ++i) {
        if (fills[i]["type"].toString().toLower() == "solid") {
            EXPECT_EQ(morph->start.fills[size_t(i)].color, colorOf(fills[i]["color"]));
            EXPECT_EQ(morph->end.fills[size_t(i)].color, colorOf(fills[i]["morph_color"]));
        }
    }
    ASSERT_EQ(morph->start.lines.size(), size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(morph->start.lines[size_t(i)].width, lines[i]["width"].toInt());
        EXPECT_EQ(morph->end.lines[size_t(i)].width, lines[i]["morph_width"].toInt());
    }
    const auto expected = expectedEdges(e["shape"]["records"].toArray(), size_t(fills.size()), size_t(lines.size()));
    expectEdges(expected.start, actualEdges(morph->start.paths), true);
    expectEdges(expected.end, actualEdges(morph->end.paths), false);
    ASSERT_EQ(morph->start.paths.size(), morph->end.paths.size());
    for (size_t p = 0; p < morph->start.paths.size(); ++p) {
        const auto& a = morph->start.paths[p].commands;
        const auto& b = morph->end.paths[p].commands;
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].kind, b[i].kind);
        }
    }
}

static void checkGlyphs(const flash::FontDef& font, const QJsonArray& glyphs)
{
    ASSERT_EQ(font.glyphs.size(), size_t(glyphs.size()));
    for (qsizetype g = 0; g < glyphs.size(); ++g) {
        SCOPED_TRACE("glyph " + std::to_string(g));
        const auto expected = expectedEdges(glyphs[g]["records"].toArray(), 1, 0);
        expectEdges(expected.start, actualEdges(font.glyphs[size_t(g)].paths), false);
        for (const auto& path : font.glyphs[size_t(g)].paths) {
            EXPECT_EQ(path.fill1, 1u);
        }
    }
}

void checkFont(const flash::Movie& m, const QJsonObject& e)
{
    auto font = m.find<flash::FontDef>(uint16_t(e["id"].toInt()));
    ASSERT_TRUE(font) << (m.errors.empty() ? "" : m.errors[0]);
    if (e.contains("font_name")) {
        EXPECT_EQ(font->name, e["font_name"].toString().toStdString());
    }
    if (e.contains("em_square_size")) {
        EXPECT_EQ(font->emSize, e["em_square_size"].toDouble());
    }
    if (e.contains("is_bold")) {
        EXPECT_EQ(font->bold, e["is_bold"].toBool());
    }
    if (e.contains("glyphs"))
        checkGlyphs(*font, e["glyphs"].toArray());
    if (e.contains("code_units")) {
        const auto codes = e["code_units"].toArray();
        ASSERT_EQ(font->glyphs.size(), size_t(codes.size()));
        for (qsizetype i = 0; i < codes.size(); ++i) {
            EXPECT_EQ(font->glyphs[size_t(i)].code, codes[i].toInt());
        }
    }
    if (e.contains("layout")) {
        const auto layout = e["layout"].toObject();
        EXPECT_TRUE(font->hasLayout);
        EXPECT_EQ(font->ascent, layout["ascent"].toInt());
        EXPECT_EQ(font->descent, layout["descent"].toInt());
    }
}

void checkText(const flash::Movie& m, const QJsonObject& e)
{
    auto text = m.find<flash::TextDef>(uint16_t(e["id"].toInt()));
    ASSERT_TRUE(text) << (m.errors.empty() ? "" : m.errors[0]);
    EXPECT_EQ(text->bounds, rectOf(e["bounds"]));
    expectMatrix(text->matrix, e["matrix"]);
    const auto records = e["records"].toArray();
    ASSERT_EQ(text->records.size(), size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        const auto& r = text->records[size_t(i)];
        const auto x = records[i].toObject();
        if (x.contains("font_id")) {
            EXPECT_EQ(r.fontId, x["font_id"].toInt());
        }
        if (x.contains("color")) {
            EXPECT_EQ(r.color, colorOf(x["color"]));
        }
        if (x.contains("offset_x")) {
            EXPECT_EQ(r.x, x["offset_x"].toDouble());
        }
        if (x.contains("offset_y")) {
            EXPECT_EQ(r.y, x["offset_y"].toDouble());
        }
        if (x.contains("font_size")) {
            EXPECT_EQ(r.height, x["font_size"].toInt());
        }
        const auto entries = x["entries"].toArray();
        ASSERT_EQ(r.glyphs.size(), size_t(entries.size()));
        for (qsizetype g = 0; g < entries.size(); ++g) {
            EXPECT_EQ(r.glyphs[size_t(g)].index, uint32_t(entries[g]["index"].toInt()));
            EXPECT_EQ(r.glyphs[size_t(g)].advance, entries[g]["advance"].toInt());
        }
    }
}

static void checkButton(const flash::Movie& m, const QJsonObject& e)
{
    auto button = m.find<flash::ButtonDef>(uint16_t(e["id"].toInt()));
    ASSERT_TRUE(button) << (m.errors.empty() ? "" : m.errors[0]);
    EXPECT_EQ(button->trackAsMenu, e["track_as_menu"].toBool());
    const auto records = e["records"].toArray();
    ASSERT_EQ(button->records.size(), size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        const auto& r = button->records[size_t(i)];
        const auto x = records[i].toObject();
        EXPECT_EQ(r.characterId, x["character_id"].toInt());
        EXPECT_EQ(r.depth, x["depth"].toInt());
        EXPECT_EQ(bool(r.states & flash::ButtonRecord::Up), x["state_up"].toBool());
        EXPECT_EQ(bool(r.states & flash::ButtonRecord::HitTest), x["state_hit_test"].toBool());
        expectMatrix(r.matrix, x["matrix"]);
        EXPECT_EQ(r.filters.size(), size_t(x["filters"].toArray().size()));
    }
    const auto actions = e["actions"].toArray();
    ASSERT_EQ(button->actions.size(), size_t(actions.size()));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(button->actions[size_t(i)].actions, fromHex(actions[i]["actions"].toString()));
    }
}

static void checkPlace(const flash::Movie& m, const QJsonObject& e)
{
    ASSERT_EQ(m.timeline.frames.size(), 1u);
    ASSERT_EQ(m.timeline.frames[0].tags.size(), 1u) << (m.errors.empty() ? "" : m.errors[0]);
    const auto& place = std::get<flash::PlaceObject>(m.timeline.frames[0].tags[0]);
    EXPECT_EQ(place.depth, e["depth"].toInt());
    EXPECT_EQ(place.isMove, e["is_update"].toBool());
    if (e.contains("character_id")) {
        EXPECT_EQ(place.characterId, e["character_id"].toInt());
    }
    else {
        EXPECT_FALSE(place.characterId);
    }
    ASSERT_EQ(bool(place.matrix), e.contains("matrix"));
    if (place.matrix)
        expectMatrix(*place.matrix, e["matrix"]);
    if (e.contains("color_transform")) {
        ASSERT_TRUE(place.colorTransform);
        EXPECT_DOUBLE_EQ(place.colorTransform->rMult, e["color_transform"]["red_mult"].toDouble() / 256);
        EXPECT_DOUBLE_EQ(place.colorTransform->rAdd, e["color_transform"]["red_add"].toDouble());
    }
    if (e.contains("filters")) {
        ASSERT_TRUE(place.filters);
        EXPECT_EQ(place.filters->size(), size_t(e["filters"].toArray().size()));
    }
    const auto clips = e["clip_actions"].toArray();
    ASSERT_EQ(place.clipActions.size(), size_t(clips.size()));
    for (qsizetype i = 0; i < clips.size(); ++i) {
        EXPECT_EQ(place.clipActions[size_t(i)].actions, fromHex(clips[i]["actions"].toString()));
        EXPECT_EQ(bool(place.clipActions[size_t(i)].events & 0x01), clips[i]["events"]["load"].toBool());
        EXPECT_EQ(bool(place.clipActions[size_t(i)].events & 0x40), clips[i]["events"]["enter_frame"].toBool());
    }
}

static void checkSprite(const flash::Movie& m, const QJsonObject& e)
{
    auto sprite = m.find<flash::SpriteDef>(uint16_t(e["id"].toInt()));
    ASSERT_TRUE(sprite) << (m.errors.empty() ? "" : m.errors[0]);
    EXPECT_EQ(sprite->headerFrameCount, e["frame_count"].toInt());
    size_t showFrames = 0, places = 0;
    for (const auto& t : e["tags"].toArray()) {
        const QString type = normalisedType(t.toObject());
        showFrames += type == "showframe";
        places += type == "placeobject";
    }
    EXPECT_EQ(sprite->timeline.frames.size(), showFrames);
    size_t placed = 0;
    for (const auto& frame : sprite->timeline.frames)
        for (const auto& tag : frame.tags)
            placed += std::holds_alternative<flash::PlaceObject>(tag);
    EXPECT_EQ(placed, places);
}

void checkTag(const flash::Movie& movie, const QJsonObject& e)
{
    const auto* m = &movie;
    const QString type = e["type"].toString();
    if (type == "DefineShape") {
        checkShape(*m, e);
    } else if (type == "DefineMorphShape") {
        checkMorph(*m, e);
    } else if (type == "DefineFont" || type == "DefineGlyphFont") {
        checkFont(*m, e);
    } else if (type == "DefineText") {
        checkText(*m, e);
    } else if (type == "DefineButton") {
        checkButton(*m, e);
    } else if (type == "PlaceObject") {
        checkPlace(*m, e);
    } else if (type == "DefineSprite") {
        checkSprite(*m, e);
    } else if (type == "DoAction") {
        const auto& action = std::get<flash::DoAction>(m->timeline.frames.at(0).tags.at(0));
        EXPECT_EQ(action.actions, fromHex(e["actions"].toString()));
    } else if (type == "FrameLabel") {
        EXPECT_EQ(m->timeline.frames.at(0).labels.at(0), e["name"].toString().toStdString());
    } else if (type == "ExportAssets") {
        for (const auto& asset : e["assets"].toArray()) {
            const auto a = asset.toObject();
            EXPECT_EQ(m->exports.at(a["name"].toString().toStdString()), a["id"].toInt());
        }
    } else if (type == "StartSound") {
        EXPECT_EQ(std::get<flash::StartSound>(m->timeline.frames.at(0).tags.at(0)).soundId, e["sound_id"].toInt());
    } else if (type == "DefineSound") {
        auto sound = m->find<flash::SoundDef>(uint16_t(e["id"].toInt()));
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->sampleCount, uint32_t(e["sample_count"].toInt()));
        EXPECT_EQ(sound->is16Bit, e["sound_size"].toInt() == 16);
        EXPECT_EQ(sound->data, fromHex(e["data"].toString()));
    } else if (type == "DefineBitmap") {
        auto bitmap = m->find<flash::BitmapDef>(uint16_t(e["id"].toInt()));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width, e["width"].toInt());
        EXPECT_EQ(bitmap->height, e["height"].toInt());
        auto data = fromHex(e["data"].toString());
        if (e["media_type"].toString().startsWith("image/x-swf-lossless"))
            data.erase(data.begin(), data.begin() + (bitmap->losslessFormat == 3 ? 6 : 5));
        EXPECT_EQ(bitmap->data, data);
    } else if (type == "DefineJpegTables") {
        EXPECT_EQ(m->jpegTables, fromHex(e["data"].toString()));
    } else if (type == "DefineDynamicText") {
        auto edit = m->find<flash::EditTextDef>(uint16_t(e["id"].toInt()));
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->bounds, rectOf(e["bounds"]));
        EXPECT_EQ(edit->fontId, e["font_id"].toInt());
        EXPECT_EQ(edit->fontHeight, e["font_size"].toInt());
        EXPECT_EQ(edit->color, colorOf(e["color"]));
        EXPECT_EQ(edit->initialText, e["text"].toString().toStdString());
    } else if (type == "ShowFrame") {
        EXPECT_EQ(m->timeline.frames.size(), 2u);
    } else {
        // Tags kept for later stages or skipped: loading must still be clean.
        EXPECT_EQ(m->timeline.frames.size(), 1u);
    }
}

} // namespace flash::test
