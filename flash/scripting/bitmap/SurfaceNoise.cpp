#include "flash/scripting/bitmap/SurfaceNoise.h"

#include "flash/scripting/bitmap/PixelValues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace flash {
namespace {

// The minimal standard generator (Park and Miller): small, fast and the same on every machine.
class SeededRandom {
public:
    explicit SeededRandom(int32_t seed)
        : m_state(uint32_t(std::llabs(int64_t(seed)) % kModulus))
    {
        if (m_state == 0)
            m_state = 1;
    }
    uint32_t next()
    {
        m_state = uint32_t(uint64_t(m_state) * 16807 % kModulus);
        return m_state;
    }

private:
    static constexpr uint32_t kModulus = 2147483647;
    uint32_t m_state;
};

constexpr std::array<unsigned, 3> kColourChannels{kRedChannel, kGreenChannel, kBlueChannel};

// Straight colour from channel values, the unnamed colour channels 0 and an unnamed alpha opaque.
uint32_t composed(const std::array<uint32_t, 4>& values, unsigned channels, bool grayScale)
{
    uint32_t argb = channels & kAlphaChannel ? values[3] << 24 : 0xFF000000u;
    for (size_t i = 0; i < kColourChannels.size(); ++i) {
        if (grayScale || channels & kColourChannels[i])
            argb |= values[grayScale ? 0 : i] << channelShift(kColourChannels[i]);
    }
    return argb;
}

// ---- Gradient noise ----

uint32_t latticeHash(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// The eight gradient directions of the lattice, picked by a corner's hash.
struct Gradient {
    double x = 0, y = 0;

    [[nodiscard]] double dot(double dx, double dy) const { return x * dx + y * dy; }
};

Gradient gradientOf(uint32_t hash)
{
    static constexpr std::array<Gradient, 8> kGradients{
        {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
    return kGradients[hash & 7];
}

double fade(double t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

// A lattice cell index, wrapped by `period` cells when it is given (stitching).
uint32_t cell(double index, int64_t period)
{
    auto i = int64_t(std::fmod(index, 4294967296.0));
    if (period > 0)
        i = ((i % period) + period) % period;
    return uint32_t(i);
}

struct Octave {
    double frequencyX = 0, frequencyY = 0;
    double offsetX = 0, offsetY = 0;
    int64_t periodX = 0, periodY = 0; // 0: no stitching
    double amplitude = 1;
};

// One octave of one channel along a row of pixels, added into `sums`. The
// lattice corners are looked up once per cell, not once per pixel.
void addOctaveRow(const Octave& o, uint32_t seed, int y, bool fractal, std::span<double> sums)
{
    const double py = (y + o.offsetY) * o.frequencyY;
    if (!std::isfinite(py))
        return;
    const double fy = std::floor(py), ty = py - fy, v = fade(ty);
    const uint32_t y0 = cell(fy, o.periodY), y1 = cell(fy + 1, o.periodY);
    double cachedCell = std::nan("");
    Gradient g00, g10, g01, g11;
    for (size_t x = 0; x < sums.size(); ++x) {
        const double px = (double(x) + o.offsetX) * o.frequencyX;
        if (!std::isfinite(px))
            return;
        const double fx = std::floor(px), tx = px - fx;
        if (fx != cachedCell) {
            cachedCell = fx;
            const uint32_t x0 = cell(fx, o.periodX), x1 = cell(fx + 1, o.periodX);
            g00 = gradientOf(latticeHash(x0, y0, seed));
            g10 = gradientOf(latticeHash(x1, y0, seed));
            g01 = gradientOf(latticeHash(x0, y1, seed));
            g11 = gradientOf(latticeHash(x1, y1, seed));
        }
        const double n00 = g00.dot(tx, ty), n10 = g10.dot(tx - 1, ty);
        const double n01 = g01.dot(tx, ty - 1), n11 = g11.dot(tx - 1, ty - 1);
        const double u = fade(tx);
        const double top = n00 + u * (n10 - n00), bottom = n01 + u * (n11 - n01);
        const double n = top + v * (bottom - top);
        sums[x] += (fractal ? n : std::abs(n)) * o.amplitude;
    }
}

// Cells per pixel for a base size; a base that is not a positive number gives a flat axis.
double frequencyOf(double base)
{
    constexpr double kMaxFrequency = 1 << 20;
    return std::isfinite(base) && base > 0 ? std::min(1 / base, kMaxFrequency) : 0;
}

std::vector<Octave> octavesOf(const BitmapSurface& surface, const PerlinSettings& s)
{
    std::vector<Octave> octaves(size_t(std::clamp(s.octaves, 0, kMaxPerlinOctaves)));
    double scale = 1, amplitude = 1;
    for (size_t k = 0; k < octaves.size(); ++k) {
        Octave& o = octaves[k];
        o.frequencyX = frequencyOf(s.baseX) * scale;
        o.frequencyY = frequencyOf(s.baseY) * scale;
        if (s.stitch) {
            // Whole cells across the surface, so that its edges meet.
            o.periodX = std::max<int64_t>(1, std::llround(surface.width * o.frequencyX));
            o.periodY = std::max<int64_t>(1, std::llround(surface.height * o.frequencyY));
            o.frequencyX = double(o.periodX) / surface.width;
            o.frequencyY = double(o.periodY) / surface.height;
        }
        if (k < s.offsets.size()) {
            o.offsetX = s.offsets[k].x;
            o.offsetY = s.offsets[k].y;
        }
        o.amplitude = amplitude;
        scale *= 2;
        amplitude /= 2;
    }
    return octaves;
}

} // namespace

void noise(BitmapSurface& surface, int32_t seed, int low, int high, unsigned channels, bool grayScale)
{
    if (surface.isEmpty())
        return;
    low = std::clamp(low, 0, 255);
    high = std::clamp(high, 0, 255);
    if (low > high)
        std::swap(low, high);
    const uint32_t span = uint32_t(high - low + 1);
    SeededRandom random(seed);
    auto draw = [&] { return uint32_t(low) + random.next() % span; };
    for (uint32_t& pixel : surface.pixels) {
        std::array<uint32_t, 4> values{};
        for (size_t i = 0; i < kColourChannels.size(); ++i) {
            if (grayScale ? i == 0 : (channels & kColourChannels[i]) != 0)
                values[i] = draw();
        }
        if (channels & kAlphaChannel)
            values[3] = draw();
        pixel = storedColor(surface, composed(values, channels, grayScale));
    }
    surface.changed();
}

void perlinNoise(BitmapSurface& surface, const PerlinSettings& settings)
{
    if (surface.isEmpty())
        return;
    const std::vector<Octave> octaves = octavesOf(surface, settings);
    double totalAmplitude = 0;
    for (const Octave& o : octaves)
        totalAmplitude += o.amplitude;
    // Which of the four values (red, green, blue, alpha) are computed; grey scale computes one colour.
    std::array<bool, 4> wanted{};
    for (size_t i = 0; i < kColourChannels.size(); ++i)
        wanted[i] = settings.grayScale ? i == 0 : (settings.channels & kColourChannels[i]) != 0;
    wanted[3] = (settings.channels & kAlphaChannel) != 0;
    const uint32_t seed = uint32_t(settings.seed);
    std::array<std::vector<double>, 4> sums;
    for (auto& row : sums)
        row.resize(size_t(surface.width));
    for (int y = 0; y < surface.height; ++y) {
        for (size_t channel = 0; channel < sums.size(); ++channel) {
            std::fill(sums[channel].begin(), sums[channel].end(), 0.0);
            if (!wanted[channel])
                continue;
            for (size_t k = 0; k < octaves.size(); ++k) {
                const uint32_t octaveSeed = seed + uint32_t(channel) * 0x9E3779B9u + uint32_t(k) * 0x632BE5ABu;
                addOctaveRow(octaves[k], octaveSeed, y, settings.fractal, sums[channel]);
            }
        }
        uint32_t* row = surface.row(y);
        for (int x = 0; x < surface.width; ++x) {
            std::array<uint32_t, 4> values{};
            for (size_t channel = 0; channel < values.size(); ++channel) {
                if (!wanted[channel] || totalAmplitude == 0)
                    continue;
                const double level = sums[channel][size_t(x)] / totalAmplitude; // -1..1 fractal, 0..1 turbulence
                const double value = settings.fractal ? (level + 1) * 127.5 : level * 255;
                values[channel] = uint32_t(std::clamp(value, 0.0, 255.0));
            }
            row[x] = storedColor(surface, composed(values, settings.channels, settings.grayScale));
        }
    }
    surface.changed();
}

} // namespace flash
