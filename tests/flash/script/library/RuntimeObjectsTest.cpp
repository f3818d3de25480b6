// AsBroadcaster, System, the stand-in classes, and every library function called with hostile arguments.
#include "LibraryTest.h"

#include "flash/script/Conversions.h"
#include "flash/script/FunctionObject.h"

#include <limits>

namespace flash::script {
namespace {

std::vector<std::string> g_heard;

// A listener method: notes its label (the native's data) and first argument.
Value hear(CallContext& c)
{
    g_heard.push_back(c.callee.data().asString().toStd() + ":" + c.vm.toString(c.arg(0)).toStd());
    return Value();
}

// A listener method that takes its listener off the broadcaster `b` while the broadcast runs.
Value hearAndLeave(CallContext& c)
{
    g_heard.push_back("leaver");
    const Value self = c.thisValue;
    (void)c.vm.invokeMember(c.vm.getMember(Value(c.vm.global()), String("b")), String("removeListener"),
                            std::span<const Value>(&self, 1));
    return Value();
}

class RuntimeObjectsTest : public LibraryTest {
protected:
    void SetUp() override { g_heard.clear(); }

    Value listener(NativeFunction native, std::string_view label)
    {
        Value o(vm.newObject());
        set(o, "onPing", Value(static_cast<Object*>(vm.newNative(native, Value(label)))));
        return o;
    }
};

TEST_F(RuntimeObjectsTest, BroadcasterCallsACopyOfItsListeners)
{
    const Value b(vm.newObject());
    set(Value(vm.global()), "b", b);
    (void)call(global("AsBroadcaster"), "initialize", { b });
    EXPECT_EQ(vm.enumerableNames(*b.asObject()).size(), 0u); // _listeners and the methods stay hidden

    const Value leaver = listener(hearAndLeave, "");
    const Value first = listener(hear, "first"), second = listener(hear, "second");
    EXPECT_EQ(text(call(b, "addListener", { first })), "true");
    (void)call(b, "addListener", { leaver });
    (void)call(b, "addListener", { second });
    (void)call(b, "addListener", { first }); // moves to the end instead of being added twice
    EXPECT_EQ(text(get(get(b, "_listeners"), "length")), "3");

    (void)call(b, "broadcastMessage", { "onPing", 7 });
    EXPECT_EQ(g_heard, (std::vector<std::string> { "leaver", "second:7", "first:7" }));
    EXPECT_EQ(text(get(get(b, "_listeners"), "length")), "2");
    EXPECT_EQ(text(call(b, "removeListener", { leaver })), "false");
    EXPECT_EQ(text(call(b, "removeListener", { second })), "true");
    g_heard.clear();
    (void)call(b, "broadcastMessage", { "onPing" });
    (void)call(b, "broadcastMessage", { "noSuchMethod" });
    EXPECT_EQ(g_heard, (std::vector<std::string> { "first:undefined" }));
}

TEST_F(RuntimeObjectsTest, SystemReportsALinuxStandalonePlayer)
{
    const Value caps = global("System.capabilities");
    EXPECT_EQ(text(get(caps, "os")), "Linux");
    EXPECT_EQ(text(get(caps, "playerType")), "StandAlone");
    EXPECT_EQ(text(get(caps, "version")).substr(0, 6), "LNX 8,");
    EXPECT_EQ(text(get(caps, "hasAudio")), "true");
    EXPECT_NE(text(get(caps, "serverString")).find("&OS=Linux&"), std::string::npos);
    EXPECT_TRUE(call(global("System"), "setClipboard", { "x" }).isUndefined());
    EXPECT_TRUE(call(global("System.security"), "allowDomain", { "*" }).isUndefined());
    set(global("System"), "useCodepage", true);
    EXPECT_EQ(text(get(global("System"), "useCodepage")), "true");
}

TEST_F(RuntimeObjectsTest, StandInsAnswerHarmlessly)
{
    EXPECT_TRUE(make("Sound").isObject());
    EXPECT_EQ(text(call(make("Sound"), "getVolume")), "100");
    EXPECT_EQ(text(call(global("Key"), "isDown", { 65 })), "false");
    EXPECT_EQ(text(get(global("Key"), "SPACE")), "32");
    EXPECT_EQ(text(call(global("Key"), "addListener", { Value(vm.newObject()) })), "true");
    EXPECT_EQ(text(call(global("Mouse"), "addListener", { Value(vm.newObject()) })), "true");
    (void)call(global("Mouse"), "hide");
    EXPECT_EQ(text(get(global("Stage"), "width")), "0");
    const Value shared = call(global("SharedObject"), "getLocal", { "x" });
    EXPECT_TRUE(get(shared, "data").isObject());
    EXPECT_TRUE(strictEquals(shared, call(global("SharedObject"), "getLocal", { "x" })));
    EXPECT_FALSE(strictEquals(shared, call(global("SharedObject"), "getLocal", { "y" })));
    EXPECT_EQ(text(call(make("MovieClipLoader"), "addListener", { Value(vm.newObject()) })), "true");
    EXPECT_TRUE(make("flash.filters.BlurFilter").isObject());
    EXPECT_TRUE(make("flash.display.BitmapData", { 10, 10 }).isObject());
    EXPECT_EQ(text(get(global("flash.external.ExternalInterface"), "available")), "false");
    EXPECT_TRUE(call(global("Camera"), "get").isNull());
    // A load is accepted at once; what it finds is told later.
    EXPECT_EQ(text(call(make("XML"), "load", { "a.xml" })), "true");
}

// Every function reachable from the library's globals, called on its owner and on undefined
// with missing, NaN, huge, negative, string and object arguments: none may crash or hang.
TEST_F(RuntimeObjectsTest, EveryFunctionCopesWithHostileArguments)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<Value>> argumentSets = {
        {},
        { kNaN, kNaN, kNaN },
        { 1e308, -1e308, 4294967296.0, 1e300, 1e300, 1e300, 1e300 },
        { -1, -2147483649.0, -0.5 },
        { "", "x", "0x10" },
        { Value::null(), Value(), Value(vm.newObject()) },
        { array({ 1, "a" }), array({}), true },
    };
    const char* roots[] = { "Math", "Date", "Date.prototype", "AsBroadcaster", "System", "System.security",
                            "Array.prototype", "String", "String.prototype", "Number", "flash.geom.Point",
                            "flash.geom.Point.prototype", "flash.geom.Rectangle.prototype",
                            "flash.geom.Matrix.prototype", "flash.geom.ColorTransform.prototype", "Key", "Mouse",
                            "Stage", "Selection", "SharedObject", "Sound.prototype", "XML.prototype" };
    size_t calls = 0;
    for (const char* root : roots) {
        const Value owner = global(root);
        ASSERT_TRUE(owner.isObject()) << root;
        std::vector<String> names;
        for (const Property& p : owner.asObject()->properties().slots())
            names.push_back(p.name);
        for (const String& name : names) {
            const Value fn = get(owner, name.view());
            if (!fn.isObject() || !fn.asObject()->isFunction())
                continue;
            for (const std::vector<Value>& args : argumentSets) {
                (void)vm.call(fn, owner, args);
                (void)vm.call(fn, Value(), args);
                calls += 2;
            }
        }
    }
    const char* classes[] = { "Date", "flash.geom.Point", "flash.geom.Rectangle", "flash.geom.Matrix",
                              "flash.geom.ColorTransform", "Sound", "ContextMenu", "ContextMenuItem",
                              "SharedObject", "MovieClipLoader", "XML", "flash.filters.BlurFilter", "AsBroadcaster" };
    for (const char* name : classes) {
        for (const std::vector<Value>& args : argumentSets) {
            const Value made = vm.construct(global(name), args);
            ASSERT_TRUE(made.isObject()) << name;
            (void)vm.callMethod(made, "toString");
            ++calls;
        }
    }
    EXPECT_GT(calls, 500u);
    // Sorting by a function that is not one, and sorting objects whose toString throws nothing, still works.
    EXPECT_EQ(text(call(array({ 2, 1 }), "sort", { Value(vm.newObject()) })), "1,2");
}

} // namespace
} // namespace flash::script
