#include "palette/ChannelPermute.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

using ChannelPermute::TOrder;
using ChannelPermute::TPath;

namespace {

constexpr std::array kOrders{TOrder::SwapRG, TOrder::SwapBG, TOrder::SwapRB, TOrder::RotateForward,
                             TOrder::RotateBackward};

} // namespace

// Blue, green, red of one pixel, exchanged as each name says.
TEST(ChannelPermute, EachOrderMovesTheChannelsItNames) {
    const std::array<std::uint8_t, 3> bgr{10, 20, 30};
    const std::array<std::array<std::uint8_t, 3>, 5> expected{{
        {10, 30, 20}, // red and green exchanged
        {20, 10, 30}, // blue and green exchanged
        {30, 20, 10}, // red and blue exchanged
        {20, 30, 10}, // red to green, green to blue, blue to red
        {30, 10, 20}, // and back
    }};
    for (std::size_t o = 0; o < kOrders.size(); ++o)
        for (TPath path : ChannelPermute::paths()) {
            std::array<std::uint8_t, 3> out{};
            ChannelPermute::permuteWith(path, kOrders[o], out.data(), bgr.data(), 1);
            EXPECT_EQ(out, expected[o]) << "order " << o << " path " << int(path);
        }
}

// Every fast path writes exactly the plain loop's bytes, on odd and short runs at every byte
// offset, and not one byte past the run.
TEST(ChannelPermute, FastPathsMatchThePlainLoopOnAnyRunAndAlignment) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> source(3 * 160 + 8);
    for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 31, 48, 129})
        for (int from = 0; from < 4; ++from)
            for (int to = 0; to < 4; ++to)
                for (TOrder order : kOrders) {
                    for (std::uint8_t& byte : source)
                        byte = std::uint8_t(random());
                    std::vector<std::uint8_t> plain(source.size(), 0xA5);
                    ChannelPermute::permuteWith(TPath::Plain, order, plain.data() + to,
                                                source.data() + from, width);
                    for (TPath path : ChannelPermute::paths()) {
                        std::vector<std::uint8_t> fast(source.size(), 0xA5);
                        ChannelPermute::permuteWith(path, order, fast.data() + to,
                                                    source.data() + from, width);
                        ASSERT_EQ(fast, plain) << width << " pixels from " << from << " to " << to
                                               << " order " << int(order) << " path " << int(path);
                    }
                    std::vector<std::uint8_t> chosen(source.size(), 0xA5);
                    ChannelPermute::permute(order, chosen.data() + to, source.data() + from, width);
                    ASSERT_EQ(chosen, plain) << width;
                }
}
