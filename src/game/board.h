// SPDX-License-Identifier: MIT
// The board: cell numbering, tile kinds and how a road runs through them, and the deal of a board.
#pragma once

#include <array>
#include <vector>

#include "game/state.h"
#include "game/tiles.h"

namespace kanuvo {

// The two ways the road leaves the start: heading left or heading up.
inline constexpr Direction ExitLeft = Direction::Left;
inline constexpr Direction ExitUp = Direction::Up;

constexpr int GoalCell = 1;
constexpr int StartCell(int n) { return n * n; }
// The cell a drawn board leaves empty, diagonally up-left of the start: 11, 19, 29, 41 for N = 4..7.
constexpr int InitialEmptyCell(int n) { return n * n - n - 1; }

// 1-based row and column of cell i on an N x N board.
constexpr int Row(int i, int n) { return (i - 1) / n + 1; }
constexpr int Column(int i, int n) { return (i - 1) % n + 1; }

// True when cell i has a neighbour in direction d.
constexpr bool HasNeighbour(int i, Direction d, int n) {
    switch (d) {
        case Direction::Left: return Column(i, n) > 1;
        case Direction::Right: return Column(i, n) < n;
        case Direction::Up: return Row(i, n) > 1;
        case Direction::Down: return Row(i, n) < n;
        case Direction::None: break;
    }
    return false;
}
// The neighbour of cell i in direction d; only meaningful when HasNeighbour.
constexpr int NextCell(int i, Direction d, int n) {
    switch (d) {
        case Direction::Left: return i - 1;
        case Direction::Right: return i + 1;
        case Direction::Up: return i - n;
        case Direction::Down: return i + n;
        case Direction::None: break;
    }
    return i;
}

// The tile rule: a road entering a tile moving in direction `entering` leaves it moving in the
// returned direction, or breaks (None) when the tile has no road end on the side it comes in by.
// Empty breaks every road.
Direction ExitHeading(TileKind kind, Direction entering);

// The cells a road runs through on an N x N board from `cell`, which it enters moving `entering`:
// each cell whose tile takes it in, in order, up to where it breaks, or up to the goal (included).
std::vector<int> RoadFrom(const BoardState& s, int n, int cell, Direction entering);

// The name of a kind ("TileLeftBottom", ...).
const char* TileName(TileKind kind);

// Deals a fresh board for BoardSize: the six kinds by quota over cells 2..N*N-1, goal and start
// cleared, then the start road laid. Draws from the shared generator.
void DealBoard(GameState& s);
// A board as the player is given it: DealBoard, then the colour of its ground drawn from the same
// generator, and InitialEmptyCell emptied for the first slide; nothing on it is outlined yet.
void DealFreshBoard(GameState& s);
// Chooses StartExit and lays the fixed road pieces next to the start.
void LayStartRoad(GameState& s);

// How many of each kind a deal of an N x N board may place, indexed by KindNumber (entry 0 unused).
std::array<int, kRoadKinds + 1> KindQuotas(int n);

}  // namespace kanuvo
