// Path walking over the live tree, in both the slash and the dot syntax.
#include "flash/stage/DisplayPath.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace flash {
namespace {

constexpr int kMaxPathDepth = 256;

std::vector<const DisplayObject*> chainFromRoot(const DisplayObject& object)
{
    std::vector<const DisplayObject*> chain;
    for (const DisplayObject* at = &object; at && chain.size() < kMaxPathDepth; at = at->parent)
        chain.push_back(at);
    return {chain.rbegin(), chain.rend()};
}

bool isLevelName(std::string_view segment, NameCase nameCase)
{
    constexpr std::string_view prefix = "_level";
    if (segment.size() <= prefix.size() || !namesEqual(segment.substr(0, prefix.size()), prefix, nameCase))
        return false;
    for (char c : segment.substr(prefix.size()))
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// One step of a path from `at`.
DisplayObject* step(const LevelRoots& levels, DisplayObject* at, std::string_view segment, NameCase nameCase)
{
    if (segment.empty() || segment == ".")
        return at;
    if (segment == ".." || namesEqual(segment, "_parent", nameCase))
        return at->parent;
    if (namesEqual(segment, "_root", nameCase))
        return &rootSeenFrom(*at);
    if (namesEqual(segment, "this", nameCase))
        return at;
    if (isLevelName(segment, nameCase)) {
        const std::string_view digits = segment.substr(6);
        int number = 0;
        for (char c : digits) {
            number = number * 10 + (c - '0');
            if (number > 1'000'000)
                return nullptr;
        }
        return levels ? levels(number) : nullptr;
    }
    return childNamed(*at, segment, nameCase);
}

const DisplayObject& topOf(const DisplayObject& object)
{
    const DisplayObject* at = &object;
    for (int guard = 0; at->parent && guard < kMaxPathDepth; ++guard)
        at = at->parent;
    return *at;
}

} // namespace

DisplayObject& rootSeenFrom(DisplayObject& object)
{
    DisplayObject* at = &object;
    for (int guard = 0; guard < kMaxPathDepth; ++guard) {
        if ((at->clip && at->clip->lockRoot) || !at->parent)
            return *at;
        at = at->parent;
    }
    return *at;
}

bool namesEqual(std::string_view a, std::string_view b, NameCase nameCase)
{
    if (a.size() != b.size())
        return false;
    if (nameCase == NameCase::Sensitive)
        return a == b;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

DisplayObject* childNamed(const DisplayObject& parent, std::string_view name, NameCase nameCase)
{
    const DisplayList* children = liveChildren(parent);
    if (!children || name.empty())
        return nullptr;
    for (const auto& [depth, child] : children->objects()) {
        if (namesEqual(child->name, name, nameCase))
            return child.get();
    }
    return nullptr;
}

DisplayObject* resolvePath(const LevelRoots& levels, DisplayObject& from, std::string_view path, NameCase nameCase)
{
    DisplayObject* at = &from;
    size_t pos = 0;
    if (!path.empty() && path.front() == '/') {
        at = &rootSeenFrom(from);
        pos = 1;
    }
    for (int steps = 0; at && pos < path.size() && steps < kMaxPathDepth; ++steps) {
        std::string_view segment;
        if (path.compare(pos, 2, "..") == 0) {
            segment = "..";
            pos += 2;
        } else {
            const size_t end = std::min(path.find_first_of("/.", pos), path.size());
            segment = path.substr(pos, end - pos);
            pos = end;
        }
        at = step(levels, at, segment, nameCase);
        // One separator follows a step; a dot that starts ".." is the next step's.
        if (pos < path.size() && (path[pos] == '/' || (path[pos] == '.' && path.compare(pos, 2, "..") != 0)))
            ++pos;
    }
    return at;
}

std::string dotPath(const DisplayObject& object)
{
    std::string path = "_level" + std::to_string(std::max(0, topOf(object).depth));
    const auto chain = chainFromRoot(object);
    for (size_t i = 1; i < chain.size(); ++i)
        path += "." + chain[i]->name;
    return path;
}

std::string slashPath(const DisplayObject& object)
{
    const auto chain = chainFromRoot(object);
    const int level = topOf(object).depth;
    std::string path = level > 0 ? "_level" + std::to_string(level) : std::string();
    if (chain.size() <= 1)
        return level > 0 ? path : "/";
    for (size_t i = 1; i < chain.size(); ++i)
        path += "/" + chain[i]->name;
    return path;
}

} // namespace flash
