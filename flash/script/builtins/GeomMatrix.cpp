// flash.geom.Matrix: a 2D affine transform (a, b, c, d, tx, ty) that maps
// (x, y) to (a*x + c*y + tx, b*x + d*y + ty), and the operations that build one.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <array>
#include <cmath>

namespace flash::script {

namespace {

constexpr std::array<const char*, 6> kFields = { "a", "b", "c", "d", "tx", "ty" };

struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    // This transform followed by `next`.
    [[nodiscard]] Affine then(const Affine& n) const
    {
        return { a * n.a + b * n.c, a * n.b + b * n.d, c * n.a + d * n.c, c * n.b + d * n.d,
                 tx * n.a + ty * n.c + n.tx, tx * n.b + ty * n.d + n.ty };
    }
};

Affine matrixOf(Interpreter& vm, const Value& m)
{
    return { numberMember(vm, m, "a"), numberMember(vm, m, "b"), numberMember(vm, m, "c"),
             numberMember(vm, m, "d"), numberMember(vm, m, "tx"), numberMember(vm, m, "ty") };
}

void store(Interpreter& vm, const Value& target, const Affine& m)
{
    const double values[] = { m.a, m.b, m.c, m.d, m.tx, m.ty };
    for (size_t i = 0; i < kFields.size(); ++i)
        setNumberMember(vm, target, kFields[i], values[i]);
}

Affine self(CallContext& c) { return matrixOf(c.vm, c.thisValue); }

Value construct(CallContext& c)
{
    if (c.isConstruct() && c.thisObject()) {
        const Affine identity;
        store(c.vm, c.thisValue, { numberArg(c, 0, identity.a), numberArg(c, 1, identity.b), numberArg(c, 2, identity.c),
                                   numberArg(c, 3, identity.d), numberArg(c, 4, identity.tx), numberArg(c, 5, identity.ty) });
    }
    return Value();
}

Value identity(CallContext& c) { store(c.vm, c.thisValue, {}); return Value(); }

Value clone(CallContext& c)
{
    const Affine m = self(c);
    const Value args[] = { Value(m.a), Value(m.b), Value(m.c), Value(m.d), Value(m.tx), Value(m.ty) };
    return constructFromData(c, args);
}

Value concat(CallContext& c) { store(c.vm, c.thisValue, self(c).then(matrixOf(c.vm, c.arg(0)))); return Value(); }

// The scale is applied along the rotated axes: b takes the sine with scaleY and c with scaleX.
Affine box(double scaleX, double scaleY, double rotation, double tx, double ty)
{
    const double cos = std::cos(rotation), sin = std::sin(rotation);
    return { cos * scaleX, sin * scaleY, -sin * scaleX, cos * scaleY, tx, ty };
}

Value createBox(CallContext& c)
{
    store(c.vm, c.thisValue,
          box(numberArg(c, 0), numberArg(c, 1), numberArg(c, 2, 0), numberArg(c, 3, 0), numberArg(c, 4, 0)));
    return Value();
}

// The unit square of gradients spans 1638.4 twips each way, centred on the origin.
Value createGradientBox(CallContext& c)
{
    const double width = numberArg(c, 0), height = numberArg(c, 1);
    store(c.vm, c.thisValue, box(width / 1638.4, height / 1638.4, numberArg(c, 2, 0), numberArg(c, 3, 0) + width / 2,
                                 numberArg(c, 4, 0) + height / 2));
    return Value();
}

Value deltaTransformPoint(CallContext& c)
{
    const Affine m = self(c);
    const double x = numberMember(c.vm, c.arg(0), "x"), y = numberMember(c.vm, c.arg(0), "y");
    return makePoint(c.vm, m.a * x + m.c * y, m.b * x + m.d * y);
}

Value transformPoint(CallContext& c)
{
    const Affine m = self(c);
    const double x = numberMember(c.vm, c.arg(0), "x"), y = numberMember(c.vm, c.arg(0), "y");
    return makePoint(c.vm, m.a * x + m.c * y + m.tx, m.b * x + m.d * y + m.ty);
}

// A matrix without an inverse (zero scale, as real movies have) becomes the identity rather than infinities.
Value invert(CallContext& c)
{
    const Affine m = self(c);
    const double det = m.a * m.d - m.b * m.c;
    if (det == 0 || !std::isfinite(det)) {
        store(c.vm, c.thisValue, {});
        return Value();
    }
    const Affine inverse { m.d / det, -m.b / det, -m.c / det, m.a / det, (m.c * m.ty - m.d * m.tx) / det,
                           (m.b * m.tx - m.a * m.ty) / det };
    store(c.vm, c.thisValue, inverse);
    return Value();
}

Value rotate(CallContext& c)
{
    const double angle = numberArg(c, 0);
    const double cos = std::cos(angle), sin = std::sin(angle);
    store(c.vm, c.thisValue, self(c).then({ cos, sin, -sin, cos, 0, 0 }));
    return Value();
}

Value scale(CallContext& c)
{
    store(c.vm, c.thisValue, self(c).then({ numberArg(c, 0), 0, 0, numberArg(c, 1), 0, 0 }));
    return Value();
}

Value translate(CallContext& c)
{
    Affine m = self(c);
    m.tx += numberArg(c, 0);
    m.ty += numberArg(c, 1);
    store(c.vm, c.thisValue, m);
    return Value();
}

Value toString(CallContext& c)
{
    static constexpr LabelledMember kMembers[] = { { "a", "a" }, { "b", "b" }, { "c", "c" },
                                                   { "d", "d" }, { "tx", "tx" }, { "ty", "ty" } };
    return Value(describeMembers(c.vm, c.thisValue, kMembers));
}

} // namespace

void installGeomMatrix(Interpreter& vm)
{
    const LibraryClass matrix = defineLibraryClass(vm, *ensurePackage(vm, "flash.geom"), "Matrix", construct);
    matrix.method(vm, "identity", identity);
    matrix.method(vm, "clone", clone);
    matrix.method(vm, "concat", concat);
    matrix.method(vm, "createBox", createBox);
    matrix.method(vm, "createGradientBox", createGradientBox);
    matrix.method(vm, "deltaTransformPoint", deltaTransformPoint);
    matrix.method(vm, "transformPoint", transformPoint);
    matrix.method(vm, "invert", invert);
    matrix.method(vm, "rotate", rotate);
    matrix.method(vm, "scale", scale);
    matrix.method(vm, "translate", translate);
    matrix.method(vm, "toString", toString);
}

} // namespace flash::script
