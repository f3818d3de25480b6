// The search walks each display list from the top down, as the pointer meets
// the objects; clips that do not take the pointer let it through to their children.
#include "flash/input/PointerTargets.h"

#include "flash/stage/ScriptMask.h"
#include "flash/stage/Stage.h"

#include <vector>

namespace flash {

namespace {

constexpr int kMaxDepth = 64;

class TargetSearch {
public:
    TargetSearch(PointerTargets& targets, Point point) : m_targets(targets), m_point(point) {}

    DisplayObject* inside(DisplayObject& container, int level)
    {
        DisplayList* list = container.clip ? container.clip->children.get() : nullptr;
        if (!list || level > kMaxDepth)
            return nullptr;
        // Masks by clip depth, bottom-up: which of them the point falls on.
        struct ClipMask {
            Depth from, to;
            bool hit;
        };
        std::vector<ClipMask> masks;
        for (auto& [depth, child] : list->objects()) {
            if (child->clipDepth && *child->clipDepth > depth)
                masks.push_back({depth, *child->clipDepth, m_targets.hits(*child, m_point)});
        }
        auto& objects = list->objects();
        for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
            DisplayObject& child = *it->second;
            if (!child.visible || child.removed || child.clipDepth || isScriptMask(child))
                continue;
            if (!uncovered(masks, it->first))
                continue;
            if (const DisplayObject* mask = scriptMaskOf(child); mask && !m_targets.hits(*mask, m_point))
                continue;
            if (m_targets.takesPointer(child)) {
                if (m_targets.hits(child, m_point))
                    return &child;
                continue;
            }
            if (DisplayObject* found = inside(child, level + 1))
                return found;
        }
        return nullptr;
    }

private:
    template<typename Masks>
    static bool uncovered(const Masks& masks, Depth depth)
    {
        for (const auto& mask : masks) {
            if (depth > mask.from && depth <= mask.to && !mask.hit)
                return false;
        }
        return true;
    }

    PointerTargets& m_targets;
    Point m_point;
};

} // namespace

DisplayObject* pointerTargetAt(Stage& stage, PointerTargets& targets, Point stagePoint)
{
    // The highest level first; a level's root itself may take the pointer, over what it draws.
    const std::vector<DisplayObject*> levels = stage.levelRoots();
    for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
        DisplayObject& root = **it;
        if (!root.visible)
            continue;
        if (DisplayObject* found = TargetSearch(targets, stagePoint).inside(root, 0))
            return found;
        if (targets.takesPointer(root) && targets.hits(root, stagePoint))
            return &root;
    }
    return nullptr;
}

} // namespace flash
