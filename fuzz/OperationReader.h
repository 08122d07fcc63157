#pragma once

// Reads a fuzz input as a small program: an operation code, then that operation's arguments,
// again and again until the bytes run out. Arguments past the end read as 0, so every input is
// a whole program.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

class TOperationReader {
public:
    TOperationReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    bool atEnd() const noexcept { return FPos >= FSize; }

    std::uint8_t byte() noexcept { return atEnd() ? 0 : FData[FPos++]; }
    bool flag() noexcept { return byte() & 1; }

    // lo ... hi, both included.
    int intIn(int lo, int hi) noexcept {
        const std::uint64_t span = std::uint64_t(std::int64_t(hi) - lo) + 1;
        return int(lo + std::int64_t(word() % span));
    }

    // Any int, most often small or near the ends of the range, where arithmetic breaks.
    int anyInt() noexcept {
        switch (byte() % 4) {
        case 0:
            return intIn(-64, 320);
        case 1:
            return byte() % 2 ? INT_MAX - intIn(0, 64) : INT_MIN + intIn(0, 64);
        case 2:
            return intIn(-(1 << 20), 1 << 20);
        default:
            return int(std::uint32_t(word()));
        }
    }

    double anyDouble() noexcept {
        switch (byte() % 3) {
        case 0:
            return intIn(-300, 300) / 4.0;
        case 1:
            return double(anyInt()) * (byte() % 2 ? 1.0 : 1e300);
        default: {
            const std::uint64_t bits = word();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        }
    }

private:
    std::uint64_t word() noexcept {
        std::uint64_t w = 0;
        for (int i = 0; i < 8; ++i)
            w = (w << 8) | byte();
        return w;
    }

    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};
