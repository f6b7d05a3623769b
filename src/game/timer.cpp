// SPDX-License-Identifier: MIT
// The game's clock and its timers.
#include "game/timer.h"

#include <algorithm>

namespace kanuvo {

void GameClock::SetFast(bool fast) {
    if (fast == fast_) return;
    if (fast) {
        at_ = Now();
        asked_ = platform_.Now();
    } else {
        ahead_ = at_ - platform_.Now();
    }
    fast_ = fast;
}

std::uint32_t GameClock::FastUntil(int pace, int mostMs) {
    const std::uint32_t now = platform_.Now();
    const std::uint32_t passed = std::min(now - asked_, static_cast<std::uint32_t>(mostMs));
    asked_ = now;
    return at_ + passed * static_cast<std::uint32_t>(pace);
}

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
