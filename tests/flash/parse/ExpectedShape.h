// Turns the corpus's JSON shape records (either dialect) into absolute edges,
// and a parsed shape's paths into the same form, so that they can be compared.
#pragma once

#include "flash/model/ShapeDef.h"

#include <QJsonArray>
#include <QJsonObject>

#include <vector>

namespace flash::test {

struct Edge {
    bool isCurve = false;
    Point control, anchor;
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    friend bool operator==(const Edge&, const Edge&) = default;
};

struct ExpectedEdges {
    std::vector<Edge> start;
    std::vector<Edge> end; // morph shapes only
};

// `records` as in the corpus: StyleChange/Edge or style-change/straight-edge/curved-edge.
[[nodiscard]] ExpectedEdges expectedEdges(const QJsonArray& records, size_t initialFills, size_t initialLines);
[[nodiscard]] std::vector<Edge> actualEdges(const std::vector<ShapePath>& paths);

// "StyleChange" and "style-change" both give "stylechange".
[[nodiscard]] QString normalisedType(const QJsonObject& o);

} // namespace flash::test
