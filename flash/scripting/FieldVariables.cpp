// Variable names are paths: "score" lives on the field's own timeline,
// "_root.game:score" and "_root.game.score" on the clip the path names.
#include "flash/scripting/FieldVariables.h"

#include "flash/script/Interpreter.h"
#include "flash/script/FunctionObject.h"
#include "flash/scripting/StageHost.h"
#include "flash/text/TextField.h"

#include <vector>

namespace flash {
namespace {

using script::Value;

constexpr const char* kSyncName = "__syncTextFieldVariables";

struct Binding {
    script::Object* owner = nullptr;
    script::String name;
};

// The clip holding the variable and its name; no owner when the path leads nowhere.
Binding bindingOf(StageHost& host, DisplayObject& field, const std::string& variable)
{
    Binding binding;
    DisplayObject* timeline = field.parent ? owningClip(*field.parent) : nullptr;
    script::Object* start = timeline ? host.objectFor(*timeline) : nullptr;
    const size_t split = variable.find_last_of(":.");
    if (split == std::string::npos) {
        binding.owner = start;
        binding.name = script::String(variable);
        return binding;
    }
    binding.owner = host.resolveTarget(start, std::string_view(variable).substr(0, split));
    binding.name = script::String(variable.substr(split + 1));
    return binding;
}

void gatherBound(const DisplayObject& object, std::vector<ObjectHandle>& out, uint32_t nesting)
{
    if (nesting > Stage::kMaxNesting + 2)
        return;
    if (const text::TextField* field = text::textFieldOf(object.editText); field && !field->settings().variable.empty())
        out.push_back(handleOf(object));
    if (const DisplayList* children = liveChildren(object)) {
        for (const auto& [depth, child] : children->objects())
            gatherBound(*child, out, nesting + 1);
    }
}

// Reading a variable may run getters and conversions, which may remove fields:
// each field is looked up again after them.
void showVariable(script::Interpreter& vm, StageHost& host, ObjectHandle handle)
{
    DisplayObject* object = host.stage().find(handle);
    text::TextField* field = object ? text::textFieldOf(object->editText) : nullptr;
    if (!field)
        return;
    const Binding binding = bindingOf(host, *object, field->settings().variable);
    if (!binding.owner || binding.name.isEmpty())
        return;
    const Value value = vm.getMember(Value(binding.owner), binding.name);
    if (value.isUndefined()) {
        const std::string text = field->text();
        vm.setMember(Value(binding.owner), binding.name, Value(text));
        field->setVariableValueShown(text);
        return;
    }
    const std::string shown = vm.toString(value).toStd();
    field = nullptr;
    if (DisplayObject* again = host.stage().find(handle))
        field = text::textFieldOf(again->editText);
    if (!field || field->variableValueShown() == shown)
        return;
    if (field->settings().html)
        field->setHtmlText(shown);
    else
        field->setText(shown);
    field->setVariableValueShown(shown);
}

Value syncAll(script::CallContext& c)
{
    auto& host = static_cast<StageHost&>(c.vm.host());
    std::vector<ObjectHandle> bound;
    gatherBound(host.stage().root(), bound, 0);
    for (ObjectHandle handle : bound)
        showVariable(c.vm, host, handle);
    return {};
}

} // namespace

void installFieldVariables(script::Interpreter& vm)
{
    // Kept where the collector sees it and no script can take it away.
    vm.define(*vm.global(), kSyncName, Value(static_cast<script::Object*>(vm.newNative(syncAll))),
              script::PropertyFlag::DontEnum | script::PropertyFlag::DontDelete | script::PropertyFlag::ReadOnly);
}

void syncFieldVariables(StageHost& host)
{
    script::Interpreter& vm = host.vm();
    (void)vm.callMethod(Value(vm.global()), kSyncName);
}

void storeFieldVariable(StageHost& host, ObjectHandle handle)
{
    DisplayObject* object = host.stage().find(handle);
    text::TextField* field = object ? text::textFieldOf(object->editText) : nullptr;
    if (!field || field->settings().variable.empty())
        return;
    const Binding binding = bindingOf(host, *object, field->settings().variable);
    if (!binding.owner || binding.name.isEmpty())
        return;
    const std::string text = field->text();
    field->setVariableValueShown(text);
    host.vm().setMember(Value(binding.owner), binding.name, Value(text));
}

} // namespace flash
