// The properties scripts read and write on display objects (_x, _alpha,
// _currentframe, ...), by the index GetProperty uses and by name.
#pragma once

#include "flash/stage/DisplayPath.h"

#include <optional>
#include <string>
#include <variant>

namespace flash {

class Stage;

// ORDER: the indices GetProperty and SetProperty use.
enum class ClipProperty : uint8_t {
    X, Y, XScale, YScale, CurrentFrame, TotalFrames, Alpha, Visible, Width, Height, Rotation, Target,
    FramesLoaded, Name, DropTarget, Url, HighQuality, FocusRect, SoundBufTime, Quality, XMouse, YMouse,
};
inline constexpr int kClipPropertyCount = 22;

using PropertyValue = std::variant<double, std::string, bool>;
enum class PropertyKind : uint8_t { Number, Text, Boolean };

[[nodiscard]] std::optional<ClipProperty> clipPropertyAt(double index);
// "_x", "_alpha", ...; nothing for other names.
[[nodiscard]] std::optional<ClipProperty> clipPropertyNamed(std::string_view name, NameCase nameCase);
[[nodiscard]] const char* clipPropertyName(ClipProperty property);
// What a written value is converted to before it is set.
[[nodiscard]] PropertyKind clipPropertyKind(ClipProperty property);
[[nodiscard]] bool isReadOnly(ClipProperty property);

[[nodiscard]] PropertyValue clipProperty(const Stage& stage, const DisplayObject& object, ClipProperty property);
// Writes what scripts may write; a value that is not a finite number changes nothing.
void setClipProperty(Stage& stage, DisplayObject& object, ClipProperty property, const PropertyValue& value);

} // namespace flash
