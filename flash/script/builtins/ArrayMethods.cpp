// Array's methods beyond construction and join: adding and removing elements,
// slicing, splicing, and the sorts with their option flags.
#include "flash/script/ArrayObject.h"
#include "flash/script/Conversions.h"
#include "flash/script/builtins/ArraySorting.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace flash::script {

namespace {

// Arrays are worked on as copies of their elements; beyond this many a movie
// has made something no method could finish on (a[4e9] = 1 makes a length, not elements).
constexpr uint32_t kMaxElements = 1u << 22;

ArrayObject* asArray(const Value& v)
{
    Object* o = v.toObjectOrNull();
    return o && o->kind() == ObjectKind::Array ? static_cast<ArrayObject*>(o) : nullptr;
}

// Element access that works on arrays and, through their members, on objects that only look like one.
uint32_t lengthOf(Interpreter& vm, const Value& self)
{
    if (ArrayObject* a = asArray(self))
        return a->length();
    const double n = vm.toNumber(vm.getMember(self, vm.names().length));
    return n > 0 ? toUint32(n) : 0;
}

Value elementAt(Interpreter& vm, const Value& self, uint32_t i)
{
    if (ArrayObject* a = asArray(self))
        return a->at(i);
    return vm.getMember(self, String(std::to_string(i)));
}

void checkSize(Interpreter& vm, uint64_t count)
{
    if (count > kMaxElements)
        vm.stop("Script stopped: an array of " + std::to_string(count) + " elements is too long to work on");
}

std::vector<Value> elementsOf(Interpreter& vm, const Value& self, uint32_t from, uint32_t to)
{
    std::vector<Value> out;
    if (to <= from)
        return out;
    checkSize(vm, to - from);
    out.reserve(to - from);
    for (uint32_t i = from; i < to; ++i) {
        out.push_back(elementAt(vm, self, i));
        if ((i & 4095) == 4095)
            vm.checkBudget();
    }
    return out;
}

std::vector<Value> elementsOf(Interpreter& vm, const Value& self) { return elementsOf(vm, self, 0, lengthOf(vm, self)); }

// Replaces every element of `self` with `values`.
void assign(Interpreter& vm, const Value& self, const std::vector<Value>& values)
{
    checkSize(vm, values.size());
    if (ArrayObject* a = asArray(self)) {
        growing(vm, *a, [&] {
            a->setLength(0);
            for (size_t i = 0; i < values.size(); ++i) {
                a->push(values[i]);
                if ((i & 4095) == 4095)
                    vm.checkBudget();
            }
        });
        return;
    }
    const uint32_t old = lengthOf(vm, self);
    for (uint32_t i = 0; i < values.size(); ++i)
        vm.setMember(self, String(std::to_string(i)), values[i]);
    for (uint32_t i = uint32_t(values.size()); i < old && i < kMaxElements; ++i)
        (void)vm.deleteMember(self, String(std::to_string(i)));
    vm.setMember(self, vm.names().length, Value(double(values.size())));
}

Value arrayOf(Interpreter& vm, const std::vector<Value>& values)
{
    ArrayObject* out = vm.newArray();
    growing(vm, *out, [&] {
        for (const Value& v : values)
            out->push(v);
    });
    return Value(static_cast<Object*>(out));
}

// A relative position as slice and splice take it: negative counts from the end.
uint32_t relativeIndex(double position, uint32_t length)
{
    const double n = toInteger(position);
    if (n < 0)
        return uint32_t(std::max(0.0, double(length) + n));
    return uint32_t(std::min(n, double(length)));
}

Value push(CallContext& c)
{
    if (ArrayObject* a = asArray(c.thisValue)) {
        growing(c.vm, *a, [&] {
            for (const Value& v : c.args)
                a->push(v);
        });
        return Value(double(a->length()));
    }
    std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    values.insert(values.end(), c.args.begin(), c.args.end());
    assign(c.vm, c.thisValue, values);
    return Value(double(values.size()));
}

Value pop(CallContext& c)
{
    const uint32_t length = lengthOf(c.vm, c.thisValue);
    if (!c.thisObject() || length == 0)
        return Value();
    Value last = elementAt(c.vm, c.thisValue, length - 1);
    if (ArrayObject* a = asArray(c.thisValue)) {
        a->setLength(length - 1);
    } else {
        (void)c.vm.deleteMember(c.thisValue, String(std::to_string(length - 1)));
        c.vm.setMember(c.thisValue, c.vm.names().length, Value(double(length - 1)));
    }
    return last;
}

Value shift(CallContext& c)
{
    if (!c.thisObject())
        return Value();
    std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    if (values.empty())
        return Value();
    Value first = values.front();
    values.erase(values.begin());
    assign(c.vm, c.thisValue, values);
    return first;
}

Value unshift(CallContext& c)
{
    if (!c.thisObject())
        return Value();
    std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    values.insert(values.begin(), c.args.begin(), c.args.end());
    assign(c.vm, c.thisValue, values);
    return Value(double(values.size()));
}

Value reverse(CallContext& c)
{
    if (!c.thisObject())
        return Value();
    std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    std::reverse(values.begin(), values.end());
    assign(c.vm, c.thisValue, values);
    return c.thisValue;
}

Value concat(CallContext& c)
{
    std::vector<Value> values = c.thisObject() ? elementsOf(c.vm, c.thisValue) : std::vector<Value>();
    // Array arguments are spread one level deep; everything else is appended as it is.
    for (const Value& arg : c.args) {
        if (asArray(arg)) {
            std::vector<Value> more = elementsOf(c.vm, arg);
            checkSize(c.vm, uint64_t(values.size()) + more.size());
            values.insert(values.end(), more.begin(), more.end());
        } else {
            values.push_back(arg);
        }
    }
    return arrayOf(c.vm, values);
}

Value slice(CallContext& c)
{
    if (!c.thisObject())
        return Value();
    const uint32_t length = lengthOf(c.vm, c.thisValue);
    const uint32_t start = relativeIndex(numberArg(c, 0, 0), length);
    const uint32_t end = relativeIndex(numberArg(c, 1, double(length)), length);
    return arrayOf(c.vm, elementsOf(c.vm, c.thisValue, start, end));
}

// splice(start[, deleteCount[, items...]]): removes and inserts in place, returns what it removed.
Value splice(CallContext& c)
{
    if (!c.thisObject() || c.argc() == 0)
        return Value();
    std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    const uint32_t length = uint32_t(values.size());
    const uint32_t start = relativeIndex(numberArg(c, 0), length);
    uint32_t count = length - start;
    if (c.argc() >= 2) {
        const double wanted = toInteger(numberArg(c, 1));
        count = uint32_t(std::clamp(wanted, 0.0, double(length - start)));
    }
    std::vector<Value> removed(values.begin() + start, values.begin() + start + count);
    values.erase(values.begin() + start, values.begin() + start + count);
    if (c.argc() > 2)
        values.insert(values.begin() + start, c.args.begin() + 2, c.args.end());
    assign(c.vm, c.thisValue, values);
    return arrayOf(c.vm, removed);
}

// What a sort hands back: `this` sorted, the indices in sorted order, or 0 when
// UNIQUESORT found two equal elements (the array is then left as it was).
Value finishSort(CallContext& c, const std::vector<Value>& values, const SortResult& result, uint32_t options)
{
    if (!result.unique)
        return Value(0.0);
    if (options & SortOption::ReturnIndexedArray) {
        std::vector<Value> indices;
        indices.reserve(result.order.size());
        for (uint32_t i : result.order)
            indices.push_back(Value(double(i)));
        return arrayOf(c.vm, indices);
    }
    std::vector<Value> sorted;
    sorted.reserve(values.size());
    for (uint32_t i : result.order)
        sorted.push_back(values[i]);
    assign(c.vm, c.thisValue, sorted);
    return c.thisValue;
}

uint32_t optionsOf(Interpreter& vm, const Value& v)
{
    return v.isUndefined() ? 0 : toUint32(vm.toNumber(v));
}

// sort([compareFunction][, options]) or sort(options).
Value sort(CallContext& c)
{
    if (!c.thisObject())
        return Value();
    Heap::NoCollect hold(c.vm.heap());
    const std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    const Value first = c.arg(0);
    const bool byFunction = first.isObject() && first.asObject()->isFunction();
    const uint32_t options = optionsOf(c.vm, byFunction ? c.arg(1) : first);
    const SortResult result = byFunction ? sortByFunction(c.vm, values, first, options)
                                         : sortByValue(c.vm, values, options);
    return finishSort(c, values, result, options);
}

// sortOn(field or [fields][, options or [options per field]]).
Value sortOn(CallContext& c)
{
    if (!c.thisObject())
        return Value();
    Heap::NoCollect hold(c.vm.heap());
    const std::vector<Value> values = elementsOf(c.vm, c.thisValue);
    std::vector<SortField> fields;
    if (asArray(c.arg(0))) {
        for (const Value& name : elementsOf(c.vm, c.arg(0)))
            fields.push_back({ c.vm.toString(name), 0 });
    } else {
        fields.push_back({ c.vm.toString(c.arg(0)), 0 });
    }
    uint32_t options = 0;
    if (asArray(c.arg(1))) {
        const std::vector<Value> perField = elementsOf(c.vm, c.arg(1));
        // Flags per field only count when there is one for every field.
        if (perField.size() == fields.size()) {
            for (size_t i = 0; i < fields.size(); ++i) {
                fields[i].options = optionsOf(c.vm, perField[i]);
                options |= fields[i].options & (SortOption::UniqueSort | SortOption::ReturnIndexedArray);
            }
        }
    } else {
        options = optionsOf(c.vm, c.arg(1));
        for (SortField& f : fields)
            f.options = options;
    }
    if (fields.empty())
        return c.thisValue;
    checkSize(c.vm, uint64_t(values.size()) * fields.size());
    return finishSort(c, values, sortByFields(c.vm, values, fields), options);
}

} // namespace

void installArrayMethods(Interpreter& vm)
{
    Object* proto = vm.prototypes().array;
    const Property* ctorProperty = ownProperty(*vm.global(), "Array");
    if (!proto || !ctorProperty || !ctorProperty->value.isObject())
        return;
    Object& ctor = *ctorProperty->value.asObject();
    defineConstant(vm, ctor, "CASEINSENSITIVE", Value(double(SortOption::CaseInsensitive)));
    defineConstant(vm, ctor, "DESCENDING", Value(double(SortOption::Descending)));
    defineConstant(vm, ctor, "UNIQUESORT", Value(double(SortOption::UniqueSort)));
    defineConstant(vm, ctor, "RETURNINDEXEDARRAY", Value(double(SortOption::ReturnIndexedArray)));
    defineConstant(vm, ctor, "NUMERIC", Value(double(SortOption::Numeric)));
    defineMethodIfAbsent(vm, *proto, "push", push);
    defineMethodIfAbsent(vm, *proto, "pop", pop);
    defineMethodIfAbsent(vm, *proto, "shift", shift);
    defineMethodIfAbsent(vm, *proto, "unshift", unshift);
    defineMethodIfAbsent(vm, *proto, "reverse", reverse);
    defineMethodIfAbsent(vm, *proto, "concat", concat);
    defineMethodIfAbsent(vm, *proto, "slice", slice);
    defineMethodIfAbsent(vm, *proto, "splice", splice);
    defineMethodIfAbsent(vm, *proto, "sort", sort);
    defineMethodIfAbsent(vm, *proto, "sortOn", sortOn);
}

} // namespace flash::script
