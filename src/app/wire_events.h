// SPDX-License-Identifier: MIT
// The game's handlers wired to a window's events, the same for every platform's window.
#pragma once

#include "game/corner.h"
#include "game/flow.h"
#include "game/game.h"
#include "game/help.h"
#include "game/input.h"
#include "game/play.h"
#include "game/repaint.h"

namespace kanuvo {

// Connects every event of the window to the game's handler for it, each followed by the time now
// (AdvanceTime), which makes the run's pass the event may call for and sets the window's next wake.
// Every key goes to the game's one key handler, whichever part of the window has the focus.
template <class WindowForm>
void WireEvents(WindowForm& form, Game& game) {
    Game* g = &game;
    const auto then = [g](auto handler) {
        return [g, handler](auto... event) {
            handler(*g, event...);
            AdvanceTime(*g);
        };
    };
    const auto key = then(KeyDown);
    form.onKeyDown = key;
    form.BoardView().onKeyDown = key;
    form.HelpView().onKeyDown = key;
    form.HelpView().onMouseDown = then([](Game& game, int, int, int) { CloseHelp(game); });
    form.onLoad = then(FormLoad);
    form.onQueryUnload = [g] { FormQueryUnload(*g); };
    form.onMouseDown = then(FormMouseDown);
    form.onResize = then(FormResize);
    // A repaint changes nothing but pixels: the time need not be looked at again.
    form.onRepaint = [g] { RepaintScreen(*g); };
    form.onWake = [g] { AdvanceTime(*g); };
    form.ExitButton().onClick = then(ExitClick);
    form.NewGameButton().onClick = then(NewGameClick);
    form.StartStopButton().onClick = then(StartStopClick);
    form.ExitButton().onMouseMove = then(ExitMouseMove);
    form.NewGameButton().onMouseMove = then(NewGameMouseMove);
    form.StartStopButton().onMouseMove = then(StartStopMouseMove);
    form.BoardView().onMouseMove = then(BoardMouseMove);
    form.BoardView().onMouseDown = then(BoardMouseDown);
}

}  // namespace kanuvo
