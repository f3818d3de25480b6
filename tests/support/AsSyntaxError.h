// The error the ActionScript compiler throws on source it cannot read, with where it stopped.
#pragma once

#include <stdexcept>
#include <string>

namespace swfw {

class AsSyntaxError : public std::runtime_error {
public:
    AsSyntaxError(int line, int column, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message),
          m_line(line), m_column(column)
    {
    }

    [[nodiscard]] int line() const { return m_line; }
    [[nodiscard]] int column() const { return m_column; }

private:
    int m_line;
    int m_column;
};

} // namespace swfw
