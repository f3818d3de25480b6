// TextFormat as scripts see it: an object whose fields (null when not set)
// describe character and paragraph formatting, and getTextExtent.
#pragma once

#include "flash/script/Value.h"
#include "flash/text/TextFormat.h"

namespace flash::script {
class Interpreter;
}

namespace flash {

void installTextFormat(script::Interpreter& vm);

// The fields a script object sets; null, undefined and missing fields stay unset.
[[nodiscard]] text::TextFormat formatFromScript(script::Interpreter& vm, const script::Value& object);
// A new TextFormat object with `format`'s fields (unset ones null).
[[nodiscard]] script::Value scriptFormat(script::Interpreter& vm, const text::TextFormat& format);

} // namespace flash
