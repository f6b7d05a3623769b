// The game's handlers wired to the window's events.
#include "app/kanuvo_app.h"

#include "game/app.h"
#include "game/play.h"

namespace kanuvo {

void WireEvents(MainForm& form, Game& game) {
    Game* g = &game;
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
    form.BoardView().onKeyDown = [g](int keyCode) { BoardKeyDown(*g, keyCode); };
    form.TitleTimer().onTimer = [g] { TitleTick(*g); };
    form.TimeLimitTimer().onTimer = [g] { TimeLimitTick(*g); };
    form.GameOverTimer().onTimer = [g] { GameOverTick(*g); };
}

KanuvoApp::KanuvoApp(Clock& clock, System& system, Sound& sound)
    : form(clock), game(form, system, clock, sound) {
    WireEvents(form, game);
}

void KanuvoApp::Start() {
    form.RaiseLoad();
    if (!form.Closed()) form.show();
}

}  // namespace kanuvo
