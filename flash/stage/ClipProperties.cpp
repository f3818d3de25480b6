// Reading and writing clip properties: the matrix seen as position, scale and
// rotation, the colour transform's alpha, frames, names and the player's own
// settings that every clip reports.
#include "flash/stage/ClipProperties.h"

#include "flash/stage/LocalBounds.h"
#include "flash/stage/Stage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace flash {
namespace {

constexpr std::array<const char*, kClipPropertyCount> kNames{
    "_x", "_y", "_xscale", "_yscale", "_currentframe", "_totalframes", "_alpha", "_visible", "_width", "_height",
    "_rotation", "_target", "_framesloaded", "_name", "_droptarget", "_url", "_highquality", "_focusrect",
    "_soundbuftime", "_quality", "_xmouse", "_ymouse"};

// The matrix as a script sees it; skew is not kept when a script changes one part.
struct Decomposed {
    double xScale = 1, yScale = 1, rotation = 0; // rotation in radians
};

Decomposed decompose(const Matrix& m)
{
    Decomposed d;
    d.xScale = std::hypot(m.a, m.b);
    d.yScale = std::hypot(m.c, m.d);
    if (m.a * m.d - m.b * m.c < 0)
        d.yScale = -d.yScale;
    d.rotation = std::atan2(m.b, m.a);
    return d;
}

void compose(Matrix& m, const Decomposed& d)
{
    const double cos = std::cos(d.rotation), sin = std::sin(d.rotation);
    m.a = d.xScale * cos;
    m.b = d.xScale * sin;
    m.c = -d.yScale * sin;
    m.d = d.yScale * cos;
}

double degrees(double radians)
{
    double deg = radians * 180 / std::numbers::pi;
    if (deg > 180)
        deg -= 360;
    else if (deg <= -180)
        deg += 360;
    return deg;
}

double pixels(int32_t twips)
{
    return twips / kTwipsPerPixel;
}

Point mouseIn(const Stage& stage, const DisplayObject& object)
{
    const auto inverse = toStage(object).inverted();
    return inverse ? inverse->map(stage.mousePosition()) : Point{};
}

void setExtent(const Stage& stage, DisplayObject& object, double pixelsWanted, bool horizontal)
{
    const auto bounds = boundsInParent(stage.movie(), object);
    const int32_t now = bounds ? (horizontal ? bounds->width() : bounds->height()) : 0;
    if (now <= 0 || pixelsWanted < 0)
        return;
    Decomposed d = decompose(object.matrix);
    const double factor = pixelsWanted * kTwipsPerPixel / now;
    (horizontal ? d.xScale : d.yScale) *= factor;
    compose(object.matrix, d);
}

} // namespace

std::optional<ClipProperty> clipPropertyAt(double index)
{
    if (!(index >= 0 && index < kClipPropertyCount))
        return std::nullopt;
    return ClipProperty(int(index));
}

std::optional<ClipProperty> clipPropertyNamed(std::string_view name, NameCase nameCase)
{
    if (name.size() < 2 || name[0] != '_')
        return std::nullopt;
    for (int i = 0; i < kClipPropertyCount; ++i) {
        if (namesEqual(name, kNames[size_t(i)], nameCase))
            return ClipProperty(i);
    }
    return std::nullopt;
}

const char* clipPropertyName(ClipProperty property)
{
    return kNames[size_t(property)];
}

PropertyKind clipPropertyKind(ClipProperty property)
{
    switch (property) {
    case ClipProperty::Name:
    case ClipProperty::Quality:
        return PropertyKind::Text;
    case ClipProperty::Visible:
    case ClipProperty::FocusRect:
        return PropertyKind::Boolean;
    default:
        return PropertyKind::Number;
    }
}

bool isReadOnly(ClipProperty property)
{
    switch (property) {
    case ClipProperty::CurrentFrame:
    case ClipProperty::TotalFrames:
    case ClipProperty::Target:
    case ClipProperty::FramesLoaded:
    case ClipProperty::DropTarget:
    case ClipProperty::Url:
    case ClipProperty::XMouse:
    case ClipProperty::YMouse:
        return true;
    default:
        return false;
    }
}

PropertyValue clipProperty(const Stage& stage, const DisplayObject& object, ClipProperty property)
{
    const PlayerSettingsSeen& settings = stage.playerSettings();
    switch (property) {
    case ClipProperty::X: return object.matrix.tx / kTwipsPerPixel;
    case ClipProperty::Y: return object.matrix.ty / kTwipsPerPixel;
    case ClipProperty::XScale: return decompose(object.matrix).xScale * 100;
    case ClipProperty::YScale: return decompose(object.matrix).yScale * 100;
    case ClipProperty::CurrentFrame: return object.clip ? double(object.clip->currentFrame + 1) : 1.0;
    case ClipProperty::TotalFrames:
    case ClipProperty::FramesLoaded: return object.clip ? double(object.clip->frameCount()) : 1.0;
    case ClipProperty::Alpha: return object.colorTransform.aMult * 100;
    case ClipProperty::Visible: return object.visible;
    case ClipProperty::Width:
    case ClipProperty::Height: {
        const auto bounds = boundsInParent(stage.movie(), object);
        if (!bounds)
            return 0.0;
        return pixels(property == ClipProperty::Width ? bounds->width() : bounds->height());
    }
    case ClipProperty::Rotation: return degrees(decompose(object.matrix).rotation);
    case ClipProperty::Target: return slashPath(object);
    case ClipProperty::Name: return object.name;
    case ClipProperty::DropTarget: return object.dropTarget;
    case ClipProperty::Url: return stage.urlOf(object);
    case ClipProperty::HighQuality: return double(settings.highQuality);
    case ClipProperty::FocusRect: return settings.focusRect;
    case ClipProperty::SoundBufTime: return settings.soundBufferSeconds;
    case ClipProperty::Quality: return settings.quality;
    case ClipProperty::XMouse: return std::round(mouseIn(stage, object).x / kTwipsPerPixel);
    case ClipProperty::YMouse: return std::round(mouseIn(stage, object).y / kTwipsPerPixel);
    }
    return 0.0;
}

namespace {

// Positions are kept in whole twips and colour multipliers in 1/256 steps, as
// the file formats store them, so a script reads back what the runtime kept
// (_x = 10.123 reads 10.1, _alpha = 33 reads 32.8125); the fraction is dropped.
double wholeTwips(double pixels)
{
    return std::clamp(std::trunc(pixels * kTwipsPerPixel), -2147483648.0, 2147483647.0);
}

double eighthBits(double multiplier)
{
    return std::clamp(std::trunc(multiplier * 256), -32768.0, 32767.0) / 256;
}

} // namespace

void setClipProperty(Stage& stage, DisplayObject& object, ClipProperty property, const PropertyValue& value)
{
    if (isReadOnly(property))
        return;
    PlayerSettingsSeen& settings = stage.playerSettings();
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (property == ClipProperty::Name) {
            object.name = *text;
            stage.noteRename();
        }
        else if (property == ClipProperty::Quality)
            settings.quality = *text;
        return;
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        if (property == ClipProperty::Visible)
            object.visible = *flag;
        else if (property == ClipProperty::FocusRect)
            settings.focusRect = *flag;
        return;
    }
    const double number = std::get<double>(value);
    if (!std::isfinite(number))
        return;
    Decomposed d = decompose(object.matrix);
    switch (property) {
    case ClipProperty::X: object.matrix.tx = wholeTwips(number); break;
    case ClipProperty::Y: object.matrix.ty = wholeTwips(number); break;
    case ClipProperty::XScale: d.xScale = number / 100; compose(object.matrix, d); break;
    case ClipProperty::YScale: d.yScale = number / 100; compose(object.matrix, d); break;
    case ClipProperty::Rotation: d.rotation = number * std::numbers::pi / 180; compose(object.matrix, d); break;
    case ClipProperty::Width: setExtent(stage, object, number, true); break;
    case ClipProperty::Height: setExtent(stage, object, number, false); break;
    case ClipProperty::Alpha:
        object.colorTransform.aMult = eighthBits(number / 100);
        object.scriptLocks |= LockColor;
        return;
    case ClipProperty::HighQuality: settings.highQuality = int(number); return;
    case ClipProperty::SoundBufTime: settings.soundBufferSeconds = number; return;
    default: return;
    }
    object.scriptLocks |= LockMatrix;
}

} // namespace flash
