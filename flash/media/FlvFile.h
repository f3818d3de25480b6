// A local FLV file: its tags indexed when it opens, their payloads read on demand.
// Audio and video payloads stay as stored (codec byte first); nothing is decoded here.
#pragma once

#include "flash/media/Amf0.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace flash::media {

struct FlvTag {
    enum class Kind : uint8_t { Audio = 8, Video = 9, Script = 18 };
    Kind kind = Kind::Audio;
    uint32_t timestampMs = 0; // with the extended byte
    uint64_t offset = 0;      // of the payload in the file
    uint32_t size = 0;        // payload bytes
    bool keyFrame = false;    // video tags whose frame type is 1 (key frame)

    friend bool operator==(const FlvTag&, const FlvTag&) = default;
};

// At most this many tag headers are walked when a file opens; the rest go unindexed.
inline constexpr size_t kFlvMaxTags = 10'000'000;

// Not safe to use from two threads at once (payload() moves the file position).
class FlvFile {
public:
    // Null when the file cannot be opened or does not start with an FLV header.
    [[nodiscard]] static std::unique_ptr<FlvFile> open(const std::filesystem::path& path);

    // The header's flags.
    [[nodiscard]] bool declaresAudio() const { return m_declaresAudio; }
    [[nodiscard]] bool declaresVideo() const { return m_declaresVideo; }

    // Every complete audio, video and script tag, in file order. The index ends before
    // a tag that runs past the end of the file and before a header that is garbage
    // (reserved bits or a stream id set). Tags of other types and encrypted (filtered)
    // tags are walked past and left out.
    [[nodiscard]] const std::vector<FlvTag>& tags() const { return m_tags; }
    [[nodiscard]] uint64_t fileSize() const { return m_fileSize; }

    // The payload of a tag, read from the file now (empty if the file can no longer be read).
    [[nodiscard]] std::vector<uint8_t> payload(const FlvTag& tag);

private:
    FlvFile() = default;
    void index(uint64_t firstTag);

    std::ifstream m_file;
    uint64_t m_fileSize = 0;
    bool m_declaresAudio = false, m_declaresVideo = false;
    std::vector<FlvTag> m_tags;
};

// A script tag's handler name ("onMetaData", "onCuePoint", ...: its first value, a
// String) and the values after it as arguments; nothing when it does not start with a name.
[[nodiscard]] std::optional<std::pair<std::string, std::vector<AmfValue>>> readScriptTag(std::span<const uint8_t> payload);

} // namespace flash::media
