#pragma once

// Makes every file write of this process fail past `bytes` per file (EFBIG),
// the way a full disk makes it fail, for as long as it lives. Writers that
// buffer (QSaveFile) meet the failure only when they flush. Windows has no
// per-process file size limit: there the scope does nothing, and tests that
// need it skip through SKIP_WITHOUT_DISK_FULL.
#ifdef _WIN32

class TDiskFullScope {
public:
    static constexpr bool Available = false;
    explicit TDiskFullScope(unsigned long long) {}
    TDiskFullScope(const TDiskFullScope&) = delete;
    TDiskFullScope& operator=(const TDiskFullScope&) = delete;
};

#else

#include <csignal>
#include <sys/resource.h>

class TDiskFullScope {
public:
    static constexpr bool Available = true;
    explicit TDiskFullScope(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TDiskFullScope() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    TDiskFullScope(const TDiskFullScope&) = delete;
    TDiskFullScope& operator=(const TDiskFullScope&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

#endif

#define SKIP_WITHOUT_DISK_FULL()                                                                   \
    if (!TDiskFullScope::Available)                                                                \
    GTEST_SKIP() << "Windows has no per-process file size limit to fake a full disk with; the "    \
                    "native test run proves this, and the locked-file tests a failed write on "    \
                    "Windows"
