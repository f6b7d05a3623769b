// SPDX-License-Identifier: MIT
// The game's one key handler: every key the window takes, wherever its focus is.
#pragma once

#include "game/game.h"

namespace kanuvo {

// A key pressed. While the help page shows it holds the game: F1 and Escape take it away, L switches
// the language, M and A work as ever. Otherwise the board takes every key first (a run slides, holds
// and judges the road with it), then M mutes or unmutes, A turns the road assist, F1 shows the help
// page, and Enter and N press スタート and 新ゲーム, each only when a click on its button would act
// and no run was in progress when the key came.
void KeyDown(Game& g, int keyCode);

}  // namespace kanuvo
