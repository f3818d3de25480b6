// Conversions and comparisons by SWF version: what undefined, empty strings,
// whitespace and hex become, how numbers print, how equality converts.
#include "flash/script/Conversions.h"

#include "flash/script/Interpreter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace flash::script {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::optional<double> parseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    double value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

// A decimal number filling all of `text`: sign, digits, point, exponent.
std::optional<double> parseDecimal(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        size_t expDigits = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
        i = j;
    }
    if (i != text.size())
        return std::nullopt;
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

} // namespace

double stringToNumber(std::string_view text, int swfVersion)
{
    size_t start = 0;
    while (start < text.size() && isSpace(text[start]))
        ++start;
    text.remove_prefix(start);
    if (text.empty())
        return swfVersion >= 7 ? kNaN : 0.0;
    if (swfVersion >= 6) {
        bool negative = false;
        std::string_view body = text;
        if (!body.empty() && (body[0] == '-' || body[0] == '+')) {
            negative = body[0] == '-';
            body.remove_prefix(1);
        }
        if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
            auto hex = parseHex(body.substr(2));
            if (!hex)
                return kNaN;
            return negative ? -*hex : *hex;
        }
    }
    return parseDecimal(text).value_or(kNaN);
}

double primitiveToNumber(const Value& value, int swfVersion)
{
    switch (value.type()) {
    case ValueType::Undefined:
        return swfVersion >= 7 ? kNaN : 0.0;
    case ValueType::Null:
        return 0.0;
    case ValueType::Boolean:
        return value.asBoolean() ? 1.0 : 0.0;
    case ValueType::Number:
        return value.asNumber();
    case ValueType::String:
        return stringToNumber(value.stringView(), swfVersion);
    case ValueType::Object:
        return kNaN;
    }
    return kNaN;
}

std::string numberToString(double number)
{
    if (std::isnan(number))
        return "NaN";
    if (std::isinf(number))
        return number > 0 ? "Infinity" : "-Infinity";
    if (number == 0)
        return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", number);
    std::string text(buffer);
    // The runtime writes exponents without leading zeros: 1e-7, 1e+21.
    const size_t e = text.find('e');
    if (e != std::string::npos) {
        size_t digits = e + 2;
        while (digits + 1 < text.size() && text[digits] == '0')
            text.erase(digits, 1);
    }
    return text;
}

std::string numberToString(double number, int radix)
{
    if (radix == 10 || radix < 2 || radix > 36 || !std::isfinite(number))
        return numberToString(number);
    double whole = std::trunc(std::fabs(number));
    std::string digits;
    for (int guard = 0; guard < 1100 && (whole >= 1 || digits.empty()); ++guard) {
        const int d = int(std::fmod(whole, radix));
        digits.insert(digits.begin(), char(d < 10 ? '0' + d : 'a' + d - 10));
        whole = std::floor(whole / radix);
    }
    if (number < 0 && digits != "0")
        digits.insert(digits.begin(), '-');
    return digits;
}

String primitiveToString(const Value& value, int swfVersion)
{
    switch (value.type()) {
    case ValueType::Undefined:
        return swfVersion >= 7 ? String("undefined") : String();
    case ValueType::Null:
        return String("null");
    case ValueType::Boolean:
        return String(value.asBoolean() ? "true" : "false");
    case ValueType::Number:
        return String(numberToString(value.asNumber()));
    case ValueType::String:
        return value.asString();
    case ValueType::Object:
        return String("[object Object]");
    }
    return String();
}

bool toBoolean(const Value& value, int swfVersion)
{
    switch (value.type()) {
    case ValueType::Undefined:
    case ValueType::Null:
        return false;
    case ValueType::Boolean:
        return value.asBoolean();
    case ValueType::Number:
        return value.asNumber() != 0 && !std::isnan(value.asNumber());
    case ValueType::String:
        if (swfVersion >= 7)
            return !value.stringView().empty();
        else {
            const double n = stringToNumber(value.stringView(), swfVersion);
            return n != 0 && !std::isnan(n);
        }
    case ValueType::Object:
        return true;
    }
    return false;
}

double toInteger(double number)
{
    if (std::isnan(number))
        return 0;
    return std::trunc(number);
}

uint32_t toUint32(double number)
{
    if (!std::isfinite(number))
        return 0;
    if (number >= 0 && number < 4294967296.0)
        return uint32_t(number);
    double m = std::fmod(std::trunc(number), 4294967296.0);
    if (m < 0)
        m += 4294967296.0;
    return uint32_t(m);
}

int32_t toInt32(double number)
{
    if (number >= -2147483648.0 && number <= 2147483647.0)
        return int32_t(number);
    return int32_t(toUint32(number));
}

bool strictEquals(const Value& a, const Value& b)
{
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case ValueType::Undefined:
    case ValueType::Null:
        return true;
    case ValueType::Boolean:
        return a.asBoolean() == b.asBoolean();
    case ValueType::Number:
        return a.asNumber() == b.asNumber();
    case ValueType::String:
        return a.stringView() == b.stringView();
    case ValueType::Object:
        return a.asObject() == b.asObject();
    }
    return false;
}

bool looseEquals(Interpreter& vm, const Value& a, const Value& b)
{
    // Bounded: each round removes an object or a boolean, or ends.
    Value x = a, y = b;
    for (int round = 0; round < 4; ++round) {
        if (x.type() == y.type())
            return strictEquals(x, y);
        if (x.isNullish() && y.isNullish())
            return true;
        if (x.isNullish() || y.isNullish())
            return false;
        if (x.isNumber() && y.isString())
            return x.asNumber() == stringToNumber(y.stringView(), vm.version());
        if (x.isString() && y.isNumber())
            return stringToNumber(x.stringView(), vm.version()) == y.asNumber();
        if (x.isBoolean()) {
            x = Value(x.asBoolean() ? 1.0 : 0.0);
            continue;
        }
        if (y.isBoolean()) {
            y = Value(y.asBoolean() ? 1.0 : 0.0);
            continue;
        }
        if (x.isObject()) {
            x = vm.toPrimitive(x);
            if (x.isObject())
                return false;
            continue;
        }
        if (y.isObject()) {
            y = vm.toPrimitive(y);
            if (y.isObject())
                return false;
            continue;
        }
        return false;
    }
    return false;
}

Value lessThan(Interpreter& vm, const Value& a, const Value& b)
{
    const Value x = vm.toPrimitive(a, PrimitiveHint::Number);
    const Value y = vm.toPrimitive(b, PrimitiveHint::Number);
    if (x.isString() && y.isString())
        return Value(x.stringView() < y.stringView());
    const double n = primitiveToNumber(x, vm.version());
    const double m = primitiveToNumber(y, vm.version());
    if (std::isnan(n) || std::isnan(m))
        return Value();
    return Value(n < m);
}

uint32_t decodeCharacter(std::string_view text, size_t offset, int swfVersion, size_t& length)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    length = 1;
    if (offset >= text.size())
        return 0;
    const unsigned char lead = byte(offset);
    if (swfVersion < 6 || lead < 0x80)
        return lead;
    size_t need = 0;
    uint32_t cp = 0;
    if ((lead & 0xE0) == 0xC0)
        need = 1, cp = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        need = 2, cp = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        need = 3, cp = lead & 0x07;
    else
        return lead; // a stray byte stands for itself
    for (size_t i = 1; i <= need; ++i) {
        if (offset + i >= text.size() || (byte(offset + i) & 0xC0) != 0x80)
            return lead;
        cp = (cp << 6) | (byte(offset + i) & 0x3F);
    }
    length = need + 1;
    return cp;
}

size_t characterCount(std::string_view text, int swfVersion)
{
    if (swfVersion < 6)
        return text.size();
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        size_t length;
        (void)decodeCharacter(text, i, swfVersion, length);
        i += length;
    }
    return count;
}

size_t characterOffset(std::string_view text, size_t index, int swfVersion)
{
    if (swfVersion < 6)
        return std::min(index, text.size());
    size_t i = 0;
    for (size_t n = 0; n < index && i < text.size(); ++n) {
        size_t length;
        (void)decodeCharacter(text, i, swfVersion, length);
        i += length;
    }
    return i;
}

std::string encodeCharacter(uint32_t cp, int swfVersion)
{
    std::string out;
    if (swfVersion < 6 || cp < 0x80) {
        out.push_back(char(cp & 0xFF));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        cp = std::min<uint32_t>(cp, 0x10FFFF);
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
    return out;
}

} // namespace flash::script
