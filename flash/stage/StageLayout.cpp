// The reference runtime's scale modes: show all (the whole stage, aspect kept),
// no border (the view filled, aspect kept), exact fit (stretched) and no scale.
#include "flash/stage/StageLayout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace flash {

namespace {

constexpr std::array<std::pair<ScaleMode, std::string_view>, 4> kNames{{
    {ScaleMode::ShowAll, "showAll"}, {ScaleMode::ExactFit, "exactFit"}, {ScaleMode::NoBorder, "noBorder"},
    {ScaleMode::NoScale, "noScale"},
}};

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Where a stage of `content` pixels starts in a view of `view` pixels.
double offset(double view, double content, bool nearEdge, bool farEdge)
{
    if (nearEdge && !farEdge)
        return 0;
    if (farEdge && !nearEdge)
        return view - content;
    return (view - content) / 2;
}

} // namespace

std::optional<ScaleMode> scaleModeNamed(std::string_view name)
{
    for (const auto& [mode, text] : kNames) {
        if (equalsIgnoringCase(name, text))
            return mode;
    }
    return std::nullopt;
}

std::string_view scaleModeName(ScaleMode mode)
{
    for (const auto& [known, text] : kNames) {
        if (known == mode)
            return text;
    }
    return kNames[0].second;
}

void setAlign(StageLayout& layout, std::string_view align)
{
    layout.left = layout.right = layout.top = layout.bottom = false;
    for (char c : align) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'L': layout.left = true; break;
        case 'R': layout.right = true; break;
        case 'T': layout.top = true; break;
        case 'B': layout.bottom = true; break;
        default: break;
        }
    }
}

std::string alignName(const StageLayout& layout)
{
    std::string name;
    if (layout.top != layout.bottom)
        name += layout.top ? 'T' : 'B';
    if (layout.left != layout.right)
        name += layout.left ? 'L' : 'R';
    return name;
}

Matrix stageToView(const Rect& stage, double viewWidth, double viewHeight, const StageLayout& layout)
{
    constexpr double kPixel = 1 / kTwipsPerPixel;
    if (stage.isEmpty() || !(viewWidth > 0) || !(viewHeight > 0))
        return Matrix{kPixel, 0, 0, kPixel, 0, 0};
    const double stageW = stage.width(), stageH = stage.height();
    double sx = viewWidth / stageW, sy = viewHeight / stageH;
    switch (layout.scaleMode) {
    case ScaleMode::ShowAll: sx = sy = std::min(sx, sy); break;
    case ScaleMode::NoBorder: sx = sy = std::max(sx, sy); break;
    case ScaleMode::ExactFit: break;
    case ScaleMode::NoScale: sx = sy = kPixel; break;
    }
    const double x = offset(viewWidth, stageW * sx, layout.left, layout.right) - stage.xMin * sx;
    const double y = offset(viewHeight, stageH * sy, layout.top, layout.bottom) - stage.yMin * sy;
    return Matrix{sx, 0, 0, sy, x, y};
}

} // namespace flash
