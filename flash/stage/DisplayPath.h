// Target paths: how scripts name display objects ("/a/b", "../c", "_root.a.b",
// "_level0.a", "this") and how an object's own path reads back.
#pragma once

#include "flash/stage/DisplayList.h"

#include <string>
#include <string_view>

namespace flash {

// Instance names compare without regard to case up to SWF 6, exactly from 7.
enum class NameCase : uint8_t { Insensitive, Sensitive };

[[nodiscard]] bool namesEqual(std::string_view a, std::string_view b, NameCase nameCase);

// The child of `parent` named `name` (the lowest depth first); null when none.
[[nodiscard]] DisplayObject* childNamed(const DisplayObject& parent, std::string_view name, NameCase nameCase);

// Follows `path` from `from`; `root` is the main timeline (_root, _level0 and "/").
// An empty path is `from` itself; null when any step names nothing.
[[nodiscard]] DisplayObject* resolvePath(DisplayObject& root, DisplayObject& from, std::string_view path,
                                         NameCase nameCase);

// "_level0.a.b", as _target's dot form and TargetPath give it.
[[nodiscard]] std::string dotPath(const DisplayObject& object);
// "/a/b" ("/" for the main timeline), as _target gives it.
[[nodiscard]] std::string slashPath(const DisplayObject& object);

} // namespace flash
