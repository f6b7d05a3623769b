// SPDX-License-Identifier: MIT
// The road assist, on A: while it is on, a run outlines the road as far as it runs unbroken from the
// start, as a won road is lit; in truck stages, the part the truck has still to reach. A clear made
// with its help sets no best time.
#pragma once

#include <vector>

#include "game/game.h"

namespace kanuvo {

// Turns the assist on or off and says so in the board's free corner. Turned on during a run, it
// marks the run as helped; turned off during one, it says that the run keeps no record.
void ToggleRoadAssist(Game& g);
// The cells to outline now: the road from the start's exit, or in truck stages from beyond the cell
// the truck's front stands in; the goal is among them once the road reaches it.
std::vector<int> AssistRoad(const GameState& s);
// Whether the road ahead runs unbroken to the goal, or the truck's front is in it already.
bool RoadAheadReachesGoal(const GameState& s);
// Outlines the road as it lies now and takes the outline off the cells that have left it (all of
// them when the assist is off). Called on every pass of a run.
void ShowAssistRoad(Game& g);

}  // namespace kanuvo
