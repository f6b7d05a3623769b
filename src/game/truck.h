// SPDX-License-Identifier: MIT
// The truck driving the road in the truck stages: where it stands, what lies ahead, its turns and crashes.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Locates the truck's cells, looks ahead, turns in corners, and ends the run at the goal or on a crash.
void SteerTruck(Game& g);
// Re-places the truck a quarter turn round, centred in the cell whose left and top are given.
void TurnTruck(GameState& s, int cellLeft, int cellTop, int marginX, int marginY, int width, int height);
// A tile that leads off the board (or into the start when moving down) crashes the truck; true when
// HandleMiss was called.
bool CheckEdgeTile(Game& g, int cell);

}  // namespace kanuvo
