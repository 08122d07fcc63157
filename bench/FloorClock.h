#pragma once

// Puts a pixel loop beside its floor: the plainest operation over the same bytes (memset for what
// fills memory, memcpy for what reads one picture into another), timed in the same run with the
// same clock. The machine is shared, so the fastest pass of each counts. The benchmark reports the
// floor as `floor_us` and its own fastest pass as a multiple of it, `x_floor`.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

class TFloorClock {
public:
    static TFloorClock memsetOf(std::size_t bytes) {
        std::vector<unsigned char> buffer(bytes);
        int value = 0;
        return TFloorClock([&] {
            std::memset(buffer.data(), ++value & 0xFF, bytes);
            benchmark::ClobberMemory();
        });
    }
    static TFloorClock memcpyOf(std::size_t bytes) {
        std::vector<unsigned char> from(bytes, 7), to(bytes);
        return TFloorClock([&] {
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::ClobberMemory();
        });
    }

    // One timed pass of the measured operation.
    template <typename F>
    void pass(F&& operation) {
        const auto started = Clock::now();
        operation();
        m_best = std::min(m_best, Clock::now() - started);
    }

    void report(benchmark::State& state) const {
        const double floor = std::chrono::duration<double, std::micro>(m_floor).count();
        const double best = std::chrono::duration<double, std::micro>(m_best).count();
        state.counters["floor_us"] = floor;
        state.counters["x_floor"] = floor > 0 ? best / floor : 0.0;
    }

private:
    using Clock = std::chrono::steady_clock;

    // At least 20 passes of the floor and about 20 ms of them, the buffers warmed by the first.
    template <typename F>
    explicit TFloorClock(F&& floorPass) {
        floorPass();
        const auto until = Clock::now() + std::chrono::milliseconds(20);
        for (int n = 0; n < 20 || Clock::now() < until; ++n) {
            const auto started = Clock::now();
            floorPass();
            m_floor = std::min(m_floor, Clock::now() - started);
        }
    }

    Clock::duration m_floor = Clock::duration::max();
    Clock::duration m_best = Clock::duration::max();
};
