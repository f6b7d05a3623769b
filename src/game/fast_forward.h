// SPDX-License-Identifier: MIT
// Fast-forward, on F: once a truck's road runs unbroken to the goal, the rest of the run goes at twenty
// times its pace, every tick and step the game's own, so that it ends as it would have, at the time it
// would have.
#pragma once

#include "game/game.h"

namespace kanuvo {

// The game's milliseconds to one of the platform's while a run goes fast.
inline constexpr int kFastForwardPace = 20;

// Whether F would fast-forward now: a truck run, not fast yet, whose road ahead reaches the goal.
bool CanFastForward(const GameState& s);
// Whether the run goes fast now: fast-forwarded, and held by neither a pause nor the help page.
bool FastForwarding(const GameState& s);
// F: the rest of the run goes fast, where it can.
void StartFastForward(Game& g);
// Offers F in the board's free corner while it can be used, and takes the offer back when it cannot;
// on a touch screen the platform's control offers it.
void OfferFastForward(Game& g);

}  // namespace kanuvo
