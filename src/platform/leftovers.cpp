// SPDX-License-Identifier: MIT
// The files a run must not leave behind: their paths in fixed buffers, each switched on by a flag
// that a signal handler reads without a lock.
#include "platform/leftovers.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace kanuvo {

namespace {

struct Tracked {
    char path[PATH_MAX];
    std::atomic<bool> set{false};  // lock-free, so a handler on any thread may read it
};
Tracked g_tracked[2];

Tracked& Slot(Leftover kind) { return g_tracked[kind == Leftover::Lock ? 0 : 1]; }

}  // namespace

void TrackLeftover(Leftover kind, const std::string& path) {
    Tracked& slot = Slot(kind);
    slot.set.store(false);
    if (path.size() >= sizeof slot.path) return;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.set.store(true);
}

void ForgetLeftover(Leftover kind) { Slot(kind).set.store(false); }

void RemoveLeftoversNow() {
    static_assert(std::atomic<bool>::is_always_lock_free);
    for (Tracked& slot : g_tracked) {
        if (slot.set.exchange(false)) ::unlink(slot.path);
    }
}

}  // namespace kanuvo
