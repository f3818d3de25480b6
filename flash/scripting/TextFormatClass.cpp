// new TextFormat(font, size, color, bold, italic, underline, url, target,
// align, leftMargin, rightMargin, indent, leading) and the conversions between
// such objects and the text engine's formats.
#include "flash/scripting/TextFormatClass.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/StageHost.h"
#include "flash/text/TextLayout.h"
#include "flash/text/Utf.h"

#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;
using text::TextAlign;
using text::TextFormat;

// ORDER: the constructor's arguments.
constexpr const char* kConstructorFields[] = {"font", "size", "color", "bold", "italic", "underline", "url",
                                              "target", "align", "leftMargin", "rightMargin", "indent", "leading"};
constexpr const char* kOtherFields[] = {"blockIndent", "bullet", "kerning", "letterSpacing", "tabStops"};
constexpr uint32_t kMaxTabStops = 256;

const char* alignName(TextAlign align)
{
    switch (align) {
    case TextAlign::Right: return "right";
    case TextAlign::Center: return "center";
    case TextAlign::Justify: return "justify";
    case TextAlign::Left: break;
    }
    return "left";
}

Value construct(CallContext& c)
{
    if (!c.isConstruct() || !c.thisObject())
        return {};
    for (size_t i = 0; i < std::size(kConstructorFields); ++i)
        c.vm.setMember(c.thisValue, kConstructorFields[i], c.arg(i).isUndefined() ? Value::null() : c.arg(i));
    for (const char* name : kOtherFields)
        c.vm.setMember(c.thisValue, name, Value::null());
    return {};
}

// getTextExtent(text[, width]): how large `text` is in this format, as one
// line or wrapped at `width`.
Value getTextExtent(CallContext& c)
{
    const std::string chars = c.vm.toString(c.arg(0)).toStd();
    const bool wraps = !c.arg(1).isUndefined();
    const double width = wraps ? c.vm.toNumber(c.arg(1)) : 0;
    TextFormat format = TextFormat::defaults();
    format.mergeFrom(formatFromScript(c.vm, c.thisValue));
    auto& host = static_cast<StageHost&>(c.vm.host());
    text::FontLibrary fonts(host.stage().sharedMovie());
    text::StyledText content;
    content.append(text::fromUtf8(chars), format);
    text::LayoutOptions options;
    options.wordWrap = wraps && std::isfinite(width) && width > 0;
    options.width = options.wordWrap ? width : 0;
    const text::TextLayout layout = text::layOutText(content, format, options, fonts);
    script::Object* result = c.vm.newObject();
    const auto put = [&](const char* name, double value) { c.vm.setMember(Value(result), name, Value(value)); };
    const double ascent = layout.lines.empty() ? 0 : layout.lines.front().ascent;
    const double descent = layout.lines.empty() ? 0 : layout.lines.front().descent;
    put("ascent", std::round(ascent));
    put("descent", std::round(descent));
    put("width", std::round(layout.textWidth));
    put("height", std::round(layout.textHeight));
    put("textFieldWidth", std::round(layout.textWidth + 2 * text::kGutter));
    put("textFieldHeight", std::round(layout.textHeight + 2 * text::kGutter));
    return Value(result);
}

std::optional<double> numberField(script::Interpreter& vm, const Value& object, const char* name)
{
    const Value v = vm.getMember(object, name);
    if (v.isNullish())
        return std::nullopt;
    const double n = vm.toNumber(v);
    return std::isfinite(n) ? std::optional<double>(n) : std::nullopt;
}

std::optional<bool> boolField(script::Interpreter& vm, const Value& object, const char* name)
{
    const Value v = vm.getMember(object, name);
    return v.isNullish() ? std::nullopt : std::optional<bool>(vm.toBoolean(v));
}

std::optional<std::string> textField(script::Interpreter& vm, const Value& object, const char* name)
{
    const Value v = vm.getMember(object, name);
    return v.isNullish() ? std::nullopt : std::optional<std::string>(vm.toString(v).toStd());
}

} // namespace

TextFormat formatFromScript(script::Interpreter& vm, const Value& object)
{
    TextFormat f;
    if (!object.isObject())
        return f;
    f.font = textField(vm, object, "font");
    if (const auto size = numberField(vm, object, "size"))
        f.size = std::clamp(*size, 0.0, 10000.0);
    if (const auto color = numberField(vm, object, "color"))
        f.color = uint32_t(int64_t(*color)) & 0xFFFFFF;
    f.bold = boolField(vm, object, "bold");
    f.italic = boolField(vm, object, "italic");
    f.underline = boolField(vm, object, "underline");
    f.url = textField(vm, object, "url");
    f.target = textField(vm, object, "target");
    if (const auto align = textField(vm, object, "align")) {
        if (*align == "left")
            f.align = TextAlign::Left;
        else if (*align == "right")
            f.align = TextAlign::Right;
        else if (*align == "center")
            f.align = TextAlign::Center;
        else if (*align == "justify")
            f.align = TextAlign::Justify;
    }
    f.leftMargin = numberField(vm, object, "leftMargin");
    f.rightMargin = numberField(vm, object, "rightMargin");
    f.indent = numberField(vm, object, "indent");
    f.leading = numberField(vm, object, "leading");
    f.blockIndent = numberField(vm, object, "blockIndent");
    f.letterSpacing = numberField(vm, object, "letterSpacing");
    f.bullet = boolField(vm, object, "bullet");
    f.kerning = boolField(vm, object, "kerning");
    const Value stops = vm.getMember(object, "tabStops");
    if (stops.isObject()) {
        std::vector<double> list;
        const double length = vm.toNumber(vm.getMember(stops, "length"));
        const uint32_t count = std::isfinite(length) ? uint32_t(std::clamp(length, 0.0, double(kMaxTabStops))) : 0;
        for (uint32_t i = 0; i < count; ++i)
            list.push_back(vm.toNumber(vm.getMember(stops, script::String(std::to_string(i)))));
        f.tabStops = std::move(list);
    }
    return f;
}

Value scriptFormat(script::Interpreter& vm, const TextFormat& f)
{
    const Value made = vm.construct(vm.getMember(Value(vm.global()), "TextFormat"), {});
    const Value object = made.isObject() ? made : Value(vm.newObject());
    const auto put = [&](const char* name, Value value) { vm.setMember(object, name, std::move(value)); };
    const auto orNull = [](const auto& field) { return field ? Value(*field) : Value::null(); };
    put("font", f.font ? Value(*f.font) : Value::null());
    put("size", orNull(f.size));
    put("color", f.color ? Value(double(*f.color)) : Value::null());
    put("bold", orNull(f.bold));
    put("italic", orNull(f.italic));
    put("underline", orNull(f.underline));
    put("url", f.url ? Value(*f.url) : Value::null());
    put("target", f.target ? Value(*f.target) : Value::null());
    put("align", f.align ? Value(alignName(*f.align)) : Value::null());
    put("leftMargin", orNull(f.leftMargin));
    put("rightMargin", orNull(f.rightMargin));
    put("indent", orNull(f.indent));
    put("leading", orNull(f.leading));
    put("blockIndent", orNull(f.blockIndent));
    put("letterSpacing", orNull(f.letterSpacing));
    put("bullet", orNull(f.bullet));
    put("kerning", orNull(f.kerning));
    if (f.tabStops) {
        script::ArrayObject* stops = vm.newArray();
        for (double stop : *f.tabStops)
            stops->push(Value(stop));
        put("tabStops", Value(static_cast<script::Object*>(stops)));
    } else {
        put("tabStops", Value::null());
    }
    return object;
}

void installTextFormat(script::Interpreter& vm)
{
    script::Object* prototype = vm.newObject();
    script::FunctionObject* formatClass = vm.newConstructor(construct, prototype);
    vm.define(*prototype, "getTextExtent", Value(vm.newNative(getTextExtent)));
    vm.define(*vm.global(), "TextFormat", Value(formatClass));
}

} // namespace flash
