// Text field members before display object members; _width and _height resize.
#include "flash/scripting/TextFieldDelegate.h"

#include "flash/script/Interpreter.h"
#include "flash/scripting/StageHost.h"
#include "flash/scripting/TextFieldEvents.h"
#include "flash/scripting/TextFieldMembers.h"
#include "flash/text/TextField.h"

#include <cmath>

namespace flash {

namespace {

std::array<int, 4> scrollingOf(const text::TextField& field)
{
    return {field.scroll(), field.maxScroll(), field.hscroll(), field.maxHScroll()};
}

} // namespace

TextFieldDelegate::TextFieldDelegate(StageHost& host, DisplayObject& object) : ClipDelegate(host, object), m_host(host)
{
    if (const text::TextField* field = text::textFieldOf(object.editText))
        m_scrolling = scrollingOf(*field);
}

DisplayObject* TextFieldDelegate::ownField() const
{
    DisplayObject* object = target();
    return object && isOriginal(*object) && text::textFieldOf(object->editText) ? object : nullptr;
}

std::optional<script::Value> TextFieldDelegate::get(script::Interpreter& vm, script::Object& self,
                                                    const script::String& name)
{
    if (DisplayObject* object = ownField()) {
        if (const TextFieldMember* member = textFieldMemberNamed(name, vm.caseMode()))
            return member->get(vm, self, *text::textFieldOf(object->editText));
    }
    return ClipDelegate::get(vm, self, name);
}

script::Claim TextFieldDelegate::set(script::Interpreter& vm, script::Object& self, const script::String& name,
                                     const script::Value& value)
{
    DisplayObject* object = ownField();
    if (!object)
        return ClipDelegate::set(vm, self, name, value);
    const ObjectHandle handle = handleOf(*object);
    if (const TextFieldMember* member = textFieldMemberNamed(name, vm.caseMode())) {
        if (member->set)
            member->set(vm, m_host, self, handle, value);
        noteChange(vm, self);
        return script::Claim::Taken;
    }
    if (resize(vm, name, value)) {
        noteChange(vm, self);
        return script::Claim::Taken;
    }
    return ClipDelegate::set(vm, self, name, value);
}

bool TextFieldDelegate::has(script::Interpreter& vm, script::Object& self, const script::String& name)
{
    if (ownField() && textFieldMemberNamed(name, vm.caseMode()))
        return true;
    return ClipDelegate::has(vm, self, name);
}

bool TextFieldDelegate::resize(script::Interpreter& vm, const script::String& name, const script::Value& value)
{
    const bool width = name.equals("_width", vm.caseMode());
    if (!width && !name.equals("_height", vm.caseMode()))
        return false;
    const double pixels = vm.toNumber(value);
    DisplayObject* object = ownField();
    text::TextField* field = object ? text::textFieldOf(object->editText) : nullptr;
    if (!field || !std::isfinite(pixels) || pixels < 0)
        return true;
    // The size is given in the parent's space: undo the field's own scale.
    const Matrix& m = object->matrix;
    const double scale = width ? std::hypot(m.a, m.b) : std::hypot(m.c, m.d);
    const double twips = pixels * kTwipsPerPixel / (scale > 0 ? scale : 1);
    const Rect bounds = field->bounds();
    field->setSize(width ? twips : bounds.width(), width ? bounds.height() : twips);
    return true;
}

void TextFieldDelegate::noteChange(script::Interpreter& vm, script::Object& self)
{
    DisplayObject* object = ownField();
    if (!object || !hearsFieldEvent(vm, self, "onScroller"))
        return;
    const std::array<int, 4> now = scrollingOf(*text::textFieldOf(object->editText));
    const bool moved = m_scrolling && *m_scrolling != now;
    m_scrolling = now;
    if (moved)
        broadcastFieldEvent(vm, self, "onScroller");
}

} // namespace flash
