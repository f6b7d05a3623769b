// Painting single cells: road tiles, the goal and start faces, and the empty cell.
#pragma once

#include "game/game.h"

namespace kanuvo {

// The grey rounded tile with the road of kind 1..6 in cell `cell`.
void PaintRoadTile(const GameState& s, int kind, int cell, Surface& surface);
// PaintRoadTile with the kind the cell holds; nothing for 0 (empty, start or goal).
void PaintCell(const GameState& s, int cell, Surface& surface);
// PaintCell for the cell the last slide moved a tile into.
void PaintMovedTile(const GameState& s, Surface& surface);
void PaintGoal(const GameState& s, int cell, Surface& surface);
void PaintStart(const GameState& s, int cell, Surface& surface);
// Repaints the lines between cells where they cross `area` (left and top edges included, right and
// bottom not): the background, and the road bands that run across them.
void PaintLinesBetweenCells(const GameState& s, const Rect& area, Surface& surface);
// Erases cell N*N-N-1 to the surface's background colour, makes it TileEmpty; returns its index.
int MakeEmptyCell(GameState& s, Surface& surface);

}  // namespace kanuvo
