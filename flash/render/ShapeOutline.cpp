// Collects each style's edges from a shape and links them into Qt paths.
#include "flash/render/ShapeOutline.h"

#include "flash/render/EdgeRun.h"

#include <algorithm>
#include <map>

namespace flash {

namespace {

struct LayerEdges {
    std::map<uint32_t, std::vector<EdgeRun>> fills;
    std::map<uint32_t, std::vector<EdgeRun>> seams; // by the fill drawn first
    std::map<uint32_t, std::vector<EdgeRun>> lines;
};

// A fill's area lies to the right of its edges: fill1 edges are kept as they
// are, fill0 edges (area on their left) are reversed, so that all contours of
// a style run the same way and non-zero filling works too.
void collectEdges(const ShapePath& path, const ShapeDef& shape, LayerEdges& layer)
{
    std::vector<EdgeRun> runs;
    appendRuns(path, runs);
    if (runs.empty())
        return;
    const size_t fillCount = shape.fills.size();
    if (path.fill1 != 0 && path.fill1 <= fillCount) {
        auto& target = layer.fills[path.fill1];
        target.insert(target.end(), runs.begin(), runs.end());
    }
    // An edge with the same fill on both sides goes in once each way, so that it cancels out.
    if (path.fill0 != 0 && path.fill0 <= fillCount) {
        auto& target = layer.fills[path.fill0];
        for (const EdgeRun& run : runs)
            target.push_back(run.reversed());
    }
    const bool stroked = path.line != 0 && path.line <= shape.lines.size();
    if (stroked) {
        auto& target = layer.lines[path.line];
        target.insert(target.end(), runs.begin(), runs.end());
    }
    const bool twoFills = path.fill0 != 0 && path.fill1 != 0 && path.fill0 != path.fill1
        && path.fill0 <= fillCount && path.fill1 <= fillCount;
    if (twoFills && !stroked) {
        auto& target = layer.seams[std::min(path.fill0, path.fill1)];
        target.insert(target.end(), runs.begin(), runs.end());
    }
}

size_t pathCost(const QPainterPath& path)
{
    return sizeof(QPainterPath) + static_cast<size_t>(path.elementCount()) * sizeof(QPainterPath::Element);
}

} // namespace

ShapeOutline buildShapeOutline(const ShapeDef& shape)
{
    std::vector<LayerEdges> edges(1);
    for (const ShapePath& path : shape.paths) {
        const LayerEdges& current = edges.back();
        if (path.newStyles && !(current.fills.empty() && current.lines.empty()))
            edges.emplace_back();
        collectEdges(path, shape, edges.back());
    }

    const Qt::FillRule rule = shape.nonZeroWinding ? Qt::WindingFill : Qt::OddEvenFill;
    ShapeOutline outline;
    for (LayerEdges& layerEdges : edges) {
        ShapeOutline::Layer layer;
        for (auto& [style, runs] : layerEdges.fills) {
            // Seams that come round to where they start are joined there, leaving no notch.
            const auto seams = layerEdges.seams.find(style);
            layer.fills.push_back({style, linkIntoContours(std::move(runs), rule),
                                   seams == layerEdges.seams.end() ? QPainterPath()
                                                                   : linkIntoPolylines(seams->second, true),
                                   {}, {}});
        }
        for (auto& [style, runs] : layerEdges.lines)
            layer.strokes.push_back({style, linkIntoPolylines(runs, !shape.lines[style - 1].noClose), {}, {}, {}});
        if (!layer.fills.empty() || !layer.strokes.empty())
            outline.layers.push_back(std::move(layer));
    }
    return outline;
}

QPainterPath buildGlyphOutline(const std::vector<ShapePath>& paths)
{
    std::vector<EdgeRun> area;
    for (const ShapePath& path : paths) {
        if (path.fill0 == 0 && path.fill1 == 0)
            continue;
        std::vector<EdgeRun> runs;
        appendRuns(path, runs);
        for (EdgeRun& run : runs)
            area.push_back(path.fill1 != 0 ? std::move(run) : run.reversed());
    }
    return linkIntoContours(std::move(area), Qt::OddEvenFill);
}

size_t ShapeOutline::cost() const
{
    size_t total = sizeof(ShapeOutline);
    for (const Layer& layer : layers) {
        for (const StyledPath& p : layer.fills)
            total += pathCost(p.path) + pathCost(p.seams);
        for (const StyledPath& p : layer.strokes)
            total += pathCost(p.path);
    }
    return total;
}

bool ShapeOutline::hasFills() const
{
    for (const Layer& layer : layers) {
        if (!layer.fills.empty())
            return true;
    }
    return false;
}

} // namespace flash
