// SPDX-License-Identifier: MIT
// The truck driving the road in the truck stages: where it stands, what lies ahead, its turns and crashes.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Locates the truck's cells, looks ahead and turns in corners; says whether the truck has reached the
// goal (Cleared) or crashed (Crashed), None while it drives on.
RunEnd SteerTruck(GameState& s);
// Re-places the truck a quarter turn round, centred in the cell whose left and top are given.
void TurnTruck(GameState& s, int cellLeft, int cellTop, int marginX, int marginY, int width, int height);
// Whether the tile in this edge cell leads the truck off the board (or into the start when moving down).
bool CheckEdgeTile(const GameState& s, int cell);

}  // namespace kanuvo
