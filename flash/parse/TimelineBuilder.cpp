// Frame assembly for the main timeline and sprites.
#include "flash/parse/TimelineBuilder.h"

#include "flash/parse/ParseContext.h"

#include <algorithm>

namespace flash {

void TimelineBuilder::add(ControlTag tag)
{
    if (!m_ctx.charge(sizeof(ControlTag)))
        return;
    m_current.tags.push_back(std::move(tag));
    m_hasPending = true;
}

void TimelineBuilder::addLabel(std::string label)
{
    if (!m_ctx.charge(sizeof(std::string) + label.size()))
        return;
    m_current.labels.push_back(std::move(label));
    m_hasPending = true;
}

void TimelineBuilder::setSoundBlock(std::span<const uint8_t> block)
{
    if (!m_ctx.charge(block.size()))
        return;
    m_current.soundBlock.assign(block.begin(), block.end());
    m_hasPending = true;
}

void TimelineBuilder::addSceneLabel(uint32_t frame, std::string label)
{
    if (m_ctx.charge(sizeof(std::pair<uint32_t, std::string>) + label.size()))
        m_sceneLabels.emplace_back(frame, std::move(label));
}

void TimelineBuilder::addScene(Scene scene)
{
    if (m_ctx.charge(sizeof(Scene) + scene.name.size()))
        m_timeline.scenes.push_back(std::move(scene));
}

bool TimelineBuilder::showFrame()
{
    if (m_timeline.frames.size() >= m_ctx.limits().maxFrames || !m_ctx.charge(sizeof(Frame)))
        return false;
    m_timeline.frames.push_back(std::move(m_current));
    m_current = Frame{};
    m_hasPending = false;
    return true;
}

void TimelineBuilder::finish()
{
    if (m_hasPending && m_timeline.frames.size() < m_ctx.limits().maxFrames)
        m_timeline.frames.push_back(std::move(m_current));
    for (auto& [frame, label] : m_sceneLabels) {
        if (frame < m_timeline.frames.size())
            m_timeline.frames[frame].labels.push_back(std::move(label));
    }
    // Scene offsets past the end point at the last frame.
    for (auto& scene : m_timeline.scenes) {
        if (!m_timeline.frames.empty())
            scene.offset = std::min<uint32_t>(scene.offset, uint32_t(m_timeline.frames.size() - 1));
    }
}

} // namespace flash
