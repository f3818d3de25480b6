// Capped zlib and LZMA decoding into a growing buffer.
#include "flash/io/Decompress.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace flash {
namespace {

// A declared size is trusted for the first allocation only up to this many
// times the compressed size, so a lying header cannot force a huge buffer.
constexpr size_t kMaxTrustedRatio = 64;
constexpr size_t kMinChunk = 64 * 1024;

size_t initialCapacity(size_t inputSize, size_t cap, size_t sizeHint)
{
    size_t guess = sizeHint ? sizeHint : inputSize * 4;
    guess = std::min(guess, inputSize * kMaxTrustedRatio + kMinChunk);
    return std::min(std::max(guess, kMinChunk), cap);
}

// Grows `out` for the next decode step; returns false when the cap is reached.
bool grow(std::vector<uint8_t>& out, size_t used, size_t cap)
{
    if (used < out.size())
        return true;
    if (out.size() >= cap)
        return false;
    const size_t next = std::min(cap, std::max(out.size() * 2, kMinChunk));
    out.resize(next);
    return true;
}

} // namespace

Decompressed inflateZlib(std::span<const uint8_t> input, size_t cap, size_t sizeHint)
{
    Decompressed result;
    auto& out = result.data;
    out.resize(initialCapacity(input.size(), cap, sizeHint));

    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        out.clear();
        result.problem = "zlib could not start";
        return result;
    }
    size_t used = 0;
    size_t consumed = 0;
    int status = Z_OK;
    while (true) {
        if (!grow(out, used, cap)) {
            result.hitCap = true;
            break;
        }
        // zlib counts in uInt; feed at most 1 GiB per step.
        const size_t inChunk = std::min<size_t>(input.size() - consumed, 1u << 30);
        const size_t outChunk = std::min<size_t>(out.size() - used, 1u << 30);
        zs.next_in = const_cast<Bytef*>(input.data() + consumed);
        zs.avail_in = uInt(inChunk);
        zs.next_out = out.data() + used;
        zs.avail_out = uInt(outChunk);
        status = inflate(&zs, Z_NO_FLUSH);
        consumed += inChunk - zs.avail_in;
        used += outChunk - zs.avail_out;
        if (status == Z_STREAM_END)
            break;
        if (status == Z_BUF_ERROR && zs.avail_out != 0) {
            result.problem = "compressed data ends early";
            break;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            result.problem = zs.msg ? std::string("corrupt compressed data: ") + zs.msg : "corrupt compressed data";
            break;
        }
    }
    inflateEnd(&zs);
    out.resize(used);
    out.shrink_to_fit();
    return result;
}

Decompressed decodeLzma(std::span<const uint8_t> properties, std::span<const uint8_t> input, size_t cap,
                        size_t sizeHint)
{
    Decompressed result;
    if (properties.size() != 5) {
        result.problem = "LZMA properties missing";
        return result;
    }
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
    if (lzma_properties_decode(&filters[0], nullptr, properties.data(), properties.size()) != LZMA_OK) {
        result.problem = "invalid LZMA properties";
        return result;
    }
    // The decoder's options were allocated by liblzma; free them with us.
    struct OptionsOwner {
        void* p;
        ~OptionsOwner() { free(p); }
    } optionsOwner{filters[0].options};
    // The decoder allocates the whole dictionary the properties ask for (up to
    // 4 GiB). No match can reach further back than the output we accept, so a
    // dictionary as large as the cap decodes the same data.
    auto* options = static_cast<lzma_options_lzma*>(filters[0].options);
    options->dict_size = uint32_t(std::clamp<size_t>(options->dict_size, LZMA_DICT_SIZE_MIN,
                                                     std::max<size_t>(cap, LZMA_DICT_SIZE_MIN)));

    lzma_stream ls = LZMA_STREAM_INIT;
    if (lzma_raw_decoder(&ls, filters) != LZMA_OK) {
        result.problem = "LZMA decoder could not start";
        return result;
    }
    auto& out = result.data;
    out.resize(initialCapacity(input.size(), cap, sizeHint));
    size_t used = 0;
    ls.next_in = input.data();
    ls.avail_in = input.size();
    while (true) {
        if (!grow(out, used, cap)) {
            result.hitCap = true;
            break;
        }
        ls.next_out = out.data() + used;
        ls.avail_out = out.size() - used;
        const size_t before = ls.avail_out;
        const lzma_ret status = lzma_code(&ls, LZMA_RUN);
        used += before - ls.avail_out;
        if (status == LZMA_STREAM_END)
            break;
        if (status != LZMA_OK) {
            result.problem = "corrupt LZMA data";
            break;
        }
        // Movies usually store LZMA data without an end marker: running out
        // of input with no output left to make is the normal end.
        if (ls.avail_in == 0 && ls.avail_out != 0)
            break;
    }
    lzma_end(&ls);
    out.resize(used);
    out.shrink_to_fit();
    return result;
}

} // namespace flash
