// Collects control tags into frames while the tags of a timeline are read.
#pragma once

#include "flash/model/DisplayTags.h"

#include <span>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace flash {

class ParseContext;

class TimelineBuilder {
public:
    TimelineBuilder(Timeline& timeline, ParseContext& ctx) : m_timeline(timeline), m_ctx(ctx) { }

    void add(ControlTag tag);
    void addLabel(std::string label);
    void addSceneLabel(uint32_t frame, std::string label);
    void addScene(Scene scene);
    void setSoundStream(const SoundStreamHead& head) { m_timeline.soundStream = head; }
    // The frame's stream block; a second one in the same frame replaces the first.
    void setSoundBlock(std::span<const uint8_t> block);
    // Closes the current frame; false once the frame limit is reached.
    [[nodiscard]] bool showFrame();
    // Closes a trailing frame (control tags or labels after the last
    // ShowFrame; definitions alone make none) and attaches scene labels.
    void finish();

private:
    Timeline& m_timeline;
    ParseContext& m_ctx;
    Frame m_current;
    bool m_hasPending = false;
    std::vector<std::pair<uint32_t, std::string>> m_sceneLabels;
};

} // namespace flash
