// SPDX-License-Identifier: MIT
// The board's free corner, in the margin below its left-hand columns, where nothing else is drawn:
// the hint that F1 shows the help page.
#pragma once

#include "game/game.h"

namespace kanuvo {

// The corner: the margin's full height below the board, from the window's left edge to the column
// under which the first retry stands.
Rect CornerArea(const GameState& s);
// Letters the corner afresh on the surface, which shows the board.
void DrawCorner(Game& g, Surface& surface);

}  // namespace kanuvo
