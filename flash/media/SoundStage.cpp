// Event sounds are decoded on first use and kept; streams are decoded a block at a time.
#include "flash/media/SoundStage.h"

#include <algorithm>

namespace flash::media {

SoundStage::SoundStage(std::shared_ptr<const Movie> movie)
    : m_movie(std::move(movie))
{
}

std::shared_ptr<const Pcm> SoundStage::sound(uint16_t id, const std::shared_ptr<const Movie>& from)
{
    const std::shared_ptr<const Movie>& movie = from ? from : m_movie;
    const std::pair<const Movie*, uint16_t> key{movie.get(), id};
    if (auto found = m_sounds.find(key); found != m_sounds.end())
        return found->second;
    if (std::find(m_movies.begin(), m_movies.end(), movie) == m_movies.end())
        m_movies.push_back(movie);
    std::shared_ptr<const Pcm> decoded;
    if (const auto def = movie->find<SoundDef>(id)) {
        const SoundFormat format{def->format, def->rate, def->is16Bit, def->stereo};
        decoded = std::make_shared<const Pcm>(decodeSound(format, def->data, def->sampleCount));
    }
    m_sounds.emplace(key, decoded);
    return decoded;
}

void SoundStage::handleCues(Stage& stage, Mixer& mixer)
{
    for (const Stage::SoundCue& cue : stage.takeSoundCues()) {
        if (cue.start) {
            // A movie loaded into a clip starts its own sounds.
            const DisplayObject* clip = stage.find(cue.clip);
            const auto& movie = clip ? stage.sharedMovieOf(*clip) : stage.sharedMovie();
            mixer.startSound(cue.start->soundId, sound(cue.start->soundId, movie), parseSoundInfo(cue.start->info),
                             {cue.clip.id, 0});
        }
        else
            feedStream(stage, cue, mixer);
    }
}

void SoundStage::feedStream(Stage& stage, const Stage::SoundCue& cue, Mixer& mixer)
{
    const DisplayObject* clip = stage.find(cue.clip);
    if (!clip || !clip->clip || !clip->clip->timeline || !clip->clip->timeline->soundStream)
        return;
    const Timeline& timeline = *clip->clip->timeline;
    if (cue.frame >= timeline.frames.size())
        return;
    StreamState& state = m_streams[cue.clip.id];
    // A jump starts the stream again: its decoder and what it had queued go.
    if (state.decoder && cue.frame != state.lastFrame + 1) {
        state.decoder.reset();
        mixer.stopStream(cue.clip.id);
    }
    auto entry = StreamDecoder::StreamEntry::FromStart;
    if (!state.decoder) {
        state.decoder = std::make_unique<StreamDecoder>(*timeline.soundStream);
        const auto first = std::find_if(timeline.frames.begin(), timeline.frames.end(),
                                        [](const Frame& frame) { return !frame.soundBlock.empty(); });
        if (first != timeline.frames.end() && size_t(first - timeline.frames.begin()) < cue.frame)
            entry = StreamDecoder::StreamEntry::AtLaterFrame;
    }
    state.lastFrame = cue.frame;
    mixer.queueStream(cue.clip.id, state.decoder->decodeBlock(timeline.frames[cue.frame].soundBlock, entry));
}

void SoundStage::checkStreams(Stage& stage, Mixer& mixer)
{
    for (auto it = m_streams.begin(); it != m_streams.end();) {
        const DisplayObject* clip = stage.find(ObjectHandle{it->first});
        const bool goesOn = clip && clip->clip && clip->clip->playing && !clip->removed
                            && clip->clip->currentFrame == it->second.lastFrame;
        if (goesOn) {
            ++it;
            continue;
        }
        mixer.stopStream(it->first);
        it = m_streams.erase(it);
    }
}

} // namespace flash::media
