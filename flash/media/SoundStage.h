// What the frames of the stage ask of the sound: event sounds started and
// stopped by StartSound, and each timeline's stream fed block by block. A
// stream stops when its timeline stops, leaves the stage, or jumps; playing on
// from elsewhere starts it again from that frame's block.
#pragma once

#include "flash/media/Mixer.h"
#include "flash/media/SoundDecoder.h"
#include "flash/stage/Stage.h"

#include <map>
#include <memory>
#include <vector>

namespace flash::media {

class SoundStage {
public:
    explicit SoundStage(std::shared_ptr<const Movie> movie);

    // Plays what the frames entered since the last call start.
    void handleCues(Stage& stage, Mixer& mixer);
    // Stops the streams whose timelines stopped, left the stage, or are not on their next frame.
    void checkStreams(Stage& stage, Mixer& mixer);
    // The decoded sound `id` of `movie` (the main movie without one), decoded
    // once; null when the movie has no such sound.
    [[nodiscard]] std::shared_ptr<const Pcm> sound(uint16_t id, const std::shared_ptr<const Movie>& movie = nullptr);

private:
    struct StreamState {
        std::unique_ptr<StreamDecoder> decoder;
        uint32_t lastFrame = 0;
    };
    void feedStream(Stage& stage, const Stage::SoundCue& cue, Mixer& mixer);

    std::shared_ptr<const Movie> m_movie;
    std::map<std::pair<const Movie*, uint16_t>, std::shared_ptr<const Pcm>> m_sounds;
    std::vector<std::shared_ptr<const Movie>> m_movies; // the movies keyed above, kept alive
    std::map<uint64_t, StreamState> m_streams; // by clip identity
};

} // namespace flash::media
