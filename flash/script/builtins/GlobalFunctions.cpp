// The global functions: trace, parseInt, parseFloat, isNaN, isFinite,
// escape/unescape, getTimer, getVersion, updateAfterEvent, ASSetPropFlags, and
// the SWF 4 operations that also exist as functions (int, chr, ord, substring...).
#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/builtins/BuiltinSupport.h"
#include "flash/script/builtins/Builtins.h"

#include <cmath>
#include <limits>
#include <string>

namespace flash::script {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

Value trace(CallContext& c)
{
    const Value v = c.arg(0);
    c.vm.host().trace(v.isUndefined() ? std::string_view("undefined") : c.vm.toString(v).view());
    return Value();
}

// parseInt: "0x" means hex and a leading 0 means octal when no radix is given.
Value parseInt(CallContext& c)
{
    const String text = c.vm.toString(c.arg(0));
    std::string_view s = text.view();
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int radix = 10;
    if (!c.arg(1).isUndefined()) {
        radix = int(toInteger(c.vm.toNumber(c.arg(1))));
        if (radix < 2 || radix > 36)
            return Value(kNaN);
        if (radix == 16 && s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
            s.remove_prefix(2);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        radix = 16;
        s.remove_prefix(2);
    } else if (s.size() >= 2 && s[0] == '0') {
        radix = 8;
    }
    double value = 0;
    size_t digits = 0;
    for (char ch : s) {
        const int d = digitValue(ch);
        if (d >= radix)
            break;
        value = value * radix + d;
        ++digits;
    }
    if (digits == 0)
        return Value(kNaN);
    return Value(negative ? -value : value);
}

// parseFloat: the longest decimal number at the start, after whitespace.
Value parseFloat(CallContext& c)
{
    const String text = c.vm.toString(c.arg(0));
    std::string_view s = text.view();
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return Value(kNaN);
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            while (j < s.size() && s[j] >= '0' && s[j] <= '9')
                ++j;
            i = j;
        }
    }
    return Value(std::strtod(std::string(s.substr(0, i)).c_str(), nullptr));
}

Value isNaN(CallContext& c) { return Value(std::isnan(c.vm.toNumber(c.arg(0)))); }
Value isFinite(CallContext& c) { return Value(std::isfinite(c.vm.toNumber(c.arg(0)))); }

// escape: every byte but letters and digits becomes %XX (bytes of UTF-8 one by one).
Value escape(CallContext& c)
{
    static const char* const kHex = "0123456789ABCDEF";
    const String text = c.vm.toString(c.arg(0));
    std::string out;
    for (unsigned char ch : text.view()) {
        if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9')) {
            out += char(ch);
        } else {
            out += '%';
            out += kHex[ch >> 4];
            out += kHex[ch & 15];
        }
    }
    return Value(c.vm.makeString(std::move(out)));
}

Value unescape(CallContext& c)
{
    const String text = c.vm.toString(c.arg(0));
    const std::string_view s = text.view();
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && digitValue(s[i + 1]) < 16 && digitValue(s[i + 2]) < 16) {
            out += char(digitValue(s[i + 1]) * 16 + digitValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return Value(String(out));
}

Value getTimer(CallContext& c) { return Value(std::floor(c.vm.host().timeMs())); }
Value getVersion(CallContext&) { return Value("LNX 8,0,35,0"); }
Value updateAfterEvent(CallContext&) { return Value(); }

// ASSetPropFlags(object, names, set, clear): names is null (all), "a,b" or an array.
Value setPropFlags(CallContext& c)
{
    Object* object = c.arg(0).toObjectOrNull();
    if (!object)
        return Value();
    std::vector<String> names;
    bool all = c.arg(1).isNull();
    if (Object* list = c.arg(1).toObjectOrNull(); list && list->kind() == ObjectKind::Array) {
        auto* array = static_cast<ArrayObject*>(list);
        for (uint32_t i = 0; i < array->length() && i < 100'000; ++i)
            names.push_back(c.vm.toString(array->at(i)));
    } else if (!all) {
        const String text = c.vm.toString(c.arg(1));
        std::string_view s = text.view();
        for (size_t start = 0; start <= s.size();) {
            const size_t comma = s.find(',', start);
            const size_t end = comma == std::string_view::npos ? s.size() : comma;
            names.emplace_back(s.substr(start, end - start));
            start = end + 1;
        }
    }
    const uint8_t set = uint8_t(toUint32(c.vm.toNumber(c.arg(2)))) & PropertyFlag::ScriptMask;
    const uint8_t clear = c.arg(3).isUndefined() ? 0 : uint8_t(toUint32(c.vm.toNumber(c.arg(3)))) & PropertyFlag::ScriptMask;
    const auto apply = [&](Property& p) { p.flags = uint8_t((p.flags & ~clear) | set); };
    if (all) {
        for (Property& p : object->properties().slots())
            apply(p);
        return Value();
    }
    for (const String& name : names) {
        if (Property* p = object->properties().find(name, c.vm.caseMode()))
            apply(*p);
    }
    return Value();
}

Value toInt(CallContext& c) { return Value(double(toInt32(c.vm.toNumber(c.arg(0))))); }

Value chr(CallContext& c)
{
    const uint32_t code = toUint32(c.vm.toNumber(c.arg(0))) & 0xFF;
    return Value(String(code ? encodeCharacter(code, c.vm.version()) : std::string()));
}

Value ord(CallContext& c)
{
    const String s = c.vm.toString(c.arg(0));
    return Value(s.isEmpty() ? 0.0 : double(static_cast<unsigned char>(s.view()[0])));
}

Value mbchr(CallContext& c)
{
    const uint32_t code = toUint32(c.vm.toNumber(c.arg(0))) & 0x1FFFFF;
    return Value(String(code ? encodeCharacter(code, std::max(c.vm.version(), 6)) : std::string()));
}

Value mbord(CallContext& c)
{
    const String s = c.vm.toString(c.arg(0));
    size_t length = 0;
    return Value(s.isEmpty() ? 0.0 : double(decodeCharacter(s.view(), 0, std::max(c.vm.version(), 6), length)));
}

Value mblength(CallContext& c)
{
    return Value(double(characterCount(c.vm.toString(c.arg(0)).view(), std::max(c.vm.version(), 6))));
}

Value length(CallContext& c) { return Value(double(c.vm.toString(c.arg(0)).size())); }

Value random(CallContext& c)
{
    const double max = c.vm.toNumber(c.arg(0));
    const uint32_t bound = std::isfinite(max) && max >= 1 ? uint32_t(std::min(max, 4294967295.0)) : 1;
    return Value(double(c.vm.host().random(bound)));
}

// substring(s, index, count) with a 1-based index, in bytes or in characters.
Value extract(CallContext& c, int version)
{
    const String text = c.vm.toString(c.arg(0));
    const double index = c.vm.toNumber(c.arg(1));
    const double count = c.argc() > 2 ? c.vm.toNumber(c.arg(2)) : -1;
    const std::string_view s = text.view();
    const size_t total = characterCount(s, version);
    const size_t start = std::isfinite(index) && index > 1 ? size_t(std::min(index - 1, double(total))) : 0;
    size_t take = total - start;
    if (std::isfinite(count) && count >= 0)
        take = std::min(take, size_t(std::min(count, double(total))));
    const size_t from = characterOffset(s, start, version);
    const size_t to = from + characterOffset(s.substr(from), take, version);
    return Value(String(s.substr(from, to - from)));
}

Value substring(CallContext& c) { return extract(c, 5); }
Value mbsubstring(CallContext& c) { return extract(c, std::max(c.vm.version(), 6)); }

} // namespace

void installGlobalFunctions(Interpreter& vm)
{
    Object& global = *vm.global();
    struct Entry {
        const char* name;
        NativeFunction fn;
    };
    static constexpr Entry kFunctions[] = {
        { "trace", trace }, { "parseInt", parseInt }, { "parseFloat", parseFloat }, { "isNaN", isNaN },
        { "isFinite", isFinite }, { "escape", escape }, { "unescape", unescape }, { "getTimer", getTimer },
        { "getVersion", getVersion }, { "updateAfterEvent", updateAfterEvent }, { "ASSetPropFlags", setPropFlags },
        { "int", toInt }, { "chr", chr }, { "ord", ord }, { "mbchr", mbchr }, { "mbord", mbord },
        { "mblength", mblength }, { "mbsubstring", mbsubstring }, { "random", random }, { "length", length },
        { "substring", substring },
    };
    for (const Entry& e : kFunctions)
        defineMethod(vm, global, e.name, e.fn);
    vm.define(global, String("NaN"), Value(kNaN));
    vm.define(global, String("Infinity"), Value(std::numeric_limits<double>::infinity()));
}

} // namespace flash::script
