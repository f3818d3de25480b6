// JSON shape records to absolute edges.
#include "ExpectedShape.h"

namespace flash::test {

QString normalisedType(const QJsonObject& o) { return o["type"].toString().toLower().remove('-'); }

namespace {

Point pointOf(const QJsonValue& v) { return {v["x"].toDouble(), v["y"].toDouble()}; }
Point plus(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }

struct Walker {
    Point pen;
    const char* prefix; // "" for the start shape, "morph_" for the end shape
    QString key(const char* name) const { return QString(prefix) + name; }

    // Returns false when the record has nothing for this side.
    bool edge(const QJsonObject& r, Edge& e)
    {
        const QString type = normalisedType(r);
        if (type == "curvededge") {
            const Point control = plus(pen, pointOf(r[key("control_delta")]));
            e.isCurve = true;
            e.control = control;
            e.anchor = plus(control, pointOf(r[key("anchor_delta")]));
        } else if (r.contains(key("control_delta"))) {
            e.isCurve = true;
            e.control = plus(pen, pointOf(r[key("control_delta")]));
            e.anchor = plus(pen, pointOf(r[key("delta")]));
        } else {
            if (!r.contains(key("delta")))
                return false;
            e.isCurve = false;
            e.anchor = plus(pen, pointOf(r[key("delta")]));
        }
        pen = e.anchor;
        return true;
    }
};

} // namespace

ExpectedEdges expectedEdges(const QJsonArray& records, size_t initialFills, size_t initialLines)
{
    ExpectedEdges out;
    Walker start{{}, ""}, end{{}, "morph_"};
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    size_t fillBase = 0, lineBase = 0, fillCount = initialFills, lineCount = initialLines;
    auto global = [](int stored, size_t base, size_t count) -> uint32_t {
        if (stored == 0 || base + size_t(stored) > count)
            return 0;
        return uint32_t(base + size_t(stored));
    };
    for (const auto& value : records) {
        const QJsonObject r = value.toObject();
        if (normalisedType(r) == "stylechange") {
            if (r.contains("new_styles")) {
                const auto styles = r["new_styles"].toObject();
                fillBase = fillCount;
                lineBase = lineCount;
                fillCount += size_t(styles["fill"].toArray().size());
                lineCount += size_t(styles["line"].toArray().size());
                fill0 = fill1 = line = 0;
            }
            if (r.contains("move_to"))
                start.pen = pointOf(r["move_to"]);
            if (r.contains("morph_move_to"))
                end.pen = pointOf(r["morph_move_to"]);
            if (r.contains("left_fill"))
                fill0 = global(r["left_fill"].toInt(), fillBase, fillCount);
            if (r.contains("right_fill"))
                fill1 = global(r["right_fill"].toInt(), fillBase, fillCount);
            if (r.contains("line_style"))
                line = global(r["line_style"].toInt(), lineBase, lineCount);
            continue;
        }
        Edge e{false, {}, {}, fill0, fill1, line};
        if (start.edge(r, e))
            out.start.push_back(e);
        Edge m{false, {}, {}, fill0, fill1, line};
        if (end.edge(r, m))
            out.end.push_back(m);
    }
    return out;
}

std::vector<Edge> actualEdges(const std::vector<ShapePath>& paths)
{
    std::vector<Edge> edges;
    for (const auto& p : paths) {
        for (const auto& c : p.commands) {
            if (c.kind == PathCommand::Kind::MoveTo)
                continue;
            const bool curve = c.kind == PathCommand::Kind::CurveTo;
            edges.push_back({curve, curve ? c.control : Point{}, c.to, p.fill0, p.fill1, p.line});
        }
    }
    return edges;
}

} // namespace flash::test
