#pragma once

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

// Ends the run when one test takes longer than a limit, naming the test: a test that waits
// forever (a modal loop nobody answers, a process that never ends) would otherwise hold the
// whole run, and a CI job with it, without a word of where. A thread of its own watches, so a
// test that blocks the event loop is caught as well.
class TTestWatchdog : public ::testing::EmptyTestEventListener {
public:
    // The limit in seconds from $HUESPLINTER_TEST_TIMEOUT (0 turns the watchdog off), else
    // `fallback`.
    static std::chrono::seconds limitFromEnvironment(std::chrono::seconds fallback) {
        bool ok = false;
        const int seconds = qEnvironmentVariableIntValue("HUESPLINTER_TEST_TIMEOUT", &ok);
        return ok && seconds >= 0 ? std::chrono::seconds(seconds) : fallback;
    }

    explicit TTestWatchdog(std::chrono::seconds limit) : limit_(limit) {
        thread_ = std::thread([this] { watch(); });
    }
    ~TTestWatchdog() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    TTestWatchdog(const TTestWatchdog&) = delete;
    TTestWatchdog& operator=(const TTestWatchdog&) = delete;

    void OnTestStart(const ::testing::TestInfo& test) override {
        {
            std::lock_guard lock(mutex_);
            running_ = std::string(test.test_suite_name()) + '.' + test.name();
            deadline_ = std::chrono::steady_clock::now() + limit_;
        }
        wake_.notify_all();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        {
            std::lock_guard lock(mutex_);
            running_.clear();
        }
        wake_.notify_all();
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            if (running_.empty()) {
                wake_.wait(lock);
                continue;
            }
            const auto deadline = deadline_;
            wake_.wait_until(lock, deadline);
            if (!stop_ && !running_.empty() && deadline_ == deadline &&
                std::chrono::steady_clock::now() >= deadline) {
                std::fprintf(stderr,
                             "\n[ TIMEOUT  ] %s still runs after %lld s: the run is ended.\n",
                             running_.c_str(), static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                std::fflush(stdout);
                std::_Exit(3);
            }
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string running_;
    std::chrono::steady_clock::time_point deadline_;
    bool stop_ = false;
    std::thread thread_;
};
