// Focus changes tell the one losing it (onKillFocus with the new focus), the
// one taking it (onSetFocus with the old), then Selection's listeners. Every
// step finds its objects again by handle: a handler may remove them.
#include "flash/scripting/FocusScripts.h"

#include "flash/input/KeyCodes.h"
#include "flash/script/Interpreter.h"
#include "flash/scripting/QuietLookup.h"
#include "flash/scripting/ScriptRuntime.h"
#include "flash/scripting/TextFieldEvents.h"
#include "flash/stage/LocalBounds.h"
#include "flash/text/TextField.h"

#include <algorithm>
#include <array>

namespace flash {

namespace {

text::TextField* fieldOf(DisplayObject* object)
{
    return object ? text::textFieldOf(object->editText) : nullptr;
}

bool isInput(const text::TextField* field)
{
    return field && field->settings().type == text::FieldType::Input;
}

} // namespace

DisplayObject* FocusScripts::focused()
{
    return m_runtime.host().stage().find(m_runtime.host().input().focus);
}

bool FocusScripts::canFocus(const DisplayObject& object)
{
    if (const text::TextField* field = text::textFieldOf(object.editText))
        return isInput(field) || field->settings().selectable;
    if (m_runtime.pointer().takesPointer(object))
        return true;
    // A clip without pointer handlers takes the focus when it says so.
    static const script::String kFocusEnabled("focusEnabled");
    const script::Value* enabled = findQuietly(m_runtime.host().existingObjectFor(object), kFocusEnabled,
                                               m_runtime.vm().caseMode());
    return object.clip && enabled && m_runtime.vm().toBoolean(*enabled);
}

bool FocusScripts::setFocus(DisplayObject* object, FocusBy by)
{
    StageHost& host = m_runtime.host();
    if (object && !canFocus(*object))
        return false;
    InputState& input = host.input();
    DisplayObject* old = focused();
    input.focusFromKeyboard = by == FocusBy::Keyboard;
    if (old == object)
        return true;
    const ObjectHandle oldHandle = old ? handleOf(*old) : ObjectHandle{};
    const ObjectHandle newHandle = object ? handleOf(*object) : ObjectHandle{};
    input.focus = newHandle;
    if (text::TextField* field = fieldOf(old))
        field->setFocused(false);
    if (text::TextField* field = fieldOf(object)) {
        field->setFocused(true);
        if (by != FocusBy::Pointer)
            field->setSelection(0, field->length()); // a field reached by Tab or script is all selected
    }
    auto valueOf = [&](ObjectHandle handle) {
        DisplayObject* found = host.stage().find(handle);
        return found ? script::Value(host.objectFor(*found)) : script::Value::null();
    };
    const std::array<script::Value, 1> toOld{valueOf(newHandle)};
    m_runtime.callHandler(oldHandle, "onKillFocus", toOld);
    const std::array<script::Value, 1> toNew{valueOf(oldHandle)};
    m_runtime.callHandler(newHandle, "onSetFocus", toNew);
    script::Interpreter& vm = m_runtime.vm();
    const std::array<script::Value, 3> message{script::Value("onSetFocus"), valueOf(oldHandle), valueOf(newHandle)};
    vm.callMethod(vm.getMember(script::Value(vm.global()), "Selection"), "broadcastMessage", message);
    return true;
}

Point FocusScripts::fieldPoint(const DisplayObject& field, Point stagePoint) const
{
    const auto inverse = toStage(field).inverted();
    const Point local = inverse ? inverse->map(stagePoint) : Point{};
    const Rect bounds = field.editText ? field.editText->bounds() : Rect{};
    return {(local.x - bounds.xMin) / kTwipsPerPixel, (local.y - bounds.yMin) / kTwipsPerPixel};
}

void FocusScripts::pointerPressed(DisplayObject* target, Point stagePoint)
{
    text::TextField* field = fieldOf(target);
    if (!field) {
        // A press elsewhere takes the focus from a text field; a button or clip keeps its own.
        if (fieldOf(focused()))
            setFocus(nullptr, FocusBy::Pointer);
        return;
    }
    const ObjectHandle handle = handleOf(*target);
    setFocus(target, FocusBy::Pointer);
    target = m_runtime.host().stage().find(handle);
    if (text::TextField* again = fieldOf(target)) {
        const Point at = fieldPoint(*target, stagePoint);
        const size_t index = again->indexAt(at.x, at.y);
        again->setSelection(index, index);
        m_selecting = true;
    }
}

void FocusScripts::pointerDragged(Point stagePoint)
{
    DisplayObject* object = focused();
    text::TextField* field = fieldOf(object);
    if (!m_selecting || !field)
        return;
    const Point at = fieldPoint(*object, stagePoint);
    field->setSelection(field->selection().begin, field->indexAt(at.x, at.y));
}

void FocusScripts::edited(DisplayObject& object)
{
    if (text::TextField* field = fieldOf(&object))
        field->revealCaret();
    notifyTextEdited(m_runtime.host(), object);
}

bool FocusScripts::acceptsText()
{
    return isInput(fieldOf(focused()));
}

void FocusScripts::typeText(std::u32string_view typed)
{
    DisplayObject* object = focused();
    text::TextField* field = fieldOf(object);
    if (!isInput(field) || typed.empty())
        return;
    if (field->type(typed))
        edited(*object);
}

std::u32string FocusScripts::selectedText()
{
    const text::TextField* field = fieldOf(focused());
    // A password's characters do not leave the field.
    return field && !field->settings().password ? field->selectedText() : std::u32string();
}

void FocusScripts::deleteSelection()
{
    DisplayObject* object = focused();
    text::TextField* field = fieldOf(object);
    const text::Selection s = field ? field->selection() : text::Selection{};
    if (isInput(field) && s.begin != s.end && field->deleteBackward())
        edited(*object);
}

void FocusScripts::selectAll()
{
    if (text::TextField* field = fieldOf(focused()))
        field->setSelection(0, field->length());
}

bool FocusScripts::keyDown(const KeyEvent& event, bool shift)
{
    if (event.code == key::Tab) {
        moveFocus(shift);
        return true;
    }
    DisplayObject* object = focused();
    text::TextField* field = fieldOf(object);
    if (!field) {
        if (object && (event.code == key::Enter || event.code == key::Space)) {
            pressFocusedButton();
            return true;
        }
        return false;
    }
    using Move = text::TextField::CaretMove;
    static constexpr std::pair<int, Move> kCaretKeys[] = {{key::Left, Move::Left},      {key::Right, Move::Right},
                                                          {key::Home, Move::LineStart}, {key::End, Move::LineEnd},
                                                          {key::Up, Move::Up},          {key::Down, Move::Down}};
    for (const auto& [code, move] : kCaretKeys) {
        if (event.code == code) {
            field->moveCaret(move, shift);
            field->revealCaret();
            return true;
        }
    }
    if (!isInput(field))
        return false;
    if (event.code == key::Backspace || event.code == key::Delete) {
        if (event.code == key::Backspace ? field->deleteBackward() : field->deleteForward())
            edited(*object);
        return true;
    }
    if (event.code == key::Enter) {
        if (field->settings().multiline)
            typeText(U"\r");
        return true;
    }
    if (event.character >= 32 && event.character != 127) {
        typeText(std::u32string(1, char32_t(event.character)));
        return true;
    }
    return false;
}

void FocusScripts::pressFocusedButton()
{
    DisplayObject* object = focused();
    if (!object)
        return;
    const ObjectHandle handle = handleOf(*object);
    m_runtime.pointer().runTransitions({{handle, ButtonTransition::Press}, {handle, ButtonTransition::Release}});
}

// Tab order: the objects with a tabIndex, by it, when any has one; otherwise
// every object that can hold the focus, top to bottom and left to right.
void FocusScripts::moveFocus(bool backwards)
{
    StageHost& host = m_runtime.host();
    Stage& stage = host.stage();
    struct Stop {
        ObjectHandle handle;
        double index;
        double y, x;
    };
    std::vector<Stop> stops;
    bool anyIndex = false;
    const script::CaseMode mode = m_runtime.vm().caseMode();
    auto visit = [&](auto& self, DisplayObject& object, int level) -> void {
        if (level > 64 || !object.visible)
            return;
        if (&object != &stage.root() && canFocus(object)) {
            const script::Object* scriptObject = host.existingObjectFor(object);
            const script::Value* enabled = findQuietly(scriptObject, "tabEnabled", mode);
            if (!enabled || enabled->isUndefined() || m_runtime.vm().toBoolean(*enabled)) {
                const script::Value* index = findQuietly(scriptObject, "tabIndex", mode);
                const double number = index && index->isNumber() ? index->asNumber() : -1;
                anyIndex = anyIndex || number >= 0;
                const auto bounds = contentBounds(stage.movie(), object, toStage(object));
                stops.push_back({handleOf(object), number, bounds ? double(bounds->yMin) : 0, bounds ? double(bounds->xMin) : 0});
            }
        }
        const script::Value* children = findQuietly(host.existingObjectFor(object), "tabChildren", mode);
        if (object.clip && (!children || children->isUndefined() || m_runtime.vm().toBoolean(*children))) {
            for (auto& [depth, child] : object.clip->children->objects())
                self(self, *child, level + 1);
        }
    };
    visit(visit, stage.root(), 0);
    if (anyIndex)
        std::erase_if(stops, [](const Stop& s) { return s.index < 0; });
    std::stable_sort(stops.begin(), stops.end(), [&](const Stop& a, const Stop& b) {
        return anyIndex ? a.index < b.index : (a.y != b.y ? a.y < b.y : a.x < b.x);
    });
    if (stops.empty())
        return;
    const ObjectHandle current = host.input().focus;
    auto at = std::find_if(stops.begin(), stops.end(), [&](const Stop& s) { return s.handle == current; });
    size_t next = 0;
    if (at != stops.end()) {
        const size_t i = size_t(at - stops.begin());
        next = backwards ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size();
    } else if (backwards) {
        next = stops.size() - 1;
    }
    setFocus(stage.find(stops[next].handle), FocusBy::Keyboard);
}

} // namespace flash
