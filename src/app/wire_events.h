// SPDX-License-Identifier: MIT
// The game's handlers wired to a window's events, the same for every platform's window.
#pragma once

#include "game/corner.h"
#include "game/flow.h"
#include "game/game.h"
#include "game/help.h"
#include "game/input.h"
#include "game/play.h"

namespace kanuvo {

// Connects every event of the window to the game's handler for it. Every key goes to the game's one
// key handler, whichever part of the window has the focus.
template <class WindowForm>
void WireEvents(WindowForm& form, Game& game) {
    Game* g = &game;
    const auto key = [g](int keyCode) { KeyDown(*g, keyCode); };
    form.onKeyDown = key;
    form.BoardView().onKeyDown = key;
    form.HelpView().onKeyDown = key;
    form.HelpView().onMouseDown = [g](int, int, int) { CloseHelp(*g); };
    form.onLoad = [g] { FormLoad(*g); };
    form.onQueryUnload = [g] { FormQueryUnload(*g); };
    form.onMouseDown = [g] { FormMouseDown(*g); };
    form.onResize = [g] { FormResize(*g); };
    form.ExitButton().onClick = [g] { ExitClick(*g); };
    form.NewGameButton().onClick = [g] { NewGameClick(*g); };
    form.StartStopButton().onClick = [g] { StartStopClick(*g); };
    form.ExitButton().onMouseMove = [g] { ExitMouseMove(*g); };
    form.NewGameButton().onMouseMove = [g] { NewGameMouseMove(*g); };
    form.StartStopButton().onMouseMove = [g] { StartStopMouseMove(*g); };
    form.BoardView().onMouseMove = [g] { BoardMouseMove(*g); };
    form.BoardView().onMouseDown = [g](int button, int x, int y) { BoardMouseDown(*g, button, x, y); };
    form.TitleTimer().onTimer = [g] { TitleTick(*g); };
    form.TimeLimitTimer().onTimer = [g] { TimeLimitTick(*g); };
    form.GameOverTimer().onTimer = [g] { GameOverTick(*g); };
    form.NoteTimer().onTimer = [g] { NoteTick(*g); };
}

}  // namespace kanuvo
