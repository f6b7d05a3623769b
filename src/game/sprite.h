// SPDX-License-Identifier: MIT
// The truck sprite on the board, its one-pixel steps, and the retries shown below the board.
#pragma once

#include "game/game.h"

namespace kanuvo {

// A sprite: its mask merged in (the shape turns white), then its picture ANDed over it.
void DrawSprite(Surface& surface, const Picture& mask, const Picture& picture, double x, double y, double width,
                double height);
// Draws the truck sprite at TruckRect on BoardView, facing its heading (in a route stage, out of the start).
void DrawTruck(Game& g);
// One truck step: repaints the cells under the truck, moves it a pixel, draws it, copies the board.
void StepTruck(Game& g, Surface& surface);
// The retries left, as small standing trucks below a board of boardSize cells a side.
void DrawLives(Game& g, int boardSize);

}  // namespace kanuvo
