#include "pixels/KxPixel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The AVX2 blend is compiled for that one function and taken only where the processor has it.
// Not on Windows: mingw-w64 keeps the stack 16-byte aligned, and GCC spills 32-byte registers
// there with aligned moves.
#if defined(__x86_64__) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
#define HUESPLINTER_BLEND_AVX2 1
#include <immintrin.h>
#else
#define HUESPLINTER_BLEND_AVX2 0
#endif

namespace KxPixel {

TKxPixel darken(TKxPixel p, int amount) noexcept {
    const int k = 255 - amount;
    return withChannels(p, channel(p, 16) * k / 255, channel(p, 8) * k / 255,
                        channel(p, 0) * k / 255);
}

TKxPixel lighten(TKxPixel p, int amount) noexcept {
    const int k = 255 - amount;
    const int add = amount * 255;
    return withChannels(p, (channel(p, 16) * k + add) >> 8, (channel(p, 8) * k + add) >> 8,
                        (channel(p, 0) * k + add) >> 8);
}

TKxPixel blendColour(TKxPixel pixel, TKxPixel colour, int a) noexcept {
    if (a < 8) return pixel;
    if (a > 240) return (pixel & 0xFF000000u) | (colour & 0x00FFFFFFu);
    return mix(pixel, colour, a);
}

void ramp(TKxPixel* pixels, int n, TKxColor start, TKxColor end) noexcept {
    if (n > 0) rampCut(pixels, n, n, start, end);
}

void rampCut(TKxPixel* pixels, int count, int n, TKxColor start, TKxColor end) noexcept {
    TColourRamp ramp(start, end, n);
    for (int i = 0; i < count; ++i)
        pixels[i] = ramp.next();
}

void blendRowPlain(TKxPixel* target, const TKxPixel* source, int n) noexcept {
    for (int i = 0; i < n; ++i)
        target[i] = blendColour(target[i], source[i], int(source[i] >> 24));
}

namespace {

#if defined(__SSE2__)
// Four pixels at a time. Clear and opaque groups, the bulk of any control's picture, take a
// compare and a store; mixed ones widen to 16-bit lanes, where d × (255 − a) + s × a stays below
// 2^16, so no lane needs 32 bits. Answers how many pixels it did, a multiple of four.
int blendSse2(TKxPixel* target, const TKxPixel* source, int n) noexcept {
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    const __m128i clearBelow = _mm_set1_epi32(8);
    const __m128i opaqueAbove = _mm_set1_epi32(240);
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i a = _mm_srli_epi32(s, 24);
        const __m128i clear = _mm_cmplt_epi32(a, clearBelow);
        if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
        auto* out = reinterpret_cast<__m128i*>(target + i);
        const __m128i d = _mm_loadu_si128(out);
        const __m128i dAlpha = _mm_and_si128(d, alphaMask);
        const __m128i copied = _mm_or_si128(dAlpha, _mm_andnot_si128(alphaMask, s));
        const __m128i opaque = _mm_cmpgt_epi32(a, opaqueAbove);
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            _mm_storeu_si128(out, copied);
            continue;
        }
        // Each pixel's alpha in all four of its 16-bit lanes.
        const __m128i a2 = _mm_or_si128(a, _mm_slli_epi32(a, 16));
        const __m128i aLo = _mm_unpacklo_epi32(a2, a2);
        const __m128i aHi = _mm_unpackhi_epi32(a2, a2);
        const __m128i mixLo = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(c255, aLo)),
                          _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), aLo)),
            8);
        const __m128i mixHi = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(c255, aHi)),
                          _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), aHi)),
            8);
        const __m128i mixed =
            _mm_or_si128(dAlpha, _mm_andnot_si128(alphaMask, _mm_packus_epi16(mixLo, mixHi)));
        const __m128i chosen =
            _mm_or_si128(_mm_and_si128(opaque, copied), _mm_andnot_si128(opaque, mixed));
        _mm_storeu_si128(out,
                         _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, chosen)));
    }
    return i;
}
#endif

#if HUESPLINTER_BLEND_AVX2
// The same steps on eight pixels. The byte and word unpacks work within each 128-bit half, so
// the halves are two independent groups of four, put back in order by the final pack.
__attribute__((target("avx2"))) int blendAvx2(TKxPixel* target, const TKxPixel* source,
                                              int n) noexcept {
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i clearBelow = _mm256_set1_epi32(8);
    const __m256i opaqueAbove = _mm256_set1_epi32(240);
    const __m256i c255 = _mm256_set1_epi16(255);
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i a = _mm256_srli_epi32(s, 24);
        const __m256i clear = _mm256_cmpgt_epi32(clearBelow, a);
        if (_mm256_movemask_epi8(clear) == -1) continue;
        auto* out = reinterpret_cast<__m256i*>(target + i);
        const __m256i d = _mm256_loadu_si256(out);
        const __m256i dAlpha = _mm256_and_si256(d, alphaMask);
        const __m256i copied = _mm256_or_si256(dAlpha, _mm256_andnot_si256(alphaMask, s));
        const __m256i opaque = _mm256_cmpgt_epi32(a, opaqueAbove);
        if (_mm256_movemask_epi8(opaque) == -1) {
            _mm256_storeu_si256(out, copied);
            continue;
        }
        const __m256i a2 = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
        const __m256i aLo = _mm256_unpacklo_epi32(a2, a2);
        const __m256i aHi = _mm256_unpackhi_epi32(a2, a2);
        const __m256i mixLo = _mm256_srli_epi16(
            _mm256_add_epi16(
                _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(c255, aLo)),
                _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), aLo)),
            8);
        const __m256i mixHi = _mm256_srli_epi16(
            _mm256_add_epi16(
                _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(c255, aHi)),
                _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), aHi)),
            8);
        const __m256i mixed = _mm256_or_si256(
            dAlpha, _mm256_andnot_si256(alphaMask, _mm256_packus_epi16(mixLo, mixHi)));
        const __m256i chosen =
            _mm256_or_si256(_mm256_and_si256(opaque, copied), _mm256_andnot_si256(opaque, mixed));
        _mm256_storeu_si256(
            out, _mm256_or_si256(_mm256_and_si256(clear, d), _mm256_andnot_si256(clear, chosen)));
    }
    return i;
}
#endif

} // namespace

std::vector<TBlendPath> blendPaths() {
    std::vector<TBlendPath> paths{TBlendPath::Plain};
#if defined(__SSE2__)
    paths.push_back(TBlendPath::Sse2);
#endif
#if HUESPLINTER_BLEND_AVX2
    if (__builtin_cpu_supports("avx2")) paths.push_back(TBlendPath::Avx2);
#endif
    return paths;
}

void blendRowWith(TBlendPath path, TKxPixel* target, const TKxPixel* source, int n) noexcept {
    int done = 0;
#if HUESPLINTER_BLEND_AVX2
    if (path == TBlendPath::Avx2) done = blendAvx2(target, source, n);
#endif
#if defined(__SSE2__)
    if (path != TBlendPath::Plain) done += blendSse2(target + done, source + done, n - done);
#endif
    blendRowPlain(target + done, source + done, n - done);
}

void blendRow(TKxPixel* target, const TKxPixel* source, int n) noexcept {
    // Chosen once, for the processor the program runs on.
    static const TBlendPath fastest = blendPaths().back();
    blendRowWith(fastest, target, source, n);
}

} // namespace KxPixel
