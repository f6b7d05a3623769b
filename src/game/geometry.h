// SPDX-License-Identifier: MIT
// Board geometry: the cell size and rectangles, and where the picture boxes, buttons, gauge and
// truck stand for the window's size and the board size.
#pragma once

#include "game/board.h"
#include "game/game.h"

namespace kanuvo {

// Sets CellSize from the window's inner height and BoardSize, and the rectangles of cells 1..N*N.
void ComputeCellRects(Game& g);
// BoardView and BoardCopy cover the window's inner area from its origin.
void SizeBoardPictures(Game& g);
// The Exit, New Game and Start buttons in a column right of the board, with font sizes by N.
void PlaceBoardButtons(Game& g);
// TruckLength, TruckBreadth, TruckRect and Heading for a truck standing in the start cell.
void PlaceTruckAtStart(GameState& s);
// The time gauge's frame (GaugeFrame) and bar (GaugeBar) centred in the margin above the board.
void LayoutGauge(Game& g);
// The rectangle of an N x N board's cells, from the goal's top-left corner to the start's bottom-right.
inline Rect CellsArea(const BoardState& s, int boardSize) {
    const Rect& goal = s.CellRects[GoalCell];
    const Rect& start = s.CellRects[StartCell(boardSize)];
    return {goal.left, goal.top, start.right, start.bottom};
}
// True when left <= x < right and top <= y < bottom. Inline: the truck tests it for every cell on every pass.
inline bool PointInCell(const Rect& rect, float x, float y) {
    const double px = x;
    const double py = y;
    return rect.left <= px && px < rect.right && rect.top <= py && py < rect.bottom;
}

}  // namespace kanuvo
