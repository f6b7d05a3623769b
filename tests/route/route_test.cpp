// SPDX-License-Identifier: MIT
// The route trace of the route stages: where it begins, how a step walks the road, and how it ends.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "board_text.h"
#include "game/assist.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/route.h"

namespace kanuvo::testing {
namespace {

class RouteTest : public ::testing::Test {
protected:
    void Run(int boardSize, Direction startExit, std::string_view board, int stage = 1) {
        StartRun(g, stage, boardSize, startExit);
        SetBoard(g, board);
    }
    int Clears() const { return Plays(t.sound, "goal.wav"); }

    TestGame t;
    Game& g = t.game;
};

TEST_F(RouteTest, BeginsAtTheCellTheRoadLeavesTheStartBy) {
    for (int n = 4; n <= 7; ++n) {
        for (Direction exit : {ExitLeft, ExitUp}) {
            Run(n, exit, EmptyBoard(n));
            g.Heading = Direction::Down;  // whatever the truck or an earlier trace left there
            BeginRouteTrace(g);
            EXPECT_TRUE(g.RouteActive);
            EXPECT_EQ(g.Heading, Direction::Left);
            EXPECT_EQ(g.RouteCell, exit == ExitLeft ? n * n - 1 : n * n - n) << "N=" << n;
        }
    }
}

TEST_F(RouteTest, ClearsTheExampleBoardInThreeSteps) {
    Run(4, ExitLeft,
        "G . . . "
        "4 . . . "
        "4 . . . "
        "5 6 6 S");
    BeginRouteTrace(g);

    // The exit cell, then the bottom row; the bottom-left corner comes earlier in a step's order.
    EndRunIf(g, TraceRouteStep(g));
    EXPECT_EQ(g.RouteCell, 13);
    EXPECT_EQ(g.Heading, Direction::Left);
    EXPECT_TRUE(g.RouteActive);

    // What the route has passed no longer matters.
    g.Cells[15] = TileKind::Empty;
    EndRunIf(g, TraceRouteStep(g));
    EXPECT_EQ(g.RouteCell, 5);
    EXPECT_EQ(g.Heading, Direction::Up);
    EXPECT_EQ(Clears(), 0);

    EndRunIf(g, TraceRouteStep(g));
    EXPECT_EQ(Clears(), 1);
    EXPECT_EQ(g.Stage, 2);
    EXPECT_FALSE(g.Playing);
    EXPECT_FALSE(g.RouteActive);
    EXPECT_EQ(g.RouteCell, 5);
    EXPECT_EQ(g.Heading, Direction::Up);
}

TEST_F(RouteTest, EachClassActsOnlyOncePerStep) {
    // Up through two inner cells: the exit cell and the first inner cell in one step, then one more.
    Run(5, ExitLeft,
        "G . . . . "
        ". . . 1 . "
        ". . . 4 . "
        ". . . 4 . "
        ". . . 5 S");
    BeginRouteTrace(g);
    EndRunIf(g, TraceRouteStep(g));
    EXPECT_EQ(g.RouteCell, 14);
    EndRunIf(g, TraceRouteStep(g));
    EXPECT_EQ(g.RouteCell, 9);
    EXPECT_EQ(g.Heading, Direction::Up);
    EndRunIf(g, TraceRouteStep(g));
    EXPECT_EQ(g.RouteCell, 8);
    EXPECT_EQ(g.Heading, Direction::Left);
    EXPECT_TRUE(g.RouteActive);
}

TEST_F(RouteTest, BreaksSilentlyWhereTheRoadEnds) {
    struct Case {
        const char* what;
        Direction startExit;
        const char* board;
        int steps;      // steps until the break
        int brokenAt;   // RouteCell after it
    };
    const Case cases[] = {
        {"a horizontal tile above the start", ExitUp, "G . . . . . . . . . . 6 . . . S", 1, 12},
        {"off the left edge", ExitLeft, "G . . . . . . . . . . . 6 6 6 S", 2, 13},
        {"off the top edge", ExitUp, "G . . . . . . 4 . . . 4 . . . S", 2, 4},
        {"into the start from above", ExitUp, "G . . . . . . . . . 3 1 . . 5 S", 2, 15},
        {"into the start from the left", ExitUp, "G . . . . . . . . 3 6 1 . 5 6 S", 4, 15},
        {"into an empty cell", ExitLeft, "G . . . . . . . . . . . . . 6 S", 1, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run(4, c.startExit, c.board);
        BeginRouteTrace(g);
        for (int step = 1; step < c.steps; ++step) {
            EndRunIf(g, TraceRouteStep(g));
            ASSERT_TRUE(g.RouteActive) << "broke early, at step " << step;
        }
        EndRunIf(g, TraceRouteStep(g));
        EXPECT_FALSE(g.RouteActive);
        EXPECT_EQ(g.RouteCell, c.brokenAt);
        // No miss, no sound: the run goes on and the next key press starts again at the exit cell.
        EXPECT_TRUE(g.Playing);
        EXPECT_EQ(g.Stage, 1);
        EXPECT_EQ(g.Lives, 2);
        EXPECT_TRUE(t.sound.waves.empty());
        BeginRouteTrace(g);
        EXPECT_EQ(g.RouteCell, c.startExit == ExitLeft ? 15 : 12);
    }
}

TEST_F(RouteTest, AStepFromNoRoadCellStops) {
    Run(4, ExitLeft, "G . . . . . . . . . . . . . . S");
    for (int cell : {0, 1, 16, 17}) {
        g.RouteActive = true;
        g.RouteCell = cell;
        EndRunIf(g, TraceRouteStep(g));
        EXPECT_FALSE(g.RouteActive) << "cell " << cell;
    }
    EXPECT_TRUE(t.sound.waves.empty());
}

TEST_F(RouteTest, TheFourWaysIntoTheGoalClearTheStage) {
    struct Case {
        int besideGoal;  // 0: cell 2, 1: cell N + 1
        TileKind kind;
        Direction heading;
    };
    const Case cases[] = {{0, TileKind::LeftBottom, Direction::Up},
                          {0, TileKind::Horizontal, Direction::Left},
                          {1, TileKind::RightTop, Direction::Left},
                          {1, TileKind::Vertical, Direction::Up}};
    for (int n : {4, 7}) {
        for (const Case& c : cases) {
            SCOPED_TRACE("N=" + std::to_string(n) + " kind " + TileName(c.kind));
            const int stage = n == 4 ? 1 : 7;
            Run(n, ExitLeft, EmptyBoard(n), stage);
            const int cell = c.besideGoal == 0 ? 2 : n + 1;
            g.Cells[cell] = c.kind;
            g.RouteActive = true;
            g.RouteCell = cell;
            g.Heading = c.heading;
            t.sound.waves.clear();
            EndRunIf(g, TraceRouteStep(g));
            EXPECT_EQ(Clears(), 1);
            EXPECT_EQ(g.Stage, stage + 1);
            EXPECT_FALSE(g.RouteActive);
            EXPECT_EQ(g.RouteCell, cell);
            EXPECT_EQ(g.Heading, c.heading);
        }
    }
}

// The class table of the game's design, written out: for each class and entering direction, "-"
// where no route can arrive that way, otherwise the kinds that carry the route on ("6:1") or into
// the goal ("6:G"). Every kind not listed breaks the road.
using Columns = std::array<const char*, 4>;  // entering with 1, 2, 3, 4
const Columns kExitLeftRules{"6:1 5:3", "6:1 5:3", "6:1 5:3", "6:1 5:3"};
const Columns kExitUpRules{"4:3 1:1", "4:3 1:1", "4:3 1:1", "4:3 1:1"};
const std::array<Columns, 13> kClassRules{{
    {},                                                              // unused
    {},                                                              // exit cell, by StartExit
    {"6:G 3:4", "-", "1:G 3:2", "-"},                                // beside the goal, top row
    {"-", "1:4", "1:1", "-"},                                        // top-right corner
    {"5:G 3:4", "-", "4:G 3:2", "-"},                                // beside the goal, left column
    {"-", "2:3", "-", "2:1"},                                        // above the start
    {"5:3", "-", "-", "5:2"},                                        // bottom-left corner
    {"-", "2:3", "-", "2:1"},                                        // left of the start
    {"6:1 3:4", "6:2 1:4", "3:2 1:1", "-"},                          // top row
    {"5:3 3:4", "-", "4:3 3:2", "4:4 5:2"},                          // left column
    {"-", "2:3 1:4", "4:3 1:1", "4:4 2:1"},                          // right column
    {"6:1 5:3", "6:2 2:3", "-", "5:2 2:1"},                          // bottom row
    {"5:3 6:1 3:4", "6:2 2:3 1:4", "3:2 1:1 4:3", "5:2 4:4 2:1"},    // inner
}};

// The class of cell i, by the cell ranges of the class table.
int TableClass(int i, int n, Direction startExit) {
    const int nn = n * n;
    if (i == (startExit == ExitLeft ? nn - 1 : nn - n)) return 1;
    if (i == 2) return 2;
    if (i == n) return 3;
    if (i == n + 1) return 4;
    if (i == nn - n) return 5;
    if (i == nn - n + 1) return 6;
    if (i == nn - 1) return 7;
    if (i >= 3 && i <= n - 1) return 8;
    if (i % n == 1 && n + 1 < i && i < nn - n) return 9;
    if (i % n == 0 && n < i && i < nn - n) return 10;
    if (i >= nn - n + 2 && i <= nn - 2) return 11;
    return 12;
}

// What the table says kind k does: the new heading, 0 for a break, -1 for the goal, -2 where the
// entering direction cannot occur.
int TableRule(const char* column, int kind) {
    const std::string text = column;
    if (text == "-") return -2;
    std::istringstream in(text);
    std::string entry;
    while (in >> entry) {
        if (entry[0] - '0' == kind) return entry[2] == 'G' ? -1 : entry[2] - '0';
    }
    return 0;
}

TEST_F(RouteTest, StepsFollowTheClassTableForEveryCellKindAndDirection) {
    std::vector<std::string> mismatches;
    int judged = 0;
    for (int n = 4; n <= 7; ++n) {
        const std::array<int, 5> offset{0, -1, 1, -n, n};  // by heading
        for (Direction exit : {ExitLeft, ExitUp}) {
            for (int cell = 2; cell < n * n; ++cell) {
                const int cls = TableClass(cell, n, exit);
                const Columns& rules = cls == 1 ? (exit == ExitLeft ? kExitLeftRules : kExitUpRules) : kClassRules[cls];
                for (int heading = 1; heading <= 4; ++heading) {
                    for (int kind = 0; kind <= kRoadKinds; ++kind) {
                        const int rule = TableRule(rules[heading - 1], kind);
                        if (rule == -2) continue;  // cannot occur
                        // Every other cell empty: whatever a later class does next can only break.
                        Run(n, exit, EmptyBoard(n));
                        g.Cells[cell] = KindOfNumber(kind);
                        g.RouteActive = true;
                        g.RouteCell = cell;
                        g.Heading = DirectionOfCode(heading);
                        t.sound.waves.clear();
                        EndRunIf(g, TraceRouteStep(g));
                        ++judged;

                        const bool cleared = Clears() == 1;
                        bool agrees;
                        if (rule == -1) {
                            agrees = cleared && g.RouteCell == cell && g.Heading == DirectionOfCode(heading);
                        } else if (rule == 0) {
                            agrees = !cleared && !g.RouteActive && g.RouteCell == cell && g.Heading == DirectionOfCode(heading);
                        } else {
                            agrees = !cleared && g.RouteCell == cell + offset[rule] && g.Heading == DirectionOfCode(rule);
                        }
                        if (!agrees) {
                            std::ostringstream what;
                            what << "N=" << n << " exit " << exit << " cell " << cell << " (class " << cls
                                 << ") kind " << kind << " entering " << heading << ": table " << rule
                                 << ", trace went to " << g.RouteCell << " heading " << g.Heading
                                 << (cleared ? " and cleared" : "");
                            mismatches.push_back(what.str());
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(judged, 3000);
    EXPECT_TRUE(mismatches.empty()) << mismatches.size() << " mismatches, first: "
                                     << (mismatches.empty() ? "" : mismatches.front());
}

TEST_F(RouteTest, TheRoadAssistOutlinesTheRoadFromTheStartUpToItsBreak) {
    Run(5, ExitUp,
        "G 6 1 . . "
        ". . 4 . . "
        ". . 5 6 1 "
        ". . . . 4 "
        ". . . . S");
    EXPECT_EQ(AssistRoad(g), (std::vector<int>{20, 15, 14, 13, 8, 3, 2, 1}));
    g.Cells[8] = TileKind::Horizontal;  // takes no road from below
    EXPECT_EQ(AssistRoad(g), (std::vector<int>{20, 15, 14, 13}));
    g.Cells[15] = g.Cells[10] = g.Cells[5] = TileKind::Vertical;  // the last leads off the board
    EXPECT_EQ(AssistRoad(g), (std::vector<int>{20, 15, 10, 5}));
}

}  // namespace
}  // namespace kanuvo::testing
