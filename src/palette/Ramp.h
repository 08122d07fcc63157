#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Straight lines and maxima over runs of three-byte pixels: besides the channel exchanges, what
// the palette picture is made of. One plain loop is the reference for each; the faster paths give
// the same bytes.
namespace Ramp {

// Bits below the byte in a channel's fixed-point value.
constexpr int kFraction = 22;

enum class TPath { Plain, Sse41, Avx2, Avx512 };

// Every path this processor runs, the plain one first and the fastest last.
std::vector<TPath> paths();
// The path of the functions that take none: the fastest, unless another was chosen (tests build
// whole pictures on the plain paths to compare).
TPath chosen() noexcept;
void choose(TPath path) noexcept;

// A straight piece of a line: n pixels whose channel c at pixel k is
// (start[c] − k × step[c]) >> kFraction in 32-bit integers. Every value of its n pixels must lie
// in 0 ... 255 << kFraction; a step of 0 repeats the start.
struct TPiece {
    int n = 0;
    std::int32_t start[3] = {0, 0, 0};
    std::int32_t step[3] = {0, 0, 0};
};

// Channel value k pixels into a piece, in fixed point. The unsigned products wrap where a lane past
// the end of a piece would overflow; written values are in range, so they equal the step-by-step
// sum.
inline std::int32_t valueBase(std::int32_t start, std::int32_t step, int k) noexcept {
    return std::int32_t(std::uint32_t(start) - std::uint32_t(k) * std::uint32_t(step));
}

// Pixels in the line made of the pieces.
inline int lengthOf(const TPiece* pieces, int pieceCount) noexcept {
    int n = 0;
    for (int p = 0; p < pieceCount; ++p)
        n += pieces[p].n > 0 ? pieces[p].n : 0;
    return n;
}

// One place a line is written, and in which channel order: byte t of each pixel there is the
// line's channel order[t]. Any alignment.
struct TCopy {
    std::uint8_t* out;
    std::array<std::uint8_t, 3> order{0, 1, 2};
};

// Writes the line made of the pieces, one after another, to each of the copies; where copies
// overlap they must agree. The line is worked out once for all copies.
void lines(const TPiece* pieces, int pieceCount, const TCopy* copies, int copyCount) noexcept;
void linesWith(TPath path, const TPiece* pieces, int pieceCount, const TCopy* copies,
               int copyCount) noexcept;
// Lines one after another, as lines() writes each: line j is made of pieces
// [j × pieceCount, (j + 1) × pieceCount) and written to the copies moved on j × next bytes. The
// rows of a picture in one call: each call costs a little besides its pixels.
void rows(const TPiece* pieces, int pieceCount, int lineCount, const TCopy* copies, int copyCount,
          std::ptrdiff_t next) noexcept;
void rowsWith(TPath path, const TPiece* pieces, int pieceCount, int lineCount, const TCopy* copies,
              int copyCount, std::ptrdiff_t next) noexcept;
inline void lines(std::uint8_t* out, const TPiece& piece) noexcept {
    const TCopy copy{out};
    lines(&piece, 1, &copy, 1);
}

// n bytes, each the larger of a's and b's; out may be neither. Any alignment.
void maxBytes(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
              std::size_t n) noexcept;
void maxBytesWith(TPath path, std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                  std::size_t n) noexcept;

} // namespace Ramp
