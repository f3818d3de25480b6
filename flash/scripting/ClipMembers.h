// Members of a clip that movies of the Flash 8 years added beside the indexed
// properties: blendMode, cacheAsBitmap, filters, scale9Grid and transform. In older
// movies these names are ordinary variables.
#pragma once

#include "flash/script/Value.h"
#include "flash/stage/ObjectRegistry.h"

#include <string_view>

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

class StageHost;
struct DisplayObject;

struct ClipMember {
    std::string_view name;
    script::Value (*get)(script::Interpreter& vm, script::Object& self, DisplayObject& object);
    // Converts `value` first (which may run scripts), then changes the object if it is still on stage.
    void (*set)(script::Interpreter& vm, StageHost& host, ObjectHandle object, const script::Value& value);
};

// The member called `name` in a movie of `swfVersion`, if there is one.
[[nodiscard]] const ClipMember* clipMemberNamed(const script::String& name, script::CaseMode mode, int swfVersion);

} // namespace flash
