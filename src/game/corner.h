// SPDX-License-Identifier: MIT
// The board's free corner, in the margin below its left-hand columns, where nothing else is drawn:
// the hint that F1 shows the help page, the hint that F fast-forwards while it would, a crossed
// speaker while the sound is off, a small outlined tile while the road assist is on, and a short note
// (the sound or the road assist turned on or off) that fades by itself.
#pragma once

#include "game/game.h"

namespace kanuvo {

// The corner: the margin's full height below the board on screen, from the window's left edge to the
// column under which the first retry stands.
Rect CornerArea(const GameState& s);
// Letters the corner afresh on the surface, which shows the board.
void DrawCorner(Game& g, Surface& surface);
// The corner afresh on the board and in its hidden copy, once the board shows.
void RefreshCorner(Game& g);
// Whether (x, y) on the board is on F's hint, while it shows: the corner's lower half.
bool OnFastForwardHint(const GameState& s, int x, int y);
// Shows the note in the corner; it fades and goes by itself.
void ShowCornerNote(Game& g, Text note);
// The note timer's period: a note shows for 1.5 s, then fades out over 0.5 s.
constexpr int kNoteTickMs = 100;
// A tick of the note timer: the note fades, then goes.
void NoteTick(Game& g);

}  // namespace kanuvo
