// Typed filters from the raw filter records of PlaceObject3 and button records.
#pragma once

#include "flash/model/DisplayTags.h"
#include "flash/model/Filters.h"

#include <optional>
#include <vector>

namespace flash {

// The filter a record describes; nothing for an unknown type or data too short.
[[nodiscard]] std::optional<TypedFilter> decodeFilter(const Filter& raw);

// The filters of a list that decode, in order; the others are left out.
[[nodiscard]] std::vector<TypedFilter> decodeFilters(const std::vector<Filter>& raw);

} // namespace flash
