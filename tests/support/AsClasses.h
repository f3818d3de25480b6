// AS2 classes and interfaces, compiled the way the Flash 8 compiler laid them out.
#pragma once

#include "AsCodegen.h"

namespace swfw::as {

// Emits the class at the top level of a block. A subclass constructor that does
// not call super(...) gets the call added first, as the language asks.
void compileClass(AsCodegen& g, ClassDef& def);

} // namespace swfw::as
