// flash.geom.Rectangle: x, y, width and height, their derived edges and
// corners, and the tests and set operations on rectangles.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <algorithm>

namespace flash::script {

namespace {

struct Box {
    double x = 0, y = 0, width = 0, height = 0;

    [[nodiscard]] double right() const { return x + width; }
    [[nodiscard]] double bottom() const { return y + height; }
    [[nodiscard]] bool isEmpty() const { return !(width > 0 && height > 0); }
};

Box boxOf(Interpreter& vm, const Value& r)
{
    return { numberMember(vm, r, "x"), numberMember(vm, r, "y"), numberMember(vm, r, "width"),
             numberMember(vm, r, "height") };
}

void store(Interpreter& vm, const Value& r, const Box& b)
{
    setNumberMember(vm, r, "x", b.x);
    setNumberMember(vm, r, "y", b.y);
    setNumberMember(vm, r, "width", b.width);
    setNumberMember(vm, r, "height", b.height);
}

Box self(CallContext& c) { return boxOf(c.vm, c.thisValue); }

Value newRectangle(CallContext& c, const Box& b)
{
    const Value args[] = { Value(b.x), Value(b.y), Value(b.width), Value(b.height) };
    return constructFromData(c, args);
}

Value construct(CallContext& c)
{
    if (c.isConstruct() && c.thisObject())
        store(c.vm, c.thisValue, { numberArg(c, 0, 0), numberArg(c, 1, 0), numberArg(c, 2, 0), numberArg(c, 3, 0) });
    return Value();
}

// --- Edges and corners; moving an edge keeps the opposite one where it is ---

Value left(CallContext& c) { return Value(self(c).x); }
Value top(CallContext& c) { return Value(self(c).y); }
Value right(CallContext& c) { return Value(self(c).right()); }
Value bottom(CallContext& c) { return Value(self(c).bottom()); }
Value size(CallContext& c) { return makePoint(c.vm, self(c).width, self(c).height); }
Value topLeft(CallContext& c) { return makePoint(c.vm, self(c).x, self(c).y); }
Value bottomRight(CallContext& c) { return makePoint(c.vm, self(c).right(), self(c).bottom()); }

void moveLeftTop(CallContext& c, double newX, double newY)
{
    Box b = self(c);
    b.width += b.x - newX;
    b.height += b.y - newY;
    b.x = newX;
    b.y = newY;
    store(c.vm, c.thisValue, b);
}

void moveRightBottom(CallContext& c, double newRight, double newBottom)
{
    Box b = self(c);
    b.width = newRight - b.x;
    b.height = newBottom - b.y;
    store(c.vm, c.thisValue, b);
}

Value setLeft(CallContext& c) { moveLeftTop(c, numberArg(c, 0), self(c).y); return Value(); }
Value setTop(CallContext& c) { moveLeftTop(c, self(c).x, numberArg(c, 0)); return Value(); }
Value setRight(CallContext& c) { moveRightBottom(c, numberArg(c, 0), self(c).bottom()); return Value(); }
Value setBottom(CallContext& c) { moveRightBottom(c, self(c).right(), numberArg(c, 0)); return Value(); }

Value setTopLeft(CallContext& c)
{
    moveLeftTop(c, numberMember(c.vm, c.arg(0), "x"), numberMember(c.vm, c.arg(0), "y"));
    return Value();
}

Value setBottomRight(CallContext& c)
{
    moveRightBottom(c, numberMember(c.vm, c.arg(0), "x"), numberMember(c.vm, c.arg(0), "y"));
    return Value();
}

Value setSize(CallContext& c)
{
    setNumberMember(c.vm, c.thisValue, "width", numberMember(c.vm, c.arg(0), "x"));
    setNumberMember(c.vm, c.thisValue, "height", numberMember(c.vm, c.arg(0), "y"));
    return Value();
}

// --- Tests ---

bool containsPoint(const Box& b, double x, double y) { return x >= b.x && x < b.right() && y >= b.y && y < b.bottom(); }

Box overlap(const Box& a, const Box& b)
{
    const double x = std::max(a.x, b.x), y = std::max(a.y, b.y);
    const Box o { x, y, std::min(a.right(), b.right()) - x, std::min(a.bottom(), b.bottom()) - y };
    return o.isEmpty() ? Box {} : o;
}

Value contains(CallContext& c) { return Value(containsPoint(self(c), numberArg(c, 0), numberArg(c, 1))); }

Value containsPointMethod(CallContext& c)
{
    return Value(containsPoint(self(c), numberMember(c.vm, c.arg(0), "x"), numberMember(c.vm, c.arg(0), "y")));
}

Value containsRectangle(CallContext& c)
{
    const Box a = self(c), b = boxOf(c.vm, c.arg(0));
    return Value(!b.isEmpty() && b.x >= a.x && b.y >= a.y && b.right() <= a.right() && b.bottom() <= a.bottom());
}

Value intersects(CallContext& c) { return Value(!overlap(self(c), boxOf(c.vm, c.arg(0))).isEmpty()); }
Value intersection(CallContext& c) { return newRectangle(c, overlap(self(c), boxOf(c.vm, c.arg(0)))); }

Value unionMethod(CallContext& c)
{
    const Box a = self(c), b = boxOf(c.vm, c.arg(0));
    if (a.isEmpty())
        return newRectangle(c, b);
    if (b.isEmpty())
        return newRectangle(c, a);
    const double x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return newRectangle(c, { x, y, std::max(a.right(), b.right()) - x, std::max(a.bottom(), b.bottom()) - y });
}

Value equals(CallContext& c)
{
    if (!c.arg(0).isObject())
        return Value(false);
    const Box a = self(c), b = boxOf(c.vm, c.arg(0));
    return Value(a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height);
}

Value isEmpty(CallContext& c) { return Value(self(c).isEmpty()); }

// --- Changes in place ---

void inflateBy(CallContext& c, double dx, double dy)
{
    Box b = self(c);
    store(c.vm, c.thisValue, { b.x - dx, b.y - dy, b.width + 2 * dx, b.height + 2 * dy });
}

void offsetBy(CallContext& c, double dx, double dy)
{
    Box b = self(c);
    b.x += dx;
    b.y += dy;
    store(c.vm, c.thisValue, b);
}

Value inflate(CallContext& c) { inflateBy(c, numberArg(c, 0), numberArg(c, 1)); return Value(); }
Value offset(CallContext& c) { offsetBy(c, numberArg(c, 0), numberArg(c, 1)); return Value(); }

Value inflatePoint(CallContext& c)
{
    inflateBy(c, numberMember(c.vm, c.arg(0), "x"), numberMember(c.vm, c.arg(0), "y"));
    return Value();
}

Value offsetPoint(CallContext& c)
{
    offsetBy(c, numberMember(c.vm, c.arg(0), "x"), numberMember(c.vm, c.arg(0), "y"));
    return Value();
}

Value setEmpty(CallContext& c) { store(c.vm, c.thisValue, {}); return Value(); }
Value clone(CallContext& c) { return newRectangle(c, self(c)); }

Value toString(CallContext& c)
{
    static constexpr LabelledMember kMembers[] = { { "x", "x" }, { "y", "y" }, { "w", "width" }, { "h", "height" } };
    return Value(describeMembers(c.vm, c.thisValue, kMembers));
}

} // namespace

void installGeomRectangle(Interpreter& vm)
{
    const LibraryClass rect = defineLibraryClass(vm, *ensurePackage(vm, "flash.geom"), "Rectangle", construct);
    Object& proto = *rect.prototype;
    defineAccessor(vm, proto, "left", left, setLeft);
    defineAccessor(vm, proto, "top", top, setTop);
    defineAccessor(vm, proto, "right", right, setRight);
    defineAccessor(vm, proto, "bottom", bottom, setBottom);
    defineAccessor(vm, proto, "size", size, setSize);
    defineAccessor(vm, proto, "topLeft", topLeft, setTopLeft);
    defineAccessor(vm, proto, "bottomRight", bottomRight, setBottomRight);
    rect.method(vm, "contains", contains);
    rect.method(vm, "containsPoint", containsPointMethod);
    rect.method(vm, "containsRectangle", containsRectangle);
    rect.method(vm, "intersects", intersects);
    rect.method(vm, "intersection", intersection);
    rect.method(vm, "union", unionMethod);
    rect.method(vm, "equals", equals);
    rect.method(vm, "isEmpty", isEmpty);
    rect.method(vm, "inflate", inflate);
    rect.method(vm, "inflatePoint", inflatePoint);
    rect.method(vm, "offset", offset);
    rect.method(vm, "offsetPoint", offsetPoint);
    rect.method(vm, "setEmpty", setEmpty);
    rect.method(vm, "clone", clone);
    rect.method(vm, "toString", toString);
}

} // namespace flash::script
