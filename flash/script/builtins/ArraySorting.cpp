// Sorting array elements: keys made once per element, a bottom-up merge sort
// that never reads out of bounds even when comparisons contradict each other.
#include "flash/script/builtins/ArraySorting.h"

#include "flash/script/Interpreter.h"

#include <cmath>
#include <numeric>
#include <string>

namespace flash::script {

namespace {

// What an element is compared by, converted once so that sorting calls no script code.
struct SortKey {
    std::string text;
    double number = 0;
};

SortKey keyOf(Interpreter& vm, const Value& value, uint32_t options)
{
    SortKey key;
    key.text = vm.toString(value).toStd();
    if (options & SortOption::CaseInsensitive) {
        for (char& ch : key.text)
            ch = (ch >= 'A' && ch <= 'Z') ? char(ch + 32) : ch;
    }
    if (options & SortOption::Numeric)
        key.number = vm.toNumber(value);
    return key;
}

int sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

int compareKeys(const SortKey& a, const SortKey& b, uint32_t options)
{
    int order;
    // NUMERIC compares numbers as numbers; anything that is not one falls back to its text.
    if ((options & SortOption::Numeric) && !std::isnan(a.number) && !std::isnan(b.number))
        order = sign(a.number - b.number);
    else
        order = sign(double(a.text.compare(b.text)));
    return (options & SortOption::Descending) ? -order : order;
}

// Stable, O(n log n) comparisons; checks the script budget as it goes because
// each comparison may run script code.
template<typename Compare>
std::vector<uint32_t> mergeSort(Interpreter& vm, size_t count, Compare&& compare)
{
    std::vector<uint32_t> order(count), scratch(count);
    std::iota(order.begin(), order.end(), 0u);
    uint32_t sinceCheck = 0;
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t lo = 0; lo < count; lo += 2 * width) {
            const size_t mid = std::min(lo + width, count), hi = std::min(lo + 2 * width, count);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                scratch[k++] = compare(order[j], order[i]) < 0 ? order[j++] : order[i++];
                if (++sinceCheck == 1024) {
                    sinceCheck = 0;
                    vm.checkBudget();
                }
            }
            while (i < mid)
                scratch[k++] = order[i++];
            while (j < hi)
                scratch[k++] = order[j++];
        }
        order.swap(scratch);
    }
    return order;
}

template<typename Compare>
SortResult sortWith(Interpreter& vm, size_t count, uint32_t options, Compare&& compare)
{
    SortResult result;
    result.order = mergeSort(vm, count, compare);
    if (options & SortOption::UniqueSort) {
        for (size_t i = 1; i < count && result.unique; ++i)
            result.unique = compare(result.order[i - 1], result.order[i]) != 0;
    }
    return result;
}

} // namespace

SortResult sortByValue(Interpreter& vm, const std::vector<Value>& values, uint32_t options)
{
    std::vector<SortKey> keys;
    keys.reserve(values.size());
    for (const Value& v : values) {
        keys.push_back(keyOf(vm, v, options));
        if ((keys.size() & 4095) == 0)
            vm.checkBudget();
    }
    return sortWith(vm, values.size(), options,
                    [&](uint32_t a, uint32_t b) { return compareKeys(keys[a], keys[b], options); });
}

SortResult sortByFunction(Interpreter& vm, const std::vector<Value>& values, const Value& compare, uint32_t options)
{
    const int direction = (options & SortOption::Descending) ? -1 : 1;
    return sortWith(vm, values.size(), options, [&](uint32_t a, uint32_t b) {
        const Value args[] = { values[a], values[b] };
        const double answer = vm.toNumber(vm.invoke(compare, Value(), args));
        return std::isnan(answer) ? 0 : direction * sign(answer);
    });
}

SortResult sortByFields(Interpreter& vm, const std::vector<Value>& values, const std::vector<SortField>& fields)
{
    // keys[field * count + element]
    const size_t count = values.size();
    std::vector<SortKey> keys;
    keys.reserve(count * fields.size());
    for (const SortField& field : fields) {
        for (const Value& v : values) {
            keys.push_back(keyOf(vm, vm.getMember(v, field.name), field.options));
            if ((keys.size() & 4095) == 0)
                vm.checkBudget();
        }
    }
    uint32_t options = 0;
    for (const SortField& field : fields)
        options |= field.options;
    return sortWith(vm, count, options, [&](uint32_t a, uint32_t b) {
        for (size_t f = 0; f < fields.size(); ++f) {
            if (const int order = compareKeys(keys[f * count + a], keys[f * count + b], fields[f].options))
                return order;
        }
        return 0;
    });
}

} // namespace flash::script
