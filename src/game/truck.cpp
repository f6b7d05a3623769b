// SPDX-License-Identifier: MIT
// The truck driving the road in the truck stages: where it stands, what lies ahead, its turns and crashes.
#include "game/truck.h"

#include <cstdint>
#include <initializer_list>

#include "game/board.h"
#include "game/geometry.h"
#include "game/rounding.h"

namespace kanuvo {

namespace {

bool IsOneOf(TileKind kind, std::initializer_list<TileKind> kinds) {
    for (TileKind k : kinds) {
        if (k == kind) return true;
    }
    return false;
}

// Which edge tiles wreck the truck: the tile leads off the board, so the run ends at the cell's
// centre, before the truck's front can reach the edge. The first row that holds the cell decides.
// Kinds the truck cannot have driven onto in a cell are left out of its row.
bool CrashesAtEdge(int cell, TileKind kind, Direction heading, int n) {
    using enum TileKind;
    const int start = StartCell(n);
    if (cell == 2) return IsOneOf(kind, {Vertical, RightTop});
    if (cell == n) return IsOneOf(kind, {LeftTop, RightBottom, Vertical, Horizontal});
    if (cell == n + 1) return IsOneOf(kind, {LeftBottom, Horizontal});
    if (cell == start - n) return IsOneOf(kind, {RightBottom, RightTop, Horizontal});
    if (cell == start - n + 1) return IsOneOf(kind, {LeftBottom, LeftTop, RightBottom, Vertical, Horizontal});
    // A right-top corner left of the start would turn a truck coming down into the start itself.
    if (cell == start - 1)
        return IsOneOf(kind, {LeftBottom, RightBottom, Vertical}) || (kind == RightTop && heading == Direction::Down);
    if (cell >= 3 && cell <= n - 1) return IsOneOf(kind, {LeftTop, Vertical, RightTop});
    if (cell % n == 1 && cell > n + 1 && cell < start - n) return IsOneOf(kind, {LeftBottom, LeftTop, Horizontal});
    if (cell % n == 0 && cell > n && cell < start - n) return IsOneOf(kind, {RightBottom, RightTop, Horizontal});
    if (cell >= start - n + 2 && cell <= start - 2) return IsOneOf(kind, {LeftBottom, RightBottom, Vertical});
    return false;
}

// The front has reached the far edge of cell r. Heading left or up, r is the cell under the front
// corner; heading right or down it is the one under the rear, as the truck is shorter than a cell.
bool FrontAtEdge(const Rect& truck, const Rect& r, Direction heading) {
    switch (heading) {
        case Direction::Left: return truck.left <= r.left;
        case Direction::Right: return truck.right >= r.right;
        case Direction::Up: return truck.top <= r.top;
        case Direction::Down: return truck.bottom >= r.bottom;
        case Direction::None: break;
    }
    return false;
}

// Just past the position centred in the cell, along the direction of travel.
bool PastCentre(const Rect& truck, const Rect& r, Direction heading, int marginX, int marginY) {
    switch (heading) {
        case Direction::Left: return truck.left < r.left + marginX;
        case Direction::Right: return truck.left > r.left + marginX;
        case Direction::Up: return truck.top < r.top + marginY;
        case Direction::Down: return truck.top > r.top + marginY;
        case Direction::None: break;
    }
    return false;
}

std::int16_t Add16(std::int16_t a, std::int16_t b) { return static_cast<std::int16_t>(a + b); }

}  // namespace

RunEnd SteerTruck(GameState& s) {
    const int n = s.BoardSize;
    const int start = StartCell(n);

    // Which cells the two test corners stand in. A corner on a grid line stands in none and keeps
    // the cell it was last seen in.
    const Rect truck = s.TruckRect;
    const float x1 = static_cast<float>(truck.left);
    const float y1 = static_cast<float>(truck.top);
    const float x2 = static_cast<float>(Lying(s.Heading) ? truck.right : truck.left);
    const float y2 = static_cast<float>(Lying(s.Heading) ? truck.top : truck.bottom);
    for (int i = 1; i <= start; ++i) {
        if (PointInCell(s.CellRects[i], x1, y1)) s.TruckCells[0] = i;
        if (PointInCell(s.CellRects[i], x2, y2)) s.TruckCells[1] = i;
    }
    const int first = s.TruckCells[0];
    const int second = s.TruckCells[1];

    // While the truck still touches the start it is neither looked ahead of nor turned. An entry
    // that was never located (below 1) is treated the same way, so no cell off the board is read.
    if (first >= 1 && first < start && second >= 1 && second < start) {
        const int c = first;
        const Rect& r = s.CellRects[c];
        const int width = truck.right - truck.left;
        const int height = truck.bottom - truck.top;
        // Both margins come from the cell's width: the cells are square up to their one-pixel lines.
        const int cellWidth = r.right - r.left;
        const int marginX = RoundHalfEven((cellWidth - width) / 2.0);
        const int marginY = RoundHalfEven((cellWidth - height) / 2.0);

        if (FrontAtEdge(truck, r, s.Heading)) {
            // The tile ahead needs a road end facing the truck. No cell ahead is the board's edge;
            // the goal holds no tile, and the truck may always drive on into it.
            const bool onBoard = HasNeighbour(c, s.Heading, n);
            const int ahead = onBoard ? NextCell(c, s.Heading, n) : 0;
            if (ahead != GoalCell && (!onBoard || ExitHeading(s.Cells[ahead], s.Heading) == Direction::None)) {
                return RunEnd::Crashed;
            }
        }

        if (first == second && PastCentre(truck, r, s.Heading, marginX, marginY)) {
            if (CheckEdgeTile(s, c)) return RunEnd::Crashed;
            // A corner turns the truck; a straight tile, or one it has no way through, lets it go on.
            const Direction out = ExitHeading(s.Cells[c], s.Heading);
            if (out != Direction::None && out != s.Heading) {
                s.Heading = out;
                TurnTruck(s, r.left, r.top, marginX, marginY, width, height);
            }
        }
    }

    if (first == GoalCell && second == GoalCell) {
        return RunEnd::Cleared;
    }
    if ((s.Heading == Direction::Right || s.Heading == Direction::Down) && first == start && second == start) {
        return RunEnd::Crashed;  // driven back into the start
    }
    for (int cell : {first, second}) {
        if (cell > GoalCell && cell < start && s.Cells[cell] == TileKind::Empty) {
            return RunEnd::Crashed;
        }
    }
    return RunEnd::None;
}

void TurnTruck(GameState& s, int cellLeft, int cellTop, int marginX, int marginY, int width, int height) {
    // A quarter turn swaps the truck's width and height, and with them the two centring margins.
    const auto left = static_cast<std::int16_t>(cellLeft);
    const auto top = static_cast<std::int16_t>(cellTop);
    const std::int16_t newLeft = Add16(left, static_cast<std::int16_t>(marginY));
    const std::int16_t newTop = Add16(top, static_cast<std::int16_t>(marginX));
    s.TruckRect = Rect{newLeft, newTop, Add16(newLeft, static_cast<std::int16_t>(height)),
                       Add16(newTop, static_cast<std::int16_t>(width))};
}

bool CheckEdgeTile(const GameState& s, int cell) {
    if (cell < 1 || cell > StartCell(s.BoardSize)) return false;
    return CrashesAtEdge(cell, s.Cells[cell], s.Heading, s.BoardSize);
}

}  // namespace kanuvo
