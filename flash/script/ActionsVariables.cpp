// Values, registers, variables and members: Push, ConstantPool, StoreRegister,
// Get/SetVariable, DefineLocal, Get/SetMember, Delete, InitArray/Object, Enumerate.
#include "flash/script/ActionHandlers.h"

#include "flash/script/ActionPayloads.h"
#include "flash/script/ArrayObject.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace flash::script::actions {

namespace {

uint32_t readU32(const uint8_t* d)
{
    return uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
}

[[noreturn]] void badPush(Interpreter& vm, const char* what)
{
    vm.stop(std::string("Script stopped: Push with ") + what);
}

// A non-negative integral number that indexes an array directly.
bool arrayIndex(const Value& name, uint32_t& index)
{
    if (!name.isNumber())
        return false;
    const double n = name.asNumber();
    if (!(n >= 0 && n < 4294967295.0) || n != std::floor(n))
        return false;
    index = uint32_t(n);
    return true;
}

} // namespace

Flow pushValues(Interpreter& vm, Frame& f, Bytes p)
{
    const uint8_t* d = p.data();
    const size_t n = p.size();
    size_t pos = 0;
    while (pos < n) {
        const uint8_t type = d[pos++];
        switch (type) {
        case 0: {
            const void* end = std::memchr(d + pos, 0, n - pos);
            if (!end)
                badPush(vm, "an unterminated string");
            const size_t length = size_t(static_cast<const uint8_t*>(end) - (d + pos));
            push(vm, Value(String(std::string_view(reinterpret_cast<const char*>(d + pos), length))));
            pos += length + 1;
            break;
        }
        case 1: {
            if (n - pos < 4)
                badPush(vm, "a truncated float");
            const uint32_t bits = readU32(d + pos);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            push(vm, Value(double(value)));
            pos += 4;
            break;
        }
        case 2:
            push(vm, Value::null());
            break;
        case 3:
            push(vm, Value());
            break;
        case 4: {
            if (pos >= n)
                badPush(vm, "a truncated register");
            const uint8_t reg = d[pos++];
            if (reg >= f.registerCount)
                badPush(vm, "a register the frame does not have");
            push(vm, f.registers[reg]);
            break;
        }
        case 5:
            if (pos >= n)
                badPush(vm, "a truncated boolean");
            push(vm, Value(d[pos++] != 0));
            break;
        case 6: {
            if (n - pos < 8)
                badPush(vm, "a truncated double");
            const uint64_t bits = uint64_t(readU32(d + pos)) << 32 | readU32(d + pos + 4);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            push(vm, Value(value));
            pos += 8;
            break;
        }
        case 7:
            if (n - pos < 4)
                badPush(vm, "a truncated integer");
            push(vm, Value(double(int32_t(readU32(d + pos)))));
            pos += 4;
            break;
        case 8:
        case 9: {
            const size_t width = type == 8 ? 1 : 2;
            if (n - pos < width)
                badPush(vm, "a truncated constant");
            const size_t index = width == 1 ? d[pos] : readU16(p, pos);
            pos += width;
            if (!f.pool || index >= f.pool->size())
                badPush(vm, "a constant outside the pool");
            push(vm, Value((*f.pool)[index]));
            break;
        }
        default:
            badPush(vm, "an unknown type");
        }
    }
    return Flow::Next;
}

Flow constantPool(Interpreter& vm, Frame& f, Bytes p)
{
    auto pool = decodeConstantPool(p);
    if (!pool)
        vm.stop("Script stopped: malformed ConstantPool");
    f.pool = std::make_shared<const ConstantPool>(std::move(*pool));
    return Flow::Next;
}

Flow storeRegister(Interpreter& vm, Frame& f, Bytes p)
{
    requirePayload(vm, p, 1);
    if (p[0] >= f.registerCount)
        vm.stop("Script stopped: StoreRegister to a register the frame does not have");
    f.registers[p[0]] = vm.stack().size() > f.stackBase ? vm.stack().top() : Value();
    return Flow::Next;
}

Flow getVariable(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    push(vm, vm.getVariable(f, name.isString() ? name.asString() : vm.toString(name)));
    return Flow::Next;
}

Flow setVariable(Interpreter& vm, Frame& f, Bytes)
{
    const Value value = pop(vm, f);
    const Value name = pop(vm, f);
    vm.setVariable(f, name.isString() ? name.asString() : vm.toString(name), value);
    return Flow::Next;
}

Flow defineLocal(Interpreter& vm, Frame& f, Bytes)
{
    const Value value = pop(vm, f);
    const Value name = pop(vm, f);
    vm.defineLocal(f, vm.toString(name), value);
    return Flow::Next;
}

Flow defineLocal2(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const String key = vm.toString(name);
    if (f.isFunction()) {
        Object* activation = vm.activationOf(f);
        if (!activation->properties().find(key, f.mode))
            activation->properties().add(key, Value());
    } else {
        Object* target = f.target ? f.target : f.originalTarget;
        if (target && !vm.hasProperty(*target, key))
            vm.setMember(Value(target), key, Value());
    }
    return Flow::Next;
}

Flow deleteMember(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const Value object = pop(vm, f);
    push(vm, Value(vm.deleteMember(object, vm.toString(name))));
    return Flow::Next;
}

Flow deleteVariable(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    push(vm, Value(vm.deleteVariable(f, vm.toString(name))));
    return Flow::Next;
}

Flow getMember(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    const Value object = pop(vm, f);
    uint32_t index = 0;
    if (object.isObject() && object.asObject()->kind() == ObjectKind::Array && arrayIndex(name, index)) {
        auto* array = static_cast<ArrayObject*>(object.asObject());
        if (index < array->dense().size()) {
            push(vm, array->dense()[index]);
            return Flow::Next;
        }
    }
    push(vm, vm.getMember(object, name.isString() ? name.asString() : vm.toString(name)));
    return Flow::Next;
}

Flow setMember(Interpreter& vm, Frame& f, Bytes)
{
    Value value = pop(vm, f);
    const Value name = pop(vm, f);
    const Value object = pop(vm, f);
    uint32_t index = 0;
    if (object.isObject() && object.asObject()->kind() == ObjectKind::Array && arrayIndex(name, index)
        && object.asObject()->watches().empty()) {
        auto* array = static_cast<ArrayObject*>(object.asObject());
        if (index < array->dense().size()) {
            array->set(index, std::move(value));
            return Flow::Next;
        }
    }
    vm.setMember(object, name.isString() ? name.asString() : vm.toString(name), value);
    return Flow::Next;
}

namespace {

size_t countOperand(Interpreter& vm, Frame& f)
{
    const double n = vm.toNumber(pop(vm, f));
    const size_t available = vm.stack().size() - f.stackBase;
    if (!(n > 0))
        return 0;
    return size_t(std::min(n, double(available) + 1));
}

} // namespace

Flow initArray(Interpreter& vm, Frame& f, Bytes)
{
    const size_t count = countOperand(vm, f);
    ArrayObject* array = vm.newArray();
    for (size_t i = 0; i < count; ++i)
        array->push(pop(vm, f));
    push(vm, Value(static_cast<Object*>(array)));
    return Flow::Next;
}

Flow initObject(Interpreter& vm, Frame& f, Bytes)
{
    const size_t count = countOperand(vm, f);
    Object* object = vm.newObject();
    // The object goes on the stack below its pairs first, so it stays reachable while setters run.
    const size_t pairs = std::min(count, (vm.stack().size() - f.stackBase) / 2);
    std::vector<std::pair<Value, Value>> entries;
    entries.reserve(pairs);
    for (size_t i = 0; i < pairs; ++i) {
        Value value = pop(vm, f);
        Value name = pop(vm, f);
        entries.emplace_back(std::move(name), std::move(value));
    }
    push(vm, Value(object));
    // The compiler pushes the pairs last first, so the first popped is the first written.
    for (const auto& [name, value] : entries)
        vm.setMember(Value(object), vm.toString(name), value);
    return Flow::Next;
}

namespace {

void pushNames(Interpreter& vm, const Value& object)
{
    vm.push(Value::null());
    Object* o = object.toObjectOrNull();
    if (!o)
        return;
    const std::vector<String> names = vm.enumerableNames(*o);
    for (size_t i = names.size(); i-- > 0;)
        vm.push(Value(names[i]));
}

} // namespace

Flow enumerate(Interpreter& vm, Frame& f, Bytes)
{
    const Value name = pop(vm, f);
    pushNames(vm, vm.getVariable(f, vm.toString(name)));
    return Flow::Next;
}

Flow enumerate2(Interpreter& vm, Frame& f, Bytes)
{
    pushNames(vm, pop(vm, f));
    return Flow::Next;
}

} // namespace flash::script::actions
