// SPDX-License-Identifier: MIT
// The road assist: the outline of the road as far as it runs unbroken.
#include "game/assist.h"

#include "game/banner.h"
#include "game/board.h"
#include "game/corner.h"
#include "game/paint.h"
#include "game/sprite.h"
#include "game/texts.h"

namespace kanuvo {

namespace {

// The cell the truck's front stands in: heading left or up it is the one under the truck's top-left
// corner, heading right or down the one under its other located corner.
int FrontCell(const GameState& s) {
    return s.Heading == Direction::Left || s.Heading == Direction::Up ? s.TruckCells[0] : s.TruckCells[1];
}

// The cell drawn again as the board shows it, without the outline. The erase takes in the lines right
// of and below the cell, across which only the cell's own road runs.
void Unlight(Game& g, int cell, Surface& board) {
    EraseCell(g, cell, board);
    cell == GoalCell ? PaintGoal(g, cell, board) : PaintCell(g, cell, board);
}

}  // namespace

void ToggleRoadAssist(Game& g) {
    g.RoadAssist = !g.RoadAssist;
    // Turned off again, it has still helped: the run sets no best time.
    if (g.RoadAssist && g.Playing) g.RunAssisted = true;
    ShowCornerNote(g, g.RoadAssist ? texts::kAssistOn : g.Playing ? texts::kAssistOffNoRecord : texts::kAssistOff);
}

std::vector<int> AssistRoad(const GameState& s) {
    const int n = s.BoardSize;
    const int start = StartCell(n);
    const int front = IsRouteStage(s.Stage) ? start : FrontCell(s);
    if (front == start) return RoadFrom(s, n, NextCell(start, s.StartExit, n), s.StartExit);
    if (front < 1 || front == GoalCell) return {};
    // In a corner not yet turned the tile says where the truck goes next; once it has turned, or on a
    // tile it has no way through, its heading does.
    Direction out = ExitHeading(s.Cells[front], s.Heading);
    if (out == Direction::None) out = s.Heading;
    if (!HasNeighbour(front, out, n)) return {};
    return RoadFrom(s, n, NextCell(front, out, n), out);
}

bool RoadAheadReachesGoal(const GameState& s) {
    if (!IsRouteStage(s.Stage) && FrontCell(s) == GoalCell) return true;
    const std::vector<int> road = AssistRoad(s);
    return !road.empty() && road.back() == GoalCell;
}

void ShowAssistRoad(Game& g) {
    std::array<bool, kMaxCells + 1> lit{};
    if (g.RoadAssist) {
        for (int cell : AssistRoad(g)) lit[cell] = true;
    }
    if (lit == g.AssistLit) return;
    Surface& board = g.form.BoardView();
    bool truckErased = false;
    for (int cell = 1; cell <= kMaxCells; ++cell) {
        if (lit[cell] == g.AssistLit[cell]) continue;
        if (lit[cell]) {
            LightCell(g, cell, board);
        } else {
            Unlight(g, cell, board);
            truckErased = truckErased || cell == g.TruckCells[0] || cell == g.TruckCells[1];
        }
    }
    if (truckErased) DrawTruck(g);
    g.AssistLit = lit;
    // The hidden copy, which a pause lays back, shows the same.
    CopyBoard(g);
}

}  // namespace kanuvo
