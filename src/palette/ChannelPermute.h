#pragma once

#include <cstdint>
#include <vector>

// Channel exchanges over runs of three-byte pixels, which make most of the palette picture: each
// sixth of the hue circle is another sixth with its channels exchanged or rotated. One plain
// loop is the reference; the faster paths give the same bytes.
namespace ChannelPermute {

// dst byte t of each pixel is the src byte named by the order (0 = first byte of the pixel).
enum class TOrder {
    SwapRG,        // 0, 2, 1
    SwapBG,        // 1, 0, 2
    SwapRB,        // 2, 1, 0
    RotateForward, // 1, 2, 0
    RotateBackward // 2, 0, 1
};

enum class TPath { Plain, Words, Ssse3 };

// Every path this processor runs, the plain one first and the fastest last.
std::vector<TPath> paths();

// Writes n pixels; dst and src must not overlap. Any alignment.
void permute(TOrder order, std::uint8_t* dst, const std::uint8_t* src, int n) noexcept;
void permuteWith(TPath path, TOrder order, std::uint8_t* dst, const std::uint8_t* src,
                 int n) noexcept;

} // namespace ChannelPermute
