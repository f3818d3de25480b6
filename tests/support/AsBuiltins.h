// Global functions of ActionScript that compile to actions rather than calls.
#pragma once

#include "AsCodegen.h"

namespace swfw::as {

// Emits `call` as its action when it names one of those functions; false otherwise.
// Throws AsSyntaxError when such a call has the wrong number of arguments.
[[nodiscard]] bool compileBuiltinCall(AsCodegen& g, const Expr& call, Want want);

} // namespace swfw::as
