// SPDX-License-Identifier: MIT
// A full disk for as long as a test needs one, made without privileges by a limit on file sizes.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kanuvo {

// While it lives, no file this process writes can grow past roomBytes: the write fails (EFBIG) where a
// full disk's fails (ENOSPC), and the process is not signalled for it.
class FullDisk {
public:
    explicit FullDisk(rlim_t roomBytes = 0) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit full = before_;
        full.rlim_cur = roomBytes;
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previous_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    void (*previous_)(int);
    rlimit before_{};
};

}  // namespace kanuvo
