// Walks an FLV file's tag headers through a small forward window, so that indexing
// reads headers (and the first byte of video payloads) rather than whole payloads.
#include "flash/media/FlvFile.h"

#include <algorithm>
#include <array>

namespace flash::media {

namespace {

constexpr size_t kHeaderBytes = 9;     // "FLV", version, flags, header size
constexpr size_t kTagHeaderBytes = 11; // type, size, timestamp and its extension, stream id
constexpr size_t kTrailerBytes = 4;    // the size of the tag before, after each tag
constexpr size_t kWindowBytes = 4096;

uint32_t be(std::span<const uint8_t> bytes)
{
    uint32_t v = 0;
    for (uint8_t b : bytes)
        v = v << 8 | b;
    return v;
}

// Reads a file forwards through a window: small tags one after another cost one read
// together, and a large payload is stepped over by a seek.
class Window {
public:
    Window(std::ifstream& file, uint64_t fileSize) : m_file(file), m_fileSize(fileSize) {}

    // The `n` bytes (n <= kWindowBytes) at `at`, or empty when they cannot be read.
    std::span<const uint8_t> bytes(uint64_t at, size_t n)
    {
        if (at < m_start || at + n > m_start + m_filled) {
            if (at > m_fileSize || n > m_fileSize - at)
                return {};
            m_file.clear();
            m_file.seekg(std::streamoff(at));
            m_file.read(reinterpret_cast<char*>(m_buffer.data()), std::streamsize(std::min<uint64_t>(kWindowBytes, m_fileSize - at)));
            m_start = at;
            m_filled = size_t(std::max<std::streamsize>(m_file.gcount(), 0));
            if (n > m_filled)
                return {};
        }
        return std::span<const uint8_t>(m_buffer).subspan(size_t(at - m_start), n);
    }

private:
    std::ifstream& m_file;
    uint64_t m_fileSize;
    std::array<uint8_t, kWindowBytes> m_buffer{};
    uint64_t m_start = 0;
    size_t m_filled = 0;
};

} // namespace

std::unique_ptr<FlvFile> FlvFile::open(const std::filesystem::path& path)
{
    std::unique_ptr<FlvFile> flv(new FlvFile);
    flv->m_file.open(path, std::ios::binary);
    if (!flv->m_file)
        return nullptr;
    flv->m_file.seekg(0, std::ios::end);
    const std::streamoff end = flv->m_file.tellg();
    if (end < std::streamoff(kHeaderBytes))
        return nullptr;
    flv->m_fileSize = uint64_t(end);

    std::array<uint8_t, kHeaderBytes> header{};
    flv->m_file.seekg(0);
    if (!flv->m_file.read(reinterpret_cast<char*>(header.data()), header.size()))
        return nullptr;
    if (header[0] != 'F' || header[1] != 'L' || header[2] != 'V')
        return nullptr;
    flv->m_declaresAudio = header[4] & 0x04;
    flv->m_declaresVideo = header[4] & 0x01;
    // The header's own size (9 in every version there is); the first "size of the tag before" follows.
    const uint64_t headerSize = std::max<uint64_t>(be(std::span(header).subspan(5, 4)), kHeaderBytes);
    flv->index(headerSize + kTrailerBytes);
    return flv;
}

void FlvFile::index(uint64_t at)
{
    Window window(m_file, m_fileSize);
    for (size_t walked = 0; walked < kFlvMaxTags; ++walked) {
        const auto header = window.bytes(at, kTagHeaderBytes);
        if (header.empty())
            break;
        const bool reservedBits = header[0] & 0xc0, filtered = header[0] & 0x20;
        const uint8_t type = header[0] & 0x1f;
        const uint32_t size = be(header.subspan(1, 3));
        const uint32_t timestamp = be(header.subspan(4, 3)) | uint32_t(header[7]) << 24;
        const uint32_t streamId = be(header.subspan(8, 3));
        const uint64_t payload = at + kTagHeaderBytes;
        if (reservedBits || streamId != 0 || size > m_fileSize - payload)
            break;
        if (!filtered && (type == 8 || type == 9 || type == 18)) {
            FlvTag tag{.kind = FlvTag::Kind(type), .timestampMs = timestamp, .offset = payload, .size = size};
            if (tag.kind == FlvTag::Kind::Video && size > 0) {
                const auto first = window.bytes(payload, 1);
                if (first.empty())
                    break;
                tag.keyFrame = first[0] >> 4 == 1;
            }
            m_tags.push_back(tag);
        }
        at = payload + size + kTrailerBytes;
    }
}

std::vector<uint8_t> FlvFile::payload(const FlvTag& tag)
{
    if (tag.offset > m_fileSize || tag.size > m_fileSize - tag.offset)
        return {};
    std::vector<uint8_t> bytes(tag.size);
    m_file.clear();
    if (!m_file.seekg(std::streamoff(tag.offset)) || !m_file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
        return {};
    return bytes;
}

std::optional<std::pair<std::string, std::vector<AmfValue>>> readScriptTag(std::span<const uint8_t> payload)
{
    auto values = readAmf0Values(payload);
    if (values.empty() || values.front().type != AmfValue::Type::String)
        return std::nullopt;
    std::string name = std::move(values.front().string);
    values.erase(values.begin());
    return std::pair(std::move(name), std::move(values));
}

} // namespace flash::media
