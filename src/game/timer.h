// SPDX-License-Identifier: MIT
// The game's clock and its timers: the window wakes the game when the first of them falls due.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/system.h"

namespace kanuvo {

// The game's time: the platform's clock, run ahead while a run is fast-forwarded. Fast, it stands at
// the tick the game last moved it to, and the game moves it on from one due tick to the next, as far
// as the platform's time since it last asked buys at the pace; back at the platform's pace it goes on
// from where it stands, so it never runs back.
class GameClock : public Clock {
public:
    explicit GameClock(Clock& platform) : platform_(platform) {}
    GameClock(const GameClock&) = delete;
    GameClock& operator=(const GameClock&) = delete;

    std::uint32_t Now() override { return fast_ ? at_ : platform_.Now() + ahead_; }
    bool Fast() const { return fast_; }
    void SetFast(bool fast);
    // While fast: the tick that the platform's time since the last call, at most mostMs of it, buys
    // at pace game milliseconds to one.
    std::uint32_t FastUntil(int pace, int mostMs);
    // While fast: the game's time is now tick.
    void MoveTo(std::uint32_t tick) { at_ = tick; }

private:
    Clock& platform_;
    std::uint32_t ahead_ = 0;  // the game's ticks ahead of the platform's, at the platform's pace
    bool fast_ = false;
    std::uint32_t at_ = 0;     // while fast: the game's tick
    std::uint32_t asked_ = 0;  // while fast: the platform's tick at the last FastUntil
};

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
