// Indices are -1 when no text field has the focus, as the reference runtime answers.
#include "flash/scripting/SelectionClass.h"

#include "flash/script/builtins/LibrarySupport.h"
#include "flash/scripting/FocusScripts.h"
#include "flash/scripting/HostOf.h"
#include "flash/scripting/StageHost.h"
#include "flash/stage/DisplayPath.h"
#include "flash/text/TextField.h"

#include <cmath>

namespace flash {
namespace {

using script::CallContext;
using script::Value;

DisplayObject* focusedObject(CallContext& c)
{
    FocusScripts* focus = hostOf(c).focusScripts();
    return focus ? focus->focused() : nullptr;
}

text::TextField* focusedField(CallContext& c)
{
    DisplayObject* object = focusedObject(c);
    return object ? text::textFieldOf(object->editText) : nullptr;
}

Value getFocus(CallContext& c)
{
    const DisplayObject* object = focusedObject(c);
    return object ? Value(dotPath(*object)) : Value::null();
}

Value setFocus(CallContext& c)
{
    const Value target = c.arg(0).isString() ? Value(c.vm.toString(c.arg(0))) : c.arg(0);
    FocusScripts* focus = hostOf(c).focusScripts();
    if (!focus)
        return Value(false);
    if (target.isNull() || target.isUndefined())
        return Value(focus->setFocus(nullptr, FocusBy::Script));
    StageHost& host = hostOf(c);
    DisplayObject* object = host.displayObjectOf(target);
    if (!object && target.isString()) {
        if (script::Object* found = host.resolveTarget(nullptr, target.asString().view()))
            object = host.displayObjectOf(found);
    }
    return Value(object && focus->setFocus(object, FocusBy::Script));
}

Value index(CallContext& c, int which)
{
    const text::TextField* field = focusedField(c);
    if (!field)
        return Value(-1);
    const text::Selection s = field->selection();
    const size_t value = which == 0 ? std::min(s.begin, s.end) : which == 1 ? std::max(s.begin, s.end) : s.end;
    return Value(double(value));
}

Value getBeginIndex(CallContext& c) { return index(c, 0); }
Value getEndIndex(CallContext& c) { return index(c, 1); }
Value getCaretIndex(CallContext& c) { return index(c, 2); }

Value setSelection(CallContext& c)
{
    const double begin = c.vm.toNumber(c.arg(0)), end = c.vm.toNumber(c.arg(1));
    text::TextField* field = focusedField(c);
    if (!field || !std::isfinite(begin) || !std::isfinite(end))
        return {};
    const auto clampIndex = [&](double v) { return size_t(std::clamp(std::floor(v), 0.0, double(field->length()))); };
    field->setSelection(clampIndex(begin), clampIndex(end));
    return {};
}

} // namespace

void installSelection(script::Interpreter& vm)
{
    script::Object* selection = vm.newObject();
    script::initializeBroadcaster(vm, *selection);
    script::defineMethod(vm, *selection, "getFocus", getFocus);
    script::defineMethod(vm, *selection, "setFocus", setFocus);
    script::defineMethod(vm, *selection, "getBeginIndex", getBeginIndex);
    script::defineMethod(vm, *selection, "getEndIndex", getEndIndex);
    script::defineMethod(vm, *selection, "getCaretIndex", getCaretIndex);
    script::defineMethod(vm, *selection, "setSelection", setSelection);
    vm.define(*vm.global(), "Selection", Value(selection));
}

} // namespace flash
