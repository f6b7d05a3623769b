// The whole program put together: the real window, system services and sound, and the game wired
// to the window's events.
#pragma once

#include "game/game.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_system.h"

namespace kanuvo {

// Connects every event of the window to the game's handler for it.
void WireEvents(MainForm& form, Game& game);

// The program's parts, made in the order they depend on one another. The sound is passed in so that
// tests can listen to what the game asks for.
class KanuvoApp {
public:
    KanuvoApp(Clock& clock, System& system, Sound& sound);
    // Raises the window's load event, then shows the window unless the load ended the program.
    void Start();

    MainForm form;
    Game game;
};

}  // namespace kanuvo
