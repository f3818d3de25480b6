// A readable listing of an action block: one action per line with its decoded
// payload, function bodies indented beneath their headers.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace flash::script {

[[nodiscard]] std::string disassemble(std::span<const uint8_t> block, int swfVersion);

} // namespace flash::script
