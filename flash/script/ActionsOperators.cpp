// Operators: SWF 4 numeric and string operations, the SWF 5 typed ones, bit
// operations with ToInt32 rules, and the plain stack shuffles.
#include "flash/script/ActionHandlers.h"

#include "flash/script/Object.h"

#include <cmath>
#include <string>

namespace flash::script::actions {

namespace {

// Pops y then x, for an operation x op y.
struct Operands {
    Value x, y;
};

Operands pop2(Interpreter& vm, Frame& f)
{
    Value y = pop(vm, f);
    Value x = pop(vm, f);
    return { std::move(x), std::move(y) };
}

template<typename Op>
Flow numeric(Interpreter& vm, Frame& f, Op op)
{
    auto [x, y] = pop2(vm, f);
    const double a = x.isNumber() ? x.asNumber() : vm.toNumber(x);
    const double b = y.isNumber() ? y.asNumber() : vm.toNumber(y);
    push(vm, Value(op(a, b)));
    return Flow::Next;
}

template<typename Op>
Flow bitwise(Interpreter& vm, Frame& f, Op op)
{
    auto [x, y] = pop2(vm, f);
    push(vm, Value(op(toInt32(vm.toNumber(x)), toInt32(vm.toNumber(y)))));
    return Flow::Next;
}

String concatenate(Interpreter& vm, const String& a, const String& b)
{
    std::string joined;
    joined.reserve(a.size() + b.size());
    joined.append(a.view());
    joined.append(b.view());
    return vm.makeString(std::move(joined));
}

} // namespace

Flow add(Interpreter& vm, Frame& f, Bytes) { return numeric(vm, f, [](double a, double b) { return a + b; }); }
Flow subtract(Interpreter& vm, Frame& f, Bytes) { return numeric(vm, f, [](double a, double b) { return a - b; }); }
Flow multiply(Interpreter& vm, Frame& f, Bytes) { return numeric(vm, f, [](double a, double b) { return a * b; }); }
Flow modulo(Interpreter& vm, Frame& f, Bytes) { return numeric(vm, f, [](double a, double b) { return std::fmod(a, b); }); }

Flow divide(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    const double a = vm.toNumber(x);
    const double b = vm.toNumber(y);
    if (b == 0 && f.version < 5)
        push(vm, Value("#ERROR#"));
    else
        push(vm, Value(a / b));
    return Flow::Next;
}

Flow equals(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toNumber(x) == vm.toNumber(y)));
    return Flow::Next;
}

Flow less(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toNumber(x) < vm.toNumber(y)));
    return Flow::Next;
}

Flow logicalAnd(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toBoolean(x) && vm.toBoolean(y)));
    return Flow::Next;
}

Flow logicalOr(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toBoolean(x) || vm.toBoolean(y)));
    return Flow::Next;
}

Flow logicalNot(Interpreter& vm, Frame& f, Bytes)
{
    const Value x = pop(vm, f);
    push(vm, truth(f, !vm.toBoolean(x)));
    return Flow::Next;
}

Flow stringEquals(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toString(x).view() == vm.toString(y).view()));
    return Flow::Next;
}

Flow stringLess(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toString(x).view() < vm.toString(y).view()));
    return Flow::Next;
}

Flow stringGreater(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, truth(f, vm.toString(x).view() > vm.toString(y).view()));
    return Flow::Next;
}

Flow stringAdd(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, Value(concatenate(vm, vm.toString(x), vm.toString(y))));
    return Flow::Next;
}

Flow stringLength(Interpreter& vm, Frame& f, Bytes)
{
    push(vm, Value(double(vm.toString(pop(vm, f)).size())));
    return Flow::Next;
}

Flow mbStringLength(Interpreter& vm, Frame& f, Bytes)
{
    push(vm, Value(double(characterCount(vm.toString(pop(vm, f)).view(), f.version))));
    return Flow::Next;
}

namespace {

// substring(s, index, count): index is 1-based; a negative count takes the rest.
Flow extract(Interpreter& vm, Frame& f, int version)
{
    const double count = vm.toNumber(pop(vm, f));
    const double index = vm.toNumber(pop(vm, f));
    const String text = vm.toString(pop(vm, f));
    const std::string_view s = text.view();
    const size_t length = characterCount(s, version);
    const size_t start = std::isfinite(index) && index > 1 ? size_t(std::min(index - 1, double(length))) : 0;
    size_t take = length - start;
    if (std::isfinite(count) && count >= 0)
        take = std::min(take, size_t(std::min(count, double(length))));
    else if (std::isnan(count))
        take = 0;
    const size_t from = characterOffset(s, start, version);
    const size_t to = from + characterOffset(s.substr(from), take, version);
    push(vm, Value(String(s.substr(from, to - from))));
    return Flow::Next;
}

} // namespace

Flow stringExtract(Interpreter& vm, Frame& f, Bytes) { return extract(vm, f, 5); }
Flow mbStringExtract(Interpreter& vm, Frame& f, Bytes) { return extract(vm, f, std::max(f.version, 6)); }

Flow charToAscii(Interpreter& vm, Frame& f, Bytes)
{
    const String s = vm.toString(pop(vm, f));
    push(vm, Value(s.isEmpty() ? 0.0 : double(static_cast<unsigned char>(s.view()[0]))));
    return Flow::Next;
}

Flow mbCharToAscii(Interpreter& vm, Frame& f, Bytes)
{
    const String s = vm.toString(pop(vm, f));
    size_t length = 0;
    push(vm, Value(s.isEmpty() ? 0.0 : double(decodeCharacter(s.view(), 0, std::max(f.version, 6), length))));
    return Flow::Next;
}

Flow asciiToChar(Interpreter& vm, Frame& f, Bytes)
{
    const uint32_t code = toUint32(vm.toNumber(pop(vm, f))) & 0xFF;
    push(vm, Value(String(code == 0 ? std::string() : encodeCharacter(code, f.version))));
    return Flow::Next;
}

Flow mbAsciiToChar(Interpreter& vm, Frame& f, Bytes)
{
    const uint32_t code = toUint32(vm.toNumber(pop(vm, f))) & 0x1FFFFF;
    push(vm, Value(String(code == 0 ? std::string() : encodeCharacter(code, std::max(f.version, 6)))));
    return Flow::Next;
}

Flow pop(Interpreter& vm, Frame& f, Bytes)
{
    (void)pop(vm, f);
    return Flow::Next;
}

Flow toInteger(Interpreter& vm, Frame& f, Bytes)
{
    push(vm, Value(flash::script::toInteger(vm.toNumber(pop(vm, f)))));
    return Flow::Next;
}

Flow add2(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    if (x.isNumber() && y.isNumber()) {
        push(vm, Value(x.asNumber() + y.asNumber()));
        return Flow::Next;
    }
    const Value a = vm.toPrimitive(x);
    const Value b = vm.toPrimitive(y);
    if (a.isString() || b.isString())
        push(vm, Value(concatenate(vm, vm.toString(a), vm.toString(b))));
    else
        push(vm, Value(primitiveToNumber(a, f.version) + primitiveToNumber(b, f.version)));
    return Flow::Next;
}

Flow less2(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    if (x.isNumber() && y.isNumber()) {
        const double a = x.asNumber(), b = y.asNumber();
        push(vm, std::isnan(a) || std::isnan(b) ? Value() : Value(a < b));
        return Flow::Next;
    }
    push(vm, lessThan(vm, x, y));
    return Flow::Next;
}

Flow greater(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, lessThan(vm, y, x));
    return Flow::Next;
}

Flow equals2(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, Value(looseEquals(vm, x, y)));
    return Flow::Next;
}

Flow strictEquals(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, Value(flash::script::strictEquals(x, y)));
    return Flow::Next;
}

Flow toNumber(Interpreter& vm, Frame& f, Bytes)
{
    push(vm, Value(vm.toNumber(pop(vm, f))));
    return Flow::Next;
}

Flow toString(Interpreter& vm, Frame& f, Bytes)
{
    push(vm, Value(vm.toString(pop(vm, f))));
    return Flow::Next;
}

Flow pushDuplicate(Interpreter& vm, Frame& f, Bytes)
{
    const Value top = vm.stack().size() > f.stackBase ? vm.stack().top() : Value();
    push(vm, top);
    return Flow::Next;
}

Flow stackSwap(Interpreter& vm, Frame& f, Bytes)
{
    auto [x, y] = pop2(vm, f);
    push(vm, std::move(y));
    push(vm, std::move(x));
    return Flow::Next;
}

Flow increment(Interpreter& vm, Frame& f, Bytes)
{
    if (vm.stack().size() > f.stackBase && vm.stack().top().isNumber()) {
        Value& top = vm.stack().top();
        top = Value(top.asNumber() + 1);
        return Flow::Next;
    }
    push(vm, Value(vm.toNumber(pop(vm, f)) + 1));
    return Flow::Next;
}

Flow decrement(Interpreter& vm, Frame& f, Bytes)
{
    if (vm.stack().size() > f.stackBase && vm.stack().top().isNumber()) {
        Value& top = vm.stack().top();
        top = Value(top.asNumber() - 1);
        return Flow::Next;
    }
    push(vm, Value(vm.toNumber(pop(vm, f)) - 1));
    return Flow::Next;
}

Flow bitAnd(Interpreter& vm, Frame& f, Bytes) { return bitwise(vm, f, [](int32_t a, int32_t b) { return double(a & b); }); }
Flow bitOr(Interpreter& vm, Frame& f, Bytes) { return bitwise(vm, f, [](int32_t a, int32_t b) { return double(a | b); }); }
Flow bitXor(Interpreter& vm, Frame& f, Bytes) { return bitwise(vm, f, [](int32_t a, int32_t b) { return double(a ^ b); }); }

Flow bitLShift(Interpreter& vm, Frame& f, Bytes)
{
    return bitwise(vm, f, [](int32_t a, int32_t b) { return double(int32_t(uint32_t(a) << (b & 31))); });
}

Flow bitRShift(Interpreter& vm, Frame& f, Bytes)
{
    return bitwise(vm, f, [](int32_t a, int32_t b) { return double(a >> (b & 31)); });
}

Flow bitURShift(Interpreter& vm, Frame& f, Bytes)
{
    return bitwise(vm, f, [](int32_t a, int32_t b) { return double(uint32_t(a) >> (b & 31)); });
}

Flow typeOf(Interpreter& vm, Frame& f, Bytes)
{
    const Value v = pop(vm, f);
    const char* type = "undefined";
    switch (v.type()) {
    case ValueType::Undefined: type = "undefined"; break;
    case ValueType::Null: type = "null"; break;
    case ValueType::Boolean: type = "boolean"; break;
    case ValueType::Number: type = "number"; break;
    case ValueType::String: type = "string"; break;
    case ValueType::Object:
        if (vm.host().isClip(*v.asObject()))
            type = "movieclip";
        else
            type = v.asObject()->isFunction() ? "function" : "object";
        break;
    }
    push(vm, Value(type));
    return Flow::Next;
}

} // namespace flash::script::actions
