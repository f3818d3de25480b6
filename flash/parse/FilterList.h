// Filter lists (kept raw, one entry per filter) and clip actions of placed sprites.
#pragma once

#include "flash/io/ByteReader.h"
#include "flash/model/DisplayTags.h"

#include <string>
#include <vector>

namespace flash {

// Reads a count and that many filters; `problem` is set for an unknown filter type.
[[nodiscard]] std::vector<Filter> readFilterList(ByteReader& r, std::string& problem);

// Reads the clip action records of PlaceObject2/3; event flags are 16 bits
// before version 6 and 32 bits from then on.
[[nodiscard]] std::vector<ClipAction> readClipActions(ByteReader& r, uint8_t version, std::string& problem);

} // namespace flash
