// A local sound file, as a script's Sound.loadSound reads it: MP3 above all, and
// any other audio that libavformat opens (WAV, Ogg, FLAC, AAC, M4A, FLV...), with
// its ID3 tags. Its packets decode through PacketDecoder, as a container's do.
// Broken files give what of them decodes, or nothing; never a failure of the movie.
#pragma once

#include "flash/media/Pcm.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace flash::media {

class SoundFileReader {
public:
    // Null when the file cannot be opened, is of no audio format, or holds no
    // mono or stereo audio stream that the library decodes.
    [[nodiscard]] static std::unique_ptr<SoundFileReader> open(const std::filesystem::path& path);
    ~SoundFileReader();
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    // ID3 tags as a script reads them from Sound.id3: both the long names
    // (songname, artist, album, year, comment, genre, track) and the ID3v2 frame ids
    // (TIT2, TPE1, TALB, TYER, COMM, TCON, TRCK, and others such as TBPM or TCOM)
    // where the file has them. Other containers' tags come under the same names.
    [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& tags() const { return m_tags; }
    // As the container estimates it (for MP3: from its Xing header, or its bit rate).
    [[nodiscard]] std::optional<double> durationMs() const { return m_durationMs; }

    // The next decoded sound, at least `frames` frames (44.1 kHz stereo) unless the
    // file ends first; it may hold a packet's worth more. MP3 comes as its frames
    // hold it, the encoder's delay and padding included.
    [[nodiscard]] Pcm read(size_t frames);
    // Whether the file has no more packets to read.
    [[nodiscard]] bool atEnd() const;

private:
    struct State;
    explicit SoundFileReader(std::unique_ptr<State> state);

    std::unique_ptr<State> m_state;
    std::vector<std::pair<std::string, std::string>> m_tags;
    std::optional<double> m_durationMs;
};

// The longest sound decodeSoundFile returns: 30 minutes (about 320 MB of samples).
inline constexpr size_t kMaxSoundFileFrames = size_t(kMixRate) * 60 * 30;

// The whole file decoded (event sounds), cut at kMaxSoundFileFrames; null when the
// file cannot be opened or nothing of it decodes.
[[nodiscard]] std::optional<Pcm> decodeSoundFile(const std::filesystem::path& path);

} // namespace flash::media
