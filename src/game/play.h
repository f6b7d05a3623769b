// SPDX-License-Identifier: MIT
// Play input and screen: sliding by key, the slide repaint, the title screen and pointer shapes, the
// full board redraw with its caption, and the time limit.
#pragma once

#include "game/game.h"

namespace kanuvo {

void BoardKeyDown(Game& g, int keyCode);
void SlideByKey(Game& g, int keyCode);
void SlideUp(Game& g, int emptyCell);
void SlideDown(Game& g, int emptyCell);
void SlideLeft(Game& g, int emptyCell);
void SlideRight(Game& g, int emptyCell);
void RepaintSlide(Game& g, Surface& boardView, Surface& boardCopy);
// A click on the board at (x, y) in its pixels: during a run, a left click on a tile next to the gap
// slides it as the arrow key that moves it would, and one on F's hint in the corner is F.
void BoardMouseDown(Game& g, int button, int x, int y);

// The title timer's period; the title ends on its eleventh tick.
constexpr int kTitleTickMs = 1000;
// A run's time limit, counted by the time-limit timer a second at a time.
constexpr int kTimeLimitSeconds = 180;
constexpr int kTimeLimitTickMs = 1000;

void FormMouseDown(Game& g);  // ends the title screen
void TitleTick(Game& g);
void EndTitle(Game& g);
void ExitMouseMove(Game& g);
void NewGameMouseMove(Game& g);
void StartStopMouseMove(Game& g);
void BoardMouseMove(Game& g);

// The title picture over the whole window.
void PaintTitle(Game& g);
// The board on screen as its state holds it, its hidden copy taking it: the ground, tiles, goal,
// start, truck and retries, the free corner and the road assist's outline.
void RedrawBoard(Game& g);
void PrintStageCaption(Game& g);

// One second of the run's time limit: the gauge shrinks, or, with all of it spent, the timer stops,
// the bar goes and the run has TimedOut (None otherwise).
RunEnd SpendSecond(Game& g);
void ShrinkGauge(Game& g);

}  // namespace kanuvo
