// SPDX-License-Identifier: MIT
// Boards written as text for the route and truck tests, and a game set up for a run on them.
#pragma once

#include <string>
#include <string_view>

#include "doubles.h"

namespace kanuvo::testing {

// Fills Cells[1..N*N] from whitespace-separated tokens, row by row: a digit is a tile kind, and
// "." (empty), "G" (goal) and "S" (start) all hold 0. Throws when the count is not N*N.
void SetBoard(GameState& s, std::string_view text);

// A board of N x N empty cells, as text.
std::string EmptyBoard(int n);

// How often each effect was asked for.
int Plays(const RecordingSound& sound, std::string_view file);

// A game in the middle of a run: sounds loaded, the board's geometry for N = BoardSize, every
// cell empty, Playing and BoardReady set, two lives.
void StartRun(Game& g, int stage, int boardSize, Direction startExit);

}  // namespace kanuvo::testing
