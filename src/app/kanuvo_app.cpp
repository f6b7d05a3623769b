// SPDX-License-Identifier: MIT
// The game's handlers wired to the window's events.
#include "app/kanuvo_app.h"

#include "app/display.h"

#include "game/assist.h"
#include "game/corner.h"
#include "game/flow.h"
#include "game/help.h"
#include "game/play.h"

namespace kanuvo {

void WireEvents(MainForm& form, Game& game, const std::function<void(int keyCode)>& programKey) {
    Game* g = &game;
    // F1 and the program's keys work everywhere, title screen and help page included; on the board
    // they are also keys of the game, which it gets first.
    form.onKeyDown = [g, programKey](int keyCode) {
        if (programKey) programKey(keyCode);
        if (keyCode == kKeyHelp) ShowHelp(*g);
    };
    form.BoardView().onKeyDown = [g, programKey](int keyCode) {
        BoardKeyDown(*g, keyCode);
        if (programKey) programKey(keyCode);
        if (keyCode == kKeyHelp) ShowHelp(*g);
    };
    form.HelpView().onKeyDown = [g, programKey](int keyCode) {
        if (programKey) programKey(keyCode);
        HelpKeyDown(*g, keyCode);
    };
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

KanuvoApp::KanuvoApp(Clock& clock, System& system, Sound& device, const AppOptions& options)
    : form(clock), settings(options.settingsPath), sound(device), game(form, system, clock, sound) {
    sound.SetMuted(options.startMuted || settings.Muted().value_or(false));
    game.SoundOff = sound.Muted();
    game.RoadAssist = settings.RoadAssist().value_or(false);
    WireEvents(form, game, [this](int keyCode) {
        if (keyCode == kKeyMute) ToggleMute();
        if (keyCode == kKeyAssist) ToggleAssist();
        // The language is switched on the help page, which names the key.
        if (keyCode == kKeyLanguage && game.HelpShown) SwitchLanguage();
    });
    // However the window closes, the next start opens it as the player leaves it.
    form.onQueryUnload = [this, query = form.onQueryUnload] {
        if (query) query();
        KeepWindowPlacement();
    };
}

void KanuvoApp::KeepWindowPlacement() {
    const WindowPlacement now = form.Placement();
    if (now != keptPlacement_.value_or(form.DesignedPlacement())) settings.SetWindow(now);
}

void KanuvoApp::ToggleMute() {
    sound.SetMuted(!sound.Muted());
    settings.SetMuted(sound.Muted());
    ShowSoundState(game, sound.Muted());
}

void KanuvoApp::ToggleAssist() {
    ToggleRoadAssist(game);
    settings.SetRoadAssist(game.RoadAssist);
}

void KanuvoApp::SwitchLanguage() {
    const Language other = SpokenLanguage() == Language::English ? Language::Japanese : Language::English;
    if (!SpeakLanguage(other)) return;
    settings.SetLanguage(other);
    RewordWindow(game);
    if (game.HelpShown) DrawHelpPage(game);
}

void KanuvoApp::Start() {
    if (GameDrawsItsTitleBar()) form.AddTitleBar();
    form.RaiseLoad();
    if (form.Closed()) return;
    keptPlacement_ = settings.Window();
    if (keptPlacement_) form.RestorePlacement(*keptPlacement_);
    form.show();
}

}  // namespace kanuvo
