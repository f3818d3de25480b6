// Array methods: sort flags and order, sortOn, splice forms and the rest of the element methods.
#include "LibraryTest.h"

#include "flash/script/FunctionObject.h"

namespace flash::script {
namespace {

class ArrayMethodsTest : public LibraryTest {
protected:
    double flag(std::string_view name) { return get(global("Array"), name).asNumber(); }
    Value function(NativeFunction native) { return Value(static_cast<Object*>(vm.newNative(native))); }
    Value record(std::string_view name, double age)
    {
        Value o(vm.newObject());
        set(o, "name", Value(name));
        set(o, "age", Value(age));
        return o;
    }
    std::string names(const Value& records)
    {
        std::string out;
        for (uint32_t i = 0; i < static_cast<ArrayObject*>(records.asObject())->length(); ++i)
            out += (i ? "," : "") + text(get(get(records, std::to_string(i)), "name"));
        return out;
    }
};

TEST_F(ArrayMethodsTest, SortComparesAsStringsUnlessAskedOtherwise)
{
    EXPECT_EQ(text(call(array({ 3, 1, 2 }), "sort")), "1,2,3");
    EXPECT_EQ(text(call(array({ 10, 9, 1 }), "sort")), "1,10,9");
    EXPECT_EQ(text(call(array({ 10, 9, 1 }), "sort", { flag("NUMERIC") })), "1,9,10");
    EXPECT_EQ(text(call(array({ 10, 9, 1, 20 }), "sort", { flag("NUMERIC") + flag("DESCENDING") })), "20,10,9,1");
    // Case-insensitive keeps equal keys in their original order.
    EXPECT_EQ(text(call(array({ "b", "A", "a", "B" }), "sort", { flag("CASEINSENSITIVE") })), "A,a,b,B");
    EXPECT_EQ(text(call(array({ "b", "A", "a", "B" }), "sort")), "A,B,a,b");
}

TEST_F(ArrayMethodsTest, UniqueAndIndexedSortsLeaveTheArrayAlone)
{
    const Value withDuplicates = array({ 2, 1, 2 });
    EXPECT_EQ(text(call(withDuplicates, "sort", { flag("UNIQUESORT") })), "0");
    EXPECT_EQ(text(withDuplicates), "2,1,2");

    const Value a = array({ "c", "a", "b" });
    EXPECT_EQ(text(call(a, "sort", { flag("RETURNINDEXEDARRAY") })), "1,2,0");
    EXPECT_EQ(text(a), "c,a,b");
    EXPECT_EQ(text(call(a, "sort", { flag("UNIQUESORT") })), "a,b,c");
}

Value descending(CallContext& c) { return Value(c.vm.toNumber(c.arg(1)) - c.vm.toNumber(c.arg(0))); }

Value contradictory(CallContext&)
{
    static uint32_t n = 0;
    n = n * 1664525u + 1013904223u;
    return Value(double(int(n >> 29) - 3));
}

TEST_F(ArrayMethodsTest, SortWithACompareFunction)
{
    EXPECT_EQ(text(call(array({ 1, 3, 2 }), "sort", { function(descending) })), "3,2,1");
    EXPECT_EQ(text(call(array({ 1, 3, 2 }), "sort", { function(descending), flag("DESCENDING") })), "1,2,3");

    // A compare function that contradicts itself yields some order of the same elements.
    ArrayObject* big = vm.newArray();
    for (int i = 0; i < 5000; ++i)
        big->push(Value(i));
    (void)call(Value(static_cast<Object*>(big)), "sort", { function(contradictory) });
    ASSERT_EQ(big->length(), 5000u);
    double sum = 0;
    for (uint32_t i = 0; i < big->length(); ++i)
        sum += big->at(i).asNumber();
    EXPECT_EQ(sum, 4999.0 * 5000 / 2);
}

TEST_F(ArrayMethodsTest, WorkOnAHugeSparseArrayStopsTheScriptInsteadOfExhaustingMemory)
{
    const Value a = array({ 1 });
    set(a, "length", Value(4e9));
    EXPECT_FALSE(vm.callMethod(a, "sort").has_value());
    EXPECT_FALSE(vm.callMethod(a, "reverse").has_value());
    ASSERT_FALSE(host.reports.empty());
    EXPECT_NE(host.reports.back().find("too long"), std::string::npos);
    // Methods that need no copy still work.
    EXPECT_EQ(text(call(a, "push", { 5 })), "4000000001");
}

TEST_F(ArrayMethodsTest, SortOnFieldsWithOptionsPerField)
{
    const Value people = array({ record("bob", 30), record("Al", 4), record("cy", 30), record("al", 100) });
    EXPECT_EQ(names(call(people, "sortOn", { "name" })), "Al,al,bob,cy");
    EXPECT_EQ(names(call(people, "sortOn", { "age" })), "al,bob,cy,Al");
    EXPECT_EQ(names(call(people, "sortOn", { "age", flag("NUMERIC") })), "Al,bob,cy,al");
    const Value fields = array({ "age", "name" });
    EXPECT_EQ(names(call(people, "sortOn", { fields, array({ flag("NUMERIC") + flag("DESCENDING"), flag("DESCENDING") }) })),
              "al,cy,bob,Al");
    EXPECT_EQ(text(call(people, "sortOn", { "age", flag("NUMERIC") + flag("RETURNINDEXEDARRAY") })), "3,1,2,0");
    EXPECT_EQ(text(call(people, "sortOn", { "age", flag("UNIQUESORT") })), "0");
}

TEST_F(ArrayMethodsTest, SpliceForms)
{
    Value a = array({ 1, 2, 3, 4, 5 });
    EXPECT_EQ(text(call(a, "splice", { 3 })), "4,5");
    EXPECT_EQ(text(a), "1,2,3");

    a = array({ 1, 2, 3, 4, 5 });
    EXPECT_EQ(text(call(a, "splice", { 1, 2 })), "2,3");
    EXPECT_EQ(text(a), "1,4,5");

    a = array({ 1, 2, 3 });
    EXPECT_EQ(text(call(a, "splice", { 1, 0, "x", "y" })), "");
    EXPECT_EQ(text(a), "1,x,y,2,3");

    a = array({ 1, 2, 3, 4 });
    EXPECT_EQ(text(call(a, "splice", { -2, 1, "z" })), "3");
    EXPECT_EQ(text(a), "1,2,z,4");

    a = array({ 1, 2 });
    EXPECT_EQ(text(call(a, "splice", { 5, -1, "end" })), "");
    EXPECT_EQ(text(a), "1,2,end");
    EXPECT_TRUE(call(a, "splice").isUndefined());
}

TEST_F(ArrayMethodsTest, AddingRemovingAndCopyingElements)
{
    const Value a = array({ 1, 2 });
    EXPECT_EQ(text(call(a, "push", { 3, 4 })), "4");
    EXPECT_EQ(text(call(a, "pop")), "4");
    EXPECT_EQ(text(call(a, "unshift", { 0 })), "4");
    EXPECT_EQ(text(call(a, "shift")), "0");
    EXPECT_EQ(text(call(a, "reverse")), "3,2,1");
    EXPECT_TRUE(call(array({}), "pop").isUndefined());
    set(a, "length", 2);
    EXPECT_EQ(text(a), "3,2");
    (void)call(a, "push", { 1 });

    EXPECT_EQ(text(call(a, "slice", { 1 })), "2,1");
    EXPECT_EQ(text(call(a, "slice", { -2, -1 })), "2");
    EXPECT_EQ(text(call(a, "slice", { 2, 1 })), "");
    // concat spreads array arguments one level only.
    const Value joined = call(a, "concat", { 9, array({ 8, array({ 7, 6 }) }) });
    EXPECT_EQ(text(joined), "3,2,1,9,8,7,6");
    EXPECT_EQ(text(get(joined, "length")), "6");
    EXPECT_EQ(text(a), "3,2,1");
}

} // namespace
} // namespace flash::script
