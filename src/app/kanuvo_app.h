// SPDX-License-Identifier: MIT
// The whole program put together: the real window, system services and sound, and the game wired
// to the window's events.
#pragma once

#include <QString>
#include <functional>

#include "app/muted_sound.h"
#include "app/settings.h"
#include "game/game.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_system.h"

namespace kanuvo {

// Connects every event of the window to the game's handler for it. Every key pressed goes to
// programKey too, when one is given: the keys the program answers itself, besides the game.
void WireEvents(MainForm& form, Game& game, const std::function<void(int keyCode)>& programKey = {});

// The key that mutes and unmutes all sound, at any time.
constexpr int kKeyMute = 'M';
// The key that turns the road assist on and off, at any time.
constexpr int kKeyAssist = 'A';

struct AppOptions {
    bool startMuted = false;  // muted from the start, whatever was kept
    QString settingsPath;     // where the player's choices are kept between starts; empty keeps none
};

// The program's parts, made in the order they depend on one another. The sound device is passed in
// so that tests can listen to what reaches it.
class KanuvoApp {
public:
    KanuvoApp(Clock& clock, System& system, Sound& device, const AppOptions& options = {});
    // Raises the window's load event, then shows the window unless the load ended the program.
    void Start();
    // Mutes or unmutes all sound and keeps the choice for the next start.
    void ToggleMute();
    // Speaks the other language, keeps the choice for the next start, and re-letters the window.
    void SwitchLanguage();
    // Turns the road assist on or off and keeps the choice for the next start.
    void ToggleAssist();

    MainForm form;
    PlayerSettings settings;
    MutableSound sound;  // what the game plays through
    Game game;

private:
    // Keeps the window's size and state for the next start, when they are not what it would get anyway.
    void KeepWindowPlacement();

    std::optional<WindowPlacement> keptPlacement_;  // as the last start found it
};

}  // namespace kanuvo
