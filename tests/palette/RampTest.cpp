#include "palette/Ramp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

using Ramp::TPath;

namespace {

// A piece between two byte values over n pixels, forwards or from the far end, as the palette
// draws its lines.
void channel(Ramp::TPiece& piece, std::size_t c, int a, int b, bool reverse) {
    const int n = piece.n;
    std::int32_t start = a << Ramp::kFraction;
    std::int32_t step = n > 1 ? (start - (b << Ramp::kFraction)) / (n - 1) : 0;
    if (reverse) {
        start -= (n - 1) * step;
        step = -step;
    }
    piece.start[c] = start;
    piece.step[c] = step;
}

// Each copy in a buffer of its own with a margin before and after it, and the copy starting at
// the given byte offset.
struct Copies {
    std::vector<std::vector<std::uint8_t>> buffers;
    std::vector<Ramp::TCopy> copies;
    Copies(int n, const std::vector<std::array<std::uint8_t, 3>>& orders, int offset) {
        buffers.assign(orders.size(), std::vector<std::uint8_t>(3 * std::size_t(n) + 70, 0xA5));
        for (std::size_t c = 0; c < orders.size(); ++c)
            copies.push_back({buffers[c].data() + 3 + offset, orders[c]});
    }
};

} // namespace

// The plain loop is the step-by-step sum the palette always drew: a line ends near its far value,
// a step of 0 repeats the start, and a copy shows the channels in its order.
TEST(Ramp, PlainLineSumsStepByStepInEachCopysOrder) {
    Ramp::TPiece pieces[2];
    pieces[0].n = 5;
    channel(pieces[0], 0, 255, 0, false);
    channel(pieces[0], 1, 0, 200, false);
    channel(pieces[0], 2, 7, 7, false);
    pieces[1].n = 1;
    channel(pieces[1], 0, 1, 1, false);
    channel(pieces[1], 1, 2, 2, false);
    channel(pieces[1], 2, 3, 3, false);
    std::vector<std::uint8_t> same(18), rotated(18);
    const Ramp::TCopy copies[2] = {{same.data()}, {rotated.data(), {1, 2, 0}}};
    Ramp::linesWith(TPath::Plain, pieces, 2, copies, 2);
    EXPECT_EQ(same, (std::vector<std::uint8_t>{255, 0, 7, 191, 50, 7, 127, 100, 7, 63, 150, 7, 0,
                                               200, 7, 1, 2, 3}));
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_EQ(rotated[3 * k], same[3 * k + 1]) << k;
}

// Every fast path writes exactly the plain loop's bytes: short, odd, long and chunked lines of up
// to four pieces (some empty or a single pixel), both directions, constant and changing channels,
// to up to six copies in any order at any byte offset, and not one byte outside them.
TEST(Ramp, FastPathsMatchThePlainLoop) {
    std::mt19937 random(11);
    const std::vector<int> lengths{1,  2,   3,   4,   5,   6,   7,   8,    9,    10,  11, 12,
                                   13, 14,  15,  16,  17,  31,  32,  33,   47,   63,  64, 65,
                                   97, 126, 127, 128, 129, 253, 640, 1913, 4097, 8195};
    std::array<std::uint8_t, 3> order{0, 1, 2};
    for (int n : lengths)
        for (int round = 0; round < 8; ++round) {
            // Lengths of up to four pieces that add up to n; a single piece in rounds 4 and 5.
            const int count = round == 4 || round == 5 ? 1 : 1 + int(random() % 4);
            std::vector<Ramp::TPiece> pieces(static_cast<std::size_t>(count));
            int left = n;
            for (int p = 0; p < count; ++p) {
                const int length = p + 1 == count   ? left
                                   : round % 2 == 0 ? int(random() % std::uint32_t(left + 1))
                                                    : std::min(left, 1);
                pieces[std::size_t(p)].n = length;
                left -= length;
                for (std::size_t c = 0; c < 3; ++c) {
                    // Rounds 4 and 5 change one channel alone, as the hue lines do.
                    const int a = round < 2 ? 255 * int(c % 2) : int(random() % 256);
                    const bool fixed = round < 4 ? c == 0 : round < 6 && c != std::size_t(n % 3);
                    const int b = round < 2 ? 255 - a : fixed ? a : int(random() % 256);
                    channel(pieces[std::size_t(p)], c, a, b, (round + p) % 3 == 0);
                }
            }
            std::vector<std::array<std::uint8_t, 3>> orders(1 + random() % 6);
            for (auto& o : orders) {
                std::next_permutation(order.begin(), order.end());
                o = order;
            }
            const int offset = int(random() % 4);
            Copies plain(n, orders, offset);
            Ramp::linesWith(TPath::Plain, pieces.data(), count, plain.copies.data(),
                            int(orders.size()));
            for (TPath path : Ramp::paths()) {
                Copies fast(n, orders, offset);
                Ramp::linesWith(path, pieces.data(), count, fast.copies.data(), int(orders.size()));
                ASSERT_EQ(fast.buffers, plain.buffers)
                    << n << " pixels in " << count << " pieces, round " << round << ", path "
                    << int(path);
            }
        }
}

// Lines drawn a batch at a time are the lines drawn one by one: each line of its own pieces and
// length, short and long (the widest path writes long lines one copy at a time), every copy moved
// on by the stride, up to seven copies (it takes six at a time).
TEST(Ramp, RowsAreTheirLinesOneByOne) {
    std::mt19937 random(7);
    for (int lineCount : {1, 2, 5})
        for (int copyCount : {1, 3, 6, 7})
            for (int round = 0; round < 4; ++round) {
                const int pieceCount = 1 + int(random() % 4);
                std::vector<Ramp::TPiece> pieces(std::size_t(lineCount * pieceCount));
                int longest = 0;
                for (int j = 0; j < lineCount; ++j) {
                    int n = 0;
                    for (int p = 0; p < pieceCount; ++p) {
                        Ramp::TPiece& piece = pieces[std::size_t(j * pieceCount + p)];
                        piece.n = int(random() % (round < 2 ? 140 : round == 2 ? 12 : 700));
                        n += piece.n;
                        for (std::size_t c = 0; c < 3; ++c) {
                            const int a = int(random() % 256);
                            channel(piece, c, a, random() % 3 == 0 ? a : int(random() % 256),
                                    random() % 2 == 0);
                        }
                    }
                    longest = std::max(longest, n);
                }
                const std::ptrdiff_t stride = 3 * longest + int(random() % 5);
                std::vector<std::array<std::uint8_t, 3>> orders(std::size_t(copyCount), {0, 1, 2});
                for (auto& o : orders)
                    for (int k = int(random() % 6); k > 0; --k)
                        std::next_permutation(o.begin(), o.end());
                auto draw = [&](TPath path, bool batch) {
                    std::vector<std::uint8_t> bytes(
                        std::size_t(copyCount * lineCount) * std::size_t(stride) + 70, 0xA5);
                    std::vector<Ramp::TCopy> copies;
                    for (int c = 0; c < copyCount; ++c)
                        copies.push_back(
                            {bytes.data() + 3 + c * lineCount * stride, orders[std::size_t(c)]});
                    if (batch)
                        Ramp::rowsWith(path, pieces.data(), pieceCount, lineCount, copies.data(),
                                       copyCount, stride);
                    else
                        for (int j = 0; j < lineCount; ++j) {
                            Ramp::linesWith(TPath::Plain, pieces.data() + j * pieceCount,
                                            pieceCount, copies.data(), copyCount);
                            for (auto& copy : copies)
                                copy.out += stride;
                        }
                    return bytes;
                };
                const auto expected = draw(TPath::Plain, false);
                for (TPath path : Ramp::paths())
                    ASSERT_EQ(draw(path, true), expected)
                        << lineCount << " lines of " << pieceCount << " pieces, " << copyCount
                        << " copies, round " << round << ", path " << int(path);
            }
}

// A single unchanging piece is a fill, which the fast paths write their own way.
TEST(Ramp, FastFillsMatchThePlainLoop) {
    for (int n = 1; n <= 40; ++n) {
        Ramp::TPiece piece;
        piece.n = n;
        for (std::size_t c = 0; c < 3; ++c)
            channel(piece, c, int(40 * c + 3), int(40 * c + 3), false);
        Copies plain(n, {{2, 0, 1}}, 1);
        Ramp::linesWith(TPath::Plain, &piece, 1, plain.copies.data(), 1);
        for (TPath path : Ramp::paths()) {
            Copies fast(n, {{2, 0, 1}}, 1);
            Ramp::linesWith(path, &piece, 1, fast.copies.data(), 1);
            ASSERT_EQ(fast.buffers, plain.buffers) << n << " pixels, path " << int(path);
        }
    }
}

TEST(Ramp, FastMaximaMatchThePlainLoop) {
    std::mt19937 random(5);
    for (std::size_t n : {1, 15, 16, 17, 31, 32, 33, 95, 1000})
        for (std::size_t offset = 0; offset < 3; ++offset) {
            std::vector<std::uint8_t> a(n + 3), b(n + 3);
            for (std::size_t i = 0; i < a.size(); ++i)
                a[i] = std::uint8_t(random()), b[i] = std::uint8_t(random());
            std::vector<std::uint8_t> plain(n + 3, 0xA5);
            Ramp::maxBytesWith(TPath::Plain, plain.data() + offset, a.data() + offset,
                               b.data() + offset, n);
            for (std::size_t i = 0; i < n; ++i)
                ASSERT_EQ(plain[offset + i], std::max(a[offset + i], b[offset + i]));
            for (TPath path : Ramp::paths()) {
                std::vector<std::uint8_t> fast(n + 3, 0xA5);
                Ramp::maxBytesWith(path, fast.data() + offset, a.data() + offset, b.data() + offset,
                                   n);
                ASSERT_EQ(fast, plain) << n << " bytes at " << offset << " path " << int(path);
            }
        }
}
