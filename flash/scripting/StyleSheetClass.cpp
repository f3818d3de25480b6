// Each StyleSheet keeps its styles in a hidden object: selector -> style object,
// whose members are the CSS properties in script form ("fontFamily").
#include "flash/scripting/StyleSheetClass.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/TextFormatClass.h"

namespace flash {
namespace {

using script::CallContext;
using script::Value;

constexpr const char* kStyles = "__styles";
constexpr size_t kMaxStyles = 10'000;

Value stylesOf(CallContext& c)
{
    script::Object* self = c.thisObject();
    if (!self)
        return {};
    Value styles = c.vm.getMember(c.thisValue, kStyles);
    if (!styles.isObject()) {
        styles = Value(c.vm.newObject());
        c.vm.define(*self, kStyles, styles);
    }
    return styles;
}

// A fresh object with the enumerable members of `style`.
Value copyOf(script::Interpreter& vm, const Value& style)
{
    script::Object* copy = vm.newObject();
    if (script::Object* source = style.toObjectOrNull()) {
        for (const script::String& name : vm.enumerableNames(*source))
            vm.setMember(Value(copy), name, vm.getMember(style, name));
    }
    return Value(copy);
}

Value construct(CallContext& c)
{
    if (c.isConstruct())
        (void)stylesOf(c);
    return {};
}

Value setStyle(CallContext& c)
{
    const script::String name = c.vm.toString(c.arg(0));
    const Value styles = stylesOf(c);
    if (!styles.isObject())
        return {};
    if (c.arg(1).isNullish())
        c.vm.deleteMember(styles, name);
    else if (c.vm.enumerableNames(*styles.asObject()).size() < kMaxStyles)
        c.vm.setMember(styles, name, copyOf(c.vm, c.arg(1)));
    return {};
}

Value getStyle(CallContext& c)
{
    const script::String name = c.vm.toString(c.arg(0));
    const Value styles = stylesOf(c);
    const Value style = styles.isObject() ? c.vm.getMember(styles, name) : Value();
    return style.isObject() ? copyOf(c.vm, style) : Value::null();
}

Value getStyleNames(CallContext& c)
{
    script::ArrayObject* names = c.vm.newArray();
    const Value styles = stylesOf(c);
    if (script::Object* object = styles.toObjectOrNull()) {
        for (const script::String& name : c.vm.enumerableNames(*object))
            names->push(Value(name));
    }
    return Value(static_cast<script::Object*>(names));
}

Value clear(CallContext& c)
{
    if (script::Object* self = c.thisObject())
        c.vm.define(*self, kStyles, Value(c.vm.newObject()));
    return {};
}

Value parseCSS(CallContext& c)
{
    const std::string css = c.vm.toString(c.arg(0)).toStd();
    const auto rules = text::StyleSheet::parseCss(css);
    const Value styles = stylesOf(c);
    if (!rules || !styles.isObject())
        return Value(false);
    for (const auto& [selector, properties] : *rules) {
        script::Object* style = c.vm.newObject();
        for (const auto& [name, value] : properties)
            c.vm.setMember(Value(style), script::String(name), Value(value));
        c.vm.setMember(styles, script::String(selector), Value(style));
    }
    return Value(true);
}

text::StyleSheet::Properties propertiesOf(script::Interpreter& vm, const Value& style)
{
    text::StyleSheet::Properties properties;
    if (script::Object* object = style.toObjectOrNull()) {
        for (const script::String& name : vm.enumerableNames(*object))
            properties.emplace_back(name.toStd(), vm.toString(vm.getMember(style, name)).toStd());
    }
    return properties;
}

// transform(style): the TextFormat a style stands for.
Value transform(CallContext& c)
{
    return scriptFormat(c.vm, text::StyleSheet::formatOf(propertiesOf(c.vm, c.arg(0))));
}

Value load(CallContext&)
{
    return Value(false); // nothing is fetched from a movie
}

} // namespace

text::StyleSheet styleSheetFromScript(script::Interpreter& vm, const Value& sheet)
{
    text::StyleSheet result;
    const Value styles = sheet.isObject() ? vm.getMember(sheet, kStyles) : Value();
    if (script::Object* object = styles.toObjectOrNull()) {
        for (const script::String& selector : vm.enumerableNames(*object))
            result.setStyle(selector.view(), propertiesOf(vm, vm.getMember(styles, selector)));
    }
    return result;
}

void installStyleSheet(script::Interpreter& vm, script::Object& textFieldClass)
{
    script::Object* prototype = vm.newObject();
    script::FunctionObject* sheetClass = vm.newConstructor(construct, prototype);
    const std::pair<const char*, script::NativeFunction> methods[] = {
        {"setStyle", setStyle}, {"getStyle", getStyle}, {"getStyleNames", getStyleNames}, {"clear", clear},
        {"parseCSS", parseCSS}, {"transform", transform}, {"load", load},
    };
    for (const auto& [name, function] : methods)
        vm.define(*prototype, name, Value(vm.newNative(function)));
    vm.define(textFieldClass, "StyleSheet", Value(sheetClass));
}

} // namespace flash
