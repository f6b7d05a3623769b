// The game's sounds, music, pointer files and pictures.
#pragma once

#include "game/game.h"

namespace kanuvo {

// Sound numbers of PlaySound.
constexpr int SoundMusic = 1;
constexpr int SoundGameOver = 2;
constexpr int SoundStop1 = 3;
constexpr int SoundStop2 = 4;
constexpr int SoundGoal = 5;

// Finds the sound folder, opens the music, sets the effect paths and loads the two pointer shapes.
// False when it could not be done at all: the message is shown and the program ended.
bool LoadSoundsAndCursors(Game& g);
void PlaySound(Game& g, int n);
// Stops the music; the board that was played can no longer be started.
void StopMusic(Game& g);
void CloseMusic(Game& g);
// The eleven pictures. False when one could not be loaded: the message is shown and the program ended.
bool LoadPictures(Game& g);

}  // namespace kanuvo
