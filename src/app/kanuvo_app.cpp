// SPDX-License-Identifier: MIT
// The game's handlers wired to the window's events.
#include "app/kanuvo_app.h"

#include "app/display.h"

#include "game/flow.h"
#include "game/help.h"
#include "game/play.h"

namespace kanuvo {

void WireEvents(MainForm& form, Game& game, const std::function<void()>& toggleMute,
                const std::function<void()>& switchLanguage) {
    Game* g = &game;
    // M and F1 work everywhere, title screen included; on the board they are also two of the game's
    // keys, which reach it first.
    form.onKeyDown = [g, toggleMute](int keyCode) {
        if (keyCode == kKeyMute && toggleMute) toggleMute();
        if (keyCode == kKeyHelp) ShowHelp(*g);
    };
    form.BoardView().onKeyDown = [g, toggleMute](int keyCode) {
        if (keyCode == kKeyMute && toggleMute) toggleMute();
        BoardKeyDown(*g, keyCode);
        if (keyCode == kKeyHelp) ShowHelp(*g);
    };
    form.HelpView().onKeyDown = [g, toggleMute, switchLanguage](int keyCode) {
        if (keyCode == kKeyMute && toggleMute) toggleMute();
        if (keyCode == kKeyLanguage && switchLanguage) switchLanguage();
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
}

KanuvoApp::KanuvoApp(Clock& clock, System& system, Sound& device, const AppOptions& options)
    : form(clock), settings(options.settingsPath), sound(device), game(form, system, clock, sound) {
    sound.SetMuted(options.startMuted || settings.Muted().value_or(false));
    WireEvents(form, game, [this] { ToggleMute(); }, [this] { SwitchLanguage(); });
}

void KanuvoApp::ToggleMute() {
    sound.SetMuted(!sound.Muted());
    settings.SetMuted(sound.Muted());
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
    if (!form.Closed()) form.show();
}

}  // namespace kanuvo
