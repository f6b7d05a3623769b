// SPDX-License-Identifier: MIT
// The board's tile kinds and the deal.
#include "game/board.h"

#include "game/rounding.h"

namespace kanuvo {

namespace {

// The board's grounds: dark enough for the white stage caption and the banners' letters.
constexpr std::array<Color, 6> kGrounds{Rgb(0, 0, 128),   Rgb(0, 128, 0),   Rgb(0, 128, 128),
                                        Rgb(128, 0, 0), Rgb(128, 0, 128), Rgb(128, 128, 0)};

// The two sides each kind joins, as the directions a road leaves by: left, right, up (top), down (bottom).
struct Sides {
    bool left, right, top, bottom;
};
constexpr std::array<Sides, kRoadKinds + 1> kSidesJoined{{
    {false, false, false, false},  // TileEmpty
    {true, false, false, true},    // TileLeftBottom
    {true, false, true, false},    // TileLeftTop
    {false, true, false, true},    // TileRightBottom
    {false, false, true, true},    // TileVertical
    {false, true, true, false},    // TileRightTop
    {true, true, false, false},    // TileHorizontal
}};

bool JoinsSideFacing(const Sides& sides, Direction d) {
    switch (d) {
        case Direction::Left: return sides.left;
        case Direction::Right: return sides.right;
        case Direction::Up: return sides.top;
        case Direction::Down: return sides.bottom;
        case Direction::None: break;
    }
    return false;
}

// A road moving in `heading` comes in by the opposite side.
constexpr Direction Opposite(Direction d) {
    switch (d) {
        case Direction::Left: return Direction::Right;
        case Direction::Right: return Direction::Left;
        case Direction::Up: return Direction::Down;
        case Direction::Down: return Direction::Up;
        case Direction::None: break;
    }
    return Direction::None;
}

}  // namespace

Direction ExitHeading(TileKind kind, Direction entering) {
    const Sides& sides = kSidesJoined[KindNumber(kind)];
    const Direction inSide = Opposite(entering);
    if (!JoinsSideFacing(sides, inSide)) return Direction::None;
    for (Direction out : kAllDirections) {
        if (out != inSide && JoinsSideFacing(sides, out)) return out;
    }
    return Direction::None;
}

std::vector<int> RoadFrom(const BoardState& s, int n, int cell, Direction entering) {
    std::vector<int> road;
    Direction heading = entering;
    // A road without a break visits each cell once, so it is never longer than the board.
    while (static_cast<int>(road.size()) < n * n) {
        if (cell == GoalCell) {
            road.push_back(cell);
            break;
        }
        if (cell == StartCell(n)) break;
        heading = ExitHeading(s.Cells[static_cast<std::size_t>(cell)], heading);
        if (heading == Direction::None) break;
        road.push_back(cell);
        if (!HasNeighbour(cell, heading, n)) break;
        cell = NextCell(cell, heading, n);
    }
    return road;
}

const char* TileName(TileKind kind) {
    static constexpr std::array<const char*, kRoadKinds + 1> kNames{
        "TileEmpty", "TileLeftBottom", "TileLeftTop", "TileRightBottom",
        "TileVertical", "TileRightTop", "TileHorizontal"};
    return kNames[KindNumber(kind)];
}

std::array<int, kRoadKinds + 1> KindQuotas(int n) {
    const int dealt = n * n - 2;
    // Rounded, not truncated: for N = 5, 6, 7 the quotas add up to more than the cells dealt.
    const int each = RoundHalfEven(dealt / 6.0);
    const int extra = dealt % 6;
    std::array<int, kRoadKinds + 1> quota{};
    for (int k = 1; k <= kRoadKinds; ++k) quota[k] = each + (k <= extra ? 1 : 0);
    return quota;
}

void DealBoard(GameState& s) {
    const int n = s.BoardSize;
    for (int i = 1; i <= n * n; ++i) s.Cells[i] = TileKind::Empty;
    auto quota = KindQuotas(n);
    for (int i = 2; i <= n * n - 1; ++i) {
        int kind = s.random.Draw(kRoadKinds);
        while (quota[kind] == 0) kind = s.random.Draw(kRoadKinds);
        --quota[kind];
        s.Cells[i] = KindOfNumber(kind);
    }
    LayStartRoad(s);
}

void DealFreshBoard(GameState& s) {
    DealBoard(s);
    s.BoardBackColor = kGrounds[static_cast<std::size_t>(s.random.Draw(static_cast<int>(kGrounds.size())) - 1)];
    s.Cells[InitialEmptyCell(s.BoardSize)] = TileKind::Empty;
    s.AssistLit = {};
}

void LayStartRoad(GameState& s) {
    const int n = s.BoardSize;
    s.StartExit = s.random.Draw(2) == 1 ? ExitLeft : ExitUp;
    const int choice = s.random.Draw(2);
    const int start = StartCell(n);
    if (s.StartExit == ExitLeft) {
        const TileKind turnOrGoOn = choice == 1 ? TileKind::RightTop : TileKind::Horizontal;
        if (n <= 5) {
            s.Cells[start - 1] = turnOrGoOn;
        } else {
            s.Cells[start - 1] = TileKind::Horizontal;
            s.Cells[start - 2] = turnOrGoOn;
        }
    } else {
        const TileKind turnOrGoOn = choice == 1 ? TileKind::LeftBottom : TileKind::Vertical;
        if (n <= 5) {
            s.Cells[start - n] = turnOrGoOn;
        } else {
            s.Cells[start - n] = TileKind::Vertical;
            s.Cells[start - 2 * n] = turnOrGoOn;
        }
    }
}

}  // namespace kanuvo
