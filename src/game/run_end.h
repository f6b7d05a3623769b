// SPDX-License-Identifier: MIT
// What the board tells the player once a run has ended: a banner for each way a run ends, the road
// that won lit up, and the best clear time of each stage. Drawn over the board after the run's own
// drawing; the next full redraw removes it.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"

namespace kanuvo {

// Called at Start: forgets the last run and notes the stage and board this one plays, at its pace.
void BeginRunRecord(GameState& s);
// Notes the cells under the truck after a pass of a truck stage, so a won road can be lit.
void NoteTruckPath(GameState& s);
// The cells of the road from the start to the goal as they lie on the last run's board, start and
// goal included; empty when the road breaks before the goal.
std::vector<int> RoadToGoal(const GameState& s);
// A clear's best time: this run's is kept when it is the best so far; NewRecord and BestTime say
// which for the banner.
void KeepBestTime(Game& g);
// Lights the winning road and draws the banner of the last run, if one has ended. Game Over draws
// nothing here: its lettering grows first (DrawGameOver).
void ShowRunEnd(Game& g);
// The Game Over lettering's drawing grown `growths` times from the smallest, centred on the window:
// whether it fits inside the margin at which the lettering stops growing, and drawing it. Earlier,
// smaller drawings stay, so the lettering seems to zoom out of the board's middle.
bool GameOverDrawingFits(Game& g, int growths);
void DrawGameOverLettering(Game& g, int growths);
// The line under the finished Game Over lettering, centred below its last drawing.
void ShowGameOverHint(Game& g);
// What a Game Over board shows: every drawing of the lettering so far, and its hint once it has come.
void DrawGameOver(Game& g);
// Seconds as m:ss.
std::string MinutesAndSeconds(int seconds);

}  // namespace kanuvo
