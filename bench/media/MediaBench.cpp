// Prints what sound costs and how closely pictures keep to it: the share of
// one core that mixing 32 event sounds takes, and the largest distance, in
// frames, between the timeline and the sound clock over a ten-minute stream
// played as the control plays it (the device pulling, the stream pacing frames),
// and what decoding VP6 costs, measured on the corpus movies that hold it.
#include "flash/media/Mixer.h"
#include "flash/media/VideoStream.h"
#include "flash/parse/MovieLoader.h"
#include "flash/player/Player.h"

#include "SwfWriter.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

void benchMixing()
{
    auto pcm = std::make_shared<flash::media::Pcm>();
    pcm->samples.resize(size_t(flash::media::kMixRate) * 10 * 2);
    for (size_t i = 0; i < pcm->samples.size(); ++i)
        pcm->samples[i] = int16_t((i * 37) % 2000 - 1000);
    flash::media::Mixer mixer;
    for (uint32_t i = 0; i < flash::media::Mixer::kMaxVoices; ++i) {
        flash::media::SoundInfo info;
        if (i % 2)
            info.envelope = {{0, 32768, 0}, {441000, 0, 32768}};
        mixer.startSound(i + 1, pcm, info);
    }
    std::vector<int16_t> out(1024 * 2);
    const size_t total = size_t(flash::media::kMixRate) * 10;
    const auto start = Clock::now();
    for (size_t done = 0; done < total; done += 1024)
        mixer.mix(out.data(), 1024);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("mixing 32 sounds:  %.2f %% of one core (10 s of sound in %.0f ms)\n", seconds / 10 * 100, seconds * 1000);
}

// A ten-minute movie of 12 fps streaming 11 kHz mono, each frame's block as long as its share of the sound.
std::vector<uint8_t> longStreamMovie(int frames)
{
    swfw::SwfWriter w(8, 100, 100, 12);
    const std::vector<uint8_t> head{0x06, 0x36, 0x96, 0x03}; // 11 kHz 16-bit mono, uncompressed; 918 a block
    w.timeline().appendTag(18, head);
    for (int frame = 0; frame < frames; ++frame) {
        const int samples = int(std::floor((frame + 1) * 11025.0 / 12) - std::floor(frame * 11025.0 / 12));
        std::vector<uint8_t> block(size_t(samples) * 2, 0);
        w.timeline().appendTag(19, block);
        w.showFrame();
    }
    return w.finish();
}

void benchStreamSync()
{
    constexpr int kFrames = 12 * 600;
    flash::Player player;
    if (!player.loadBytes(longStreamMovie(kFrames)))
        return;
    player.settle();
    std::vector<int16_t> out(512 * 2);
    double worst = 0;
    uint64_t mixed = 0;
    while (player.currentFrame() < kFrames - 1 && mixed < uint64_t(flash::media::kMixRate) * 620) {
        player.mixAudio(out.data(), 512); // the device pulls
        mixed += 512;
        (void)player.advanceDueFrames();   // the control's timer
        const double soundFrame = double(mixed) / flash::media::kMixRate * 12;
        worst = std::max(worst, std::abs(soundFrame - player.currentFrame()));
    }
    std::printf("stream sync:       %.2f frames at most between picture and sound over %d frames\n", worst, kFrames);
}

// From loading a movie whose first frame starts a sound to that sound in the
// mix; the output device adds at most its buffer (2048 frames, 46 ms).
void benchStartLatency()
{
    swfw::SwfWriter w(8, 100, 100, 12);
    std::vector<uint8_t> sound{0x01, 0x00, 0x3e}; // id 1: uncompressed, 44 kHz, 16-bit mono
    const uint32_t samples = 44100;
    for (int i = 0; i < 4; ++i)
        sound.push_back(uint8_t(samples >> (8 * i)));
    for (uint32_t i = 0; i < samples; ++i) {
        sound.push_back(0x10);
        sound.push_back(0x27);
    }
    w.timeline().appendTag(14, sound);
    w.timeline().appendTag(15, std::vector<uint8_t>{0x01, 0x00, 0x00}); // StartSound 1
    w.showFrame();
    const std::vector<uint8_t> bytes = w.finish();
    const auto start = Clock::now();
    flash::Player player;
    if (!player.loadBytes(bytes))
        return;
    player.settle();
    std::vector<int16_t> out(256 * 2);
    player.mixAudio(out.data(), 256);
    const double ms = std::chrono::duration<double>(Clock::now() - start).count() * 1000;
    std::printf("sound start:       %.2f ms from loading to the first sound in the mix (%s), plus the device buffer of 46 ms\n",
                ms, out[0] != 0 ? "sounding" : "silent!");
}

// Every VP6 stream of the corpus decoded frame by frame; the cost per pixel is
// scaled to 320 x 240 at 30 fps.
void benchVp6()
{
    const std::filesystem::path corpus = std::filesystem::path(VF_CORPUS_DIR) / "files";
    std::error_code error;
    if (!std::filesystem::is_directory(corpus, error)) {
        std::printf("vp6 decoding:      skipped (no corpus)\n");
        return;
    }
    double seconds = 0, pixels = 0;
    size_t frames = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus, error)) {
        if (entry.path().extension() != ".swf")
            continue;
        const auto movie = flash::loadMovieFile(entry.path().string());
        if (!movie || !*movie)
            continue;
        for (const auto& [id, character] : (*movie)->dictionary) {
            const auto* video = std::get_if<std::shared_ptr<const flash::VideoDef>>(&character);
            if (!video || !*video || (*video)->codec != uint8_t(flash::VideoCodec::Vp6) || (*video)->frames.empty())
                continue;
            flash::VideoStream stream(*video);
            const auto start = Clock::now();
            for (const auto& [frame, payload] : (*video)->frames) {
                const flash::VideoPicture picture = stream.picture(frame);
                pixels += double(picture.width) * picture.height;
                ++frames;
            }
            seconds += std::chrono::duration<double>(Clock::now() - start).count();
        }
    }
    if (frames == 0 || pixels == 0) {
        std::printf("vp6 decoding:      skipped (no VP6 in the corpus)\n");
        return;
    }
    const double perPixel = seconds / pixels;
    std::printf("vp6 decoding:      %.1f %% of one core at 320x240, 30 fps (%zu frames, %.2f ms a frame of %.0f pixels)\n",
                perPixel * 320 * 240 * 30 * 100, frames, seconds / double(frames) * 1000, pixels / double(frames));
}

} // namespace

int main()
{
    benchMixing();
    benchStreamSync();
    benchStartLatency();
    benchVp6();
    return 0;
}
