#include "palette/Ramp.h"
#include "palette/RampAvx512.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define HUESPLINTER_RAMP_SSE41 1
// The Windows compilers do not align the stack for spilled 32-byte registers.
#if !defined(_WIN32)
#define HUESPLINTER_RAMP_AVX2 1
#else
#define HUESPLINTER_RAMP_AVX2 0
#endif
#else
#define HUESPLINTER_RAMP_SSE41 0
#define HUESPLINTER_RAMP_AVX2 0
#endif

namespace Ramp {
namespace {

void plainLines(const TPiece* pieces, int pieceCount, const TCopy* copies, int copyCount) noexcept {
    for (int c = 0; c < copyCount; ++c) {
        std::uint8_t* out = copies[c].out;
        const auto order = copies[c].order;
        for (int p = 0; p < pieceCount; ++p) {
            // Local copies: the byte stores could otherwise alias the piece.
            const std::int32_t s0 = pieces[p].start[0], s1 = pieces[p].start[1],
                               s2 = pieces[p].start[2];
            const std::int32_t d0 = pieces[p].step[0], d1 = pieces[p].step[1],
                               d2 = pieces[p].step[2];
            const int n = pieces[p].n;
            for (int k = 0; k < n; ++k, out += 3) {
                const std::uint8_t v[3] = {std::uint8_t(valueBase(s0, d0, k) >> kFraction),
                                           std::uint8_t(valueBase(s1, d1, k) >> kFraction),
                                           std::uint8_t(valueBase(s2, d2, k) >> kFraction)};
                out[0] = v[order[0]], out[1] = v[order[1]], out[2] = v[order[2]];
            }
        }
    }
}

void plainMax(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b, std::size_t n,
              std::size_t from) noexcept {
    for (std::size_t i = from; i < n; ++i)
        out[i] = std::max(a[i], b[i]);
}

#if HUESPLINTER_RAMP_SSE41
// The line is worked out a chunk at a time into one byte plane per channel, then each copy
// interleaves the planes in its order. Chunks of a long line are of equal length, so none is
// shorter than half a chunk.
constexpr int kChunk = 4096;
struct TPlanes {
    // A round may run up to 63 bytes past the chunk.
    std::uint8_t channel[3][kChunk + 64];
};

template <typename F>
inline void forEachChunk(int n, F&& chunk) {
    const int count = (n + kChunk - 1) / kChunk;
    for (int c = 0; c < count; ++c)
        chunk(int(std::int64_t(n) * c / count), int(std::int64_t(n) * (c + 1) / count));
}

// The round after the one at k of a piece ending at `to`: rounds after a piece's first one fall
// on the chunk's grid of whole rounds, whose last one ends where the chunk does, so the copies
// read back whole stores (a load across two stores still in flight waits for both). A round past
// a piece's end is written over by the next piece.
template <int kRound>
inline int nextRound(int k, int c0, int c1, int to) noexcept {
    const int next = c0 + ((k - c0) / kRound + 1) * kRound;
    return to == c1 ? std::min(next, c1 - kRound) : next;
}

// Sixteen pixels of three byte planes become 48 bytes, three vectors o0, o1, o2. Byte q of
// vector j belongs to plane (j + q) % 3, and for each q exactly one j gives plane t: so one byte
// shuffle of each plane puts all its bytes in place at once, and each output vector is a blend of
// the three shuffled planes by position modulo 3.
using TBytes16 = std::array<std::uint8_t, 16>;
struct TInterleave {
    std::array<TBytes16, 3> plane{};    // shuffle of plane t
    std::array<TBytes16, 3> position{}; // 0xFF where q % 3 == r
};

constexpr TInterleave interleaveMasks() {
    TInterleave m;
    for (int t = 0; t < 3; ++t)
        for (int q = 0; q < 16; ++q) {
            const int j = ((t - q) % 3 + 3) % 3;
            m.plane[std::size_t(t)][std::size_t(q)] = std::uint8_t((16 * j + q) / 3);
            m.position[std::size_t(t)][std::size_t(q)] = q % 3 == t ? 0xFF : 0;
        }
    return m;
}
constexpr TInterleave kInterleave = interleaveMasks();

constexpr std::array<std::uint8_t, 18> repeatMask() {
    std::array<std::uint8_t, 18> m{};
    for (std::size_t j = 0; j < m.size(); ++j)
        m[j] = std::uint8_t(j % 3);
    return m;
}
// Byte j is j % 3: a shuffle of one pixel by it from byte r repeats the pixel from its byte r.
constexpr std::array<std::uint8_t, 18> kRepeat = repeatMask();

__attribute__((target("sse4.1"))) inline __m128i load16(const std::uint8_t* bytes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Bytes [c0, c1) of the line's planes, sixteen pixels a round in four 32-bit vectors a channel
// (pixels 4q ... 4q + 3 in vector q). A round past a piece's end is written over by the next.
__attribute__((target("sse4.1"))) void sse41Planes(const TPiece* pieces, int pieceCount, int c0,
                                                   int c1, TPlanes& planes) noexcept {
    int p0 = 0;
    for (int p = 0; p < pieceCount; ++p) {
        const TPiece& piece = pieces[p];
        const int p1 = p0 + std::max(0, piece.n);
        const int from = std::max(p0, c0), to = std::min(p1, c1);
        for (std::size_t c = 0; c < 3 && from < to; ++c) {
            std::uint8_t* plane = planes.channel[c];
            if (piece.step[c] == 0) {
                const __m128i v = _mm_set1_epi8(char(piece.start[c] >> kFraction));
                for (int k = from;; k = nextRound<16>(k, c0, c1, to)) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(plane + (k - c0)), v);
                    if (k + 16 >= to) break;
                }
                continue;
            }
            const __m128i d = _mm_set1_epi32(piece.step[c]);
            __m128i offset[4];
            for (int q = 0; q < 4; ++q)
                offset[q] =
                    _mm_mullo_epi32(_mm_setr_epi32(4 * q, 4 * q + 1, 4 * q + 2, 4 * q + 3), d);
            for (int k = from;; k = nextRound<16>(k, c0, c1, to)) {
                const __m128i base =
                    _mm_set1_epi32(valueBase(piece.start[c], piece.step[c], k - p0));
                __m128i acc[4];
                for (std::size_t q = 0; q < 4; ++q)
                    acc[q] = _mm_srai_epi32(_mm_sub_epi32(base, offset[q]), kFraction);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(plane + (k - c0)),
                                 _mm_packus_epi16(_mm_packs_epi32(acc[0], acc[1]),
                                                  _mm_packs_epi32(acc[2], acc[3])));
                if (k + 16 >= to) break;
            }
        }
        p0 = p1;
    }
}

// Pixels [c0, c1) of each copy from the planes, sixteen a round; the last round ends where the
// chunk does, writing again some pixels of the one before with the same bytes.
__attribute__((target("sse4.1"))) void sse41Copies(const TPlanes& planes, int c0, int c1,
                                                   const TCopy* copies, int copyCount) noexcept {
    __m128i shuffle[3], position[3];
    for (std::size_t t = 0; t < 3; ++t) {
        shuffle[t] = load16(kInterleave.plane[t].data());
        position[t] = load16(kInterleave.position[t].data());
    }
    const int len = c1 - c0;
    for (int c = 0; c < copyCount; ++c) {
        const std::uint8_t* from[3];
        for (std::size_t t = 0; t < 3; ++t)
            from[t] = planes.channel[copies[c].order[t]];
        std::uint8_t* out = copies[c].out + 3 * std::size_t(c0);
        for (int i = 0;; i += 16) {
            i = std::min(i, len - 16);
            __m128i x[3];
            for (std::size_t t = 0; t < 3; ++t)
                x[t] = _mm_shuffle_epi8(load16(from[t] + i), shuffle[t]);
            for (std::size_t j = 0; j < 3; ++j) {
                const __m128i o =
                    _mm_blendv_epi8(_mm_blendv_epi8(x[0], x[1], position[(4 - j) % 3]), x[2],
                                    position[(5 - j) % 3]);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * std::size_t(i) + 16 * j), o);
            }
            if (i == len - 16) break;
        }
    }
}

// Lines of at least sixteen pixels; false for shorter ones.
__attribute__((target("sse4.1"))) bool sse41Lines(const TPiece* pieces, int pieceCount,
                                                  const TCopy* copies, int copyCount,
                                                  int n) noexcept {
    if (n < 16) return false;
    TPlanes planes;
    forEachChunk(n, [&](int c0, int c1) {
        sse41Planes(pieces, pieceCount, c0, c1, planes);
        sse41Copies(planes, c0, c1, copies, copyCount);
    });
    return true;
}

// n copies of one pixel of at least 16 bytes in all: 16-byte pieces of the repeated pixel, the
// last one ending where the run does. The pattern is made in registers: bytes stored one by one
// and loaded as a vector would wait for the stores.
__attribute__((target("sse4.1"))) void sse41Fill(std::uint8_t* out, int n,
                                                 const std::uint8_t (&pixel)[3]) noexcept {
    const __m128i one = _mm_cvtsi32_si128(int(pixel[0] | pixel[1] << 8 | pixel[2] << 16));
    const __m128i phase[3] = {_mm_shuffle_epi8(one, load16(kRepeat.data())),
                              _mm_shuffle_epi8(one, load16(kRepeat.data() + 1)),
                              _mm_shuffle_epi8(one, load16(kRepeat.data() + 2))};
    const int bytes = 3 * n;
    for (int o = 0;; o += 48) {
        // Rounds of three pieces keep their phases; the last pieces end where the run does.
        for (int j = 0; j < 3; ++j) {
            const int at = std::min(o + 16 * j, bytes - 16);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), phase[at % 3]);
        }
        if (o + 48 >= bytes) break;
    }
}

__attribute__((target("sse2"))) std::size_t sse2Max(std::uint8_t* out, const std::uint8_t* a,
                                                    const std::uint8_t* b, std::size_t n) noexcept {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_max_epu8(x, y));
    }
    return i;
}
#endif

#if HUESPLINTER_RAMP_AVX2
__attribute__((target("avx2"))) inline __m256i load32(const std::uint8_t* bytes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
}
__attribute__((target("avx2"))) inline __m256i load16Twice(const TBytes16& bytes) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data())));
}

// As sse41Planes, thirty-two pixels a round. Vector q of a channel holds pixels 4q ... 4q + 3 in
// its low half and 16 + 4q ... 19 + 4q in its high half: the packs work within halves, and so
// leave the pixels in order.
__attribute__((target("avx2"))) void avx2Planes(const TPiece* pieces, int pieceCount, int c0,
                                                int c1, TPlanes& planes) noexcept {
    int p0 = 0;
    for (int p = 0; p < pieceCount; ++p) {
        const TPiece& piece = pieces[p];
        const int p1 = p0 + std::max(0, piece.n);
        const int from = std::max(p0, c0), to = std::min(p1, c1);
        for (std::size_t c = 0; c < 3 && from < to; ++c) {
            std::uint8_t* plane = planes.channel[c];
            if (piece.step[c] == 0) {
                const __m256i v = _mm256_set1_epi8(char(piece.start[c] >> kFraction));
                for (int k = from;; k = nextRound<32>(k, c0, c1, to)) {
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(plane + (k - c0)), v);
                    if (k + 32 >= to) break;
                }
                continue;
            }
            const __m256i d = _mm256_set1_epi32(piece.step[c]);
            __m256i offset[4];
            for (int q = 0; q < 4; ++q)
                offset[q] = _mm256_mullo_epi32(_mm256_setr_epi32(4 * q, 4 * q + 1, 4 * q + 2,
                                                                 4 * q + 3, 16 + 4 * q, 17 + 4 * q,
                                                                 18 + 4 * q, 19 + 4 * q),
                                               d);
            for (int k = from;; k = nextRound<32>(k, c0, c1, to)) {
                const __m256i base =
                    _mm256_set1_epi32(valueBase(piece.start[c], piece.step[c], k - p0));
                __m256i acc[4];
                for (std::size_t q = 0; q < 4; ++q)
                    acc[q] = _mm256_srai_epi32(_mm256_sub_epi32(base, offset[q]), kFraction);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(plane + (k - c0)),
                                    _mm256_packus_epi16(_mm256_packs_epi32(acc[0], acc[1]),
                                                        _mm256_packs_epi32(acc[2], acc[3])));
                if (k + 32 >= to) break;
            }
        }
        p0 = p1;
    }
}

// As sse41Copies, thirty-two pixels a round: the interleave within halves gives the 16-byte
// pieces (0, 3), (1, 4), (2, 5) of the 96 bytes, which are put in order.
__attribute__((target("avx2"))) void avx2Copies(const TPlanes& planes, int c0, int c1,
                                                const TCopy* copies, int copyCount) noexcept {
    __m256i shuffle[3], position[3];
    for (std::size_t t = 0; t < 3; ++t) {
        shuffle[t] = load16Twice(kInterleave.plane[t]);
        position[t] = load16Twice(kInterleave.position[t]);
    }
    const int len = c1 - c0;
    for (int c = 0; c < copyCount; ++c) {
        const std::uint8_t* from[3];
        for (std::size_t t = 0; t < 3; ++t)
            from[t] = planes.channel[copies[c].order[t]];
        std::uint8_t* out = copies[c].out + 3 * std::size_t(c0);
        for (int i = 0;; i += 32) {
            i = std::min(i, len - 32);
            __m256i x[3];
            for (std::size_t t = 0; t < 3; ++t)
                x[t] = _mm256_shuffle_epi8(load32(from[t] + i), shuffle[t]);
            __m256i o[3];
            for (std::size_t j = 0; j < 3; ++j)
                o[j] = _mm256_blendv_epi8(_mm256_blendv_epi8(x[0], x[1], position[(4 - j) % 3]),
                                          x[2], position[(5 - j) % 3]);
            std::uint8_t* to = out + 3 * std::size_t(i);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to),
                                _mm256_permute2x128_si256(o[0], o[1], 0x20));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + 32),
                                _mm256_permute2x128_si256(o[2], o[0], 0x30));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + 64),
                                _mm256_permute2x128_si256(o[1], o[2], 0x31));
            if (i == len - 32) break;
        }
    }
}

// Lines of at least thirty-two pixels; false for shorter ones.
__attribute__((target("avx2"))) bool avx2Lines(const TPiece* pieces, int pieceCount,
                                               const TCopy* copies, int copyCount, int n) noexcept {
    if (n < 32) return false;
    TPlanes planes;
    forEachChunk(n, [&](int c0, int c1) {
        avx2Planes(pieces, pieceCount, c0, c1, planes);
        avx2Copies(planes, c0, c1, copies, copyCount);
    });
    return true;
}

__attribute__((target("avx2"))) std::size_t avx2Max(std::uint8_t* out, const std::uint8_t* a,
                                                    const std::uint8_t* b, std::size_t n) noexcept {
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_max_epu8(x, y));
    }
    return i;
}
#endif

TPath fastestPath() {
#if HUESPLINTER_RAMP_AVX512
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi"))
        return TPath::Avx512;
#endif
#if HUESPLINTER_RAMP_AVX2
    if (__builtin_cpu_supports("avx2")) return TPath::Avx2;
#endif
#if HUESPLINTER_RAMP_SSE41
    if (__builtin_cpu_supports("sse4.1")) return TPath::Sse41;
#endif
    return TPath::Plain;
}

TPath& chosenPath() noexcept {
    static TPath path = fastestPath();
    return path;
}

} // namespace

std::vector<TPath> paths() {
    std::vector<TPath> result{TPath::Plain};
    const TPath fastest = fastestPath();
    if (fastest != TPath::Plain) result.push_back(TPath::Sse41);
    if (fastest == TPath::Avx2 || fastest == TPath::Avx512) result.push_back(TPath::Avx2);
    if (fastest == TPath::Avx512) result.push_back(TPath::Avx512);
    return result;
}

TPath chosen() noexcept {
    return chosenPath();
}

void choose(TPath path) noexcept {
    chosenPath() = path;
}

namespace {

// One line on the paths below the widest.
void narrowLine(TPath path, const TPiece* pieces, int pieceCount, const TCopy* copies,
                int copyCount) noexcept {
    const int n = lengthOf(pieces, pieceCount);
    if (n <= 0) return;
#if HUESPLINTER_RAMP_SSE41
    // A single unchanging piece is a fill, which needs no planes.
    static const bool vectors = fastestPath() != TPath::Plain;
    if (path != TPath::Plain && vectors) {
        const TPiece& first = pieces[0];
        if (pieceCount == 1 && first.step[0] == 0 && first.step[1] == 0 && first.step[2] == 0 &&
            n >= 6) {
            const std::uint8_t v[3] = {std::uint8_t(first.start[0] >> kFraction),
                                       std::uint8_t(first.start[1] >> kFraction),
                                       std::uint8_t(first.start[2] >> kFraction)};
            for (int c = 0; c < copyCount; ++c) {
                const auto order = copies[c].order;
                const std::uint8_t pixel[3] = {v[order[0]], v[order[1]], v[order[2]]};
                sse41Fill(copies[c].out, n, pixel);
            }
            return;
        }
    }
#endif
    switch (path) {
    case TPath::Plain:
        break;
    case TPath::Avx512:
    case TPath::Avx2:
#if HUESPLINTER_RAMP_AVX2
        if (avx2Lines(pieces, pieceCount, copies, copyCount, n)) return;
#endif
        [[fallthrough]];
    case TPath::Sse41:
#if HUESPLINTER_RAMP_SSE41
        if (sse41Lines(pieces, pieceCount, copies, copyCount, n)) return;
#endif
        break;
    }
    plainLines(pieces, pieceCount, copies, copyCount);
}

} // namespace

void rowsWith(TPath path, const TPiece* pieces, int pieceCount, int lineCount, const TCopy* copies,
              int copyCount, std::ptrdiff_t next) noexcept {
    if (pieceCount <= 0 || lineCount <= 0 || copyCount <= 0) return;
#if HUESPLINTER_RAMP_AVX512
    if (path == TPath::Avx512) {
        avx512Rows(pieces, pieceCount, lineCount, copies, copyCount, next);
        return;
    }
#endif
    if (lineCount == 1) {
        narrowLine(path, pieces, pieceCount, copies, copyCount);
        return;
    }
    constexpr int kGroup = 8;
    for (int j = 0; j < lineCount; ++j, pieces += pieceCount)
        for (int c0 = 0; c0 < copyCount; c0 += kGroup) {
            TCopy moved[kGroup];
            const int count = std::min(kGroup, copyCount - c0);
            for (int c = 0; c < count; ++c) {
                moved[c] = copies[c0 + c];
                moved[c].out += j * next;
            }
            narrowLine(path, pieces, pieceCount, moved, count);
        }
}

void rows(const TPiece* pieces, int pieceCount, int lineCount, const TCopy* copies, int copyCount,
          std::ptrdiff_t next) noexcept {
    rowsWith(chosenPath(), pieces, pieceCount, lineCount, copies, copyCount, next);
}

void linesWith(TPath path, const TPiece* pieces, int pieceCount, const TCopy* copies,
               int copyCount) noexcept {
    rowsWith(path, pieces, pieceCount, 1, copies, copyCount, 0);
}

void lines(const TPiece* pieces, int pieceCount, const TCopy* copies, int copyCount) noexcept {
    rowsWith(chosenPath(), pieces, pieceCount, 1, copies, copyCount, 0);
}

void maxBytesWith(TPath path, std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                  std::size_t n) noexcept {
    std::size_t done = 0;
    switch (path) {
    case TPath::Plain:
        break;
    case TPath::Avx512:
    case TPath::Avx2:
#if HUESPLINTER_RAMP_AVX2
        done = avx2Max(out, a, b, n);
#endif
        [[fallthrough]];
    case TPath::Sse41:
#if HUESPLINTER_RAMP_SSE41
        done += sse2Max(out + done, a + done, b + done, n - done);
#endif
        break;
    }
    plainMax(out, a, b, n, done);
}

void maxBytes(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
              std::size_t n) noexcept {
    maxBytesWith(chosenPath(), out, a, b, n);
}

} // namespace Ramp
