// Movies built in code for timeline tests, and a readable dump of what is on stage.
#pragma once

#include "flash/stage/DisplayList.h"
#include "flash/stage/FrameControlScripts.h"
#include "flash/stage/Stage.h"

#include <algorithm>
#include "flash/model/Movie.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace flash::test {

// Writes one timeline frame by frame: tags go into the frame being written.
class TimelineWriter {
public:
    TimelineWriter() { m_timeline.frames.emplace_back(); }

    TimelineWriter& place(uint16_t depth, uint16_t characterId, double tx = 0)
    {
        PlaceObject tag;
        tag.depth = depth;
        tag.characterId = characterId;
        tag.matrix = Matrix{1, 0, 0, 1, tx, 0};
        return add(tag);
    }
    TimelineWriter& move(uint16_t depth, double tx)
    {
        PlaceObject tag;
        tag.depth = depth;
        tag.isMove = true;
        tag.matrix = Matrix{1, 0, 0, 1, tx, 0};
        return add(tag);
    }
    TimelineWriter& replace(uint16_t depth, uint16_t characterId)
    {
        PlaceObject tag;
        tag.depth = depth;
        tag.isMove = true;
        tag.characterId = characterId;
        return add(tag);
    }
    TimelineWriter& add(ControlTag tag)
    {
        m_timeline.frames.back().tags.push_back(std::move(tag));
        return *this;
    }
    TimelineWriter& remove(uint16_t depth) { return add(RemoveObject{depth, std::nullopt}); }
    TimelineWriter& actions(std::vector<uint8_t> bytes) { return add(DoAction{std::move(bytes), std::nullopt}); }
    TimelineWriter& label(std::string name)
    {
        m_timeline.frames.back().labels.push_back(std::move(name));
        return *this;
    }
    // Ends the frame being written and starts the next.
    TimelineWriter& showFrame()
    {
        m_timeline.frames.emplace_back();
        return *this;
    }
    // The frames ended so far (a frame still being written is dropped when empty).
    [[nodiscard]] Timeline finish() const
    {
        Timeline timeline = m_timeline;
        if (timeline.frames.back().tags.empty() && timeline.frames.back().labels.empty())
            timeline.frames.pop_back();
        return timeline;
    }

private:
    Timeline m_timeline;
};

class MovieWriter {
public:
    MovieWriter& shape(uint16_t id, Rect bounds = {})
    {
        auto definition = std::make_shared<ShapeDef>();
        definition->id = id;
        definition->bounds = bounds;
        m_movie->dictionary[id] = std::shared_ptr<const ShapeDef>(definition);
        return *this;
    }
    MovieWriter& sprite(uint16_t id, const TimelineWriter& timeline)
    {
        auto definition = std::make_shared<SpriteDef>();
        definition->id = id;
        definition->timeline = timeline.finish();
        definition->headerFrameCount = uint16_t(definition->timeline.frames.size());
        m_movie->dictionary[id] = std::shared_ptr<const SpriteDef>(definition);
        return *this;
    }
    // A button whose records show `characterIds` at depths 1, 2, ... in the given states.
    MovieWriter& button(uint16_t id, const std::vector<uint16_t>& characterIds, uint8_t states = ButtonRecord::Up)
    {
        auto definition = std::make_shared<ButtonDef>();
        definition->id = id;
        for (size_t i = 0; i < characterIds.size(); ++i) {
            ButtonRecord record;
            record.states = states;
            record.characterId = characterIds[i];
            record.depth = uint16_t(i + 1);
            definition->records.push_back(record);
        }
        m_movie->dictionary[id] = std::shared_ptr<const ButtonDef>(definition);
        return *this;
    }
    [[nodiscard]] std::shared_ptr<const Movie> finish(const TimelineWriter& main)
    {
        m_movie->timeline = main.finish();
        m_movie->header.frameRate = 12;
        m_movie->header.stage = Rect{0, 4000, 0, 3000};
        return m_movie;
    }

private:
    std::shared_ptr<Movie> m_movie = std::make_shared<Movie>();
};

namespace actions {
inline std::vector<uint8_t> stop() { return {0x07, 0x00}; }
inline std::vector<uint8_t> play() { return {0x06, 0x00}; }
inline std::vector<uint8_t> nextFrame() { return {0x04, 0x00}; }
inline std::vector<uint8_t> previousFrame() { return {0x05, 0x00}; }
inline std::vector<uint8_t> gotoFrame(uint16_t frame) { return {0x81, 2, 0, uint8_t(frame), uint8_t(frame >> 8), 0x00}; }
inline std::vector<uint8_t> gotoAndPlay(uint16_t frame)
{
    return {0x81, 2, 0, uint8_t(frame), uint8_t(frame >> 8), 0x06, 0x00};
}
inline std::vector<uint8_t> gotoLabel(const std::string& label)
{
    std::vector<uint8_t> bytes{0x8C, uint8_t(label.size() + 1), 0};
    for (char c : label)
        bytes.push_back(uint8_t(c));
    bytes.push_back(0);
    bytes.push_back(0x00);
    return bytes;
}
} // namespace actions

// Plays a stage the way the player does, with the frame-control actions only;
// each step runs the work it queues at once.
class StageDriver {
public:
    explicit StageDriver(std::shared_ptr<const Movie> movie) : m_movie(std::move(movie)) { restart(); }

    // Back to the first frame as a freshly loaded movie shows it, its actions run.
    void restart(bool playing = true)
    {
        m_stage = std::make_unique<Stage>(m_movie);
        m_stage->setLooping(m_looping);
        m_stage->root().clip->playing = playing;
        runWork();
    }
    void setLooping(bool looping)
    {
        m_looping = looping ? Looping::On : Looping::Off;
        m_stage->setLooping(m_looping);
    }
    void advance()
    {
        m_stage->advance();
        runWork();
    }
    void gotoFrame(int64_t frame)
    {
        const int64_t last = int64_t(frameCount()) - 1;
        if (last >= 0)
            m_stage->gotoFrame(m_stage->root(), uint32_t(std::clamp<int64_t>(frame, 0, last)));
        runWork();
    }
    void play() { Stage::play(m_stage->root()); }
    void stop() { Stage::stop(m_stage->root()); }
    [[nodiscard]] bool isPlaying() const { return m_stage->root().clip->playing; }
    [[nodiscard]] uint32_t currentFrame() const { return m_stage->root().clip->currentFrame; }
    [[nodiscard]] uint32_t frameCount() const { return m_stage->root().clip->frameCount(); }
    [[nodiscard]] const DisplayList& displayList() const { return m_stage->displayList(); }
    [[nodiscard]] Stage& stage() { return *m_stage; }

private:
    void runWork()
    {
        m_stage->runPendingWork(m_scripts);
        m_stage->finishRemovals(m_scripts);
    }

    std::shared_ptr<const Movie> m_movie;
    std::unique_ptr<Stage> m_stage;
    FrameControlScripts m_scripts;
    Looping m_looping = Looping::On;
};

// Depth, character, position and sprite state of everything on stage, nested
// (what a button shows follows a 'b').
inline void describe(const DisplayList& list, std::ostringstream& out)
{
    for (const auto& [depth, object] : list.objects()) {
        out << '[' << depth << ':' << object->characterId << " x" << object->matrix.tx;
        if (object->clip) {
            out << " f" << object->clip->currentFrame << (object->clip->playing ? "" : " stopped");
            if (object->clip->children)
                describe(*object->clip->children, out);
        }
        if (object->buttonChildren) {
            out << " b";
            describe(*object->buttonChildren, out);
        }
        out << ']';
    }
}

// Only what a timeline itself placed: depth, character and position.
inline std::string describePlacements(const DisplayList& list)
{
    std::ostringstream out;
    for (const auto& [depth, object] : list.objects())
        out << '[' << depth << ':' << object->characterId << " x" << object->matrix.tx << ']';
    return out.str();
}

inline std::string describe(const DisplayList& list)
{
    std::ostringstream out;
    describe(list, out);
    return out.str();
}

} // namespace flash::test
