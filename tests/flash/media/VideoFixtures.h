// Video made by ffmpeg at test time, its own decode as reference, and movies holding video.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace flash::test {

// Whether ffmpeg is on the path; tests that need it skip without it.
[[nodiscard]] bool hasFfmpeg();
// Runs ffmpeg quietly with `arguments`; true when it succeeds.
bool runFfmpeg(const QStringList& arguments);

// ffmpeg's decode of every frame of `path` as opaque images of `width` x `height`.
[[nodiscard]] std::vector<QImage> referenceFrames(const QString& path, int width, int height);

// The video payloads of an FLV file, in order (the codec byte before each removed).
[[nodiscard]] std::vector<std::vector<uint8_t>> flvVideoPayloads(const QString& path);

// Bodies of DefineVideoStream and VideoFrame.
[[nodiscard]] std::vector<uint8_t> videoStreamBody(uint16_t id, uint16_t frameCount, int width, int height, uint8_t codec);
[[nodiscard]] std::vector<uint8_t> videoFrameBody(uint16_t id, uint16_t frame, std::span<const uint8_t> payload);

// A movie of `width` x `height` pixels at the stream's size, showing frame n of the stream on frame n.
[[nodiscard]] std::vector<uint8_t> videoMovie(uint8_t codec, int width, int height,
                                              const std::vector<std::vector<uint8_t>>& payloads);

// Largest and mean difference of any colour channel between two images of one size.
struct PixelDifference {
    int largest = 255;
    double mean = 255;
};
[[nodiscard]] PixelDifference difference(const QImage& a, const QImage& b);

} // namespace flash::test
