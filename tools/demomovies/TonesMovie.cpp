// "demo-tones.swf": six xylophone bars play "Twinkle, Twinkle, Little Star" as
// a sound stream, one block of samples a frame, so each bar lights and pulses
// on the frame its note starts. A score strip below marks the notes as they
// play, and a bell chord (an event sound) rings at the end before the movie
// loops.
#include "BlockFont.h"
#include "DemoMovies.h"
#include "SwfWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace demo {

using namespace swfw;

namespace {

constexpr double kWidth = 480, kHeight = 320;
constexpr int kFps = 12;
constexpr int kRate = 22050;
constexpr int kFramesPerBeat = 4;
constexpr int kLeadInFrames = 6; // the bars show for half a second before the first note
constexpr int kChimeFrames = 18; // the chime rings out before the movie loops

// Sound tags the writer has no helpers for.
namespace soundTag {
constexpr uint16_t DefineSound = 14, StartSound = 15, SoundStreamBlock = 19, SoundStreamHead2 = 45;
}
// Uncompressed little-endian samples (codec 3), 22 kHz, 16-bit, mono, as the format byte stores them.
constexpr uint8_t kSoundFormat = 3 << 4 | 2 << 2 | 1 << 1;
// The writer numbers characters from 1 up; the chime takes an id far above them.
constexpr uint16_t kChimeId = 1000;

struct Key {
    double semitones; // above C5
    uint32_t color;
    double barHeight;
};
constexpr std::array kKeys{Key{0, 0xef476f, 170}, Key{2, 0xf78c6b, 160}, Key{4, 0xffd166, 150},
                           Key{5, 0x06d6a0, 140}, Key{7, 0x4cc9f0, 130}, Key{9, 0x9b5de5, 120}};
enum KeyName { C, D, E, F, G, A };

struct Note {
    int key;
    int beats;
};
constexpr Note kTune[] = {{C, 1}, {C, 1}, {G, 1}, {G, 1}, {A, 1}, {A, 1}, {G, 2},
                          {F, 1}, {F, 1}, {E, 1}, {E, 1}, {D, 1}, {D, 1}, {C, 2}};
constexpr int kNotes = int(std::size(kTune));

constexpr int beatsBefore(int note)
{
    int beats = 0;
    for (int n = 0; n < note; ++n)
        beats += kTune[n].beats;
    return beats;
}
// The frame note `note` starts on; kNotes gives the frame after the tune, where the chime starts.
constexpr int onsetFrame(int note) { return kLeadInFrames + kFramesPerBeat * beatsBefore(note); }
constexpr int kChimeFrame = onsetFrame(kNotes);
constexpr int kFrames = kChimeFrame + kChimeFrames;

// The first sample of frame `frame`'s block. The division's remainder is carried,
// so blocks of 1837 and 1838 samples keep the stream at exactly 22050 / 12 a frame.
constexpr size_t blockStart(int frame) { return size_t(frame) * kRate / kFps; }

// ---- Sound -----------------------------------------------------------------

// A tone's colour: partials (their pitch as a ratio to the tone's, and their levels) that die away together.
struct Timbre {
    std::vector<std::pair<double, double>> partials;
    double decaySeconds;
};
const Timbre kBar{{{1, 1}, {2, 0.22}, {3, 0.06}}, 0.45};        // a soft wooden bar
const Timbre kBell{{{1, 1}, {2.76, 0.35}, {5.4, 0.12}}, 0.6};   // a bell's uneven partials ring on

double pitchOf(const Key& key) { return 523.25 * std::exp2(key.semitones / 12); }

// Adds a tone of `length` samples from `start`. It rises over 4 ms and falls to
// silence over its last 12 ms, so neither end clicks and a repeated note is heard again.
void addTone(std::vector<float>& out, size_t start, size_t length, double hz, double level, const Timbre& timbre)
{
    constexpr double kRise = 0.004 * kRate, kFall = 0.012 * kRate;
    for (size_t i = 0; i < length && start + i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double edge = std::min({1.0, double(i) / kRise, double(length - i) / kFall});
        double wave = 0;
        for (const auto& [ratio, amplitude] : timbre.partials)
            wave += amplitude * std::sin(2 * std::numbers::pi * hz * ratio * t);
        out[start + i] += float(level * edge * std::exp(-t / timbre.decaySeconds) * wave);
    }
}

// 16-bit little-endian samples of [begin, end) of `samples`, full scale at 1.
std::vector<uint8_t> pcm16(const std::vector<float>& samples, size_t begin, size_t end)
{
    std::vector<uint8_t> bytes;
    bytes.reserve((end - begin) * 2);
    for (size_t i = begin; i < end; ++i) {
        const auto value = int16_t(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767));
        bytes.push_back(uint8_t(value));
        bytes.push_back(uint8_t(uint16_t(value) >> 8));
    }
    return bytes;
}

// The whole stream: each note from its frame's first sample to the next note's.
std::vector<float> tuneSamples()
{
    std::vector<float> samples(blockStart(kFrames));
    for (int n = 0; n < kNotes; ++n) {
        const size_t start = blockStart(onsetFrame(n));
        addTone(samples, start, blockStart(onsetFrame(n + 1)) - start, pitchOf(kKeys[kTune[n].key]), 0.45, kBar);
    }
    return samples;
}

// A C major bell chord an octave above the tune, 1.5 seconds long.
std::vector<float> chimeSamples()
{
    std::vector<float> samples(size_t(1.5 * kRate));
    for (double hz : {1046.5, 1318.5, 1568.0})
        addTone(samples, 0, samples.size(), hz, 0.2, kBell);
    return samples;
}

void appendLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void defineChime(SwfWriter& w)
{
    const std::vector<float> chime = chimeSamples();
    std::vector<uint8_t> body;
    appendLittleEndian(body, kChimeId, 2);
    body.push_back(kSoundFormat);
    appendLittleEndian(body, uint32_t(chime.size()), 4);
    const std::vector<uint8_t> data = pcm16(chime, 0, chime.size());
    body.insert(body.end(), data.begin(), data.end());
    w.timeline().appendTag(soundTag::DefineSound, body);
}

void streamHead(SwfWriter& w)
{
    std::vector<uint8_t> body{uint8_t(kSoundFormat & 0x0f), kSoundFormat}; // play it as it is stored
    appendLittleEndian(body, uint32_t(std::lround(double(kRate) / kFps)), 2); // the average block
    w.timeline().appendTag(soundTag::SoundStreamHead2, body);
}

// ---- Pictures --------------------------------------------------------------

enum Depth : uint16_t { Backdrop = 1, Title = 2, BarBase = 10, Ring = 20, ScoreBase = 30 };

constexpr double kBarWidth = 52, kBarStep = 66, kBarsCentreY = 148;
constexpr double kBeatPx = 24, kRowPx = 8, kScoreBottom = 300;

double barX(int key) { return (kWidth - 5 * kBarStep) / 2 + key * kBarStep; }
double pinOffset(int key) { return kKeys[key].barHeight / 2 - 16; }
double scoreX(int note) { return (kWidth - beatsBefore(kNotes) * kBeatPx) / 2 + beatsBefore(note) * kBeatPx; }

Color shade(uint32_t hex, double factor)
{
    const Color c = Color::rgb(hex);
    auto scale = [factor](uint8_t v) { return uint8_t(std::clamp(v * factor, 0.0, 255.0)); };
    return {scale(c.r), scale(c.g), scale(c.b), 255};
}

// The key's colour times `level`, brightened by `add`: a white shape takes it on.
ColorTransform tint(int key, double level, int add = 0)
{
    const Color c = Color::rgb(kKeys[key].color);
    return {c.r / 255.0 * level, c.g / 255.0 * level, c.b / 255.0 * level, 1, add, add, add, 0};
}

// A night-blue backdrop with the two slanting rails the bars rest on.
ShapeBuilder backdrop()
{
    Gradient sky{{{0, Color::rgb(0x1b1f3b)}, {255, Color::rgb(0x2d1e4f)}}};
    ShapeBuilder b;
    b.fill(FillStyle::linear(sky, 0, 0, 0, kHeight)).rect(0, 0, kWidth, kHeight).noFill();
    b.lineSolid(7, Color::rgb(0x6b4226));
    // Through the pins of the first and last bars, 40 pixels beyond each.
    const double slope = (pinOffset(A) - pinOffset(C)) / (barX(A) - barX(C));
    for (double side : {-1.0, 1.0})
        b.moveTo(barX(C) - 40, kBarsCentreY + side * (pinOffset(C) - 40 * slope))
            .lineTo(barX(A) + 40, kBarsCentreY + side * (pinOffset(A) + 40 * slope));
    return b;
}

// A bar centred on the origin, lighter at the top, with the pins that hold it.
ShapeBuilder bar(int key)
{
    const double h = kKeys[key].barHeight;
    Gradient g{{{0, shade(kKeys[key].color, 1.25)}, {255, shade(kKeys[key].color, 0.8)}}};
    ShapeBuilder b;
    b.fill(FillStyle::linear(g, 0, -h / 2, 0, h / 2)).rect(-kBarWidth / 2, -h / 2, kBarWidth, h);
    b.fillSolid(Color::rgb(0xd9d9d9)).circle(0, -pinOffset(key), 4).circle(0, pinOffset(key), 4);
    return b;
}

// Which note sounds at `frame`, if any.
std::optional<int> soundingNote(int frame)
{
    for (int n = 0; n < kNotes; ++n)
        if (frame >= onsetFrame(n) && frame < onsetFrame(n + 1))
            return n;
    return std::nullopt;
}

// The bars: the sounding one lit, flashing bright and swelling as its note starts;
// the chime lights them all and lets them fade together.
void showBars(SwfWriter& w, int frame, const std::array<uint16_t, kKeys.size()>& barIds)
{
    const auto note = soundingNote(frame);
    for (int key = 0; key < int(kKeys.size()); ++key) {
        double light = 0, flash = 0;
        if (frame >= kChimeFrame)
            light = flash = std::pow(0.82, frame - kChimeFrame);
        else if (note && kTune[*note].key == key)
            light = 1, flash = std::pow(0.55, frame - onsetFrame(*note));
        const double level = 0.35 + 0.65 * light;
        const int brighten = int(110 * flash);
        Placement p{.depth = uint16_t(BarBase + key),
                    .matrix = Matrix::scaling(1 + 0.08 * flash).then(Matrix::translation(barX(key), kBarsCentreY)),
                    .colorTransform = ColorTransform{level, level, level, 1, brighten, brighten, brighten, 0}};
        if (frame == 0)
            p.characterId = barIds[key];
        else
            p.move = true;
        w.place(p);
    }
}

// A ring that spreads from the struck bar and fades over four frames (from the middle for the chime).
void showRing(SwfWriter& w, int frame, uint16_t ringId)
{
    const auto note = soundingNote(frame);
    double x = kWidth / 2, y = kBarsCentreY, scale = 1, alpha = 0;
    ColorTransform colour{};
    if (frame >= kChimeFrame) {
        const int age = frame - kChimeFrame;
        scale = 1 + 0.35 * age, alpha = std::max(0.0, 1 - age / 10.0);
    } else if (note) {
        const int age = frame - onsetFrame(*note), key = kTune[*note].key;
        x = barX(key), y = kBarsCentreY - kKeys[key].barHeight / 2;
        scale = 0.5 + 0.4 * age, alpha = std::max(0.0, 1 - age / 4.0);
        colour = tint(key, 1, 60);
    }
    colour.aMult = alpha;
    Placement p{.depth = Ring, .matrix = Matrix::scaling(scale).then(Matrix::translation(x, y)), .colorTransform = colour};
    if (frame == 0)
        p.characterId = ringId;
    else
        p.move = true;
    w.place(p);
}

// The score: a mark per note, its length its beats and its height its pitch.
// Marks wait dim, shine while their note sounds, and stay half lit after it.
void placeScore(SwfWriter& w)
{
    std::map<int, uint16_t> markIds; // by length in beats
    for (int n = 0; n < kNotes; ++n) {
        auto [it, made] = markIds.try_emplace(kTune[n].beats, 0);
        if (made)
            it->second = w.defineShape(ShapeBuilder().fillSolid(Color::rgb(0xffffff)).rect(0, -3, kTune[n].beats * kBeatPx - 4, 6));
        w.place(Placement{.depth = uint16_t(ScoreBase + n), .characterId = it->second,
                          .matrix = Matrix::translation(scoreX(n), kScoreBottom - kTune[n].key * kRowPx),
                          .colorTransform = tint(kTune[n].key, 0.3)});
    }
}

void markScore(SwfWriter& w, int frame)
{
    auto recolour = [&w](int n, ColorTransform colour) {
        w.place(Placement{.depth = uint16_t(ScoreBase + n), .colorTransform = colour, .move = true});
    };
    for (int n = 0; n <= kNotes; ++n) {
        if (frame != onsetFrame(n))
            continue;
        if (n > 0)
            recolour(n - 1, tint(kTune[n - 1].key, 0.7));
        if (n < kNotes)
            recolour(n, tint(kTune[n].key, 1, 70));
    }
}

} // namespace

DemoMovie tonesMovie()
{
    SwfWriter w(8, kWidth, kHeight, kFps);
    w.background(Color::rgb(0x1b1f3b));
    defineChime(w);
    streamHead(w);
    const uint16_t backdropId = w.defineShape(backdrop());
    std::array<uint16_t, kKeys.size()> barIds{};
    for (int key = 0; key < int(kKeys.size()); ++key)
        barIds[key] = w.defineShape(bar(key));
    const uint16_t ringId = w.defineShape(ShapeBuilder().lineSolid(3, Color::rgb(0xffffff)).circle(0, 0, 26));
    const uint16_t fontId = w.defineFont(blockFont());
    const uint16_t titleId = w.defineText({TextRun{fontId, 28, Color::rgb(0xf1faee), 197, 44, u"TONES"}});

    w.place(Backdrop, backdropId);
    w.place(Title, titleId);
    placeScore(w);
    const std::vector<float> tune = tuneSamples();
    for (int frame = 0; frame < kFrames; ++frame) {
        showBars(w, frame, barIds);
        showRing(w, frame, ringId);
        markScore(w, frame);
        if (frame == kChimeFrame)
            w.timeline().appendTag(soundTag::StartSound, std::vector<uint8_t>{uint8_t(kChimeId), uint8_t(kChimeId >> 8), 0});
        // Every frame carries its block, silence included: a frame without one would end the stream.
        w.timeline().appendTag(soundTag::SoundStreamBlock, pcm16(tune, blockStart(frame), blockStart(frame + 1)));
        w.showFrame();
    }
    return {"demo-tones.swf", w.finish(Compression::Zlib)};
}

} // namespace demo
