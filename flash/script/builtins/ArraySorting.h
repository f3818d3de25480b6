// The orders Array.sort and Array.sortOn put elements in: a stable merge sort
// that stays safe and bounded whatever a script's compare function answers.
#pragma once

#include "flash/script/Value.h"

#include <cstdint>
#include <vector>

namespace flash::script {

class Interpreter;

// The option flags, as the constants on Array carry them.
namespace SortOption {
inline constexpr uint32_t CaseInsensitive = 1;
inline constexpr uint32_t Descending = 2;
inline constexpr uint32_t UniqueSort = 4;
inline constexpr uint32_t ReturnIndexedArray = 8;
inline constexpr uint32_t Numeric = 16;
}

struct SortField {
    String name;
    uint32_t options = 0;
};

struct SortResult {
    std::vector<uint32_t> order; // original indices, in sorted order
    bool unique = true;          // false when UNIQUESORT was asked for and two elements compared equal
};

// By the elements' strings (or numbers with NUMERIC).
[[nodiscard]] SortResult sortByValue(Interpreter& vm, const std::vector<Value>& values, uint32_t options);
// By what `compare(a, b)` returns: negative, zero or positive.
[[nodiscard]] SortResult sortByFunction(Interpreter& vm, const std::vector<Value>& values, const Value& compare,
                                        uint32_t options);
// By the named members of the elements, the first field first.
[[nodiscard]] SortResult sortByFields(Interpreter& vm, const std::vector<Value>& values,
                                      const std::vector<SortField>& fields);

} // namespace flash::script
