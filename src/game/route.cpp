// SPDX-License-Identifier: MIT
// The logical route trace of the route stages: follows the road from the start towards the goal.
#include "game/route.h"

#include "game/board.h"

namespace kanuvo {

namespace {

// The classes of cells the trace goes through, in the order a step looks at them. A step lets each
// class act at most once, so a route that passes from one class to a later one covers several cells
// in one step, and one that passes to an earlier class waits for the next step.
enum class RouteClass {
    NotTraced,  // the goal, the start, and anything off the board
    ExitClass,
    BesideGoalTopRow,
    TopRightCorner,
    BesideGoalLeftColumn,
    AboveStart,
    BottomLeftCorner,
    LeftOfStart,
    TopRow,
    LeftColumn,
    RightColumn,
    BottomRow,
    Inner,
};

int ExitCell(const BoardState& s) {
    const int n = s.BoardSize;
    return s.StartExit == ExitLeft ? StartCell(n) - 1 : StartCell(n) - n;
}

RouteClass ClassOf(const BoardState& s, int cell) {
    const int n = s.BoardSize;
    const int start = StartCell(n);
    if (cell <= GoalCell || cell >= start) return RouteClass::NotTraced;
    if (cell == ExitCell(s)) return RouteClass::ExitClass;
    if (cell == 2) return RouteClass::BesideGoalTopRow;
    if (cell == n) return RouteClass::TopRightCorner;
    if (cell == n + 1) return RouteClass::BesideGoalLeftColumn;
    if (cell == start - n) return RouteClass::AboveStart;
    if (cell == start - n + 1) return RouteClass::BottomLeftCorner;
    if (cell == start - 1) return RouteClass::LeftOfStart;
    if (Row(cell, n) == 1) return RouteClass::TopRow;
    if (Column(cell, n) == 1) return RouteClass::LeftColumn;
    if (Column(cell, n) == n) return RouteClass::RightColumn;
    if (Row(cell, n) == n) return RouteClass::BottomRow;
    return RouteClass::Inner;
}

enum class RouteEnd { Moves, ReachesGoal, Breaks };

struct RouteMove {
    RouteEnd end;
    Direction heading;  // the new heading when the route moves on
};

// Every class rule is this one: the tile decides where the road leaves the cell, and the board
// decides whether that is somewhere the route may go.
RouteMove FollowRoad(const BoardState& s, int cell, Direction entering) {
    const int n = s.BoardSize;
    const Direction out = ExitHeading(s.Cells[cell], entering);
    if (out == Direction::None || !HasNeighbour(cell, out, n)) return {RouteEnd::Breaks, Direction::None};
    const int next = NextCell(cell, out, n);
    if (next == GoalCell) return {RouteEnd::ReachesGoal, Direction::None};
    if (next == StartCell(n)) return {RouteEnd::Breaks, Direction::None};
    return {RouteEnd::Moves, out};
}

}  // namespace

void BeginRouteTrace(GameState& s) {
    s.Heading = Direction::Left;
    s.RouteActive = true;
    s.RouteCell = ExitCell(s);
}

RunEnd TraceRouteStep(GameState& s) {
    if (ClassOf(s, s.RouteCell) == RouteClass::NotTraced) {
        // Only a cell between the goal and the start can be judged; anything else is no road.
        s.RouteActive = false;
        return RunEnd::None;
    }
    for (int k = static_cast<int>(RouteClass::ExitClass); k <= static_cast<int>(RouteClass::Inner); ++k) {
        const auto cls = static_cast<RouteClass>(k);
        if (ClassOf(s, s.RouteCell) != cls) continue;
        // The road always comes out of the start into the exit cell, whatever Heading holds then.
        const Direction entering = cls == RouteClass::ExitClass ? s.StartExit : s.Heading;
        const RouteMove move = FollowRoad(s, s.RouteCell, entering);
        switch (move.end) {
            case RouteEnd::ReachesGoal: return RunEnd::Cleared;
            case RouteEnd::Breaks:
                s.RouteActive = false;
                return RunEnd::None;
            case RouteEnd::Moves:
                s.RouteCell = NextCell(s.RouteCell, move.heading, s.BoardSize);
                s.Heading = move.heading;
                break;
        }
    }
    return RunEnd::None;
}

}  // namespace kanuvo
