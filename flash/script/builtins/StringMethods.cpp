// String's methods beyond construction, toString and valueOf: characters,
// searching, the three ways of cutting out a part, split and case changes.
// Positions count characters (UTF-8 sequences from SWF 6 on, bytes before).
#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/script/builtins/PrimitiveWrappers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace flash::script {

namespace {

// What is known of the last string a method worked on. Scripts that walk a string
// call charAt or indexOf on the same text thousands of times; this keeps each call
// from counting characters from the start again (ASCII text needs no counting at all,
// and a walk through other text resumes from where the previous call stopped).
struct TextIndex {
    String string;
    int version = 0;
    size_t count = 0;
    bool ascii = true;
    size_t cursorIndex = 0;
    size_t cursorOffset = 0;
};

TextIndex& textIndexOf(const String& string, int version)
{
    thread_local TextIndex last;
    if (!last.string.sameBuffer(string) || last.version != version) {
        last = TextIndex {};
        last.string = string;
        last.version = version;
        const std::string_view bytes = string.view();
        last.ascii = version < 6 || std::all_of(bytes.begin(), bytes.end(), [](char ch) { return (ch & 0x80) == 0; });
        last.count = last.ascii ? bytes.size() : characterCount(bytes, version);
    }
    return last;
}

size_t byteOffset(TextIndex& index, size_t character)
{
    const std::string_view bytes = index.string.view();
    if (index.ascii)
        return std::min(character, bytes.size());
    if (character < index.cursorIndex)
        index.cursorIndex = index.cursorOffset = 0;
    const size_t steps = std::min(character, index.count) - index.cursorIndex;
    index.cursorOffset += characterOffset(bytes.substr(index.cursorOffset), steps, index.version);
    index.cursorIndex += steps;
    return index.cursorOffset;
}

// The text `this` stands for, with its character count for the running version.
// Offsets are looked up afresh each time: converting an argument may have run
// script code that worked on other strings in between.
struct Text {
    String string;
    int version = 8;
    size_t count = 0;

    [[nodiscard]] std::string_view bytes() const { return string.view(); }
    [[nodiscard]] size_t offset(size_t index) const { return byteOffset(textIndexOf(string, version), index); }
    // Characters [from, to); both already clamped to [0, count].
    [[nodiscard]] String part(size_t from, size_t to) const
    {
        if (to <= from)
            return String();
        const size_t start = offset(from);
        return String(bytes().substr(start, offset(to) - start));
    }
    // The character index of byte offset `at`.
    [[nodiscard]] size_t characterAt(size_t at) const
    {
        return textIndexOf(string, version).ascii ? at : characterCount(bytes().substr(0, at), version);
    }
};

Text thisText(CallContext& c)
{
    Text t;
    const Value primitive = primitiveOfThis(c, ValueType::String);
    t.string = primitive.isString() ? primitive.asString() : c.vm.toString(c.thisValue);
    t.version = c.vm.version();
    t.count = textIndexOf(t.string, t.version).count;
    return t;
}

// An index argument clamped into [0, count]; NaN is 0.
size_t clampedIndex(double n, size_t count)
{
    if (std::isnan(n) || n <= 0)
        return 0;
    return n >= double(count) ? count : size_t(n);
}

// A position where negative values count back from the end (slice, substr).
size_t fromEnd(double n, size_t count)
{
    n = toInteger(n);
    if (n < 0)
        n = std::max(0.0, double(count) + n);
    return clampedIndex(n, count);
}

Value charAt(CallContext& c)
{
    const Text t = thisText(c);
    const double n = toInteger(numberArg(c, 0));
    if (n < 0 || n >= double(t.count))
        return Value(String());
    return Value(t.part(size_t(n), size_t(n) + 1));
}

Value charCodeAt(CallContext& c)
{
    const Text t = thisText(c);
    const double n = toInteger(numberArg(c, 0));
    if (n < 0 || n >= double(t.count))
        return Value(std::numeric_limits<double>::quiet_NaN());
    size_t length = 0;
    return Value(double(decodeCharacter(t.bytes(), t.offset(size_t(n)), t.version, length)));
}

Value concat(CallContext& c)
{
    std::string out = thisText(c).string.toStd();
    for (const Value& v : c.args) {
        out += c.vm.toString(v).view();
        if (out.size() > c.vm.limits().maxStringLength)
            break;
    }
    return Value(c.vm.makeString(std::move(out)));
}

Value fromCharCode(CallContext& c)
{
    std::string out;
    const int version = c.vm.version();
    for (const Value& v : c.args)
        out += encodeCharacter(toUint32(c.vm.toNumber(v)) & 0xFFFF, version);
    return Value(c.vm.makeString(std::move(out)));
}

Value indexOf(CallContext& c)
{
    const Text t = thisText(c);
    const String needle = c.vm.toString(c.arg(0));
    const size_t start = clampedIndex(toInteger(numberArg(c, 1, 0)), t.count);
    const size_t at = t.bytes().find(needle.view(), t.offset(start));
    return Value(at == std::string_view::npos ? -1.0 : double(t.characterAt(at)));
}

Value lastIndexOf(CallContext& c)
{
    const Text t = thisText(c);
    const String needle = c.vm.toString(c.arg(0));
    double from = numberArg(c, 1, double(t.count));
    if (std::isnan(from))
        from = double(t.count);
    if (from < 0)
        return Value(-1.0);
    const size_t start = clampedIndex(toInteger(from), t.count);
    const size_t at = t.bytes().rfind(needle.view(), t.offset(start));
    return Value(at == std::string_view::npos ? -1.0 : double(t.characterAt(at)));
}

Value slice(CallContext& c)
{
    const Text t = thisText(c);
    const size_t from = fromEnd(numberArg(c, 0, 0), t.count);
    const size_t to = fromEnd(numberArg(c, 1, double(t.count)), t.count);
    return Value(t.part(from, to));
}

// substr(start[, length]): a negative start counts from the end; no length means to the end.
Value substr(CallContext& c)
{
    const Text t = thisText(c);
    const size_t from = fromEnd(numberArg(c, 0, 0), t.count);
    const double length = toInteger(numberArg(c, 1, double(t.count)));
    if (length <= 0)
        return Value(String());
    return Value(t.part(from, from + clampedIndex(length, t.count - from)));
}

// substring(a[, b]): negatives become 0 and the two ends swap when out of order.
Value substring(CallContext& c)
{
    const Text t = thisText(c);
    size_t from = clampedIndex(toInteger(numberArg(c, 0, 0)), t.count);
    size_t to = clampedIndex(toInteger(numberArg(c, 1, double(t.count))), t.count);
    if (from > to)
        std::swap(from, to);
    return Value(t.part(from, to));
}

// The parts of `this` split by argument 0, at most argument 1 of them, appended to `out`.
void splitInto(CallContext& c, ArrayObject& out)
{
    const Text t = thisText(c);
    uint32_t limit = std::numeric_limits<uint32_t>::max();
    if (!c.arg(1).isUndefined())
        limit = toUint32(numberArg(c, 1));
    if (c.arg(0).isUndefined()) {
        if (limit > 0)
            out.push(Value(t.string));
        return;
    }
    const String separator = c.vm.toString(c.arg(0));
    const std::string_view text = t.bytes(), sep = separator.view();
    if (sep.empty()) {
        // One element per character.
        for (size_t i = 0; i < text.size() && out.length() < limit;) {
            size_t length = 0;
            (void)decodeCharacter(text, i, t.version, length);
            out.push(Value(String(text.substr(i, length))));
            i += length;
            if ((out.length() & 4095) == 0)
                c.vm.checkBudget();
        }
        return;
    }
    size_t start = 0;
    while (out.length() < limit) {
        const size_t at = text.find(sep, start);
        out.push(Value(String(text.substr(start, at == std::string_view::npos ? at : at - start))));
        if (at == std::string_view::npos)
            break;
        start = at + sep.size();
        if ((out.length() & 4095) == 0)
            c.vm.checkBudget();
    }
}

// split(separator[, limit]): "" splits into characters; an undefined separator gives the whole string.
Value split(CallContext& c)
{
    ArrayObject* out = c.vm.newArray();
    growing(c.vm, *out, [&] { splitInto(c, *out); });
    return Value(static_cast<Object*>(out));
}

// Case pairs beyond ASCII that movies of the era meet: Latin-1, Latin Extended-A, Greek and Cyrillic.
uint32_t toLower(uint32_t cp)
{
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7))
        return cp + 32;
    if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x131 && cp != 0x138 && cp != 0x149 && cp != 0x178 && cp != 0x17F) {
        // Pairs sit on even/odd code points, shifted by one in 0x139-0x148 and 0x179-0x17E.
        const bool oddUpper = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
        return ((cp & 1) == (oddUpper ? 1u : 0u)) ? cp + 1 : cp;
    }
    if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2)
        return cp + 32;
    if (cp >= 0x410 && cp <= 0x42F)
        return cp + 32;
    if (cp >= 0x400 && cp <= 0x40F)
        return cp + 80;
    return cp;
}

uint32_t toUpper(uint32_t cp)
{
    if ((cp >= 'a' && cp <= 'z') || (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7))
        return cp - 32;
    if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x131 && cp != 0x138 && cp != 0x149 && cp != 0x178 && cp != 0x17F) {
        const bool oddUpper = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
        return ((cp & 1) != (oddUpper ? 1u : 0u)) ? cp - 1 : cp;
    }
    if (cp >= 0x3B1 && cp <= 0x3CB && cp != 0x3C2)
        return cp - 32;
    if (cp >= 0x430 && cp <= 0x44F)
        return cp - 32;
    if (cp >= 0x450 && cp <= 0x45F)
        return cp - 80;
    return cp;
}

template<uint32_t (*Map)(uint32_t)>
Value mapCase(CallContext& c)
{
    const Text t = thisText(c);
    const std::string_view text = t.bytes();
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = 0;
        const uint32_t cp = decodeCharacter(text, i, t.version, length);
        const uint32_t mapped = t.version < 6 && cp >= 0x80 ? cp : Map(cp);
        // Bytes that are not UTF-8 pass through unchanged.
        if (mapped == cp)
            out.append(text.substr(i, length));
        else
            out += encodeCharacter(mapped, t.version);
        i += length;
    }
    return Value(String(out));
}

} // namespace

void installStringMethods(Interpreter& vm)
{
    Object* proto = vm.prototypes().string;
    const Property* ctorProperty = ownProperty(*vm.global(), "String");
    if (!proto)
        return;
    if (ctorProperty && ctorProperty->value.isObject())
        defineMethodIfAbsent(vm, *ctorProperty->value.asObject(), "fromCharCode", fromCharCode);
    defineMethodIfAbsent(vm, *proto, "charAt", charAt);
    defineMethodIfAbsent(vm, *proto, "charCodeAt", charCodeAt);
    defineMethodIfAbsent(vm, *proto, "concat", concat);
    defineMethodIfAbsent(vm, *proto, "indexOf", indexOf);
    defineMethodIfAbsent(vm, *proto, "lastIndexOf", lastIndexOf);
    defineMethodIfAbsent(vm, *proto, "slice", slice);
    defineMethodIfAbsent(vm, *proto, "substr", substr);
    defineMethodIfAbsent(vm, *proto, "substring", substring);
    defineMethodIfAbsent(vm, *proto, "split", split);
    defineMethodIfAbsent(vm, *proto, "toLowerCase", mapCase<toLower>);
    defineMethodIfAbsent(vm, *proto, "toUpperCase", mapCase<toUpper>);
}

} // namespace flash::script
