// Field events and the listeners added with addListener (kept in the field's _listeners).
#include "flash/scripting/TextFieldEvents.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/HostObject.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/FieldVariables.h"
#include "flash/scripting/StageHost.h"
#include "flash/scripting/TextFieldDelegate.h"

#include <vector>

namespace flash {
namespace {

using script::Value;

constexpr uint32_t kMaxListeners = 10'000;
constexpr const char* kEditedName = "__textFieldEdited";

// The listeners addListener keeps on the field itself, read without running anything.
script::ArrayObject* listenerArray(script::Interpreter& vm, const script::Object& field)
{
    const script::Property* list = field.properties().find(script::String("_listeners"), vm.caseMode());
    return list && list->value.isObject() ? dynamic_cast<script::ArrayObject*>(list->value.asObject()) : nullptr;
}

std::vector<Value> listenersOf(script::Interpreter& vm, script::Object& field)
{
    std::vector<Value> listeners;
    script::ArrayObject* array = listenerArray(vm, field);
    if (!array)
        return listeners;
    for (uint32_t i = 0; i < std::min(array->length(), kMaxListeners); ++i)
        listeners.push_back(array->at(i));
    return listeners;
}

Value editedNative(script::CallContext& c)
{
    auto& host = static_cast<StageHost&>(c.vm.host());
    script::Object* field = c.thisObject();
    DisplayObject* object = host.displayObjectOf(field);
    if (!field || !object)
        return {};
    storeFieldVariable(host, handleOf(*object));
    broadcastFieldEvent(c.vm, *field, "onChanged");
    if (field->kind() == script::ObjectKind::Host) {
        if (auto* delegate = dynamic_cast<TextFieldDelegate*>(static_cast<script::HostObject*>(field)->delegate()))
            delegate->noteChange(c.vm, *field);
    }
    return {};
}

} // namespace

void broadcastFieldEvent(script::Interpreter& vm, script::Object& field, std::string_view event)
{
    const Value self(&field);
    const Value args[] = {self};
    const std::vector<Value> listeners = listenersOf(vm, field);
    (void)vm.callMethod(self, event, args);
    for (const Value& listener : listeners)
        (void)vm.callMethod(listener, event, args);
}

bool hearsFieldEvent(script::Interpreter& vm, script::Object& field, std::string_view event)
{
    if (vm.hasProperty(field, script::String(event)))
        return true;
    const script::ArrayObject* array = listenerArray(vm, field);
    return array && array->length() > 0;
}

void installFieldEvents(script::Interpreter& vm)
{
    // Kept where the collector sees it and no script can take it away.
    vm.define(*vm.global(), kEditedName, Value(static_cast<script::Object*>(vm.newNative(editedNative))),
              script::PropertyFlag::DontEnum | script::PropertyFlag::DontDelete | script::PropertyFlag::ReadOnly);
}

void notifyTextEdited(StageHost& host, DisplayObject& field)
{
    script::Object* object = host.objectFor(field);
    if (!object)
        return;
    script::Interpreter& vm = host.vm();
    const Value edited = vm.getMember(Value(vm.global()), kEditedName);
    (void)vm.call(edited, Value(object));
}

} // namespace flash
