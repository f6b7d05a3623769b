// The road followed: the logical trace of the route stages, the truck of the truck stages, its
// sprite, and the retries shown below the board.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Begins a trace at the cell next to the start (called by the key handler in route stages).
void BeginRouteTrace(GameState& s);
// One step of the trace: may carry the route over several cells, break silently, or clear the stage.
void TraceRouteStep(Game& g);

// Locates the truck's cells, looks ahead, turns in corners, and ends the run at the goal or on a crash.
void SteerTruck(Game& g);
// Re-places the truck a quarter turn round, centred in the cell whose left and top are given.
void TurnTruck(GameState& s, int cellLeft, int cellTop, int marginX, int marginY, int width, int height);
// A tile that leads off the board (or into the start when moving down) crashes the truck; true when
// HandleMiss was called.
bool CheckEdgeTile(Game& g, int cell);

// Draws the truck sprite of the current heading at TruckRect on BoardView.
void DrawTruck(Game& g);
// One truck step: repaints the cells under the truck, moves it a pixel, draws it, copies the board.
void StepTruck(Game& g, Surface& surface);
// The retries left, as small standing trucks below the board.
void DrawLives(Game& g);

}  // namespace kanuvo
