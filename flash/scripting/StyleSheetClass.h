// TextField.StyleSheet: styles by selector, read from CSS text or set one by
// one; a field with a style sheet formats its HTML by it.
#pragma once

#include "flash/script/Value.h"
#include "flash/text/StyleSheet.h"

namespace flash::script {
class Interpreter;
class Object;
}

namespace flash {

// Installs the class on `textFieldClass` (TextField.StyleSheet).
void installStyleSheet(script::Interpreter& vm, script::Object& textFieldClass);

// The styles a StyleSheet object holds now, for a field to format its HTML with.
[[nodiscard]] text::StyleSheet styleSheetFromScript(script::Interpreter& vm, const script::Value& sheet);

} // namespace flash
