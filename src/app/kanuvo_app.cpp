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
    form.Command1().onClick = [g] { Command1Click(*g); };
    form.Command2().onClick = [g] { Command2Click(*g); };
    form.Command3().onClick = [g] { Command3Click(*g); };
    form.Command1().onMouseMove = [g] { Command1MouseMove(*g); };
    form.Command2().onMouseMove = [g] { Command2MouseMove(*g); };
    form.Command3().onMouseMove = [g] { Command3MouseMove(*g); };
    form.Picture1().onMouseMove = [g] { Picture1MouseMove(*g); };
    form.Picture1().onKeyDown = [g](int keyCode) { Picture1KeyDown(*g, keyCode); };
    form.Timer1().onTimer = [g] { Timer1Timer(*g); };
    form.Timer2().onTimer = [g] { Timer2Timer(*g); };
    form.Timer3().onTimer = [g] { Timer3Timer(*g); };
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
