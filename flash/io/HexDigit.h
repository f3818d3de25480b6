// One hexadecimal digit's value, as %XX escapes spell bytes.
#pragma once

namespace flash {

// 0..15, or -1 when `c` is no hexadecimal digit.
[[nodiscard]] constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace flash
