// flash.filters: the filter classes of scripts, their constructors' arguments
// and defaults, clone(), and the conversion between filter objects and the
// filters the renderer draws (a clip's `filters` property goes through it).
#pragma once

#include "flash/model/Filters.h"
#include "flash/script/Value.h"

#include <optional>
#include <vector>

namespace flash::script {
class Interpreter;
}

namespace flash {

void installFilterClasses(script::Interpreter& vm);

// The filter a script object stands for; nothing for any other value.
[[nodiscard]] std::optional<TypedFilter> filterOf(script::Interpreter& vm, const script::Value& value);
// Every filter of a script array, in order (other entries are skipped).
[[nodiscard]] std::vector<TypedFilter> filtersOf(script::Interpreter& vm, const script::Value& array);
// A new script object for `filter`, of its class.
[[nodiscard]] script::Value filterObject(script::Interpreter& vm, const TypedFilter& filter);

} // namespace flash
