// Timeline and host actions: frames, targets, clip properties, URLs, drags, output.
#include "flash/script/ActionHandlers.h"

#include "flash/script/ActionPayloads.h"

#include <cmath>
#include <string>

namespace flash::script::actions {

void requirePayload(Interpreter& vm, Bytes p, size_t n)
{
    if (p.size() < n)
        vm.stop("Script stopped: truncated action payload");
}

void skipActions(Interpreter& vm, Frame& f, uint32_t count)
{
    for (uint32_t i = 0; i < count && f.pc < f.code.size(); ++i) {
        const uint8_t op = f.code[f.pc];
        if (op & 0x80) {
            if (f.code.size() - f.pc < 3)
                vm.stop("Script stopped: truncated action");
            f.pc += 3 + (size_t(f.code[f.pc + 1]) | size_t(f.code[f.pc + 2]) << 8);
        } else {
            f.pc += 1;
        }
    }
    if (f.pc > f.code.size())
        vm.stop("Script stopped: a skip runs past its block");
}

Object* targetOf(Interpreter& vm, Frame& f, const Value& target)
{
    if (Object* o = target.toObjectOrNull())
        return o;
    return vm.resolveTarget(f, vm.toString(target).view());
}

namespace {

Object* current(Frame& f) { return f.target; }

// A frame given as a number (1-based) or a string: "label", "12", "target:label".
void gotoValue(Interpreter& vm, Frame& f, const Value& frame, GotoPlay play, uint32_t bias)
{
    Object* clip = current(f);
    if (frame.isString()) {
        std::string_view text = frame.stringView();
        const size_t colon = text.rfind(':');
        if (colon != std::string_view::npos) {
            clip = vm.resolveTarget(f, text.substr(0, colon));
            text = text.substr(colon + 1);
        }
        if (!clip)
            return;
        const double n = stringToNumber(text, f.version);
        if (std::isnan(n)) {
            (void)vm.host().gotoLabel(*clip, text, play);
            return;
        }
        if (n >= 1)
            vm.host().gotoFrame(*clip, uint32_t(std::min(n, 4e9)) - 1 + bias, play);
        return;
    }
    const double n = vm.toNumber(frame);
    if (clip && std::isfinite(n) && n >= 1)
        vm.host().gotoFrame(*clip, uint32_t(std::min(n, 4e9)) - 1 + bias, play);
}

} // namespace

Flow gotoFrame(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 2);
    if (Object* clip = current(f))
        vm.host().gotoFrame(*clip, readU16(p, 0), GotoPlay::Stop);
    return Flow::Next;
}

Flow getUrl(Interpreter& vm, Frame& f, Bytes p)
{
    size_t pos = 0;
    auto url = readString(p, pos);
    auto target = url ? readString(p, pos) : std::nullopt;
    if (!target)
        vm.stop("Script stopped: truncated GetURL");
    vm.host().getUrl(UrlRequest { url->toStd(), target->toStd(), current(f) });
    return Flow::Next;
}

Flow nextFrame(Interpreter& vm, Frame& f, Bytes)
{
    if (Object* clip = current(f))
        vm.host().nextFrame(*clip);
    return Flow::Next;
}

Flow prevFrame(Interpreter& vm, Frame& f, Bytes)
{
    if (Object* clip = current(f))
        vm.host().prevFrame(*clip);
    return Flow::Next;
}

Flow play(Interpreter& vm, Frame& f, Bytes)
{
    if (Object* clip = current(f))
        vm.host().play(*clip);
    return Flow::Next;
}

Flow stop(Interpreter& vm, Frame& f, Bytes)
{
    if (Object* clip = current(f))
        vm.host().stop(*clip);
    return Flow::Next;
}

Flow toggleQuality(Interpreter& vm, Frame&, Bytes)
{
    vm.host().toggleQuality();
    return Flow::Next;
}

Flow stopSounds(Interpreter& vm, Frame&, Bytes)
{
    vm.host().stopSounds();
    return Flow::Next;
}

Flow waitForFrame(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 3);
    const uint16_t frame = readU16(p, 0);
    Object* clip = current(f);
    const bool loaded = clip && vm.host().frames(*clip).loaded > frame;
    if (!loaded)
        skipActions(vm, f, p[2]);
    return Flow::Next;
}

Flow waitForFrame2(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 1);
    const Value frame = pop(vm, f);
    Object* clip = current(f);
    bool loaded = false;
    if (clip) {
        const double n = vm.toNumber(frame);
        loaded = std::isfinite(n) && vm.host().frames(*clip).loaded >= std::max(n, 1.0);
    }
    if (!loaded)
        skipActions(vm, f, p[0]);
    return Flow::Next;
}

Flow setTarget(Interpreter& vm, Frame& f, Bytes p)
{
    size_t pos = 0;
    auto path = readString(p, pos);
    if (!path)
        vm.stop("Script stopped: truncated SetTarget");
    f.target = path->isEmpty() ? f.originalTarget : vm.resolveTarget(f, path->view());
    if (path->isEmpty())
        f.target = f.originalTarget;
    return Flow::Next;
}

Flow setTarget2(Interpreter& vm, Frame& f, Bytes)
{
    const Value target = pop(vm, f);
    if (target.isString() && target.stringView().empty()) {
        f.target = f.originalTarget;
        return Flow::Next;
    }
    Object* from = f.originalTarget;
    f.target = nullptr;
    if (Object* o = target.toObjectOrNull())
        f.target = o;
    else
        f.target = vm.host().resolveTarget(from, vm.toString(target).view());
    return Flow::Next;
}

Flow goToLabel(Interpreter& vm, Frame& f, Bytes p)
{
    size_t pos = 0;
    auto label = readString(p, pos);
    if (!label)
        vm.stop("Script stopped: truncated GoToLabel");
    if (Object* clip = current(f))
        (void)vm.host().gotoLabel(*clip, label->view(), GotoPlay::Stop);
    return Flow::Next;
}

Flow gotoFrame2(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 1);
    const bool hasBias = p[0] & 2;
    uint32_t bias = 0;
    if (hasBias) {
        requirePayload(vm, p, 3);
        bias = readU16(p, 1);
    }
    const Value frame = pop(vm, f);
    gotoValue(vm, f, frame, (p[0] & 1) ? GotoPlay::Play : GotoPlay::Stop, bias);
    return Flow::Next;
}

Flow getProperty(Interpreter& vm, Frame& f, Bytes)
{
    const Value index = pop(vm, f);
    const Value target = pop(vm, f);
    Object* clip = target.isString() && target.stringView().empty() ? current(f) : targetOf(vm, f, target);
    const double n = vm.toNumber(index);
    push(vm, std::isfinite(n) ? vm.host().getProperty(clip, int(n)) : Value());
    return Flow::Next;
}

Flow setProperty(Interpreter& vm, Frame& f, Bytes)
{
    const Value value = pop(vm, f);
    const Value index = pop(vm, f);
    const Value target = pop(vm, f);
    Object* clip = target.isString() && target.stringView().empty() ? current(f) : targetOf(vm, f, target);
    const double n = vm.toNumber(index);
    if (std::isfinite(n))
        vm.host().setProperty(clip, int(n), value);
    return Flow::Next;
}

Flow cloneSprite(Interpreter& vm, Frame& f, Bytes)
{
    const Value depth = pop(vm, f);
    const Value name = pop(vm, f);
    const Value source = pop(vm, f);
    Object* clip = targetOf(vm, f, source);
    const double d = vm.toNumber(depth);
    if (clip && std::isfinite(d))
        vm.host().cloneSprite(*clip, vm.toString(name).view(), toInt32(d));
    return Flow::Next;
}

Flow removeSprite(Interpreter& vm, Frame& f, Bytes)
{
    if (Object* clip = targetOf(vm, f, pop(vm, f)))
        vm.host().removeSprite(*clip);
    return Flow::Next;
}

Flow startDrag(Interpreter& vm, Frame& f, Bytes)
{
    const Value target = pop(vm, f);
    const bool lock = vm.toBoolean(pop(vm, f));
    const bool constrained = vm.toBoolean(pop(vm, f));
    std::optional<DragBounds> bounds;
    if (constrained) {
        DragBounds b;
        b.bottom = vm.toNumber(pop(vm, f));
        b.right = vm.toNumber(pop(vm, f));
        b.top = vm.toNumber(pop(vm, f));
        b.left = vm.toNumber(pop(vm, f));
        bounds = b;
    }
    if (Object* clip = targetOf(vm, f, target))
        vm.host().startDrag(*clip, lock ? DragCenter::LockToPointer : DragCenter::AsGrabbed, bounds);
    return Flow::Next;
}

Flow endDrag(Interpreter& vm, Frame&, Bytes)
{
    vm.host().endDrag();
    return Flow::Next;
}

Flow getUrl2(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 1);
    const Value target = pop(vm, f);
    const Value url = pop(vm, f);
    UrlRequest request;
    request.url = vm.toString(url).toStd();
    request.target = vm.toString(target).toStd();
    switch (p[0] & 3) {
    case 1: request.method = UrlMethod::Get; break;
    case 2: request.method = UrlMethod::Post; break;
    default: request.method = UrlMethod::None; break;
    }
    request.targetKind = (p[0] & 0x40) ? UrlTarget::Clip : UrlTarget::Window;
    request.load = (p[0] & 0x80) ? UrlLoad::Variables : UrlLoad::Document;
    request.from = current(f);
    vm.host().getUrl(request);
    return Flow::Next;
}

Flow callFrame(Interpreter& vm, Frame& f, Bytes)
{
    const Value frame = pop(vm, f);
    Object* clip = current(f);
    std::string_view text;
    String held;
    if (frame.isString()) {
        held = frame.asString();
        text = held.view();
        const size_t colon = text.rfind(':');
        if (colon != std::string_view::npos) {
            clip = vm.resolveTarget(f, text.substr(0, colon));
            text = text.substr(colon + 1);
        }
    }
    if (!clip)
        return Flow::Next;
    double n = frame.isString() ? stringToNumber(text, f.version) : vm.toNumber(frame);
    if (std::isnan(n)) {
        if (auto labelled = vm.host().frameOfLabel(*clip, text))
            vm.host().callFrame(*clip, *labelled);
        return Flow::Next;
    }
    if (n >= 1 && n < 4e9)
        vm.host().callFrame(*clip, uint32_t(n) - 1);
    return Flow::Next;
}

Flow trace(Interpreter& vm, Frame& f, Bytes)
{
    const Value v = pop(vm, f);
    // trace() shows "undefined" even where undefined converts to "".
    vm.host().trace(v.isUndefined() ? String("undefined").view() : vm.toString(v).view());
    return Flow::Next;
}

Flow getTime(Interpreter& vm, Frame&, Bytes)
{
    push(vm, Value(std::floor(vm.host().timeMs())));
    return Flow::Next;
}

Flow randomNumber(Interpreter& vm, Frame& f, Bytes)
{
    const double max = vm.toNumber(pop(vm, f));
    const uint32_t bound = std::isfinite(max) && max >= 1 ? uint32_t(std::min(max, 4294967295.0)) : 1;
    push(vm, Value(double(vm.host().random(bound))));
    return Flow::Next;
}

Flow targetPath(Interpreter& vm, Frame& f, Bytes)
{
    const Value v = pop(vm, f);
    Object* o = v.toObjectOrNull();
    if (o && vm.host().isClip(*o))
        push(vm, Value(String(vm.host().targetPath(*o, PathStyle::Dot))));
    else
        push(vm, Value());
    return Flow::Next;
}

} // namespace flash::script::actions
