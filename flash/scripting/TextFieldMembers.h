// The members of a text field as scripts read and write them (text, htmlText,
// scroll, border...), as a table. Writes convert their value first (which may
// run scripts) and change the field only if it is still on stage.
#pragma once

#include "flash/script/Value.h"
#include "flash/stage/ObjectRegistry.h"

#include <string_view>

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash::text {
class TextField;
}

namespace flash {

class StageHost;
struct DisplayObject;

struct TextFieldMember {
    std::string_view name;
    script::Value (*get)(script::Interpreter& vm, script::Object& self, text::TextField& field);
    // Null for members scripts only read.
    void (*set)(script::Interpreter& vm, StageHost& host, script::Object& self, ObjectHandle field,
                const script::Value& value);
};

[[nodiscard]] const TextFieldMember* textFieldMemberNamed(const script::String& name, script::CaseMode mode);

// The live field of a display object still on stage.
[[nodiscard]] text::TextField* liveTextField(StageHost& host, ObjectHandle field);

} // namespace flash
