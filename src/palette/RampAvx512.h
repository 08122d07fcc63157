#pragma once

// The widest path of the palette's lines, for processors with 64-byte vectors and byte permutes
// (AVX-512 VBMI). Kept apart from the narrower paths: it works the lines out a different way, one
// 32-bit word a pixel, and is most of the line code. Windows builds leave it out, as their
// compilers do not align the stack for spilled wide registers.

#include "palette/Ramp.h"

#include <cstddef>

#if (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32)
#define HUESPLINTER_RAMP_AVX512 1
#else
#define HUESPLINTER_RAMP_AVX512 0
#endif

namespace Ramp {

#if HUESPLINTER_RAMP_AVX512
// rowsWith() on this path; the caller has made sure the processor runs it.
void avx512Rows(const TPiece* pieces, int pieceCount, int lineCount, const TCopy* copies,
                int copyCount, std::ptrdiff_t next) noexcept;
#endif

} // namespace Ramp
