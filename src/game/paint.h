// SPDX-License-Identifier: MIT
// Painting single cells: road tiles, the goal and start faces, and the empty cell.
#pragma once

#include "game/game.h"

namespace kanuvo {

// The grey rounded tile with the road of `kind` in cell `cell`; the bare grey tile for Empty.
void PaintRoadTile(const BoardState& s, TileKind kind, int cell, Surface& surface);
// PaintRoadTile with the kind the cell holds; nothing for Empty (the empty cell, start or goal).
void PaintCell(const BoardState& s, int cell, Surface& surface);
// PaintCell for the cell the last slide moved a tile into.
void PaintMovedTile(const BoardState& s, Surface& surface);
// The font of the goal's and the start's labels, and of the stage caption.
Font LabelFont(const BoardState& s);
// The goal's and the start's faces with their labels in the player's language.
void PaintGoal(Game& g, int cell, Surface& surface);
void PaintStart(Game& g, int cell, Surface& surface);
// Outlines the cell in bright gold just inside its rectangle, as a lit road shows.
void LightCell(const BoardState& s, int cell, Surface& surface);
// Fills the cell's rectangle, and the lines right of and below it, with the board's ground.
void EraseCell(const BoardState& s, int cell, Surface& surface);
// Repaints the lines between cells where they cross `area` (left and top edges included, right and
// bottom not): the background, and the road bands that run across them.
void PaintLinesBetweenCells(const BoardState& s, const Rect& area, Surface& surface);

}  // namespace kanuvo
