// SPDX-License-Identifier: MIT
// The help page: F1 lays it over the whole window at any time, and it holds the game until F1 or
// Escape takes it away again.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Lays the page over the window and holds the game: the time limit, the truck, the title, the Game
// Over lettering and a fading note all wait until the page goes.
void ShowHelp(Game& g);
// Takes the page away: the window shows exactly what it showed before, and the game goes on as it
// was (a run that was paused stays paused).
void CloseHelp(Game& g);
// Draws the page on the help view.
void DrawHelpPage(Game& g);

}  // namespace kanuvo
