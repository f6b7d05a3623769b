// SPDX-License-Identifier: MIT
// The game's timers, counted on its clock.
#include "game/timer.h"

#include <algorithm>

namespace kanuvo {

void Timer::Start(int ms) { due_ = clock_.Now() + static_cast<std::uint32_t>(ms); }

void Timer::SetPeriod(int ms) {
    period_ = ms;
    if (Counting()) Start(period_);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) {
        held_ = false;
        heldRemainder_ = -1;
    } else {
        Start(period_);
    }
}

void Timer::SetHeld(bool held) {
    held = held && enabled_;
    if (held == held_) return;
    if (held) {
        // A signed difference stays right across the tick count's wrap.
        const auto left = static_cast<std::int32_t>(due_ - clock_.Now());
        heldRemainder_ = period_ > 0 ? std::clamp(left, 0, period_) : -1;
    }
    held_ = held;
    if (!held) {
        Start(heldRemainder_ >= 0 ? heldRemainder_ : period_);
        heldRemainder_ = -1;
    }
}

std::optional<std::uint32_t> Timer::Due() const {
    if (!Counting()) return std::nullopt;
    return due_;
}

void Timer::Restart() {
    const std::uint32_t now = clock_.Now();
    due_ += static_cast<std::uint32_t>(period_);
    if (static_cast<std::int32_t>(due_ - now) <= 0) due_ = now + static_cast<std::uint32_t>(period_);
}

}  // namespace kanuvo
