// SPDX-License-Identifier: MIT
// The game's small vocabulary: tile kinds, directions and their road colours, with the one place each
// turns into the numbers that tables, pictures and colours are indexed by.
#pragma once

#include <array>

#include "platform/surface.h"

namespace kanuvo {

// What a cell holds. The goal and start cells hold Empty too; they are known by their index.
// Each road kind joins the two sides of its cell that its name gives.
enum class TileKind { Empty, LeftBottom, LeftTop, RightBottom, Vertical, RightTop, Horizontal };
constexpr int kRoadKinds = 6;

// The number of a kind: 0 for Empty, 1..6 for the roads as the deal draws them and tables list them.
constexpr int KindNumber(TileKind kind) { return static_cast<int>(kind); }
constexpr TileKind KindOfNumber(int number) { return static_cast<TileKind>(number); }

constexpr bool IsRoad(TileKind kind) { return kind != TileKind::Empty; }

// Every kind, Empty first, in the order of their numbers.
constexpr std::array<TileKind, kRoadKinds + 1> kAllTileKinds{
    TileKind::Empty,    TileKind::LeftBottom, TileKind::LeftTop,   TileKind::RightBottom,
    TileKind::Vertical, TileKind::RightTop,   TileKind::Horizontal};

// The road colour of each kind, black for Empty. The board's painter and the title picture share it.
constexpr std::array<Color, kRoadKinds + 1> kRoadColors{
    Rgb(0, 0, 0),     Rgb(0, 255, 255), Rgb(0, 255, 0),  Rgb(125, 70, 255),
    Rgb(255, 255, 0), Rgb(255, 0, 0),   Rgb(255, 0, 255)};
constexpr Color TileColor(TileKind kind) { return kRoadColors[KindNumber(kind)]; }

// Where a route or the truck is going (the game's Heading). None is no direction: a road that breaks.
enum class Direction { None, Left, Right, Up, Down };

// Every direction, in the order of their codes.
constexpr std::array<Direction, 4> kAllDirections{Direction::Left, Direction::Right, Direction::Up, Direction::Down};
// The code of a direction, 1..4 (left, right, up, down), 0 for None: the index of the truck's pictures.
constexpr int DirectionCode(Direction d) { return static_cast<int>(d); }

// A truck heading left or right lies across the board; one heading up or down stands.
constexpr bool Lying(Direction d) { return d == Direction::Left || d == Direction::Right; }

}  // namespace kanuvo
