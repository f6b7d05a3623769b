// SPDX-License-Identifier: MIT
// The game's flow: start-up, the main loop, the buttons, the end of a run, and Game Over.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Window events.
void FormLoad(Game& g);
void FormQueryUnload(Game& g);
void ExitClick(Game& g);  // Exit
void NewGameClick(Game& g);  // New Game
void StartStopClick(Game& g);  // Start / Stop
void GameOverTick(Game& g);    // Game Over lettering, grown every kGameOverTickMs
void TimeLimitTick(Game& g);   // one second of the run's time limit
// The inner area changed after start-up: a window system may frame the window only once it is shown.
void FormResize(Game& g);

// The window side in pixels for the screen's height, made smaller where it would not fit the desktop.
int ComputeWindowSize(Game& g);

// The run in progress: events between passes, the route trace or the truck.
void RunGameLoop(Game& g);
// Whether a truck step is due in this pass.
void UpdateStepDue(Game& g);

// Dims each of the three buttons whose click would do nothing in the game's present state: Start
// until a fresh board is dealt, New Game during a run.
void ShowWhichButtonsAct(Game& g);

// Ends the run in a clear (the game's ClearStage: on to the next stage, both retries back) or in a
// miss (HandleMiss: a retry spent; Game Over, when none was left, is noted whatever the cause).
void EndRun(Game& g, RunEnd end);
// Acts on what a step of the run says happened: nothing (None), a clear, or a miss.
void EndRunIf(Game& g, RunEnd end);

// After the language changed: the buttons' captions, the title or the stage caption, the F1 hint,
// the goal and start cells and the pause plate in the new one, at once. What the end of a run
// lettered takes it with the next board.
void RewordWindow(Game& g);

}  // namespace kanuvo
