// What BitmapData's natives share: the pixels behind a BitmapData object, and
// the geometry and colour arguments scripts give, read into plain values.
//
// Natives read every argument before they look up a surface: reading a member
// may run a script (a getter, valueOf) that disposes a bitmap. Surfaces are
// held by shared pointer while a native works on them.
#pragma once

#include "flash/model/DisplayTags.h"
#include "flash/model/Geometry.h"
#include "flash/script/CallContext.h"
#include "flash/script/Object.h"
#include "flash/scripting/bitmap/PixelArea.h"
#include "flash/model/BitmapSurface.h"

#include <memory>
#include <span>

namespace flash::script {
class Interpreter;
}

namespace flash {

// The pixels of one BitmapData, kept in a hidden member of its object, so that
// instances of script subclasses (made through super()) have them too.
class BitmapStore final : public script::Object {
public:
    BitmapStore() = default;

    std::shared_ptr<BitmapSurface> surface; // null once disposed, or when the size asked for was refused

    [[nodiscard]] size_t byteSize() const override;
};

// The store of a BitmapData value; null for anything else.
[[nodiscard]] BitmapStore* storeOf(const script::Value& value);
// The live pixels of a BitmapData value; null for anything else and once disposed.
[[nodiscard]] std::shared_ptr<BitmapSurface> surfaceOf(const script::Value& value);
// Gives `object` its store holding `surface`, and counts the pixels against the script heap.
void giveStore(script::Interpreter& vm, script::Object& object, std::shared_ptr<BitmapSurface> surface);
// A new BitmapData holding `surface`, made by the constructor a native carries as its data.
[[nodiscard]] script::Value newBitmapData(script::CallContext& c, std::shared_ptr<BitmapSurface> surface);

// A script number's low 32 bits: colours (straight ARGB), masks and channel flags.
[[nodiscard]] uint32_t uint32Arg(script::CallContext& c, size_t i, uint32_t fallback = 0);
[[nodiscard]] int coordinateArg(script::CallContext& c, size_t i, int fallback = 0);
[[nodiscard]] bool flagArg(script::CallContext& c, size_t i, bool fallback);

// Rectangle and Point members (x, y, width, height); a missing one counts as 0.
[[nodiscard]] PixelRect rectangleOf(script::Interpreter& vm, const script::Value& value);
[[nodiscard]] PixelPoint pointOf(script::Interpreter& vm, const script::Value& value);
// Matrix and ColorTransform members; members that are not finite numbers keep the identity's.
[[nodiscard]] Matrix matrixOf(script::Interpreter& vm, const script::Value& value);
[[nodiscard]] ColorTransform colorTransformOf(script::Interpreter& vm, const script::Value& value);
// A blend mode by name or number, normal for anything else.
[[nodiscard]] BlendMode blendModeOrNormal(script::Interpreter& vm, const script::Value& value);

// A new flash.geom.Rectangle (a plain object with its members when a script removed the class).
[[nodiscard]] script::Value rectangleValue(script::Interpreter& vm, const PixelRect& rect);

struct BitmapMethod {
    const char* name;
    script::NativeFunction native;
};

} // namespace flash
