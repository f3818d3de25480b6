// Small conversions between the movie's value types and Qt's.
#pragma once

#include "flash/model/Geometry.h"
#include "flash/model/ShapeDef.h"

#include <QColor>
#include <QTransform>
#include <cmath>

namespace flash {

[[nodiscard]] inline QTransform toQTransform(const Matrix& m)
{
    return QTransform(m.a, m.b, m.c, m.d, m.tx, m.ty);
}

[[nodiscard]] inline QColor toQColor(Rgba c)
{
    return QColor(c.r, c.g, c.b, c.a);
}

// Hostile files and degenerate maths give matrices with NaN, infinite or
// absurdly large entries; objects drawn with them are skipped.
[[nodiscard]] inline bool isUsable(const Matrix& m)
{
    constexpr double kLimit = 1e9;
    for (double v : {m.a, m.b, m.c, m.d, m.tx, m.ty}) {
        if (!std::isfinite(v) || std::abs(v) > kLimit)
            return false;
    }
    return true;
}

[[nodiscard]] inline Matrix translation(double x, double y)
{
    return Matrix{1, 0, 0, 1, x, y};
}

[[nodiscard]] inline Matrix scaling(double sx, double sy)
{
    return Matrix{sx, 0, 0, sy, 0, 0};
}

[[nodiscard]] inline Qt::PenCapStyle toQCap(CapStyle cap)
{
    switch (cap) {
    case CapStyle::None: return Qt::FlatCap;
    case CapStyle::Square: return Qt::SquareCap;
    case CapStyle::Round: break;
    }
    return Qt::RoundCap;
}

[[nodiscard]] inline Qt::PenJoinStyle toQJoin(JoinStyle join)
{
    switch (join) {
    case JoinStyle::Bevel: return Qt::BevelJoin;
    case JoinStyle::Miter: return Qt::MiterJoin;
    case JoinStyle::Round: break;
    }
    return Qt::RoundJoin;
}

} // namespace flash
