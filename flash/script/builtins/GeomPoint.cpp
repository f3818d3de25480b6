// flash.geom.Point: a position or offset with the arithmetic scripts do on it.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <cmath>

namespace flash::script {

namespace {

double xOf(Interpreter& vm, const Value& p) { return numberMember(vm, p, "x"); }
double yOf(Interpreter& vm, const Value& p) { return numberMember(vm, p, "y"); }

Value construct(CallContext& c)
{
    if (c.isConstruct() && c.thisObject()) {
        setNumberMember(c.vm, c.thisValue, "x", numberArg(c, 0, 0));
        setNumberMember(c.vm, c.thisValue, "y", numberArg(c, 1, 0));
    }
    return Value();
}

Value newPoint(CallContext& c, double x, double y)
{
    const Value args[] = { Value(x), Value(y) };
    return constructFromData(c, args);
}

Value length(CallContext& c) { return Value(std::hypot(xOf(c.vm, c.thisValue), yOf(c.vm, c.thisValue))); }

Value add(CallContext& c)
{
    return newPoint(c, xOf(c.vm, c.thisValue) + xOf(c.vm, c.arg(0)), yOf(c.vm, c.thisValue) + yOf(c.vm, c.arg(0)));
}

Value subtract(CallContext& c)
{
    return newPoint(c, xOf(c.vm, c.thisValue) - xOf(c.vm, c.arg(0)), yOf(c.vm, c.thisValue) - yOf(c.vm, c.arg(0)));
}

Value equals(CallContext& c)
{
    if (!c.arg(0).isObject())
        return Value(false);
    return Value(xOf(c.vm, c.thisValue) == xOf(c.vm, c.arg(0)) && yOf(c.vm, c.thisValue) == yOf(c.vm, c.arg(0)));
}

Value clone(CallContext& c) { return newPoint(c, xOf(c.vm, c.thisValue), yOf(c.vm, c.thisValue)); }

// normalize(length): same direction, the given length; a zero point stays where it is.
Value normalize(CallContext& c)
{
    const double x = xOf(c.vm, c.thisValue), y = yOf(c.vm, c.thisValue);
    const double current = std::hypot(x, y);
    if (current > 0) {
        const double scale = numberArg(c, 0) / current;
        setNumberMember(c.vm, c.thisValue, "x", x * scale);
        setNumberMember(c.vm, c.thisValue, "y", y * scale);
    }
    return Value();
}

Value offset(CallContext& c)
{
    setNumberMember(c.vm, c.thisValue, "x", xOf(c.vm, c.thisValue) + numberArg(c, 0));
    setNumberMember(c.vm, c.thisValue, "y", yOf(c.vm, c.thisValue) + numberArg(c, 1));
    return Value();
}

Value toString(CallContext& c)
{
    static constexpr LabelledMember kMembers[] = { { "x", "x" }, { "y", "y" } };
    return Value(describeMembers(c.vm, c.thisValue, kMembers));
}

Value distance(CallContext& c)
{
    return Value(std::hypot(xOf(c.vm, c.arg(0)) - xOf(c.vm, c.arg(1)), yOf(c.vm, c.arg(0)) - yOf(c.vm, c.arg(1))));
}

// interpolate(a, b, f): a when f is 1, b when f is 0.
Value interpolate(CallContext& c)
{
    const double f = numberArg(c, 2);
    const double ax = xOf(c.vm, c.arg(0)), ay = yOf(c.vm, c.arg(0));
    const double bx = xOf(c.vm, c.arg(1)), by = yOf(c.vm, c.arg(1));
    return newPoint(c, bx + f * (ax - bx), by + f * (ay - by));
}

Value polar(CallContext& c)
{
    const double length = numberArg(c, 0), angle = numberArg(c, 1);
    return newPoint(c, length * std::cos(angle), length * std::sin(angle));
}

} // namespace

Value makePoint(Interpreter& vm, double x, double y)
{
    const Value geom = vm.getMember(vm.getMember(Value(vm.global()), String("flash")), String("geom"));
    const Value args[] = { Value(x), Value(y) };
    Value point = vm.construct(vm.getMember(geom, String("Point")), args);
    if (point.isObject())
        return point;
    Object* plain = vm.newObject();
    setNumberMember(vm, Value(plain), "x", x);
    setNumberMember(vm, Value(plain), "y", y);
    return Value(plain);
}

void installGeomPoint(Interpreter& vm)
{
    const LibraryClass point = defineLibraryClass(vm, *ensurePackage(vm, "flash.geom"), "Point", construct);
    defineAccessor(vm, *point.prototype, "length", length, nullptr);
    point.method(vm, "add", add);
    point.method(vm, "subtract", subtract);
    point.method(vm, "equals", equals);
    point.method(vm, "clone", clone);
    point.method(vm, "normalize", normalize);
    point.method(vm, "offset", offset);
    point.method(vm, "toString", toString);
    point.staticMethod(vm, "distance", distance);
    point.staticMethod(vm, "interpolate", interpolate);
    point.staticMethod(vm, "polar", polar);
}

} // namespace flash::script
