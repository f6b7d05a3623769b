// SPDX-License-Identifier: MIT
// Every key the game reads by code, as the virtual-key codes a platform delivers with a key press: a
// platform maps its own keys to these, and the game's key handler compares with them.
#pragma once

namespace kanuvo {

// A letter key reports its capital ('P'), a digit of the main block its digit ('1').
constexpr int kKeyEnter = 13;  // Return and the keypad's Enter alike
constexpr int kKeyEscape = 27;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int kKeypad0 = 96;  // the keypad's digits with Num Lock on report kKeypad0 + digit
constexpr int kKeyF1 = 112;   // and F2.. F12 the codes after it

// What the keys do in the game.
constexpr int kKeyHelp = kKeyF1;    // shows and takes away the help page
constexpr int kKeyPause = 'P';      // holds and resumes a run, as Escape does
constexpr int kKeySound = 'M';      // mutes and unmutes all sound, at any time
constexpr int kKeyAssist = 'A';     // turns the road assist on and off, at any time
constexpr int kKeyLanguage = 'L';   // on the help page: switches between Japanese and English
constexpr int kKeyStart = kKeyEnter;  // presses スタート when a click on it would start a run
constexpr int kKeyNewGame = 'N';    // presses 新ゲーム when a click on it would deal a board
constexpr int kKeyFastForward = 'F';  // runs the rest of a truck run fast once its road reaches the goal

}  // namespace kanuvo
