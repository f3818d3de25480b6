// A marker-level walk over JPEG data that keeps one start marker and one end marker.
#include "flash/render/JpegStream.h"

#include <algorithm>
#include <iterator>

namespace flash {

namespace {

constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA;

bool isStandalone(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Copies `in` into `out` segment by segment, leaving out every start/end
// marker; returns false when the data does not follow the marker structure.
bool copySegments(std::span<const uint8_t> in, std::vector<uint8_t>& out)
{
    size_t pos = 0;
    while (pos < in.size()) {
        if (in[pos] != 0xFF)
            return false;
        if (pos + 1 >= in.size())
            return true; // a lone trailing fill byte
        const uint8_t marker = in[pos + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == kSoi || marker == kEoi) {
            pos += 2;
            continue;
        }
        if (isStandalone(marker)) {
            out.insert(out.end(), in.begin() + pos, in.begin() + pos + 2);
            pos += 2;
            continue;
        }
        if (pos + 4 > in.size())
            return false;
        const size_t length = (size_t(in[pos + 2]) << 8) | in[pos + 3];
        if (length < 2 || pos + 2 + length > in.size())
            return false;
        size_t end = pos + 2 + length;
        if (marker == kSos) {
            // Entropy-coded data runs to the next marker other than a restart
            // marker or a stuffed zero byte.
            while (end < in.size()) {
                if (in[end] == 0xFF && end + 1 < in.size()) {
                    const uint8_t next = in[end + 1];
                    if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7) && next != 0xFF)
                        break;
                }
                ++end;
            }
        }
        out.insert(out.end(), in.begin() + pos, in.begin() + end);
        pos = end;
    }
    return true;
}

} // namespace

std::vector<uint8_t> mergeJpegStreams(std::span<const uint8_t> tables, std::span<const uint8_t> image)
{
    std::vector<uint8_t> out{0xFF, kSoi};
    out.reserve(tables.size() + image.size() + 4);
    if (copySegments(tables, out) && copySegments(image, out)) {
        out.push_back(0xFF);
        out.push_back(kEoi);
        return out;
    }
    std::vector<uint8_t> raw(tables.begin(), tables.end());
    raw.insert(raw.end(), image.begin(), image.end());
    return raw;
}

bool looksLikePng(std::span<const uint8_t> data)
{
    static constexpr uint8_t kSig[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data.size() >= sizeof kSig && std::equal(std::begin(kSig), std::end(kSig), data.begin());
}

bool looksLikeGif(std::span<const uint8_t> data)
{
    return data.size() >= 6 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8';
}

} // namespace flash
