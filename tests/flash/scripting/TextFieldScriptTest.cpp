// Text fields as scripts see them: createTextField and the members, formats,
// scrolling and onScroller, variable binding, style sheets, what a placed field
// draws, and methods called with hostile arguments.
#include "ScriptedMovie.h"

#include "BitWriter.h"
#include "Records.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace flash::test {
namespace {

using swfw::Color;
using swfw::SwfWriter;

// System fonts need a GUI application; the first test makes one for all.
void ensureGuiApplication()
{
    static std::unique_ptr<QGuiApplication> app = [] {
        if (QCoreApplication::instance())
            return std::unique_ptr<QGuiApplication>();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "text_field_script_test";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

ScriptRun runScript(std::string_view source, int swfVersion = 8, int ticks = 1)
{
    ensureGuiApplication();
    SwfWriter w(uint8_t(swfVersion), 200, 200, 12);
    w.actions(script(source, swfVersion)).showFrame();
    return runMovie(w.finish(), ticks);
}

// DefineEditText flags (first stored byte high).
constexpr uint16_t kHasText = 0x8000, kWordWrap = 0x4000, kMultiline = 0x2000, kReadOnly = 0x0800,
                   kHasColor = 0x0400, kHasFont = 0x0100, kBorder = 0x0008, kUseOutlines = 0x0001;

struct EditTextRecord {
    uint16_t id = 500;
    swfw::TwipsRect bounds;
    uint16_t flags = kReadOnly;
    uint16_t fontId = 0;
    uint16_t heightTwips = 0;
    Color color;
    std::string variable;
    std::string text;
};

std::vector<uint8_t> editTextBody(const EditTextRecord& record)
{
    swfw::BitWriter w;
    w.u16(record.id);
    swfw::writeRect(w, record.bounds);
    w.align();
    const uint16_t flags = uint16_t(record.flags | (record.text.empty() ? 0 : kHasText));
    w.u8(uint8_t(flags >> 8));
    w.u8(uint8_t(flags));
    if (flags & kHasFont) {
        w.u16(record.fontId);
        w.u16(record.heightTwips);
    }
    if (flags & kHasColor) {
        for (uint8_t channel : {record.color.r, record.color.g, record.color.b, record.color.a})
            w.u8(channel);
    }
    w.string(record.variable);
    if (!record.text.empty())
        w.string(record.text);
    return w.take();
}

// 'I' is a bar 512 units wide standing on the baseline; every glyph advances 1024 units.
swfw::FontBuilder blockFont()
{
    swfw::FontBuilder font("Bars");
    font.glyph(u'I', swfw::ShapeBuilder().fillSolid(Color{}).rect(0, -800, 512, 800), 1024);
    font.glyph(u' ', swfw::ShapeBuilder().fillSolid(Color{}), 1024);
    return font;
}

TEST(TextFieldScript, CreateTextFieldAndItsMembers)
{
    const ScriptRun run = runScript(R"(
        var t = createTextField("t", 3, 10, 20, 100, 30);
        trace(t + " " + typeof t + " " + t._name + " " + t._x + " " + t._y + " " + t._width + " " + t._height + " " + t.getDepth());
        trace(t.text == "" && t.type == "dynamic" && t.autoSize == "none" && t.selectable && !t.html);
        trace(t.maxChars + " " + t.restrict + " " + t.variable + " " + t.antiAliasType + " " + t.styleSheet);
        t.text = "one\ntwo";
        trace(t.length + " " + (t.text == "one\rtwo"));
        t.border = true; t.borderColor = 0xFF0000; t.background = 1; t.backgroundColor = "255";
        trace(t.border + " " + t.borderColor + " " + t.background + " " + t.backgroundColor);
        t.type = "bogus"; t.maxChars = 5; t.restrict = "0-9"; t.autoSize = true;
        trace(t.type + " " + t.maxChars + " " + t.restrict + " " + t.autoSize);
        t.textColor = 0x00FF00;
        trace(t.textColor + " " + t.getTextFormat(0).color);
        t.autoSize = "none";
        t._width = 150;
        trace(t._width + " " + t._xscale);
        t.removeTextField();
        trace(t.text + " " + getInstanceAtDepth(3));
    )");
    EXPECT_EQ(run.traces, (Lines{"_level0.t object t 10 20 100 30 3", "true", "null null null normal undefined", "7 true",
                                 "true 16711680 true 255", "dynamic 5 0-9 left", "65280 65280", "150 100",
                                 "undefined undefined"}))
        << (run.reports.empty() ? "" : run.reports[0]);
    // Before SWF 8 the field is made but not returned.
    const ScriptRun seven = runScript(R"(trace(createTextField("u", 1, 0, 0, 10, 10) + " " + typeof u);)", 7);
    EXPECT_EQ(seven.traces, (Lines{"undefined object"}));
}

TEST(TextFieldScript, FormatsThroughTextFormatObjects)
{
    const ScriptRun run = runScript(R"(
        var f = new TextFormat("Arial", 14, 0xFF0000, true);
        trace(f.font + " " + f.size + " " + f.color + " " + f.bold + " " + f.italic + " " + f.align + " " + f.tabStops);
        var t = createTextField("t", 1, 0, 0, 300, 30);
        t.text = "plain bold";
        var b = new TextFormat(); b.bold = true; b.align = "center";
        t.setTextFormat(6, 10, b);
        trace(t.getTextFormat(6, 10).bold + " " + t.getTextFormat().bold + " " + t.getTextFormat(0).align);
        t.setTextFormat(1, f);
        trace(t.getTextFormat(1).font + " " + t.getTextFormat(0).font + " " + t.getTextFormat(0, 2).size);
        t.setNewTextFormat(f);
        t.text = "new";
        trace(t.getTextFormat(0, 3).size + " " + t.getNewTextFormat().color);
        t.html = true;
        trace(t.htmlText);
        var e = f.getTextExtent("Hello");
        trace((e.width > 20 && e.width < 60) + " " + (e.textFieldWidth == e.width + 4) + " " + (e.height > 10));
    )");
    EXPECT_EQ(run.traces,
              (Lines{"Arial 14 16711680 true null null null", "true null center", "Arial Times New Roman null",
                     "14 16711680",
                     R"(<P ALIGN="LEFT"><FONT FACE="Arial" SIZE="14" COLOR="#FF0000" LETTERSPACING="0" KERNING="0"><B>new</B></FONT></P>)",
                     "true true true"}))
        << (run.reports.empty() ? "" : run.reports[0]);
}

TEST(TextFieldScript, ScrollingAndOnScrollerReachListeners)
{
    const ScriptRun run = runScript(R"(
        var t = createTextField("t", 1, 0, 0, 100, 44);
        t.multiline = true;
        var heard = [];
        t.onScroller = function(f) { heard.push("field " + f.scroll + "/" + f.maxscroll); };
        var listener = { onScroller: function(f) { heard.push("listener"); } };
        t.addListener(listener);
        t.text = "1\n2\n3\n4\n5\n6\n7\n8";
        trace(t.scroll + " " + (t.maxscroll > 3) + " " + t.bottomScroll + " " + t.maxhscroll);
        t.scroll = 3;
        trace(t.scroll + " " + (t.bottomScroll > 3) + " " + heard.join(","));
        t.removeListener(listener);
        t.scroll = 1;
        trace(heard.length);
    )");
    ASSERT_EQ(run.traces.size(), 3u) << (run.reports.empty() ? "" : run.reports[0]);
    EXPECT_EQ(run.traces[0], "1 true 2 0");
    EXPECT_EQ(run.traces[1].substr(0, 7), "3 true ");
    EXPECT_NE(run.traces[1].find("listener,field 3/"), std::string::npos) << run.traces[1];
    EXPECT_EQ(run.traces[2], "5");
}

TEST(TextFieldScript, VariablesShowInFieldsAndFieldsSeedVariables)
{
    ensureGuiApplication();
    SwfWriter w(8, 200, 200, 12);
    w.timeline().appendTag(37, editTextBody({500, swfw::TwipsRect::fromPixels(0, 0, 100, 20), kReadOnly, 0, 0, {}, "score", "7"}));
    w.place(1, 500);
    w.actions(script(R"(
        trace("frame 1: " + score);
        var g = createEmptyMovieClip("game", 2);
        var c = g.createTextField("counter", 1, 0, 30, 100, 20);
        c.variable = "_root.game:count";
        g.count = 5;
    )")).showFrame();
    w.actions(script(R"(
        trace("frame 2: " + score + " " + game.counter.text);
        score = 42;
        game.count = "six";
    )")).showFrame();
    w.actions(script(R"(
        trace("frame 3: " + game.counter.text);
        stop();
    )")).showFrame();
    const ScriptRun run = runMovie(w.finish(), 3);
    EXPECT_EQ(run.traces, (Lines{"frame 1: undefined", "frame 2: 7 5", "frame 3: six"}))
        << (run.reports.empty() ? "" : run.reports[0]);
}

TEST(TextFieldScript, StyleSheetsFormatHtmlText)
{
    const ScriptRun run = runScript(R"(
        var css = new TextField.StyleSheet();
        trace(css.parseCSS(".hot { color: #FF0000; font-weight: bold } p { font-size: 20px }"));
        trace(css.getStyleNames().sort().join(",") + " " + css.getStyle(".hot").fontWeight + " " + css.getStyle("none"));
        var t = createTextField("t", 1, 0, 0, 300, 30);
        t.html = true;
        t.styleSheet = css;
        t.htmlText = "<p>cold <span class='hot'>hot</span></p>";
        trace(t.text + " " + t.getTextFormat(0).size + " " + t.getTextFormat(5).color + " " + t.getTextFormat(5).bold);
        trace(t.htmlText);
        css.setStyle(".hot", null);
        trace(css.getStyleNames().join(",") + " " + css.transform({color: "#00FF00"}).color);
    )");
    EXPECT_EQ(run.traces, (Lines{"true", ".hot,p bold null", "cold hot 20 16711680 true",
                                 "<p>cold <span class='hot'>hot</span></p>", "p 65280"}))
        << (run.reports.empty() ? "" : run.reports[0]);
}

TEST(TextFieldScript, PlacedFieldDrawsItsBoxAndClippedScrolledGlyphs)
{
    ensureGuiApplication();
    SwfWriter w(8, 200, 100, 12);
    const uint16_t font = w.defineFont(blockFont());
    // 20 px glyphs: each 'I' is a 10 px bar in a 20 px cell, lines 20 px apart (ascent 15.6).
    EditTextRecord record{500, swfw::TwipsRect::fromPixels(10, 10, 104, 44),
                      uint16_t(kReadOnly | kHasFont | kHasColor | kUseOutlines | kBorder | kMultiline), font, 400,
                      Color::rgb(0x0000FF), "", "I I I I I I I\rII"};
    w.timeline().appendTag(37, editTextBody(record));
    w.place(1, 500);
    w.actions(script("stop();")).showFrame();
    const ScriptRun drawn = runMovie(w.finish(), 1, QSize(200, 100));
    ASSERT_FALSE(drawn.image.isNull());
    const auto at = [&](int x, int y) { return QColor(drawn.image.pixel(x, y)).name().toStdString(); };
    EXPECT_EQ(at(10, 30), "#000000") << "the border";
    EXPECT_EQ(at(113, 30), "#000000");
    EXPECT_EQ(at(16, 25), "#0000ff") << "the first bar: x 12..22, y 12..27.6 on the stage";
    EXPECT_EQ(at(30, 20), "#ffffff") << "the white background between bars";
    EXPECT_EQ(at(95, 25), "#0000ff") << "the third bar";
    EXPECT_EQ(at(135, 25), "#ffffff") << "the fourth bar lies past the field's edge, clipped";
    EXPECT_EQ(at(36, 45), "#0000ff") << "the second line's second bar";
}

TEST(TextFieldScript, MethodsCopeWithHostileArguments)
{
    const ScriptRun run = runScript(R"(
        var t = createTextField("t", 1, 0, 0, 100, 100);
        var big = "x"; for (var i = 0; i < 20; i++) big += big;
        var args = [[], [NaN, NaN, NaN], [1e308, -1e308, 4294967296], [-1, -2], ["", "x"], [null, undefined, {}], [big, big, big]];
        var owners = [TextField.prototype, TextFormat.prototype, TextField.StyleSheet.prototype];
        var calls = 0;
        for (var o = 0; o < owners.length; o++) {
            var names = ["setTextFormat", "getTextFormat", "setNewTextFormat", "getNewTextFormat", "replaceSel",
                         "replaceText", "addListener", "removeListener", "getTextExtent", "parseCSS", "setStyle",
                         "getStyle", "getStyleNames", "clear", "transform"];
            for (var n = 0; n < names.length; n++) {
                var fn = owners[o][names[n]];
                if (typeof fn != "function") continue;
                for (var a = 0; a < args.length; a++) { fn.apply(t, args[a]); fn.apply(undefined, args[a]); calls++; }
            }
        }
        t.htmlText = big; t.scroll = big; t.hscroll = -1e308; t._width = NaN; t.maxChars = -5;
        t.wordWrap = true;
        trace(calls + " " + t.length + " " + (t.textWidth <= 100) + " " + t.maxChars);
    )");
    ASSERT_EQ(run.traces.size(), 1u) << (run.reports.empty() ? "" : run.reports[0]);
    EXPECT_EQ(run.traces[0], "105 1048576 true null");
}

} // namespace
} // namespace flash::test
