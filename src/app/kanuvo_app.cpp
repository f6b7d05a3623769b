// SPDX-License-Identifier: MIT
// The game's handlers wired to the window's events.
#include "app/kanuvo_app.h"

#include "app/display.h"

namespace kanuvo {

KanuvoApp::KanuvoApp(Clock& clock, System& system, Sound& device, const AppOptions& options)
    : form(clock), settings(options.settingsPath), game(form, system, clock, device) {
    game.SoundOff = options.startMuted || settings.Muted().value_or(false);
    game.RoadAssist = settings.RoadAssist().value_or(false);
    game.choices = this;
    WireEvents(form, game);
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

bool KanuvoApp::SwitchLanguage() {
    const Language other = SpokenLanguage() == Language::English ? Language::Japanese : Language::English;
    if (!SpeakLanguage(other)) return false;
    settings.SetLanguage(other);
    return true;
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
