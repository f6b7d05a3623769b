// SPDX-License-Identifier: MIT
// The whole screen drawn again from the game's state: what the player saw, drawn there bit by bit,
// comes back the same at a new pixel ratio, size or language.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Draws everything the window shows from the state alone: the title, or the board with its caption,
// truck, retries, free corner and road assist's outline, the last run's banner and lit road, the Game
// Over lettering as far as it has grown, the pause plate; and the help page over them. Changes nothing
// but pixels, so it may come at any time between two of the game's handlers.
void RepaintScreen(Game& g);

}  // namespace kanuvo
