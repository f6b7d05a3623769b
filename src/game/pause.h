// SPDX-License-Identifier: MIT
// Holding a run: P or Escape stops the time limit and the truck under a plate until pressed again.
#pragma once

#include "game/game.h"

namespace kanuvo {

bool IsPauseKey(int keyCode);
// Holds the run in progress: the time limit waits, and a plate covers the board, which its hidden
// copy takes first. Or resumes the held run: the board
// comes back from the copy, and the truck's next step is a full step interval away.
void TogglePause(Game& g);
// The held run is ending (Stop): the board comes back from its copy and the time limit is released
// for its handler to stop.
void EndPause(Game& g);
// The board's cells hidden under an empty field of the board's own colour, lettered as a banner.
void DrawPausePlate(Game& g);
// Where the plate lies: the board's cells, from the goal's top-left corner to the start's bottom-right
// one, edge lines included.
Rect PlateRect(const BoardState& s);

}  // namespace kanuvo
