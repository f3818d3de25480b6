// The masks in force while one display list is drawn, kept as the painter's clip.
#pragma once

#include <QPainterPath>
#include <cstdint>
#include <vector>

class QPainter;

namespace flash {

class DirectFill;

// Masks cover depth ranges that may end in any order (one mask can reach past
// another placed inside its range), so when one ends the clip is rebuilt from
// those still in force.
class MaskStack {
public:
    // `direct`, when set, is given the same masks as the painter.
    MaskStack(QPainter& painter, DirectFill* direct) : m_painter(painter), m_direct(direct) {}
    ~MaskStack();
    MaskStack(const MaskStack&) = delete;
    MaskStack& operator=(const MaskStack&) = delete;

    // `area` in device pixels masks depths up to `clipDepth`.
    void push(int32_t clipDepth, const QPainterPath& area);
    // Lifts the masks whose range ends before `depth`.
    void endBefore(int32_t depth);

private:
    struct Mask {
        int32_t clipDepth = 0;
        QPainterPath area;
    };
    void saveOnce();
    void clipTo(const QPainterPath& area);

    void restoreSaved();

    QPainter& m_painter;
    DirectFill* m_direct = nullptr;
    std::vector<Mask> m_masks;
    bool m_saved = false;
};

} // namespace flash
