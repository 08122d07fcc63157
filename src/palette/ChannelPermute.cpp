#include "palette/ChannelPermute.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define HUESPLINTER_PERMUTE_SSSE3 1
#else
#define HUESPLINTER_PERMUTE_SSSE3 0
#endif

namespace ChannelPermute {
namespace {

template <int S0, int S1, int S2>
void plainRun(std::uint8_t* dst, const std::uint8_t* src, int n, int from) noexcept {
    for (int i = from; i < n; ++i) {
        const std::uint8_t* s = src + 3 * i;
        std::uint8_t* d = dst + 3 * i;
        const std::uint8_t b0 = s[S0], b1 = s[S1], b2 = s[S2];
        d[0] = b0, d[1] = b1, d[2] = b2;
    }
}

// For word k of a 24-byte block (eight pixels in three words), the bytes that sit at position t
// within their pixel.
constexpr std::uint64_t laneMask(int k, int t) {
    std::uint64_t mask = 0;
    for (int byte = 0; byte < 8; ++byte)
        if ((8 * k + byte) % 3 == t) mask |= std::uint64_t(0xFF) << (8 * byte);
    return mask;
}

// Word K of a 24-byte block (words w0, w1, w2) whose byte j is taken from byte j + D.
template <int D, int K>
inline std::uint64_t shiftedWord(std::uint64_t w0, std::uint64_t w1, std::uint64_t w2) {
    const std::uint64_t w = K == 0 ? w0 : K == 1 ? w1 : w2;
    if constexpr (D == 0) {
        return w;
    } else if constexpr (D > 0) {
        const std::uint64_t next = K == 0 ? w1 : w2;
        return (w >> (8 * D)) | (K < 2 ? next << (64 - 8 * D) : 0);
    } else {
        const std::uint64_t previous = K == 1 ? w0 : w1;
        return (w << (-8 * D)) | (K > 0 ? previous >> (64 + 8 * D) : 0);
    }
}

template <int S0, int S1, int S2, int K>
inline std::uint64_t permutedWord(std::uint64_t w0, std::uint64_t w1, std::uint64_t w2) {
    constexpr std::uint64_t m0 = laneMask(K, 0), m1 = laneMask(K, 1), m2 = laneMask(K, 2);
    return (shiftedWord<S0, K>(w0, w1, w2) & m0) | (shiftedWord<S1 - 1, K>(w0, w1, w2) & m1) |
           (shiftedWord<S2 - 2, K>(w0, w1, w2) & m2);
}

// Eight pixels per three 64-bit words, each loaded and stored on its own (a 24-byte temporary
// would be copied through memory); gives how many pixels it wrote.
template <int S0, int S1, int S2>
int wordRun(std::uint8_t* out, const std::uint8_t* in, int n) noexcept {
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= n; i += 8, in += 24, out += 24) {
            std::uint64_t w0, w1, w2;
            std::memcpy(&w0, in, 8);
            std::memcpy(&w1, in + 8, 8);
            std::memcpy(&w2, in + 16, 8);
            const std::uint64_t o0 = permutedWord<S0, S1, S2, 0>(w0, w1, w2);
            const std::uint64_t o1 = permutedWord<S0, S1, S2, 1>(w0, w1, w2);
            const std::uint64_t o2 = permutedWord<S0, S1, S2, 2>(w0, w1, w2);
            std::memcpy(out, &o0, 8);
            std::memcpy(out + 8, &o1, 8);
            std::memcpy(out + 16, &o2, 8);
        }
    }
    return i;
}

#if HUESPLINTER_PERMUTE_SSSE3
// Sixteen pixels are three 16-byte vectors; output vector j takes each byte from one of the
// input vectors, so it is the union of one byte shuffle of each (0x80 selects nothing).
struct TShuffles {
    std::array<std::array<std::array<std::int8_t, 16>, 3>, 3> mask{}; // [output][input][byte]
    std::array<std::array<bool, 3>, 3> used{};
};

template <int S0, int S1, int S2>
constexpr TShuffles shuffles() {
    constexpr std::array<int, 3> order{S0, S1, S2};
    TShuffles s;
    for (auto& out : s.mask)
        for (auto& in : out)
            in.fill(std::int8_t(-128));
    for (int byte = 0; byte < 48; ++byte) {
        const int from = 3 * (byte / 3) + order[std::size_t(byte % 3)];
        const auto j = std::size_t(byte / 16), k = std::size_t(from / 16);
        s.mask[j][k][std::size_t(byte % 16)] = std::int8_t(from % 16);
        s.used[j][k] = true;
    }
    return s;
}

template <int S0, int S1, int S2>
__attribute__((target("ssse3"))) int ssse3Run(std::uint8_t* out, const std::uint8_t* in,
                                              int n) noexcept {
    static constexpr TShuffles s = shuffles<S0, S1, S2>();
    __m128i masks[3][3];
    for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t k = 0; k < 3; ++k)
            masks[j][k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.mask[j][k].data()));
    int i = 0;
    for (; i + 16 <= n; i += 16, in += 48, out += 48) {
        const __m128i v[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 32))};
        for (std::size_t j = 0; j < 3; ++j) {
            __m128i o = _mm_setzero_si128();
            for (std::size_t k = 0; k < 3; ++k)
                if (s.used[j][k]) o = _mm_or_si128(o, _mm_shuffle_epi8(v[k], masks[j][k]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * j), o);
        }
    }
    return i;
}
#endif

template <int S0, int S1, int S2>
void run(TPath path, std::uint8_t* dst, const std::uint8_t* src, int n) noexcept {
    int done = 0;
    switch (path) {
    case TPath::Plain:
        break;
    case TPath::Words:
        done = wordRun<S0, S1, S2>(dst, src, n);
        break;
    case TPath::Ssse3:
#if HUESPLINTER_PERMUTE_SSSE3
        done = ssse3Run<S0, S1, S2>(dst, src, n);
        // What is left of sixteen pixels goes on in words.
        done += wordRun<S0, S1, S2>(dst + 3 * done, src + 3 * done, n - done);
#endif
        break;
    }
    plainRun<S0, S1, S2>(dst, src, n, done);
}

TPath fastestPath() {
#if HUESPLINTER_PERMUTE_SSSE3
    if (__builtin_cpu_supports("ssse3")) return TPath::Ssse3;
#endif
    return TPath::Words;
}

} // namespace

std::vector<TPath> paths() {
    std::vector<TPath> result{TPath::Plain, TPath::Words};
    if (fastestPath() == TPath::Ssse3) result.push_back(TPath::Ssse3);
    return result;
}

void permuteWith(TPath path, TOrder order, std::uint8_t* dst, const std::uint8_t* src,
                 int n) noexcept {
    if (n <= 0) return;
    switch (order) {
    case TOrder::SwapRG:
        return run<0, 2, 1>(path, dst, src, n);
    case TOrder::SwapBG:
        return run<1, 0, 2>(path, dst, src, n);
    case TOrder::SwapRB:
        return run<2, 1, 0>(path, dst, src, n);
    case TOrder::RotateForward:
        return run<1, 2, 0>(path, dst, src, n);
    case TOrder::RotateBackward:
        return run<2, 0, 1>(path, dst, src, n);
    }
}

void permute(TOrder order, std::uint8_t* dst, const std::uint8_t* src, int n) noexcept {
    static const TPath fastest = fastestPath();
    permuteWith(fastest, order, dst, src, n);
}

} // namespace ChannelPermute
