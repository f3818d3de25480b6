// Every conversion and comparison of the language, as the runtime of the SWF
// version running the code performs them.
#pragma once

#include "flash/script/Value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace flash::script {

class Interpreter;

// Primitives only (objects are converted through Interpreter::toPrimitive first).
[[nodiscard]] double primitiveToNumber(const Value& value, int swfVersion);
[[nodiscard]] String primitiveToString(const Value& value, int swfVersion);
[[nodiscard]] bool toBoolean(const Value& value, int swfVersion);

// A string's number: decimal with optional exponent, "0x" hex where the version takes it,
// surrounding whitespace as the runtime skips it; NaN when it is not a number.
[[nodiscard]] double stringToNumber(std::string_view text, int swfVersion);
// At most 15 significant digits: "1e+21", "1.5e-7", "-Infinity", "NaN", integers below 1e15 in full.
[[nodiscard]] std::string numberToString(double number);
// Number printed in another base (Number.prototype.toString(radix)).
[[nodiscard]] std::string numberToString(double number, int radix);

[[nodiscard]] int32_t toInt32(double number);
[[nodiscard]] uint32_t toUint32(double number);
// ToInteger: truncation toward zero, NaN to 0.
[[nodiscard]] double toInteger(double number);

// StrictEquals: same type and value, no conversion.
[[nodiscard]] bool strictEquals(const Value& a, const Value& b);
// Equals2: the abstract equality, converting as the runtime does.
[[nodiscard]] bool looseEquals(Interpreter& vm, const Value& a, const Value& b);
// Less2 / Greater: true, false, or undefined when a NaN is involved.
[[nodiscard]] Value lessThan(Interpreter& vm, const Value& a, const Value& b);

// Code points of a byte string: UTF-8 from SWF 6 on, bytes (as Latin-1) before.
[[nodiscard]] size_t characterCount(std::string_view text, int swfVersion);
// Byte offset of character `index` (clamped to the end).
[[nodiscard]] size_t characterOffset(std::string_view text, size_t index, int swfVersion);
// The character at a byte offset, and how many bytes it takes.
[[nodiscard]] uint32_t decodeCharacter(std::string_view text, size_t offset, int swfVersion, size_t& length);
[[nodiscard]] std::string encodeCharacter(uint32_t codePoint, int swfVersion);

} // namespace flash::script
