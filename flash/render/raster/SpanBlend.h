// Writing a run of premultiplied 32-bit pixels in one colour: replacing them,
// or blending over them.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace flash {

// Each of the four 8-bit channels of `pixel` times `alpha` / 255, rounded.
inline uint32_t byteMultiply(uint32_t pixel, uint32_t alpha)
{
    uint32_t redBlue = (pixel & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint32_t alphaGreen = ((pixel >> 8) & 0xff00ff) * alpha;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return alphaGreen | redBlue;
}

inline void fillPixels(uint32_t* pixels, int count, uint32_t color)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(int(color));
    for (; i + 4 <= count; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), four);
#endif
    for (; i < count; ++i)
        pixels[i] = color;
}

// `source` (premultiplied) over each pixel.
inline void blendPixels(uint32_t* pixels, int count, uint32_t source)
{
    const uint32_t keep = 255 - (source >> 24);
    int i = 0;
#if defined(__SSE2__)
    // The same arithmetic as byteMultiply, on four pixels' channels at once.
    const __m128i zero = _mm_setzero_si128();
    const __m128i sources = _mm_set1_epi32(int(source));
    const __m128i keeps = _mm_set1_epi16(short(keep));
    const __m128i half = _mm_set1_epi16(0x80);
    auto scaled = [&](__m128i channels) {
        const __m128i product = _mm_mullo_epi16(channels, keeps);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(product, _mm_srli_epi16(product, 8)), half), 8);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        const __m128i kept = _mm_packus_epi16(scaled(_mm_unpacklo_epi8(below, zero)),
                                              scaled(_mm_unpackhi_epi8(below, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), _mm_add_epi8(kept, sources));
    }
#endif
    for (; i < count; ++i)
        pixels[i] = source + byteMultiply(pixels[i], keep);
}

} // namespace flash
