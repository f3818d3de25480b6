// One entry per member; the getters read the live field, the setters convert
// their value before they look the field up.
#include "flash/scripting/TextFieldMembers.h"

#include "flash/script/Interpreter.h"
#include "flash/scripting/FieldVariables.h"
#include "flash/scripting/StageHost.h"
#include "flash/scripting/StyleSheetClass.h"
#include "flash/text/TextField.h"

#include <cmath>

namespace flash {
namespace {

using script::Interpreter;
using script::Object;
using script::Value;
using text::AutoSize;
using text::FieldSettings;
using text::TextField;

constexpr const char* kStyleSheetSlot = "__styleSheet";

template<typename Change>
void changeSettings(StageHost& host, ObjectHandle handle, Change&& change)
{
    if (TextField* field = liveTextField(host, handle)) {
        FieldSettings settings = field->settings();
        change(settings);
        field->setSettings(settings);
    }
}

uint32_t rgbOf(double number)
{
    return std::isfinite(number) ? uint32_t(int64_t(number)) & 0xFFFFFF : 0;
}

Value nullIfEmpty(const std::string& text)
{
    return text.empty() ? Value::null() : Value(text);
}

const char* autoSizeName(AutoSize size)
{
    switch (size) {
    case AutoSize::Left: return "left";
    case AutoSize::Center: return "center";
    case AutoSize::Right: return "right";
    case AutoSize::None: break;
    }
    return "none";
}

AutoSize autoSizeOf(Interpreter& vm, const Value& value)
{
    if (value.isBoolean())
        return value.asBoolean() ? AutoSize::Left : AutoSize::None;
    const std::string name = vm.toString(value).toStd();
    return name == "left" ? AutoSize::Left : name == "center" ? AutoSize::Center : name == "right" ? AutoSize::Right
                                                                                                   : AutoSize::None;
}

// A text member: the field's text changes, the bound variable follows.
void setTextMember(Interpreter& vm, StageHost& host, Object& self, ObjectHandle handle, const Value& value, bool html)
{
    const std::string text = vm.toString(value).toStd();
    const Value sheet = html ? vm.getMember(Value(&self), kStyleSheetSlot) : Value();
    std::optional<text::StyleSheet> styles;
    if (sheet.isObject())
        styles = styleSheetFromScript(vm, sheet);
    TextField* field = liveTextField(host, handle);
    if (!field)
        return;
    if (html) {
        field->setStyleSheet(styles ? std::make_shared<const text::StyleSheet>(std::move(*styles)) : nullptr);
        field->setHtmlText(text);
    } else {
        field->setText(text);
    }
    storeFieldVariable(host, handle);
}

#define BOOL_SETTING(member)                                                                                    \
    [](Interpreter&, Object&, TextField& f) { return Value(f.settings().member); },                           \
        [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {                         \
            const bool on = vm.toBoolean(v);                                                                    \
            changeSettings(host, h, [&](FieldSettings& s) { s.member = on; });                                  \
        }
#define COLOR_SETTING(member)                                                                                   \
    [](Interpreter&, Object&, TextField& f) { return Value(double(f.settings().member)); },                   \
        [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {                         \
            const uint32_t rgb = rgbOf(vm.toNumber(v));                                                         \
            changeSettings(host, h, [&](FieldSettings& s) { s.member = rgb; });                                 \
        }

const TextFieldMember kMembers[] = {
    {"text", [](Interpreter&, Object&, TextField& f) { return Value(f.text()); },
     [](Interpreter& vm, StageHost& host, Object& self, ObjectHandle h, const Value& v) {
         setTextMember(vm, host, self, h, v, false);
     }},
    {"htmlText", [](Interpreter&, Object&, TextField& f) { return Value(f.htmlText()); },
     [](Interpreter& vm, StageHost& host, Object& self, ObjectHandle h, const Value& v) {
         const bool html = liveTextField(host, h) && liveTextField(host, h)->settings().html;
         setTextMember(vm, host, self, h, v, html);
     }},
    {"html", BOOL_SETTING(html)},
    {"border", BOOL_SETTING(border)},
    {"borderColor", COLOR_SETTING(borderColor)},
    {"background", BOOL_SETTING(background)},
    {"backgroundColor", COLOR_SETTING(backgroundColor)},
    {"wordWrap", BOOL_SETTING(wordWrap)},
    {"multiline", BOOL_SETTING(multiline)},
    {"selectable", BOOL_SETTING(selectable)},
    {"password", BOOL_SETTING(password)},
    {"embedFonts", BOOL_SETTING(embedFonts)},
    {"condenseWhite", BOOL_SETTING(condenseWhite)},
    {"textColor",
     [](Interpreter&, Object&, TextField& f) {
         const text::TextFormat* first = f.content().formatAt(0);
         return Value(double((first ? *first : f.newTextFormat()).color.value_or(0)));
     },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const uint32_t rgb = rgbOf(vm.toNumber(v));
         if (TextField* field = liveTextField(host, h))
             field->setTextColor(rgb);
     }},
    {"autoSize", [](Interpreter&, Object&, TextField& f) { return Value(autoSizeName(f.settings().autoSize)); },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const AutoSize size = autoSizeOf(vm, v);
         changeSettings(host, h, [&](FieldSettings& s) { s.autoSize = size; });
     }},
    {"type",
     [](Interpreter&, Object&, TextField& f) { return Value(f.settings().type == text::FieldType::Input ? "input" : "dynamic"); },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const std::string type = vm.toString(v).toStd();
         if (type != "input" && type != "dynamic")
             return;
         changeSettings(host, h, [&](FieldSettings& s) {
             s.type = type == "input" ? text::FieldType::Input : text::FieldType::Dynamic;
         });
     }},
    {"maxChars",
     [](Interpreter&, Object&, TextField& f) {
         return f.settings().maxChars ? Value(double(f.settings().maxChars)) : Value::null();
     },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const double n = v.isNullish() ? 0 : vm.toNumber(v);
         const uint32_t limit = std::isfinite(n) && n > 0 ? uint32_t(std::min(n, 4e9)) : 0;
         changeSettings(host, h, [&](FieldSettings& s) { s.maxChars = limit; });
     }},
    {"restrict",
     [](Interpreter&, Object&, TextField& f) { return f.settings().restrict ? Value(*f.settings().restrict) : Value::null(); },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const std::optional<std::string> pattern = v.isNullish() ? std::nullopt
                                                                  : std::optional<std::string>(vm.toString(v).toStd());
         changeSettings(host, h, [&](FieldSettings& s) { s.restrict = pattern; });
     }},
    {"variable", [](Interpreter&, Object&, TextField& f) { return nullIfEmpty(f.settings().variable); },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const std::string name = v.isNullish() ? std::string() : vm.toString(v).toStd();
         changeSettings(host, h, [&](FieldSettings& s) { s.variable = name; });
     }},
    {"styleSheet", [](Interpreter& vm, Object& self, TextField&) { return vm.getMember(Value(&self), kStyleSheetSlot); },
     [](Interpreter& vm, StageHost& host, Object& self, ObjectHandle h, const Value& v) {
         vm.define(self, kStyleSheetSlot, v.isObject() ? v : Value());
         if (TextField* field = liveTextField(host, h); field && !v.isObject())
             field->setStyleSheet(nullptr);
     }},
    {"length", [](Interpreter&, Object&, TextField& f) { return Value(double(f.length())); }, nullptr},
    {"textWidth", [](Interpreter&, Object&, TextField& f) { return Value(std::round(f.textWidth())); }, nullptr},
    {"textHeight", [](Interpreter&, Object&, TextField& f) { return Value(std::round(f.textHeight())); }, nullptr},
    {"scroll", [](Interpreter&, Object&, TextField& f) { return Value(f.scroll()); },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const double line = vm.toNumber(v);
         if (TextField* field = liveTextField(host, h))
             field->setScroll(line);
     }},
    {"hscroll", [](Interpreter&, Object&, TextField& f) { return Value(f.hscroll()); },
     [](Interpreter& vm, StageHost& host, Object&, ObjectHandle h, const Value& v) {
         const double pixels = vm.toNumber(v);
         if (TextField* field = liveTextField(host, h))
             field->setHScroll(pixels);
     }},
    {"maxscroll", [](Interpreter&, Object&, TextField& f) { return Value(f.maxScroll()); }, nullptr},
    {"maxhscroll", [](Interpreter&, Object&, TextField& f) { return Value(f.maxHScroll()); }, nullptr},
    {"bottomScroll", [](Interpreter&, Object&, TextField& f) { return Value(f.bottomScroll()); }, nullptr},
};

#undef BOOL_SETTING
#undef COLOR_SETTING

} // namespace

const TextFieldMember* textFieldMemberNamed(const script::String& name, script::CaseMode mode)
{
    for (const TextFieldMember& member : kMembers) {
        if (name.equals(member.name, mode))
            return &member;
    }
    return nullptr;
}

text::TextField* liveTextField(StageHost& host, ObjectHandle field)
{
    DisplayObject* object = host.stage().find(field);
    return object ? text::textFieldOf(object->editText) : nullptr;
}

} // namespace flash
