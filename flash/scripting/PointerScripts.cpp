// Handlers are looked up quietly (no getter, no __resolve runs) when deciding
// what takes the pointer; they run only when a transition calls them. Every
// step finds its object again by handle, since a handler may remove it.
#include "flash/scripting/PointerScripts.h"

#include "flash/script/Interpreter.h"
#include "flash/scripting/ClipEventFlags.h"
#include "flash/scripting/QuietLookup.h"
#include "flash/scripting/ScriptRuntime.h"
#include "flash/scripting/SoundScripts.h"
#include "flash/scripting/TextFieldEvents.h"
#include "flash/stage/DisplayPath.h"
#include "flash/stage/LocalBounds.h"
#include "flash/text/TextField.h"

#include <algorithm>
#include <array>

namespace flash {

namespace {

struct TransitionHandler {
    uint32_t clipEvent;
    script::String method;
};

TransitionHandler handlerFor(ButtonTransition what)
{
    switch (what) {
    case ButtonTransition::RollOver: return {ClipEventFlag::RollOver, "onRollOver"};
    case ButtonTransition::RollOut: return {ClipEventFlag::RollOut, "onRollOut"};
    case ButtonTransition::Press: return {ClipEventFlag::Press, "onPress"};
    case ButtonTransition::Release: return {ClipEventFlag::Release, "onRelease"};
    case ButtonTransition::DragOut:
    case ButtonTransition::MenuDragOut: return {ClipEventFlag::DragOut, "onDragOut"};
    case ButtonTransition::DragOver:
    case ButtonTransition::MenuDragOver: return {ClipEventFlag::DragOver, "onDragOver"};
    case ButtonTransition::ReleaseOutside: return {ClipEventFlag::ReleaseOutside, "onReleaseOutside"};
    }
    return {0, ""};
}

// Names asked on every pointer move, made once so that their hashes are kept.
struct Names {
    script::String enabled{"enabled"}, hitArea{"hitArea"}, trackAsMenu{"trackAsMenu"},
        useHandCursor{"useHandCursor"};
    std::array<script::String, 7> pointerMethods{"onPress",   "onRelease",  "onReleaseOutside", "onRollOver",
                                                 "onRollOut", "onDragOver", "onDragOut"};
};

const Names& names()
{
    static const Names kNames;
    return kNames;
}

const ButtonDef* buttonDefOf(const DisplayObject& object)
{
    const auto* def = std::get_if<std::shared_ptr<const ButtonDef>>(&object.character);
    return def ? def->get() : nullptr;
}

} // namespace

bool PointerScripts::isEnabled(const DisplayObject& object)
{
    StageHost& host = m_runtime.host();
    const script::Object* self = host.existingObjectFor(object);
    const script::Value* enabled =
        findQuietly(self ? self : host.prototypeFor(object), names().enabled, m_runtime.vm().caseMode());
    return !enabled || m_runtime.vm().toBoolean(*enabled);
}

bool PointerScripts::takesPointer(const DisplayObject& object)
{
    if (buttonDefOf(object))
        return isEnabled(object);
    if (const text::TextField* field = text::textFieldOf(object.editText))
        return field->settings().selectable || field->settings().type == text::FieldType::Input;
    if (!object.clip)
        return false;
    const bool hasOnEvents = std::any_of(object.clipActions.begin(), object.clipActions.end(),
                                         [](const ClipAction& a) { return a.events & ClipEventFlag::Pointer; });
    StageHost& host = m_runtime.host();
    const script::Object* self = host.existingObjectFor(object);
    const script::Object* from = self ? self : host.prototypeFor(object);
    const script::CaseMode mode = m_runtime.vm().caseMode();
    const auto& methods = names().pointerMethods;
    const bool hasMethods = std::any_of(methods.begin(), methods.end(),
                                        [&](const script::String& name) { return hasFunctionQuietly(from, name, mode); });
    return (hasOnEvents || hasMethods) && isEnabled(object);
}

bool PointerScripts::tracksAsMenu(const DisplayObject& object)
{
    if (const ButtonDef* def = buttonDefOf(object); def && def->trackAsMenu)
        return true;
    const script::Value* flag = findQuietly(m_runtime.host().existingObjectFor(object), names().trackAsMenu,
                                            m_runtime.vm().caseMode());
    return flag && m_runtime.vm().toBoolean(*flag);
}

bool PointerScripts::hits(const DisplayObject& object, Point stagePoint)
{
    StageHost& host = m_runtime.host();
    // A clip may name another clip as the area that takes the pointer for it.
    const DisplayObject* area = &object;
    if (const script::Value* hitArea = findQuietly(host.existingObjectFor(object), names().hitArea, m_runtime.vm().caseMode())) {
        if (const DisplayObject* named = host.displayObjectOf(*hitArea))
            area = named;
    }
    if (host.shapeHitTest())
        return host.shapeHitTest()(*area, stagePoint);
    const auto bounds = contentBounds(host.stage().movie(), *area, toStage(*area));
    return bounds && stagePoint.x >= bounds->xMin && stagePoint.x <= bounds->xMax && stagePoint.y >= bounds->yMin
           && stagePoint.y <= bounds->yMax;
}

void PointerScripts::playButtonSound(const ButtonDef& button, ButtonTransition what, ObjectHandle owner)
{
    SoundScripts* sounds = m_runtime.host().soundScripts();
    if (!sounds || !sounds->mixer() || !sounds->library())
        return;
    int which = -1;
    switch (what) {
    case ButtonTransition::RollOut: which = ButtonDef::RollOutSound; break;
    case ButtonTransition::RollOver: which = ButtonDef::RollOverSound; break;
    case ButtonTransition::Press: which = ButtonDef::PressSound; break;
    case ButtonTransition::Release: which = ButtonDef::ReleaseSound; break;
    default: return;
    }
    const StartSound& sound = button.sounds[size_t(which)];
    if (sound.soundId == 0)
        return;
    const DisplayObject* pressed = m_runtime.host().stage().find(owner);
    const auto& movie = pressed ? m_runtime.host().stage().sharedMovieOf(*pressed) : m_runtime.host().stage().sharedMovie();
    sounds->mixer()->startSound(sound.soundId, sounds->library()->sound(sound.soundId, movie),
                                media::parseSoundInfo(sound.info), {owner.id, 0});
}

void PointerScripts::runButtonActions(ObjectHandle button, uint16_t conditionBits)
{
    const DisplayObject* object = m_runtime.host().stage().find(button);
    const ButtonDef* def = object ? buttonDefOf(*object) : nullptr;
    if (!def || !object->parent)
        return;
    // The actions act on the timeline holding the button; the definition outlives the run.
    const ObjectHandle timeline = handleOf(*object->parent);
    const std::shared_ptr<const ButtonDef> keep = std::get<std::shared_ptr<const ButtonDef>>(object->character);
    for (const ButtonCondAction& action : keep->actions) {
        if (action.conditions & conditionBits)
            m_runtime.runActions(action.actions, timeline);
    }
}

void PointerScripts::runTransitions(const PointerTracker::Transitions& transitions)
{
    StageHost& host = m_runtime.host();
    for (const PointerTracker::Transition& t : transitions) {
        const DisplayObject* object = host.stage().find(t.target);
        if (!object)
            continue;
        const TransitionHandler handler = handlerFor(t.what);
        if (const ButtonDef* def = buttonDefOf(*object)) {
            playButtonSound(*def, t.what, t.target);
            runButtonActions(t.target, conditionBit(t.what));
        }
        else
            m_runtime.runClipActions(t.target, handler.clipEvent);
        m_runtime.callDefinedHandler(t.target, handler.method);
    }
}

void PointerScripts::mouseEvent(MouseEvent event)
{
    struct Event {
        uint32_t flag;
        script::String method;
    };
    static const Event kDown{ClipEventFlag::MouseDown, "onMouseDown"}, kUp{ClipEventFlag::MouseUp, "onMouseUp"},
        kMove{ClipEventFlag::MouseMove, "onMouseMove"};
    const Event& names = event == MouseEvent::Down ? kDown : event == MouseEvent::Up ? kUp : kMove;
    // Listeners hear at once; the clips' events come after, as they are queued to run.
    const std::array<script::Value, 1> message{script::Value(names.method)};
    m_runtime.vm().callMethod(m_runtime.vm().getMember(script::Value(m_runtime.vm().global()), "Mouse"),
                              "broadcastMessage", message);
    StageHost& host = m_runtime.host();
    for (ObjectHandle handle : host.stage().objectsInOrder(Stage::ObjectKind::Clips)) {
        m_runtime.runClipActions(handle, names.flag);
        m_runtime.callDefinedHandler(handle, names.method);
    }
}

void PointerScripts::wheel(int delta, ObjectHandle over)
{
    StageHost& host = m_runtime.host();
    DisplayObject* target = host.stage().find(over);
    // A text field under the pointer scrolls by the wheel's lines.
    if (text::TextField* field = target ? text::textFieldOf(target->editText) : nullptr) {
        const int before = field->scroll();
        field->setScroll(double(before) - delta);
        if (field->scroll() != before)
            broadcastFieldEvent(m_runtime.vm(), *host.objectFor(*target), "onScroller");
        target = host.stage().find(over);
    }
    const std::array<script::Value, 3> message{script::Value("onMouseWheel"), script::Value(double(delta)),
                                               target ? script::Value(host.objectFor(*target)) : script::Value()};
    m_runtime.vm().callMethod(m_runtime.vm().getMember(script::Value(m_runtime.vm().global()), "Mouse"),
                              "broadcastMessage", message);
}

void PointerScripts::followDrag(Point stagePoint)
{
    StageHost& host = m_runtime.host();
    const auto& drag = host.drag();
    DisplayObject* clip = drag ? host.stage().find(drag->clip) : nullptr;
    if (!clip)
        return;
    Point at = stagePoint;
    if (clip->parent) {
        if (const auto toParent = toStage(*clip->parent).inverted())
            at = toParent->map(at);
    }
    if (drag->center == script::DragCenter::AsGrabbed)
        at = {at.x + drag->grabOffset.x, at.y + drag->grabOffset.y};
    if (const auto& b = drag->bounds) {
        const double left = std::min(b->left, b->right) * kTwipsPerPixel, right = std::max(b->left, b->right) * kTwipsPerPixel;
        const double top = std::min(b->top, b->bottom) * kTwipsPerPixel, bottom = std::max(b->top, b->bottom) * kTwipsPerPixel;
        at = {std::clamp(at.x, left, right), std::clamp(at.y, top, bottom)};
    }
    clip->matrix.tx = std::trunc(at.x);
    clip->matrix.ty = std::trunc(at.y);
    clip->scriptLocks |= LockMatrix;
    clip->dropTarget = dropTargetUnder(*clip, stagePoint);
}

namespace {

// What a dragged clip is over: the top-most thing drawn under the pointer that
// is not part of the dragged clip, answered by the clip that shows it.
class DropTargets final : public PointerTargets {
public:
    DropTargets(PointerTargets& base, const DisplayObject& dragged) : m_base(base), m_dragged(dragged) {}
    bool takesPointer(const DisplayObject& object) override { return !object.clip || object.drawing; }
    bool tracksAsMenu(const DisplayObject&) override { return false; }
    bool hits(const DisplayObject& object, Point stagePoint) override
    {
        for (const DisplayObject* up = &object; up; up = up->parent) {
            if (up == &m_dragged)
                return false;
        }
        return m_base.hits(object, stagePoint);
    }

private:
    PointerTargets& m_base;
    const DisplayObject& m_dragged;
};

} // namespace

std::string PointerScripts::dropTargetUnder(const DisplayObject& dragged, Point stagePoint)
{
    DropTargets targets(*this, dragged);
    const DisplayObject* found = pointerTargetAt(m_runtime.host().stage(), targets, stagePoint);
    while (found && !found->clip)
        found = found->parent;
    return found && found->parent ? slashPath(*found) : std::string();
}

bool PointerScripts::showsHand(const DisplayObject& object)
{
    StageHost& host = m_runtime.host();
    const script::Object* self = host.existingObjectFor(object);
    const script::Value* hand = findQuietly(self ? self : host.prototypeFor(object), names().useHandCursor,
                                            m_runtime.vm().caseMode());
    return !hand || m_runtime.vm().toBoolean(*hand);
}

} // namespace flash
