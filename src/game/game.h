// SPDX-License-Identifier: MIT
// The whole game as its procedures see it: the shared state, the pictures, and the platform it runs on.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "game/state.h"
#include "game/timer.h"
#include "platform/choices.h"
#include "platform/form.h"
#include "platform/surface.h"
#include "platform/system.h"

namespace kanuvo {

struct Game : GameState {
    Game(Form& form, System& system, Clock& clock, Sound& sound)
        : form(form), system(system), clock(clock), sound(sound) {}

    Form& form;
    System& system;
    // The game's time: the platform's clock, fed faster while a run is fast-forwarded.
    GameClock clock;
    Sound& sound;
    // Where the program keeps the player's choices; none keeps nothing and speaks one language.
    Choices* choices = nullptr;

    // The four timers, by role: the title screen ends on the title timer's eleventh tick (TitleTick);
    // the time-limit timer counts a run's seconds (TimeLimitTick); the Game Over timer grows its
    // lettering (GameOverTick); the note timer fades a note in the board's free corner (NoteTick).
    // The title timer runs from the start.
    Timer TitleTimer{clock, true};
    Timer TimeLimitTimer{clock, false};
    Timer GameOverTimer{clock, false};
    Timer NoteTimer{clock, false};

    // The program's bitmaps; the truck arrays are indexed by DirectionCode 1..4 (entry 0 unused).
    std::unique_ptr<Picture> TitlePicture;
    std::array<std::unique_ptr<Picture>, 5> TruckPictures;
    std::array<std::unique_ptr<Picture>, 5> TruckMasks;
    std::unique_ptr<Picture> GameOverPicture;
    std::unique_ptr<Picture> GameOverMask;
};

// The message of every failed copy of the board into the hidden surface; the program ends after it.
inline constexpr Text kOutOfMemoryMessage = KANUVO_TEXT("Messages", "メモリーが足りません。");

// Shows the message, then ends the program with a failure status. Callers return at once after it.
void Fail(Game& g, Text message);

// Copies area from one of the board's surfaces onto the same place of the other. A copy that fails
// ends the program with kOutOfMemoryMessage; the caller returns at once when this gives false.
bool CopyArea(Game& g, Surface& to, const Surface& from, const Rect& area);
// The whole drawn board into its hidden copy, as CopyArea does.
bool CopyBoard(Game& g);

// The text in the player's language, with its "%1" replaced by value.
std::string Say(Game& g, Text text, std::string_view value = {});

}  // namespace kanuvo
