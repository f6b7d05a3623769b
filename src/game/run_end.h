// SPDX-License-Identifier: MIT
// What the board tells the player once a run has ended: a banner for each way a run ends, the road
// that won lit up, and the best clear time of each stage. Drawn over the board after the run's own
// drawing; the next full redraw removes it.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"

namespace kanuvo {

// Called at Start: forgets the last run and notes the stage and board this one plays.
void BeginRunRecord(GameState& s);
// Notes the cells under the truck after a pass of a truck stage, so a won road can be lit.
void NoteTruckPath(GameState& s);
// The cells of the road from the start to the goal as they lie on the last run's board, start and
// goal included; empty when the road breaks before the goal.
std::vector<int> RoadToGoal(const GameState& s);
// Lights the winning road and draws the banner of the run that just ended. Game Over draws nothing
// here: its lettering grows first (ShowGameOverHint follows it).
void ShowRunEnd(Game& g);
// The line under the finished Game Over lettering, whose last drawing ends at letteringBottom.
void ShowGameOverHint(Game& g, int letteringBottom);
// Seconds as m:ss.
std::string MinutesAndSeconds(int seconds);

}  // namespace kanuvo
