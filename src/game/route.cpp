// SPDX-License-Identifier: MIT
// The logical route trace of the route stages: follows the road from the start towards the goal.
#include "game/route.h"

#include "game/board.h"
#include "game/flow.h"

namespace kanuvo {

namespace {

// The classes of cells the trace goes through, in the order a step looks at them. A step lets each
// class act at most once, so a route that passes from one class to a later one covers several cells
// in one step, and one that passes to an earlier class waits for the next step.
enum RouteClass {
    NotTraced = 0,  // the goal, the start, and anything off the board
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
    kLastRouteClass = Inner,
};

int ExitCell(const GameState& s) {
    const int n = s.BoardSize;
    return s.StartExit == ExitLeft ? StartCell(n) - 1 : StartCell(n) - n;
}

RouteClass ClassOf(const GameState& s, int cell) {
    const int n = s.BoardSize;
    const int start = StartCell(n);
    if (cell <= GoalCell || cell >= start) return NotTraced;
    if (cell == ExitCell(s)) return ExitClass;
    if (cell == 2) return BesideGoalTopRow;
    if (cell == n) return TopRightCorner;
    if (cell == n + 1) return BesideGoalLeftColumn;
    if (cell == start - n) return AboveStart;
    if (cell == start - n + 1) return BottomLeftCorner;
    if (cell == start - 1) return LeftOfStart;
    if (Row(cell, n) == 1) return TopRow;
    if (Column(cell, n) == 1) return LeftColumn;
    if (Column(cell, n) == n) return RightColumn;
    if (Row(cell, n) == n) return BottomRow;
    return Inner;
}

enum class RouteEnd { Moves, ReachesGoal, Breaks };

struct RouteMove {
    RouteEnd end;
    Direction heading;  // the new heading when the route moves on
};

// Every class rule is this one: the tile decides where the road leaves the cell, and the board
// decides whether that is somewhere the route may go.
RouteMove FollowRoad(const GameState& s, int cell, Direction entering) {
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

void TraceRouteStep(Game& g) {
    if (ClassOf(g, g.RouteCell) == NotTraced) {
        // Only a cell between the goal and the start can be judged; anything else is no road.
        g.RouteActive = false;
        return;
    }
    for (int k = ExitClass; k <= kLastRouteClass; ++k) {
        if (ClassOf(g, g.RouteCell) != k) continue;
        // The road always comes out of the start into the exit cell, whatever Heading holds then.
        const Direction entering =
            k == ExitClass ? (g.StartExit == ExitLeft ? Direction::Left : Direction::Up) : g.Heading;
        const RouteMove move = FollowRoad(g, g.RouteCell, entering);
        switch (move.end) {
            case RouteEnd::ReachesGoal:
                ClearStage(g);
                return;
            case RouteEnd::Breaks:
                g.RouteActive = false;
                return;
            case RouteEnd::Moves:
                g.RouteCell = NextCell(g.RouteCell, move.heading, g.BoardSize);
                g.Heading = move.heading;
                break;
        }
    }
}

}  // namespace kanuvo
