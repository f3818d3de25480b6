// Objects and prototypes: inheritance, classes and super, addProperty, watch,
// ASSetPropFlags, __resolve, for..in order, instanceof and interfaces.
#include "ScriptTestSupport.h"

namespace flash::script::testing {
namespace {

using swfw::Avm1Assembler;

class Objects : public ScriptTest { };

TEST_F(Objects, PrototypeChainsAndConstructors)
{
    EXPECT_EQ(run(R"(
        function Animal(name) { this.name = name; }
        Animal.prototype.speak = function() { return this.name + " speaks"; };
        function Dog(name) { super(name); }
        Dog.prototype = new Animal();
        Dog.prototype.__constructor__ = Animal;
        Dog.prototype.speak = function() { return super.speak() + " loudly"; };
        var d = new Dog("rex");
        trace(d.speak());
        trace(d instanceof Dog); trace(d instanceof Animal); trace(d instanceof Array);
        trace(d.hasOwnProperty("name")); trace(d.hasOwnProperty("speak"));
        trace(Animal.prototype.isPrototypeOf(d));
        trace(d.__proto__ == Dog.prototype);
        var loop = {}; loop.__proto__ = loop; trace(loop.missing);
    )"), "rex speaks loudly\ntrue\ntrue\nfalse\ntrue\nfalse\ntrue\ntrue\nundefined");
}

TEST_F(Objects, ClassesWithSuperAcrossThreeLevels)
{
    EXPECT_EQ(run(R"(
        class A { var v; function A(x) { v = x; } function describe() { return "A" + v; } }
        class B extends A { function B(x) { super(x + 1); } function describe() { return "B" + super.describe(); } }
        class C extends B { function C() { super(10); } function describe() { return "C" + super.describe(); } }
        var c = new C();
        trace(c.describe());
        trace(c instanceof A);
    )"), "CBA11\ntrue");
}

TEST_F(Objects, AddPropertyAndWatch)
{
    EXPECT_EQ(run(R"(
        var o = {};
        var store = 1;
        o.addProperty("p", function() { return store * 10; }, function(v) { store = v; });
        trace(o.p); o.p = 4; trace(o.p);
        o.addProperty("ro", function() { return "fixed"; }, null);
        o.ro = "changed"; trace(o.ro);
        var child = {}; child.__proto__ = o; child.p = 7; trace(store);
        var w = {x: 1};
        w.watch("x", function(name, oldV, newV, data) { trace(name + ":" + oldV + "->" + newV + " " + data); return newV * 2; }, "d");
        w.x = 5; trace(w.x);
        w.unwatch("x"); w.x = 6; trace(w.x);
    )"), "10\n40\nfixed\n7\nx:1->5 d\n10\n6");
}

TEST_F(Objects, PropFlagsHideProtectAndFreeze)
{
    EXPECT_EQ(run(R"(
        var o = {a: 1, b: 2, c: 3};
        ASSetPropFlags(o, "a", 1);
        ASSetPropFlags(o, ["b"], 2);
        ASSetPropFlags(o, "c", 4);
        var names = ""; for (var k in o) names += k; trace(names);
        trace(o.isPropertyEnumerable("a") + " " + o.isPropertyEnumerable("b"));
        delete o.b; trace(o.b);
        o.c = 30; trace(o.c);
        ASSetPropFlags(o, null, 0, 7);
        delete o.b; trace(o.b);
    )"), "cb\nfalse true\n2\n3\nundefined");
}

TEST_F(Objects, ForInListsNewestFirstThenPrototypes)
{
    EXPECT_EQ(run(R"(
        function P() {} P.prototype.inherited = 1;
        var o = new P(); o.first = 1; o.second = 2; o.third = 3;
        var s = ""; for (var k in o) s += k + " "; trace(s);
        var a = [10, 20]; a.extra = 1;
        s = ""; for (var k in a) s += k + " "; trace(s);
        delete o.second;
        s = ""; for (var k in o) s += k + " "; trace(s);
    )"), "third second first inherited \nextra 1 0 \nthird first inherited ");
}

TEST_F(Objects, ResolveAnswersMissingNames)
{
    EXPECT_EQ(run(R"(
        var o = {present: "here"};
        o.__resolve = function(name) { return "resolved " + name; };
        trace(o.present); trace(o.absent);
    )"), "here\nresolved absent");
}

TEST_F(Objects, InterfacesCountForInstanceof)
{
    EXPECT_EQ(run(R"(
        interface Shape { function area(); }
        class Square implements Shape { function area() { return 4; } }
        var s = new Square();
        trace(s instanceof Shape);
        trace(s instanceof Square);
    )"), "true\ntrue");
}

} // namespace
} // namespace flash::script::testing
