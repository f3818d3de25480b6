#pragma once
// The program's logo mark: a brush-stroke figure, a broad V crossed by a
// light sweep, as one filled outline scaled into a box.

#include <QPainterPath>
#include <QRectF>

namespace skinpaint {

QPainterPath logoMark(const QRectF& box);

} // namespace skinpaint
