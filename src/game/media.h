// SPDX-License-Identifier: MIT
// The game's sounds, music, pointer files and pictures.
#pragma once

#include "game/game.h"

namespace kanuvo {

// What PlaySound plays: the background music, or one of the four effects.
enum class SoundId { Music, GameOver, Stop1, Stop2, Goal };

// Finds the sound folder, opens the music, sets the effect paths and loads the two pointer shapes.
// False when it could not be done at all: the message is shown and the program ended.
bool LoadSoundsAndCursors(Game& g);
void PlaySound(Game& g, SoundId sound);
// Stops the music; the board that was played can no longer be started.
void StopMusic(Game& g);
void CloseMusic(Game& g);
// Turns all sound off or on. Off stops the music the game has on; an effect already sounding plays
// to its end. On opens the music if it was opened meanwhile, and plays the music the game has on.
void SetSoundOff(Game& g, bool off);
// The eleven pictures. False when one could not be loaded: the message is shown and the program ended.
bool LoadPictures(Game& g);

}  // namespace kanuvo
