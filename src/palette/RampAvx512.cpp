#include "palette/RampAvx512.h"

#if HUESPLINTER_RAMP_AVX512

#include <immintrin.h>

#include <algorithm>
#include <array>

#define HUESPLINTER_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi")))
#define HUESPLINTER_AVX512_INLINE HUESPLINTER_AVX512 __attribute__((always_inline)) inline

namespace Ramp {
namespace {

HUESPLINTER_AVX512_INLINE __m512i load64(const void* bytes) {
    return _mm512_loadu_si512(bytes);
}

// The line is worked out as one 32-bit word a pixel, channel c in byte c, sixteen pixels a group
// by vector subtraction; a piece keeps its unchanging channels in a constant word and works out
// only the others. Each copy takes three bytes of each word in its own order: one two-table
// permute for each 64-byte store.

// Output vector k of a 64-pixel round takes byte q from word (64k + q) / 3 of the round, and in
// it the pixel's byte (64k + q) % 3 as the copy's order maps it; words are counted from vector
// k's first source, word 16k.
struct TWordIndex {
    std::array<std::array<std::uint8_t, 64>, 3> base{}; // 4 × (word − 16k)
    std::array<std::array<std::uint8_t, 64>, 3> byte{}; // the pixel's byte
};
constexpr TWordIndex wordIndex() {
    TWordIndex m;
    for (std::size_t k = 0; k < 3; ++k)
        for (std::size_t q = 0; q < 64; ++q) {
            const std::size_t at = 64 * k + q;
            m.base[k][q] = std::uint8_t(4 * (at / 3) - 64 * k);
            m.byte[k][q] = std::uint8_t(at % 3);
        }
    return m;
}
constexpr TWordIndex kWordIndex = wordIndex();

// A copy's permutes, named rather than an array of three: GCC keeps arrays of vectors in memory,
// and a load of a 64-byte store still in flight waits for it.
struct TCopyIndex {
    __m512i i0, i1, i2;
};

HUESPLINTER_AVX512_INLINE TCopyIndex copyIndex(std::array<std::uint8_t, 3> order) noexcept {
    const __m512i orderBytes = _mm512_set1_epi32(int(order[0] | order[1] << 8 | order[2] << 16));
    auto index = [&](std::size_t k) HUESPLINTER_AVX512 {
        // Under a full mask: GCC 12 warns that the plain permute's intrinsic reads an undefined
        // vector.
        return _mm512_add_epi8(load64(kWordIndex.base[k].data()),
                               _mm512_maskz_permutexvar_epi8(
                                   ~__mmask64(0), load64(kWordIndex.byte[k].data()), orderBytes));
    };
    return {index(0), index(1), index(2)};
}

// The lanes' words with the channels in the mask taken from the values v0, v1, v2 (start − k ×
// step for each lane's k) and the others from `fixed`. A shifted value has its byte at 8c and
// leftover fraction below, which the select drops. Shifts under a full mask: GCC 12 warns that
// the plain shift's intrinsic reads an undefined vector.
template <int kChanging>
HUESPLINTER_AVX512_INLINE __m512i wordsOf(__m512i fixed, __m512i v0, __m512i v1,
                                          __m512i v2) noexcept {
    __m512i w = fixed;
    if constexpr ((kChanging & 1) != 0)
        w = _mm512_ternarylogic_epi32(_mm512_set1_epi32(0xFF),
                                      _mm512_maskz_srli_epi32(0xFFFF, v0, kFraction), w, 0xCA);
    if constexpr ((kChanging & 2) != 0)
        w = _mm512_ternarylogic_epi32(_mm512_set1_epi32(0xFF00),
                                      _mm512_maskz_srli_epi32(0xFFFF, v1, kFraction - 8), w, 0xCA);
    if constexpr ((kChanging & 4) != 0)
        w = _mm512_ternarylogic_epi32(_mm512_set1_epi32(0xFF0000),
                                      _mm512_maskz_srli_epi32(0xFFFF, v2, kFraction - 16), w, 0xCA);
    return w;
}

// One channel's values over sixteen lanes, the first lane k pixels into the piece.
HUESPLINTER_AVX512_INLINE __m512i valuesOf(std::int32_t start, std::int32_t step, int k) noexcept {
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    return _mm512_sub_epi32(_mm512_set1_epi32(valueBase(start, step, k)),
                            _mm512_mullo_epi32(lanes, _mm512_set1_epi32(step)));
}

HUESPLINTER_AVX512_INLINE __mmask64 firstBytes(int n) noexcept {
    return n >= 64 ? ~__mmask64(0) : n <= 0 ? __mmask64(0) : (__mmask64(1) << n) - 1;
}

// The piece the next group of sixteen pixels is in, and its values there.
struct TGroupCursor {
    int p;      // the piece
    int p0, p1; // its pixels in the line
    int kind;   // its changing channels, bit c for channel c
    __m512i fixed, v0, v1, v2, d0, d1, d2;
};

// Puts the cursor on the piece holding pixel g, or on the last one past the line's end, with its
// values at the group starting there.
HUESPLINTER_AVX512_INLINE void seek(TGroupCursor& cur, const TPiece* pieces, int pieceCount,
                                    int g) noexcept {
    while (cur.p1 <= g && cur.p + 1 < pieceCount) {
        ++cur.p;
        cur.p0 = cur.p1;
        cur.p1 += std::max(0, pieces[cur.p].n);
    }
    const TPiece& piece = pieces[cur.p];
    const int k = g - cur.p0;
    cur.kind = (piece.step[0] != 0) | (piece.step[1] != 0) << 1 | (piece.step[2] != 0) << 2;
    std::uint32_t fixedWord = 0;
    for (int c = 0; c < 3; ++c)
        if (piece.step[c] == 0) fixedWord |= std::uint32_t(piece.start[c] >> kFraction) << (8 * c);
    cur.fixed = _mm512_set1_epi32(std::int32_t(fixedWord));
    // Only the changing channels' values are read.
    if (piece.step[0] != 0) cur.v0 = valuesOf(piece.start[0], piece.step[0], k);
    if (piece.step[1] != 0) cur.v1 = valuesOf(piece.start[1], piece.step[1], k);
    if (piece.step[2] != 0) cur.v2 = valuesOf(piece.start[2], piece.step[2], k);
    cur.d0 = _mm512_set1_epi32(std::int32_t(std::uint32_t(piece.step[0]) * 16u));
    cur.d1 = _mm512_set1_epi32(std::int32_t(std::uint32_t(piece.step[1]) * 16u));
    cur.d2 = _mm512_set1_epi32(std::int32_t(std::uint32_t(piece.step[2]) * 16u));
}

template <int kChanging>
HUESPLINTER_AVX512_INLINE __m512i stepGroup(TGroupCursor& cur) noexcept {
    const __m512i w = wordsOf<kChanging>(cur.fixed, cur.v0, cur.v1, cur.v2);
    if constexpr ((kChanging & 1) != 0) cur.v0 = _mm512_sub_epi32(cur.v0, cur.d0);
    if constexpr ((kChanging & 2) != 0) cur.v1 = _mm512_sub_epi32(cur.v1, cur.d1);
    if constexpr ((kChanging & 4) != 0) cur.v2 = _mm512_sub_epi32(cur.v2, cur.d2);
    return w;
}

// The cursor's group, whatever its piece's changing channels; the cursor moves on a group.
HUESPLINTER_AVX512_INLINE __m512i stepAny(TGroupCursor& cur) noexcept {
    switch (cur.kind) {
    case 0:
        return stepGroup<0>(cur);
    case 1:
        return stepGroup<1>(cur);
    case 2:
        return stepGroup<2>(cur);
    case 3:
        return stepGroup<3>(cur);
    case 4:
        return stepGroup<4>(cur);
    case 5:
        return stepGroup<5>(cur);
    case 6:
        return stepGroup<6>(cur);
    default:
        return stepGroup<7>(cur);
    }
}

HUESPLINTER_AVX512_INLINE __mmask16 lanesFrom(int from) noexcept {
    return from <= 0 ? __mmask16(0xFFFF) : from >= 16 ? __mmask16(0) : __mmask16(0xFFFFu << from);
}

// The words of pixels [g, g + 16) of the line; lanes past its end hold any value. The cursor is
// on the group's first piece with its values there, and moves on to the next group.
HUESPLINTER_AVX512_INLINE __m512i nextGroup(TGroupCursor& cur, const TPiece* pieces, int pieceCount,
                                            int g) noexcept {
    if (g + 16 <= cur.p1) return stepAny(cur);
    // Pieces meet in the group. The first gives the lanes up to its end; a piece that ends
    // within the group gives its own, and one that goes on past it takes the cursor.
    __m512i w = cur.p1 > g ? stepAny(cur) : _mm512_setzero_si512();
    while (cur.p + 1 < pieceCount) {
        ++cur.p;
        cur.p0 = cur.p1;
        const TPiece& piece = pieces[cur.p];
        cur.p1 += std::max(0, piece.n);
        if (cur.p1 == cur.p0) continue;
        if (cur.p1 >= g + 16) {
            seek(cur, pieces, pieceCount, g);
            return _mm512_mask_mov_epi32(w, lanesFrom(cur.p0 - g), stepAny(cur));
        }
        const auto lanes = __mmask16(lanesFrom(cur.p0 - g) & ~lanesFrom(cur.p1 - g));
        if (piece.n == 1) {
            // A single pixel, as the lines have where their parts meet.
            const std::uint32_t word = std::uint32_t(piece.start[0] >> kFraction) |
                                       std::uint32_t(piece.start[1] >> kFraction) << 8 |
                                       std::uint32_t(piece.start[2] >> kFraction) << 16;
            w = _mm512_mask_mov_epi32(w, lanes, _mm512_set1_epi32(std::int32_t(word)));
            continue;
        }
        const int k = g - cur.p0;
        w = _mm512_mask_mov_epi32(w, lanes,
                                  wordsOf<7>(_mm512_setzero_si512(),
                                             valuesOf(piece.start[0], piece.step[0], k),
                                             valuesOf(piece.start[1], piece.step[1], k),
                                             valuesOf(piece.start[2], piece.step[2], k)));
    }
    return w;
}

// A round's four groups of words.
struct TRoundWords {
    __m512i w0, w1, w2, w3;
};

template <int kChanging>
HUESPLINTER_AVX512_INLINE TRoundWords stepRound(TGroupCursor& cur) noexcept {
    const __m512i w0 = stepGroup<kChanging>(cur);
    const __m512i w1 = stepGroup<kChanging>(cur);
    const __m512i w2 = stepGroup<kChanging>(cur);
    return {w0, w1, w2, stepGroup<kChanging>(cur)};
}

// Pixels [r, r + 64) of the line.
HUESPLINTER_AVX512_INLINE TRoundWords nextRound(TGroupCursor& cur, const TPiece* pieces,
                                                int pieceCount, int r) noexcept {
    if (r + 64 <= cur.p1) switch (cur.kind) {
        case 0:
            return stepRound<0>(cur);
        case 1:
            return stepRound<1>(cur);
        case 2:
            return stepRound<2>(cur);
        case 3:
            return stepRound<3>(cur);
        case 4:
            return stepRound<4>(cur);
        case 5:
            return stepRound<5>(cur);
        case 6:
            return stepRound<6>(cur);
        default:
            return stepRound<7>(cur);
        }
    // One group at a time through registers: the way through meeting pieces is long, and four
    // of it would crowd out the round loop.
    TRoundWords w{};
#pragma GCC unroll 1
    for (int g = r; g < r + 64; g += 16) {
        w.w0 = w.w1, w.w1 = w.w2, w.w2 = w.w3;
        w.w3 = nextGroup(cur, pieces, pieceCount, g);
    }
    return w;
}

// Sixty-four pixels a round: the round's four groups are worked out in registers (a load of a
// 64-byte store still in flight waits for it) and each copy takes its three vectors of them. The
// copies are unrolled, their permutes held in registers as well.
template <int kCopies>
HUESPLINTER_AVX512 void avx512RowsOf(const TPiece* pieces, int pieceCount, int lineCount,
                                     const TCopy* copies, std::ptrdiff_t next) noexcept {
    TCopyIndex index[kCopies];
    std::uint8_t* out[kCopies];
#pragma GCC unroll 8
    for (int c = 0; c < kCopies; ++c)
        index[c] = copyIndex(copies[c].order), out[c] = copies[c].out;
    for (int j = 0; j < lineCount; ++j, pieces += pieceCount) {
        const int n = lengthOf(pieces, pieceCount);
        TGroupCursor cur{0, 0, std::max(0, pieces[0].n), 0, {}, {}, {}, {}, {}, {}, {}};
        if (n > 0) seek(cur, pieces, pieceCount, 0);
        int r = 0;
        for (; r + 64 <= n; r += 64) {
            const TRoundWords w = nextRound(cur, pieces, pieceCount, r);
#pragma GCC unroll 8
            for (int c = 0; c < kCopies; ++c) {
                std::uint8_t* to = out[c] + 3 * std::ptrdiff_t(r);
                _mm512_storeu_si512(to, _mm512_permutex2var_epi8(w.w0, index[c].i0, w.w1));
                _mm512_storeu_si512(to + 64, _mm512_permutex2var_epi8(w.w1, index[c].i1, w.w2));
                _mm512_storeu_si512(to + 128, _mm512_permutex2var_epi8(w.w2, index[c].i2, w.w3));
            }
        }
        if (r < n) {
            const TRoundWords w = nextRound(cur, pieces, pieceCount, r);
            const int bytes = 3 * (n - r);
#pragma GCC unroll 8
            for (int c = 0; c < kCopies; ++c) {
                std::uint8_t* to = out[c] + 3 * std::ptrdiff_t(r);
                _mm512_mask_storeu_epi8(to, firstBytes(bytes),
                                        _mm512_permutex2var_epi8(w.w0, index[c].i0, w.w1));
                if (bytes > 64)
                    _mm512_mask_storeu_epi8(to + 64, firstBytes(bytes - 64),
                                            _mm512_permutex2var_epi8(w.w1, index[c].i1, w.w2));
                if (bytes > 128)
                    _mm512_mask_storeu_epi8(to + 128, firstBytes(bytes - 128),
                                            _mm512_permutex2var_epi8(w.w2, index[c].i2, w.w3));
            }
        }
#pragma GCC unroll 8
        for (int c = 0; c < kCopies; ++c)
            out[c] += next;
    }
}

constexpr int kLongLine = 1024;

} // namespace

// Copies six at a time: more permutes than that would not stay in registers.
HUESPLINTER_AVX512 void avx512Rows(const TPiece* pieces, int pieceCount, int lineCount,
                                   const TCopy* copies, int copyCount,
                                   std::ptrdiff_t next) noexcept {
    // Long lines with few copies are written one copy after another, each working the lines out
    // again: long streams into memory side by side cost more than the words.
    if (copyCount > 1 && copyCount <= 3 && lengthOf(pieces, pieceCount) >= kLongLine) {
        for (int c = 0; c < copyCount; ++c)
            avx512RowsOf<1>(pieces, pieceCount, lineCount, copies + c, next);
        return;
    }
    for (; copyCount > 0; copies += 6, copyCount -= 6)
        switch (std::min(copyCount, 6)) {
        case 1:
            avx512RowsOf<1>(pieces, pieceCount, lineCount, copies, next);
            break;
        case 2:
            avx512RowsOf<2>(pieces, pieceCount, lineCount, copies, next);
            break;
        case 3:
            avx512RowsOf<3>(pieces, pieceCount, lineCount, copies, next);
            break;
        case 4:
            avx512RowsOf<4>(pieces, pieceCount, lineCount, copies, next);
            break;
        case 5:
            avx512RowsOf<5>(pieces, pieceCount, lineCount, copies, next);
            break;
        default:
            avx512RowsOf<6>(pieces, pieceCount, lineCount, copies, next);
            break;
        }
}

} // namespace Ramp

#endif
