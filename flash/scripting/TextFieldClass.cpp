// The methods of TextField.prototype, each on the field it is called on; a
// method called on anything else does nothing and returns undefined.
#include "flash/scripting/TextFieldClass.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/HostObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/FieldVariables.h"
#include "flash/scripting/StageHost.h"
#include "flash/scripting/StyleSheetClass.h"
#include "flash/scripting/TextFieldDelegate.h"
#include "flash/scripting/TextFieldEvents.h"
#include "flash/scripting/TextFormatClass.h"
#include "flash/text/TextField.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

constexpr size_t kMaxFontNames = 4096;

StageHost& hostOf(CallContext& c)
{
    return static_cast<StageHost&>(c.vm.host());
}

// The field `this` stands for, looked up after the arguments are converted.
text::TextField* self(CallContext& c)
{
    DisplayObject* object = hostOf(c).displayObjectOf(c.thisValue);
    return object ? text::textFieldOf(object->editText) : nullptr;
}

size_t index(double n)
{
    return std::isfinite(n) && n > 0 ? size_t(std::min(n, 1e15)) : 0;
}

// After a method changed the field: the bound variable, then onScroller.
void changed(CallContext& c, bool textChanged)
{
    StageHost& host = hostOf(c);
    DisplayObject* object = host.displayObjectOf(c.thisValue);
    if (!object)
        return;
    if (textChanged)
        storeFieldVariable(host, handleOf(*object));
    script::Object* field = c.thisObject();
    if (field && field->kind() == script::ObjectKind::Host) {
        if (auto* delegate = dynamic_cast<TextFieldDelegate*>(static_cast<script::HostObject*>(field)->delegate()))
            delegate->noteChange(c.vm, *field);
    }
}

// (format), (index, format) or (begin, end, format): the range a format call names.
struct Range {
    std::optional<double> begin, end;
};

Range rangeOf(CallContext& c, size_t numbers)
{
    Range range;
    if (numbers >= 1)
        range.begin = c.vm.toNumber(c.arg(0));
    if (numbers >= 2)
        range.end = c.vm.toNumber(c.arg(1));
    return range;
}

std::pair<size_t, size_t> resolved(const Range& range, size_t length)
{
    if (!range.begin)
        return {0, length};
    const size_t begin = index(*range.begin);
    const size_t end = range.end ? index(*range.end) : begin + 1;
    return {std::min(begin, length), std::min(std::max(begin, end), length)};
}

Value setTextFormat(CallContext& c)
{
    const size_t numbers = c.argc() == 0 ? 0 : c.argc() - 1;
    const Range range = rangeOf(c, std::min<size_t>(numbers, 2));
    const text::TextFormat format = formatFromScript(c.vm, c.arg(std::min<size_t>(numbers, 2)));
    if (text::TextField* field = self(c)) {
        const auto [begin, end] = resolved(range, field->length());
        field->setTextFormat(begin, end, format);
        changed(c, false);
    }
    return {};
}

Value getTextFormat(CallContext& c)
{
    const Range range = rangeOf(c, std::min<size_t>(c.argc(), 2));
    text::TextField* field = self(c);
    if (!field)
        return {};
    const auto [begin, end] = resolved(range, field->length());
    text::TextFormat format = field->length() == 0 ? field->newTextFormat() : field->textFormat(begin, end);
    return scriptFormat(c.vm, format);
}

Value setNewTextFormat(CallContext& c)
{
    const text::TextFormat format = formatFromScript(c.vm, c.arg(0));
    if (text::TextField* field = self(c))
        field->setNewTextFormat(format);
    return {};
}

Value getNewTextFormat(CallContext& c)
{
    text::TextField* field = self(c);
    return field ? scriptFormat(c.vm, field->newTextFormat()) : Value();
}

Value replaceSel(CallContext& c)
{
    const std::string replacement = c.vm.toString(c.arg(0)).toStd();
    if (text::TextField* field = self(c)) {
        field->replaceSelection(replacement);
        changed(c, true);
    }
    return {};
}

Value replaceText(CallContext& c)
{
    const double begin = c.vm.toNumber(c.arg(0)), end = c.vm.toNumber(c.arg(1));
    const std::string replacement = c.vm.toString(c.arg(2)).toStd();
    if (text::TextField* field = self(c)) {
        field->replaceText(index(begin), index(end), replacement);
        changed(c, true);
    }
    return {};
}

Value removeTextField(CallContext& c)
{
    StageHost& host = hostOf(c);
    if (DisplayObject* object = host.displayObjectOf(c.thisValue); object && object->editText)
        host.removeScriptClip(*object);
    return {};
}

script::ArrayObject* listeners(CallContext& c, bool make)
{
    script::Object* object = c.thisObject();
    if (!object)
        return nullptr;
    const Value list = c.vm.getMember(c.thisValue, "_listeners");
    if (auto* array = list.isObject() ? dynamic_cast<script::ArrayObject*>(list.asObject()) : nullptr)
        return array;
    if (!make)
        return nullptr;
    script::ArrayObject* array = c.vm.newArray();
    c.vm.define(*object, "_listeners", Value(static_cast<script::Object*>(array)));
    return array;
}

Value addListener(CallContext& c)
{
    const Value listener = c.arg(0);
    script::ArrayObject* list = listeners(c, true);
    if (!list || !listener.isObject())
        return Value(false);
    for (uint32_t i = 0; i < list->length(); ++i) {
        if (list->at(i).toObjectOrNull() == listener.asObject())
            return Value(true);
    }
    list->push(listener);
    return Value(true);
}

Value removeListener(CallContext& c)
{
    const Value listener = c.arg(0);
    script::ArrayObject* list = listeners(c, false);
    if (!list || !listener.isObject())
        return Value(false);
    for (uint32_t i = 0; i < list->length(); ++i) {
        if (list->at(i).toObjectOrNull() != listener.asObject())
            continue;
        for (uint32_t k = i; k + 1 < list->length(); ++k)
            list->set(k, list->at(k + 1));
        list->setLength(list->length() - 1);
        return Value(true);
    }
    return Value(false);
}

Value getFontList(CallContext& c)
{
    script::ArrayObject* names = c.vm.newArray();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        for (const QString& family : QFontDatabase::families()) {
            if (names->length() >= kMaxFontNames)
                break;
            names->push(Value(family.toStdString()));
        }
    }
    return Value(static_cast<script::Object*>(names));
}

// A field converts to its target path, as clips do ("_level0.score").
Value toString(CallContext& c)
{
    script::Object* object = c.thisObject();
    if (!object || !hostOf(c).displayObjectOf(object))
        return Value("[object Object]");
    return Value(hostOf(c).targetPath(*object, script::PathStyle::Dot));
}

Value textFieldConstructor(CallContext&)
{
    // `new TextField()` makes an object that is no field on stage.
    return {};
}

// createTextField(name, depth, x, y, width, height): an empty dynamic field in
// the default format; the new field is returned from SWF 8 on.
Value createTextField(CallContext& c)
{
    const std::string name = c.vm.toString(c.arg(0)).toStd();
    double numbers[5];
    for (size_t i = 0; i < 5; ++i)
        numbers[i] = c.vm.toNumber(c.arg(i + 1));
    const auto [depth, x, y, width, height] = numbers;
    StageHost& host = hostOf(c);
    DisplayObject* clip = host.displayObjectOf(c.thisValue);
    if (!clip || !clip->clip || !std::isfinite(depth) || depth < kLowestScriptDepth || depth > kHighestScriptDepth)
        return {};
    const auto twips = [](double pixels) {
        return int32_t(std::isfinite(pixels) ? std::clamp(std::round(pixels * kTwipsPerPixel), -1e8, 1e8) : 0);
    };
    auto def = std::make_shared<EditTextDef>();
    def->flags = 0x0800; // read-only: a dynamic field
    def->bounds = Rect{0, std::max(0, twips(width)), 0, std::max(0, twips(height))};
    DisplayObject* field = host.stage().createTextField(*clip, Depth(std::floor(depth)) + kScriptDepthBase, name, std::move(def));
    if (!field)
        return {};
    field->matrix.tx = twips(x);
    field->matrix.ty = twips(y);
    return host.swfVersion() >= 8 ? Value(host.objectFor(*field)) : Value();
}

struct Method {
    const char* name;
    script::NativeFunction function;
};

constexpr Method kMethods[] = {
    {"setTextFormat", setTextFormat}, {"getTextFormat", getTextFormat}, {"setNewTextFormat", setNewTextFormat},
    {"getNewTextFormat", getNewTextFormat}, {"replaceSel", replaceSel}, {"replaceText", replaceText},
    {"removeTextField", removeTextField}, {"addListener", addListener}, {"removeListener", removeListener},
    {"toString", toString},
};

// Rendering settings scripts may set and read back; the drawing does not change with them.
void defineRenderingDefaults(script::Interpreter& vm, script::Object& prototype)
{
    vm.define(prototype, "antiAliasType", Value("normal"));
    vm.define(prototype, "gridFitType", Value("pixel"));
    vm.define(prototype, "sharpness", Value(0));
    vm.define(prototype, "thickness", Value(0));
    vm.define(prototype, "mouseWheelEnabled", Value(true));
}

} // namespace

void installTextField(script::Interpreter& vm, StageHost& host)
{
    installTextFormat(vm);
    installFieldVariables(vm);
    installFieldEvents(vm);
    script::Object* prototype = vm.newObject();
    script::FunctionObject* fieldClass = vm.newConstructor(textFieldConstructor, prototype);
    for (const Method& method : kMethods)
        vm.define(*prototype, method.name, Value(vm.newNative(method.function)));
    defineRenderingDefaults(vm, *prototype);
    vm.define(*fieldClass, "getFontList", Value(vm.newNative(getFontList)));
    installStyleSheet(vm, *fieldClass);
    vm.define(*vm.global(), "TextField", Value(fieldClass));

    // Depths work on fields as on clips: the same natives serve both.
    const Value clipClass = vm.getMember(Value(vm.global()), "MovieClip");
    const Value clipPrototype = clipClass.isObject() ? vm.getMember(clipClass, "prototype") : Value();
    if (script::Object* clips = clipPrototype.toObjectOrNull()) {
        for (const char* shared : {"getDepth", "swapDepths"})
            vm.define(*prototype, shared, vm.getMember(clipPrototype, shared));
        vm.define(*clips, "createTextField", Value(vm.newNative(createTextField)));
    }
    host.setFieldPrototype(prototype);
}

} // namespace flash
