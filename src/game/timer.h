// SPDX-License-Identifier: MIT
// The game's timers, counted on its clock: the window wakes the game when the first of them falls due.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/system.h"

namespace kanuvo {

// Falls due once a period while enabled and not held; the game raises its tick when it is woken at
// or after that time. Without a period it never falls due.
class Timer {
public:
    Timer(Clock& clock, bool enabled) : clock_(clock), enabled_(enabled) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // A new period of that length begins now, if the timer is enabled.
    void SetPeriod(int ms);
    int Period() const { return period_; }
    // Enabling starts a fresh period; enabling an enabled timer changes nothing. Disabling ends a hold.
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    // Held, an enabled timer keeps what was left of its period; released, it falls due once that
    // remainder has passed.
    void SetHeld(bool held);
    bool Held() const { return held_; }

    // The tick it next falls due at; none while it counts nothing.
    std::optional<std::uint32_t> Due() const;
    // Takes the tick that has fallen due: the next period follows this one, or starts now where the
    // game was woken a whole period late, so that a stalled machine gets one tick, not a burst.
    void Restart();

private:
    bool Counting() const { return enabled_ && !held_ && period_ > 0; }
    void Start(int ms);

    Clock& clock_;
    int period_ = 0;
    bool enabled_;
    bool held_ = false;
    std::uint32_t due_ = 0;    // while counting
    int heldRemainder_ = -1;   // while held: what was left of the period; -1 for a full one
};

}  // namespace kanuvo
