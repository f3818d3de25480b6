// flashtool audio FILE --out OUT.wav [--ticks N]: the mixed sound of N ticks
// (default: the main timeline once) as 44.1 kHz stereo 16-bit WAV, made
// headless and as fast as it goes: each tick mixes one frame interval.
#include "Commands.h"

#include "flash/player/FrameClock.h"
#include "flash/player/Player.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace flashtool {

namespace {

constexpr int kRate = 44100;

void putLittleEndian(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

QByteArray wavFile(const std::vector<int16_t>& samples)
{
    const uint32_t dataBytes = uint32_t(samples.size() * sizeof(int16_t));
    QByteArray out;
    out.append("RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, 2, 2); // stereo
    putLittleEndian(out, kRate, 4);
    putLittleEndian(out, kRate * 4, 4);
    putLittleEndian(out, 4, 2);
    putLittleEndian(out, 16, 2);
    out.append("data");
    putLittleEndian(out, dataBytes, 4);
    for (int16_t s : samples)
        putLittleEndian(out, uint16_t(s), 2);
    return out;
}

} // namespace

int runAudio(const CommandLine& line)
{
    if (line.out.isEmpty()) {
        printError(QStringLiteral("audio needs --out FILE.wav"));
        return 2;
    }
    flash::PlayerSettings settings;
    settings.scriptClock = flash::ScriptClock::Ticks;
    settings.scriptOutput.trace = [](std::string_view) {};
    flash::Player player(settings);
    if (!player.loadFile(line.file.toStdString())) {
        printError(line.file + QStringLiteral(": ") + QString::fromStdString(player.loadError()));
        return 1;
    }
    const double frameRate = flash::FrameClock::sanitizedRate(player.movie()->header.frameRate);
    const int ticks = line.ticks.value_or(std::max(player.totalFrames(), 1));
    std::vector<int16_t> samples;
    for (int tick = 0; tick < ticks && player.hasMovie(); ++tick) {
        player.tick();
        // A stream sets the pace of its frames: a tick lasts what its block holds.
        // Otherwise each tick is one frame interval.
        const auto streamed = player.streamBacklog();
        const size_t frames = streamed && *streamed > 0
                                  ? *streamed
                                  : size_t(std::floor((tick + 1) * kRate / frameRate) - std::floor(tick * kRate / frameRate));
        const size_t before = samples.size();
        samples.resize(before + frames * 2);
        player.mixAudio(samples.data() + before, frames);
    }
    QFile file(line.out);
    if (!file.open(QIODevice::WriteOnly) || file.write(wavFile(samples)) < 0) {
        printError(line.out + QStringLiteral(": cannot be written"));
        return 1;
    }
    return 0;
}

} // namespace flashtool
