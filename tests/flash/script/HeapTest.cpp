// The collector: cycles freed, roots kept, the heap cap stopping a script.
#include "ScriptTestSupport.h"

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

class HeapTest : public ScriptTest { };

TEST_F(HeapTest, CyclesAreFreedAndReachableObjectsKept)
{
    vm.collect();
    const size_t baseline = vm.heap().objectCount();
    run(R"(
        for (var i = 0; i < 500; i++) { var a = {}; var b = {other: a}; a.other = b; a.self = a; }
        _root.kept = {child: {grandchild: {}}};
        _root.kept.child.back = _root.kept;
    )");
    vm.collect();
    // The three kept objects survive, with the last a and b (top-level variables live on the clip).
    EXPECT_EQ(vm.heap().objectCount(), baseline + 5);
    EXPECT_EQ(run("trace(_root.kept.child.back.child.grandchild != undefined);"), "true");
}

TEST_F(HeapTest, HostRootsAndRootSourcesKeepObjects)
{
    vm.collect();
    const size_t baseline = vm.heap().objectCount();
    Object* held = vm.newObject();
    Object* viaSource = vm.newObject();
    vm.heap().addRoot(held);
    vm.heap().addRoot(held);
    const auto source = vm.heap().addRootSource([viaSource](Tracer& t) { t.mark(viaSource); });
    vm.collect();
    EXPECT_EQ(vm.heap().objectCount(), baseline + 2);
    vm.heap().removeRoot(held);
    vm.collect();
    EXPECT_EQ(vm.heap().objectCount(), baseline + 2); // counted: still held once
    vm.heap().removeRoot(held);
    vm.heap().removeRootSource(source);
    vm.collect();
    EXPECT_EQ(vm.heap().objectCount(), baseline);
}

// A host call collects on the way in and out: the function, this and arguments
// it hands in (a timer's, taken from the list) and the result it gets back are
// held by nothing else, and must live through both collections.
TEST_F(HeapTest, ACallsInputsAndResultSurviveTheCollectionsAroundIt)
{
    run(R"(_root.make = function(part) {
        for (var i = 0; i < 100000; i++) { var garbage = {}; }
        return {tag: this.name + " " + part.tag};
    };)");
    Object* root = host.root().object;
    const Value make = vm.getMember(Value(root), "make");
    run("delete _root.make;");
    Object* self = vm.newObject();
    vm.setMember(Value(self), "name", Value(vm.makeString("made")));
    Object* part = vm.newObject();
    vm.setMember(Value(part), "tag", Value(vm.makeString("whole")));
    const Value args[] = {Value(part)};
    // Enough garbage that a collection is due when the call starts; the call's own garbage makes one due at its end.
    auto makeGarbage = [&] {
        for (int i = 0; i < 200'000 && !vm.heap().isCollectionDue(); ++i)
            (void)vm.newObject();
    };
    makeGarbage();
    const auto made = vm.call(make, Value(self), args);
    ASSERT_TRUE(made && made->isObject());
    EXPECT_EQ(vm.toString(vm.getMember(*made, "tag")).toStd(), "made whole");
}

TEST_F(HeapTest, TheCapStopsTheScriptNotTheProcess)
{
    vm.collect();
    vm.heap().setLimits({ vm.heap().objectCount() + 2'000, size_t(1) << 30 });
    EXPECT_EQ(run(R"(
        trace("start");
        var keep = [];
        while (true) { keep.push({}); }
    )"), "start");
    EXPECT_EQ(lastStatus, RunStatus::Stopped);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("heap"), std::string::npos);
    // The garbage goes at the next safe point and scripts run again.
    run("keep = null;");
    vm.collect();
    EXPECT_EQ(run("var o = {}; trace(\"again\");"), "again");
}

} // namespace
} // namespace flash::script::testing
