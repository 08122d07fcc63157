#pragma once

#include <csignal>
#include <sys/resource.h>

// Makes every file write of this process fail past `bytes` per file (EFBIG),
// the way a full disk makes it fail, for as long as it lives. Writers that
// buffer (QSaveFile) meet the failure only when they flush.
class TDiskFullScope {
public:
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
