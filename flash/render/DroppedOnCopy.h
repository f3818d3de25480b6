// A cache that does not survive a copy of what holds it.
#pragma once

#include <optional>

namespace flash {

// What a drawing step builds from a path and keeps beside it. Objects holding
// such a cache are copied to change the path, so a copy starts empty rather
// than carry what was built from the old one. Otherwise it is an optional.
template<typename T>
class DroppedOnCopy : public std::optional<T> {
public:
    using std::optional<T>::operator=;

    DroppedOnCopy() = default;
    DroppedOnCopy(const DroppedOnCopy&) : std::optional<T>() {}
    DroppedOnCopy& operator=(const DroppedOnCopy&)
    {
        this->reset();
        return *this;
    }
};

} // namespace flash
