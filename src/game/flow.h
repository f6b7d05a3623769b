// SPDX-License-Identifier: MIT
// The game's flow: start-up, the run's passes as time goes on, the buttons, the end of a run, and Game
// Over.
#pragma once

#include <cstdint>
#include <optional>

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

// The time is now the clock's: raises the timer ticks that have fallen due, makes a pass of the run,
// runs a route trace on to its end, and sets the window's wake for when the game next needs the time.
// A fast-forwarded run is fed the game's time at kFastForwardPace, a due tick at a time, and its wake
// is in the platform's time. The window calls it after every event it hands the game, and at every wake.
void AdvanceTime(Game& g);
// The game's tick at which it next needs the time: the first timer due, the truck's next step
// in a run going on, now while a route trace runs; none when nothing can change before an event.
std::optional<std::uint32_t> NextWake(Game& g);
// Each timer that has fallen due raises its tick, the earliest first.
void RaiseDueTicks(Game& g);
// One pass of a run going on (none while it is held): a step of the route trace, or the truck's
// step when due and its steering, and the road assist's outline.
void RunPass(Game& g);
// Whether a truck step is due in this pass.
void UpdateStepDue(Game& g);

// Dims each of the three buttons whose click would do nothing in the game's present state: Start
// until a fresh board is dealt, New Game during a run.
void ShowWhichButtonsAct(Game& g);

// Ends the run in a clear (the game's ClearStage: on to the next stage, both retries back) or in a
// miss (HandleMiss: a retry spent; Game Over, when none was left, is noted whatever the cause), and
// says on the board how it ended.
void EndRun(Game& g, RunEnd end);
// Acts on what a step of the run says happened: nothing (None), a clear, or a miss.
void EndRunIf(Game& g, RunEnd end);

// After the language changed: the buttons' captions, the title or the stage caption, the F1 hint,
// the goal and start cells and the pause plate in the new one, at once. What the end of a run
// lettered takes it with the next board.
void RewordWindow(Game& g);

}  // namespace kanuvo
