// What changed on stage since the last look, as a region of the view to draw
// again: each object's drawn state and the view rectangle it covers are kept,
// and an object that moved, changed, came or went adds both its old and its
// new rectangle. A movie that stands still adds nothing, so its view is not
// drawn at all.
#pragma once

#include "flash/stage/Stage.h"

#include <QRegion>
#include <QSize>
#include <unordered_map>

namespace flash {

// A hash of what `object` and everything below it draw, seen from the object
// itself (its own place on stage left out): equal while its content looks the same.
[[nodiscard]] uint64_t contentState(const DisplayObject& object);

class SceneChanges {
public:
    // The part of a view of `viewSize` pixels that `stageToView` maps the stage
    // to which differs from the last call; everything at the first call, or
    // when the view or its mapping changed. `alwaysDrawn` (a focused field with
    // its caret and selection) counts as changed.
    [[nodiscard]] QRegion take(const Stage& stage, const Matrix& stageToView, QSize viewSize,
                               const DisplayObject* alwaysDrawn = nullptr);
    // Forgets what was seen: the next call answers the whole view.
    void reset()
    {
        m_seen.clear();
        m_viewSize = {};
    }

    // One object as last seen: its state, its rectangle in the view, and the pass that saw it.
    struct Entry {
        uint64_t state = 0;
        QRect rect;
        uint64_t pass = 0;
    };

private:
    std::unordered_map<uint64_t, Entry> m_seen; // by place: the parent's place and the depth
    QSize m_viewSize;
    Matrix m_stageToView;
    uint64_t m_pass = 0;
    uint64_t m_lastAlwaysDrawn = 0; // the place of the object last always drawn: drawn again once it no longer is
};

} // namespace flash
