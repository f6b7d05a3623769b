// SPDX-License-Identifier: MIT
// A full disk for as long as a test needs one, made without privileges by a limit on file sizes.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kanuvo {

// While it lives, no file this process writes can grow at all: the write fails (EFBIG) where a full
// disk's fails (ENOSPC), and no signal ends the process for it.
class FullDisk {
public:
    FullDisk() : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &before_);
        const rlimit full{0, before_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    void (*previous_)(int);
    rlimit before_{};
};

}  // namespace kanuvo
