// Scene building helpers for the renderer tests.
#include "RenderScene.h"

#include <cmath>
#include <sstream>

namespace flash::test {

ShapePath rectanglePath(double x0, double y0, double x1, double y1, uint32_t fill0, uint32_t fill1, uint32_t line)
{
    using K = PathCommand::Kind;
    ShapePath path;
    path.fill0 = fill0;
    path.fill1 = fill1;
    path.line = line;
    path.commands = {
        {K::MoveTo, {px(x0), px(y0)}, {}},
        {K::LineTo, {px(x1), px(y0)}, {}},
        {K::LineTo, {px(x1), px(y1)}, {}},
        {K::LineTo, {px(x0), px(y1)}, {}},
        {K::LineTo, {px(x0), px(y0)}, {}},
    };
    return path;
}

ShapePath reversedPath(const ShapePath& path)
{
    ShapePath out = path;
    out.commands.clear();
    using K = PathCommand::Kind;
    std::vector<Point> points;
    for (const PathCommand& c : path.commands)
        points.push_back(c.to);
    for (size_t i = points.size(); i-- > 0;)
        out.commands.push_back({i + 1 == points.size() ? K::MoveTo : K::LineTo, points[i], {}});
    return out;
}

FillStyle solidFill(Rgba color)
{
    FillStyle fill;
    fill.kind = FillKind::Solid;
    fill.color = color;
    return fill;
}

LineStyle solidLine(uint16_t widthTwips, Rgba color)
{
    LineStyle line;
    line.width = widthTwips;
    line.color = color;
    return line;
}

std::shared_ptr<ShapeDef> filledRectangle(double x0, double y0, double x1, double y1, FillStyle fill)
{
    auto shape = std::make_shared<ShapeDef>();
    shape->bounds = {int32_t(px(x0)), int32_t(px(x1)), int32_t(px(y0)), int32_t(px(y1))};
    shape->edgeBounds = shape->bounds;
    shape->fills.push_back(std::move(fill));
    shape->paths.push_back(rectanglePath(x0, y0, x1, y1, 0, 1));
    return shape;
}

RenderScene::RenderScene(int width, int height, Rgba background)
    : m_movie(std::make_shared<Movie>())
{
    m_movie->header.stage = {0, int32_t(px(width)), 0, int32_t(px(height))};
    m_movie->header.frameRate = 24;
    m_movie->backgroundColor = background;
}

DisplayObject& RenderScene::place(uint16_t depth, Character character, Matrix matrix, DisplayList* list)
{
    auto object = std::make_unique<DisplayObject>();
    object->depth = depth;
    object->character = std::move(character);
    object->matrix = matrix;
    DisplayObject& ref = *object;
    (list ? list : &m_root)->objects()[depth] = std::move(object);
    return ref;
}

DisplayObject& RenderScene::placeSprite(uint16_t depth, Matrix matrix, DisplayList* list, uint16_t spriteId)
{
    auto def = std::make_shared<SpriteDef>();
    def->id = spriteId;
    DisplayObject& object = place(depth, def, matrix, list);
    object.clip = std::make_unique<ClipState>();
    object.clip->def = def;
    object.clip->children = std::make_unique<DisplayList>();
    return object;
}

QImage RenderScene::render(QSize size)
{
    if (!m_renderer)
        m_renderer = std::make_unique<Renderer>(m_movie);
    if (size.isEmpty())
        size = QSize(m_movie->header.stage.width() / 20, m_movie->header.stage.height() / 20);
    return m_renderer->renderToImage(m_root, size);
}

Rgba pixelAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()), uint8_t(c.alpha())};
}

::testing::AssertionResult colorNear(Rgba actual, Rgba expected, int tolerance)
{
    auto near = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (near(actual.r, expected.r) && near(actual.g, expected.g) && near(actual.b, expected.b)
        && near(actual.a, expected.a))
        return ::testing::AssertionSuccess();
    std::ostringstream text;
    text << "rgba(" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b) << ", " << int(actual.a)
         << ") is not within " << tolerance << " of rgba(" << int(expected.r) << ", " << int(expected.g) << ", "
         << int(expected.b) << ", " << int(expected.a) << ")";
    return ::testing::AssertionFailure() << text.str();
}

} // namespace flash::test
