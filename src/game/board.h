// The board: cell numbering, tile kinds and how a road runs through them, and the deal of a board.
#pragma once

#include "game/state.h"
#include "platform/surface.h"

namespace kanuvo {

// Tile kinds held in Cells. Goal and start cells hold TileEmpty too; they are known by their index.
constexpr int TileEmpty = 0;
constexpr int TileLeftBottom = 1;
constexpr int TileLeftTop = 2;
constexpr int TileRightBottom = 3;
constexpr int TileVertical = 4;
constexpr int TileRightTop = 5;
constexpr int TileHorizontal = 6;
constexpr int kTileKinds = 6;

// The side the road leaves the start by.
constexpr int ExitLeft = 1;
constexpr int ExitUp = 2;

// Direction codes of the route and the truck (Heading).
constexpr int HeadingLeft = 1;   // next cell i - 1
constexpr int HeadingRight = 2;  // next cell i + 1
constexpr int HeadingUp = 3;     // next cell i - N
constexpr int HeadingDown = 4;   // next cell i + N

constexpr int GoalCell = 1;
constexpr int StartCell(int n) { return n * n; }
// Diagonally up-left of the start: 11, 19, 29, 41 for N = 4, 5, 6, 7.
constexpr int InitialEmptyCell(int n) { return n * n - n - 1; }

// 1-based row and column of cell i on an N x N board.
constexpr int Row(int i, int n) { return (i - 1) / n + 1; }
constexpr int Column(int i, int n) { return (i - 1) % n + 1; }

// True when cell i has a neighbour in direction heading (1..4).
constexpr bool HasNeighbour(int i, int heading, int n) {
    switch (heading) {
        case HeadingLeft: return Column(i, n) > 1;
        case HeadingRight: return Column(i, n) < n;
        case HeadingUp: return Row(i, n) > 1;
        case HeadingDown: return Row(i, n) < n;
        default: return false;
    }
}
// The neighbour of cell i in direction heading; only meaningful when HasNeighbour.
constexpr int NextCell(int i, int heading, int n) {
    switch (heading) {
        case HeadingLeft: return i - 1;
        case HeadingRight: return i + 1;
        case HeadingUp: return i - n;
        case HeadingDown: return i + n;
        default: return i;
    }
}

// The tile rule: a road entering a tile moving in direction `entering` leaves it moving in the
// returned direction, or breaks (0) when the tile has no road end on the side it comes in by.
// Kind 0 (empty) breaks every road.
int ExitHeading(int kind, int entering);

// The road colour of a kind 1..6.
Color TileColor(int kind);
// The name of a kind 0..6 ("TileLeftBottom", ...).
const char* TileName(int kind);

// Deals a fresh board for BoardSize: the six kinds by quota over cells 2..N*N-1, goal and start
// cleared, then the start road laid. Draws from the shared generator.
void DealBoard(GameState& s);
// Chooses StartExit and lays the fixed road pieces next to the start.
void LayStartRoad(GameState& s);

// How many of each kind a deal of an N x N board may place, indexed 1..6 (entry 0 unused).
std::array<int, kTileKinds + 1> KindQuotas(int n);

}  // namespace kanuvo
