// Bit-packed primitive records.
#include "flash/parse/Primitives.h"

#include "flash/io/BitReader.h"

namespace flash {

Rect readRect(ByteReader& r)
{
    BitReader bits(r);
    const unsigned n = bits.ub(5);
    Rect rect;
    rect.xMin = bits.sb(n);
    rect.xMax = bits.sb(n);
    rect.yMin = bits.sb(n);
    rect.yMax = bits.sb(n);
    return rect;
}

Matrix readMatrix(ByteReader& r)
{
    BitReader bits(r);
    Matrix m;
    if (bits.flag()) {
        const unsigned n = bits.ub(5);
        m.a = bits.fb(n);
        m.d = bits.fb(n);
    }
    if (bits.flag()) {
        const unsigned n = bits.ub(5);
        m.b = bits.fb(n);
        m.c = bits.fb(n);
    }
    const unsigned n = bits.ub(5);
    m.tx = bits.sb(n);
    m.ty = bits.sb(n);
    return m;
}

Rgba readRgb(ByteReader& r)
{
    Rgba c;
    c.r = r.u8();
    c.g = r.u8();
    c.b = r.u8();
    return c;
}

Rgba readRgba(ByteReader& r)
{
    Rgba c = readRgb(r);
    c.a = r.u8();
    return c;
}

ColorTransform readColorTransform(ByteReader& r, bool withAlpha)
{
    BitReader bits(r);
    const bool hasAdd = bits.flag();
    const bool hasMult = bits.flag();
    const unsigned n = bits.ub(4);
    ColorTransform cx;
    // Multipliers are 8.8 fixed point; additions are in colour units.
    if (hasMult) {
        cx.rMult = bits.sb(n) / 256.0;
        cx.gMult = bits.sb(n) / 256.0;
        cx.bMult = bits.sb(n) / 256.0;
        if (withAlpha)
            cx.aMult = bits.sb(n) / 256.0;
    }
    if (hasAdd) {
        cx.rAdd = bits.sb(n);
        cx.gAdd = bits.sb(n);
        cx.bAdd = bits.sb(n);
        if (withAlpha)
            cx.aAdd = bits.sb(n);
    }
    return cx;
}

} // namespace flash
