// Parses ActionScript 1/2 source into the compiler's syntax tree.
#pragma once

#include "AsAst.h"

#include <string_view>

namespace swfw::as {

// Throws AsSyntaxError at the first token it cannot fit.
[[nodiscard]] StmtList parseProgram(std::string_view source);

} // namespace swfw::as
