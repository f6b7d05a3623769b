// SPDX-License-Identifier: MIT
// The whole program put together: the real window, system services and sound, and the game wired
// to the window's events.
#pragma once

#include <QString>

#include "app/settings.h"
#include "app/wire_events.h"
#include "game/game.h"
#include "platform/choices.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_system.h"

namespace kanuvo {

struct AppOptions {
    bool startMuted = false;  // muted from the start, whatever was kept
    QString settingsPath;     // where the player's choices are kept between starts; empty keeps none
};

// The program's parts, made in the order they depend on one another. The sound device is passed in
// so that tests can listen to what reaches it.
class KanuvoApp : private Choices {
public:
    KanuvoApp(Clock& clock, System& system, Sound& device, const AppOptions& options = {});
    // Raises the window's load event, then shows the window unless the load ended the program.
    void Start();

    MainForm form;
    PlayerSettings settings;
    Game game;

private:
    void KeepSoundOff(bool off) override { settings.SetMuted(off); }
    void KeepRoadAssist(bool on) override { settings.SetRoadAssist(on); }
    bool SwitchLanguage() override;
    // Keeps the window's size and state for the next start, when they are not what it would get anyway.
    void KeepWindowPlacement();

    std::optional<WindowPlacement> keptPlacement_;  // as the last start found it
};

}  // namespace kanuvo
