// The engine's error-or-value type: a failure carries a one-line message.
#pragma once

#include <expected>
#include <string>

namespace flash {

template<typename T>
using Result = std::expected<T, std::string>;

[[nodiscard]] inline std::unexpected<std::string> failure(std::string message)
{
    return std::unexpected<std::string>(std::move(message));
}

} // namespace flash
