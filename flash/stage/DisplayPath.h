// Target paths: how scripts name display objects ("/a/b", "../c", "_root.a.b",
// "_level0.a", "this") and how an object's own path reads back.
#pragma once

#include "flash/stage/DisplayList.h"

#include <functional>
#include <string>
#include <string_view>

namespace flash {

// Instance names compare without regard to case up to SWF 6, exactly from 7.
enum class NameCase : uint8_t { Insensitive, Sensitive };

[[nodiscard]] bool namesEqual(std::string_view a, std::string_view b, NameCase nameCase);

// The child of `parent` named `name` (the lowest depth first); null when none.
[[nodiscard]] DisplayObject* childNamed(const DisplayObject& parent, std::string_view name, NameCase nameCase);

// The root `_root` and "/" name from `object`: its level's root, or the
// nearest clip above it that locks the root (_lockroot).
[[nodiscard]] DisplayObject& rootSeenFrom(DisplayObject& object);

// The roots of the stage's levels by number (null when a level is empty).
using LevelRoots = std::function<DisplayObject*(int number)>;

// Follows `path` from `from`. An empty path is `from` itself; null when any step names nothing.
[[nodiscard]] DisplayObject* resolvePath(const LevelRoots& levels, DisplayObject& from, std::string_view path,
                                         NameCase nameCase);

// "_level0.a.b", as _target's dot form and TargetPath give it (a level's root
// stands at the depth of its number).
[[nodiscard]] std::string dotPath(const DisplayObject& object);
// "/a/b" ("/" for a level's root, "_level1/a" below other levels than 0), as _target gives it.
[[nodiscard]] std::string slashPath(const DisplayObject& object);

} // namespace flash
