// Member access and variables: prototype walks, getters and setters, watches,
// __resolve, the scope chain, and the SWF 4 path forms of variable names.
#include "flash/script/Interpreter.h"

#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/FunctionObject.h"
#include "flash/script/SuperObject.h"

#include <unordered_set>

namespace flash::script {

namespace {

constexpr uint32_t kMaxChain = 256; // prototype links followed before giving up (cycles are legal)

bool isFunctionValue(const Value& v)
{
    return v.isObject() && v.asObject()->isFunction();
}

} // namespace

bool Interpreter::tryGet(Object& object, const String& name, const Value& receiver, Value& out)
{
    const CaseMode mode = caseMode();
    Object* o = &object;
    for (uint32_t i = 0; o && i < kMaxChain; ++i, o = o->proto()) {
        if (o->kind() != ObjectKind::Plain) {
            if (std::optional<Value> special = o->getSpecial(*this, name)) {
                out = std::move(*special);
                return true;
            }
        }
        if (Property* p = o->properties().find(name, mode)) {
            if (!p->isAccessor())
                out = p->value;
            else
                out = invoke(Value(p->getter), receiver, {});
            return true;
        }
    }
    return false;
}

bool Interpreter::hasProperty(Object& object, const String& name)
{
    const CaseMode mode = caseMode();
    Object* o = &object;
    for (uint32_t i = 0; o && i < kMaxChain; ++i, o = o->proto()) {
        if (o->properties().find(name, mode) || o->hasSpecial(*this, name))
            return true;
    }
    return false;
}

Value Interpreter::getMember(const Value& object, const String& name)
{
    Object* o = object.toObjectOrNull();
    if (!o) {
        Object* proto = nullptr;
        switch (object.type()) {
        case ValueType::String:
            if (name.equals(m_names.length, caseMode()))
                return Value(double(characterCount(object.stringView(), version())));
            proto = m_protos.string;
            break;
        case ValueType::Number:
            proto = m_protos.number;
            break;
        case ValueType::Boolean:
            proto = m_protos.boolean;
            break;
        default:
            return Value();
        }
        Value out;
        if (proto)
            (void)tryGet(*proto, name, object, out);
        return out;
    }
    if (name.equals(m_names.proto, caseMode()))
        return Value(o->proto());
    const Value receiver = o->kind() == ObjectKind::Super ? Value(static_cast<SuperObject*>(o)->thisObject()) : object;
    Value out;
    if (tryGet(*o, name, receiver, out))
        return out;
    if (name.equals(m_names.resolve, caseMode()))
        return Value();
    Value resolver;
    if (tryGet(*o, m_names.resolve, receiver, resolver) && isFunctionValue(resolver)) {
        const Value arg(name);
        return invoke(resolver, receiver, std::span<const Value>(&arg, 1));
    }
    return Value();
}

void Interpreter::setMember(const Value& object, const String& name, const Value& value)
{
    Object* o = object.toObjectOrNull();
    if (!o)
        return;
    if (o->kind() == ObjectKind::Super) {
        setMember(Value(static_cast<SuperObject*>(o)->thisObject()), name, value);
        return;
    }
    const CaseMode mode = caseMode();
    if (name.equals(m_names.proto, mode)) {
        if (value.isObject() || value.isNull())
            o->setProto(value.toObjectOrNull());
        return;
    }
    Value stored = value;
    if (!o->watches().empty()) {
        for (const Watch& w : o->watches()) {
            if (!w.name.equals(name, mode))
                continue;
            const Value old = getMember(object, name);
            const Value args[] = { Value(name), old, value, w.userData };
            stored = invoke(Value(w.callback), object, args);
            break;
        }
    }
    if (o->setSpecial(*this, name, stored) == Claim::Taken)
        return;
    if (Property* p = o->properties().find(name, mode)) {
        if (p->isAccessor()) {
            if (p->setter)
                (void)invoke(Value(p->setter), object, std::span<const Value>(&stored, 1));
            return;
        }
        if (!(p->flags & PropertyFlag::ReadOnly))
            p->value = std::move(stored);
        return;
    }
    // A setter added on a prototype takes writes for every object below it.
    Object* up = o->proto();
    for (uint32_t i = 0; up && i < kMaxChain; ++i, up = up->proto()) {
        if (Property* p = up->properties().find(name, mode); p && p->isAccessor()) {
            if (p->setter)
                (void)invoke(Value(p->setter), object, std::span<const Value>(&stored, 1));
            return;
        }
    }
    o->properties().add(name, std::move(stored));
}

bool Interpreter::deleteMember(const Value& object, const String& name)
{
    Object* o = object.toObjectOrNull();
    if (!o)
        return false;
    bool deleted = false;
    if (o->deleteSpecial(*this, name, deleted))
        return deleted;
    Property* p = o->properties().find(name, caseMode());
    if (!p || (p->flags & PropertyFlag::DontDelete))
        return false;
    return o->properties().remove(name, caseMode());
}

std::vector<String> Interpreter::enumerableNames(Object& object)
{
    std::vector<String> out;
    std::unordered_set<std::string> seen;
    const CaseMode mode = caseMode();
    const auto key = [mode](const String& s) {
        std::string k = s.toStd();
        if (mode == CaseMode::Insensitive) {
            for (char& c : k)
                c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
        }
        return k;
    };
    Object* o = &object;
    for (uint32_t i = 0; o && i < kMaxChain; ++i, o = o->proto()) {
        std::vector<String> special;
        o->enumerateSpecial(*this, special);
        const auto& slots = o->properties().slots();
        // Most recently added first.
        for (size_t j = slots.size(); j-- > 0;) {
            if (seen.insert(key(slots[j].name)).second && slots[j].isEnumerable())
                out.push_back(slots[j].name);
        }
        for (size_t j = special.size(); j-- > 0;) {
            if (seen.insert(key(special[j])).second)
                out.push_back(special[j]);
        }
    }
    return out;
}

void Interpreter::define(Object& object, const String& name, Value value, uint8_t flags)
{
    object.properties().put(name, std::move(value), flags, CaseMode::Sensitive);
}

// --- Variables ---------------------------------------------------------------

Object* Interpreter::resolveTarget(Frame& frame, std::string_view path)
{
    Object* from = frame.target ? frame.target : frame.originalTarget;
    if (path.empty())
        return from;
    if (Object* clip = m_host.resolveTarget(from, path))
        return clip;
    // A dot path through script variables ("obj.clip").
    if (path.find('.') != std::string_view::npos || path.find_first_of(":/") == std::string_view::npos) {
        const Value v = getVariable(frame, String(path));
        return v.toObjectOrNull();
    }
    return nullptr;
}

namespace {

enum class PathForm : uint8_t { Plain, Colon, Slash, Dot };

PathForm pathFormOf(std::string_view name)
{
    PathForm form = PathForm::Plain;
    for (char c : name) {
        if (c == ':')
            return PathForm::Colon;
        if (c == '/')
            form = PathForm::Slash;
        else if (c == '.' && form == PathForm::Plain)
            form = PathForm::Dot;
    }
    return form;
}

bool isLevelName(std::string_view name, int& level)
{
    if (name.size() < 7 || !equalsFolded(name.substr(0, 6), "_level"))
        return false;
    int n = 0;
    for (char c : name.substr(6)) {
        if (c < '0' || c > '9' || n > 100000)
            return false;
        n = n * 10 + (c - '0');
    }
    level = n;
    return true;
}

} // namespace

Object* Interpreter::argumentsOf(Frame& frame)
{
    if (!frame.arguments) {
        ArrayObject* arguments = newArray();
        for (const Value& v : frame.args)
            arguments->push(v);
        define(*arguments, m_names.callee, Value(static_cast<Object*>(frame.callee)));
        Object* caller = m_frames.size() >= 2 ? m_frames[m_frames.size() - 2]->callee : nullptr;
        define(*arguments, m_names.caller, Value(caller));
        frame.arguments = arguments;
    }
    return frame.arguments;
}

Object* Interpreter::superOf(Frame& frame)
{
    if (!frame.super)
        frame.super = m_heap.make<SuperObject>(frame.thisObject, frame.home);
    return frame.super;
}

bool Interpreter::findVariable(Frame& frame, const String& name, Value& out)
{
    const CaseMode mode = frame.mode;
    const std::string_view text = name.view();
    if (!text.empty() && (text[0] == '_' || text[0] == 't' || text[0] == 'T')) {
        if (name.equals(m_names.thisName, mode)) {
            out = frame.thisObject ? Value(frame.thisObject) : Value();
            return true;
        }
        if (name.equals(m_names.global, mode)) {
            out = Value(m_global);
            return true;
        }
        if (name.equals(m_names.root, mode)) {
            Object* from = frame.target ? frame.target : frame.originalTarget;
            out = Value(m_host.resolveTarget(from, "_root"));
            return true;
        }
        int level = 0;
        if (isLevelName(text, level)) {
            Object* clip = m_host.level(level);
            out = clip ? Value(clip) : Value();
            return true;
        }
    }
    for (size_t i = frame.withs.size(); i-- > 0;) {
        if (tryGet(*frame.withs[i], name, Value(frame.withs[i]), out))
            return true;
    }
    if (frame.isFunction()) {
        if (frame.activation && tryGet(*frame.activation, name, Value(frame.activation), out))
            return true;
        if (name.equals(m_names.arguments, mode) && !(frame.flags & FunctionFlag::SuppressArguments)) {
            out = Value(argumentsOf(frame));
            return true;
        }
        if (name.equals(m_names.super, mode) && !(frame.flags & FunctionFlag::SuppressSuper)) {
            out = Value(superOf(frame));
            return true;
        }
        const auto& captured = *frame.captured;
        for (size_t i = captured.size(); i-- > 0;) {
            if (captured[i] && tryGet(*captured[i], name, Value(captured[i]), out))
                return true;
        }
    } else {
        Object* target = frame.target ? frame.target : frame.originalTarget;
        if (target && tryGet(*target, name, Value(target), out))
            return true;
        if (tryGet(*m_global, name, Value(m_global), out))
            return true;
    }
    if (name.equals(m_names.parent, mode)) {
        Object* from = frame.target ? frame.target : frame.originalTarget;
        Object* parent = from ? m_host.parentOf(*from) : nullptr;
        out = parent ? Value(parent) : Value();
        return true;
    }
    return false;
}

Value Interpreter::getVariable(Frame& frame, const String& name)
{
    const std::string_view text = name.view();
    switch (pathFormOf(text)) {
    case PathForm::Plain:
        break;
    case PathForm::Colon: {
        const size_t colon = text.rfind(':');
        Object* target = resolveTarget(frame, text.substr(0, colon));
        return target ? getMember(Value(target), String(text.substr(colon + 1))) : Value();
    }
    case PathForm::Slash: {
        Object* clip = resolveTarget(frame, text);
        return clip ? Value(clip) : Value();
    }
    case PathForm::Dot: {
        size_t start = 0;
        size_t dot = text.find('.');
        Value current;
        if (!findVariable(frame, String(text.substr(0, dot)), current))
            return Value();
        for (uint32_t guard = 0; dot != std::string_view::npos && guard < kMaxChain; ++guard) {
            start = dot + 1;
            dot = text.find('.', start);
            const std::string_view segment = text.substr(start, dot == std::string_view::npos ? dot : dot - start);
            current = getMember(current, String(segment));
        }
        return current;
    }
    }
    Value out;
    (void)findVariable(frame, name, out);
    return out;
}

void Interpreter::setVariable(Frame& frame, const String& name, const Value& value)
{
    const std::string_view text = name.view();
    switch (pathFormOf(text)) {
    case PathForm::Plain:
        break;
    case PathForm::Colon: {
        const size_t colon = text.rfind(':');
        if (Object* target = resolveTarget(frame, text.substr(0, colon)))
            setMember(Value(target), String(text.substr(colon + 1)), value);
        return;
    }
    case PathForm::Slash:
        return;
    case PathForm::Dot: {
        const size_t dot = text.rfind('.');
        const Value owner = getVariable(frame, String(text.substr(0, dot)));
        setMember(owner, String(text.substr(dot + 1)), value);
        return;
    }
    }
    for (size_t i = frame.withs.size(); i-- > 0;) {
        if (hasProperty(*frame.withs[i], name)) {
            setMember(Value(frame.withs[i]), name, value);
            return;
        }
    }
    if (frame.isFunction()) {
        if (frame.activation && hasProperty(*frame.activation, name)) {
            setMember(Value(frame.activation), name, value);
            return;
        }
        const auto& captured = *frame.captured;
        // Assignment never lands on _global unless written so; undeclared names go to the clip.
        for (size_t i = captured.size(); i-- > 1;) {
            if (captured[i] && hasProperty(*captured[i], name)) {
                setMember(Value(captured[i]), name, value);
                return;
            }
        }
        Object* clip = captured.size() > 1 ? captured[1] : m_global;
        setMember(Value(clip), name, value);
        return;
    }
    Object* target = frame.target ? frame.target : frame.originalTarget;
    setMember(Value(target ? target : m_global), name, value);
}

void Interpreter::defineLocal(Frame& frame, const String& name, const Value& value)
{
    if (frame.isFunction()) {
        activationOf(frame)->properties().put(name, value, 0, frame.mode);
        return;
    }
    Object* target = frame.target ? frame.target : frame.originalTarget;
    setMember(Value(target ? target : m_global), name, value);
}

bool Interpreter::deleteVariable(Frame& frame, const String& name)
{
    for (size_t i = frame.withs.size(); i-- > 0;) {
        if (hasProperty(*frame.withs[i], name))
            return deleteMember(Value(frame.withs[i]), name);
    }
    if (frame.isFunction()) {
        if (frame.activation && hasProperty(*frame.activation, name))
            return deleteMember(Value(frame.activation), name);
        const auto& captured = *frame.captured;
        for (size_t i = captured.size(); i-- > 0;) {
            if (captured[i] && hasProperty(*captured[i], name))
                return deleteMember(Value(captured[i]), name);
        }
        return false;
    }
    Object* target = frame.target ? frame.target : frame.originalTarget;
    if (target && hasProperty(*target, name))
        return deleteMember(Value(target), name);
    return deleteMember(Value(m_global), name);
}

} // namespace flash::script
