// SPDX-License-Identifier: MIT
// The truck driving a 4 x 4 board one pixel at a time: where it turns, where it crashes, where it arrives.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "board_text.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/truck.h"

namespace kanuvo::testing {
namespace {

class TruckTest : public ::testing::Test {
protected:
    void Run(Direction startExit, std::string_view board) {
        StartRun(g, 2, 4, startExit);
        SetBoard(g, board);
        t.sound.waves.clear();
    }

    // One pixel in the direction of travel, as a truck step moves it, then the steering pass after it.
    void Step() {
        Rect& r = g.TruckRect;
        switch (g.Heading) {
            case Direction::Left: --r.left, --r.right; break;
            case Direction::Right: ++r.left, ++r.right; break;
            case Direction::Up: --r.top, --r.bottom; break;
            case Direction::Down: ++r.top, ++r.bottom; break;
            case Direction::None: break;
        }
        EndRunIf(g, SteerTruck(g));
    }

    // Steps while the run goes on and `done` is false; returns the steps made.
    int DriveUntil(const std::function<bool()>& done, int limit = 2000) {
        int steps = 0;
        while (g.Playing && !done() && steps < limit) {
            Step();
            ++steps;
        }
        return steps;
    }
    int Drive() {
        return DriveUntil([] { return false; });
    }
    bool InCell(int cell) const { return g.TruckCells[0] == cell && g.TruckCells[1] == cell; }

    int Misses() const { return Plays(t.sound, "stop1.wav"); }
    int Clears() const { return Plays(t.sound, "goal.wav"); }
    // The run ended in one crash: one miss sound, one life spent.
    void ExpectOneCrash() const {
        EXPECT_FALSE(g.Playing);
        EXPECT_EQ(Misses(), 1);
        EXPECT_EQ(g.Lives, 1);
        EXPECT_EQ(Clears(), 0);
    }

    TestGame t;
    Game& g = t.game;
};

TEST_F(TruckTest, TurnsUpJustPastTheCentreOfACornerTile) {
    Run(ExitLeft,
        "G . . . "
        ". . . . "
        ". . . . "
        ". . 5 S");
    EXPECT_EQ(g.TruckRect, (Rect{401, 435, 461, 465}));
    Step();
    EXPECT_EQ(g.TruckCells[0], 16) << "a corner on the grid line keeps its cell";
    Step();
    EXPECT_EQ(g.TruckCells[0], 15);
    EXPECT_EQ(g.TruckCells[1], 16);

    // Cell 15 is (301, 400, 400, 499): margins 19.5 -> 20 and 34.5 -> 34, so the turn point is left 320.
    const int steps = 2 + DriveUntil([this] { return g.Heading != Direction::Left; });
    EXPECT_EQ(steps, 81);
    EXPECT_EQ(g.Heading, Direction::Up);
    EXPECT_EQ(g.TruckRect, (Rect{335, 420, 365, 480}));

    // Standing now, it goes straight on through the same corner, and wants a road in cell 11.
    const int more = Drive();
    EXPECT_EQ(g.TruckRect.top, 400);
    EXPECT_EQ(more, 20);
    ExpectOneCrash();
}

TEST_F(TruckTest, LooksAheadWhenTheFrontReachesTheCellsEdge) {
    for (TileKind kind : kAllTileKinds) {
        SCOPED_TRACE(std::string("kind ") + TileName(kind) + " in cell 14");
        Run(ExitLeft,
            "G . . . "
            ". . . . "
            ". . . . "
            ". . 6 S");
        g.Cells[14] = kind;
        DriveUntil([this] { return g.TruckRect.left == 302; });
        ASSERT_TRUE(g.Playing);
        EXPECT_EQ(g.Heading, Direction::Left);
        Step();  // the front at cell 15's left edge
        const bool facesTheTruck = kind == TileKind::RightBottom || kind == TileKind::RightTop || kind == TileKind::Horizontal;
        if (facesTheTruck) {
            EXPECT_TRUE(g.Playing);
            EXPECT_EQ(Misses(), 0);
        } else {
            ExpectOneCrash();
        }
    }
}

TEST_F(TruckTest, CatchesATileSlidAwayAhead) {
    Run(ExitLeft,
        "G . . . "
        ". . . . "
        ". . . . "
        ". . 6 S");
    g.Cells[14] = TileKind::Horizontal;
    DriveUntil([this] { return g.TruckRect.left == 300; });  // the front on the grid line
    ASSERT_TRUE(g.Playing);
    g.Cells[14] = TileKind::Empty;
    EndRunIf(g, SteerTruck(g));  // a pass with no step due
    ExpectOneCrash();
}

TEST_F(TruckTest, CrashesOnAnEmptyCellUnderEitherEnd) {
    for (int slidAway : {14, 15}) {
        SCOPED_TRACE("cell " + std::to_string(slidAway) + " emptied");
        Run(ExitLeft,
            "G . . . "
            ". . . . "
            ". . . . "
            ". 6 6 S");
        DriveUntil([this] { return g.TruckCells[0] == 14; });
        ASSERT_TRUE(g.Playing);
        ASSERT_EQ(g.TruckCells[1], 15);
        g.Cells[slidAway] = TileKind::Empty;
        EndRunIf(g, SteerTruck(g));
        ExpectOneCrash();
    }
}

TEST_F(TruckTest, AnEdgeTileCrashesAtItsCentre) {
    // Round to the top row, then left onto a right-top corner, which would lead off the board.
    Run(ExitLeft,
        "G . 5 1 "
        ". . . 4 "
        ". . 3 2 "
        ". . 5 S");
    Drive();
    ExpectOneCrash();
    EXPECT_TRUE(InCell(3));
    EXPECT_EQ(g.Heading, Direction::Left);
    EXPECT_EQ(g.TruckRect.left, 320);  // cell 3 is (301, 100, 400, 199): just past the centre
}

TEST_F(TruckTest, NoRoadBeyondTheBoardsEdgeIsACrash) {
    // A tile swapped in under the truck after its edge check (two slides between passes) can carry
    // it to the edge; there is no cell ahead to read, and the truck crashes.
    Run(ExitLeft, EmptyBoard(4));
    g.Cells[3] = TileKind::Horizontal;
    g.Heading = Direction::Up;
    g.TruckRect = Rect{335, 100, 365, 160};  // standing in cell 3 against the top edge
    g.TruckCells = {3, 3};
    EndRunIf(g, SteerTruck(g));
    ExpectOneCrash();
}

TEST_F(TruckTest, AStraightBesideTheStartLeadsIntoTheStartAndCrashes) {
    // Up, left, down, right along the bottom row: a horizontal tile left of the start has no edge
    // end, so the truck goes on until the start lies ahead of it.
    Run(ExitUp,
        "G . . . "
        ". . . . "
        ". 3 6 1 "
        ". 5 6 S");
    Drive();
    ExpectOneCrash();
    EXPECT_EQ(g.Heading, Direction::Right);
    EXPECT_EQ(g.TruckRect.right, g.CellRects[16].left - 1);
}

// Beside the goal only the way into the goal is left unjudged: it holds no tile.
TEST_F(TruckTest, LeavingACellBesideTheGoalAwayFromItLooksAhead) {
    struct Case {
        const char* board;
        int cell;
        Direction heading;
    };
    // Down out of cell 2 onto a horizontal tile; right out of cell 5, after a turn there, onto a
    // vertical one. Either way the crash comes with the front at the edge of the cell beside the goal.
    for (const Case& c : {Case{"G 3 1 .  . 6 4 .  . 6 4 .  . . 5 S", 2, Direction::Down},
                          Case{"G . . .  3 4 . .  4 . . .  5 6 6 S", 5, Direction::Right}}) {
        Run(ExitLeft, c.board);
        Drive();
        ExpectOneCrash();
        EXPECT_EQ(g.Heading, c.heading);
        EXPECT_TRUE(InCell(c.cell));
        const Rect& r = g.CellRects[c.cell];
        EXPECT_EQ(c.heading == Direction::Down ? g.TruckRect.bottom : g.TruckRect.right,
                  c.heading == Direction::Down ? r.bottom : r.right);
    }

    // Up out of cell 5 into the goal drives on, whole length and all.
    Run(ExitLeft,
        "G . . . "
        "4 . . . "
        "4 . . . "
        "5 6 6 S");
    Drive();
    EXPECT_EQ(Clears(), 1);
    EXPECT_EQ(Misses(), 0);
    EXPECT_TRUE(InCell(GoalCell));
}

TEST_F(TruckTest, ReachesTheGoalOnlyWithItsWholeLength) {
    Run(ExitLeft,
        "G 6 1 . "
        ". . 4 . "
        ". . 4 . "
        ". . 5 S");
    g.Lives = 1;
    DriveUntil([this] { return g.TruckCells[0] == GoalCell; });
    EXPECT_TRUE(g.Playing) << "the front alone in the goal drives on";
    EXPECT_EQ(g.TruckCells[1], 2);
    Drive();
    EXPECT_EQ(Clears(), 1);
    EXPECT_EQ(Misses(), 0);
    EXPECT_EQ(g.Stage, 3);
    EXPECT_EQ(g.Lives, 2);
    EXPECT_TRUE(InCell(GoalCell));
    EXPECT_EQ(g.TruckRect.right, 199);  // cell 1 is (101, 100, 200, 199)
}

TEST_F(TruckTest, StandingInTheStartHeadingOutDoesNothing) {
    for (Direction exit : {ExitLeft, ExitUp}) {
        for (bool playing : {true, false}) {  // false: the pass in which a route stage was cleared
            Run(exit, EmptyBoard(4));
            g.Playing = playing;
            const Rect placed = g.TruckRect;
            const Direction heading = g.Heading;
            EndRunIf(g, SteerTruck(g));
            EndRunIf(g, SteerTruck(g));
            EXPECT_EQ(g.Playing, playing);
            EXPECT_EQ(g.TruckRect, placed);
            EXPECT_EQ(g.Heading, heading);
            EXPECT_TRUE(InCell(16));
            EXPECT_EQ(g.Lives, 2);
            EXPECT_TRUE(t.sound.waves.empty());
        }
    }
}

TEST_F(TruckTest, HeadingIntoTheStartWithBothEndsInItCrashes) {
    for (Direction exit : {ExitLeft, ExitUp}) {
        Run(exit, EmptyBoard(4));
        g.Heading = exit == ExitLeft ? Direction::Right : Direction::Down;
        EndRunIf(g, SteerTruck(g));
        ExpectOneCrash();
    }
}

// Every way a truck can drive onto an edge tile that leads off the board must end the run there:
// otherwise its look-ahead would read beyond the board.
TEST_F(TruckTest, EdgeCheckCatchesEveryTileLeadingOffTheBoard) {
    for (int n = 4; n <= 7; ++n) {
        for (int cell = 2; cell < n * n; ++cell) {
            for (TileKind kind : kAllTileKinds) {
                if (kind == TileKind::Empty) continue;
                for (Direction heading : kAllDirections) {
                    // The truck comes from the neighbour behind it, which is neither the goal nor,
                    // except for the two exit cells, the start.
                    const Direction back = heading == Direction::Left ? Direction::Right
                                     : heading == Direction::Right ? Direction::Left
                                     : heading == Direction::Up ? Direction::Down : Direction::Up;
                    if (!HasNeighbour(cell, back, n)) continue;
                    const int from = NextCell(cell, back, n);
                    if (from == GoalCell) continue;
                    if (from == n * n && !(cell == n * n - 1 && heading == Direction::Left) &&
                        !(cell == n * n - n && heading == Direction::Up)) {
                        continue;
                    }
                    const Direction out = ExitHeading(kind, heading);
                    if (out == Direction::None || HasNeighbour(cell, out, n)) continue;

                    StartRun(g, 2, n, ExitLeft);
                    g.Cells[cell] = kind;
                    g.Heading = heading;
                    EXPECT_TRUE(CheckEdgeTile(g, cell))
                        << "N=" << n << " cell " << cell << " kind " << kind << " entering " << heading;
                }
            }
        }
    }
}

TEST_F(TruckTest, EdgeCheckLetsRoadsOnTheBoardPass) {
    struct Case {
        int cell;
        TileKind kind;
        Direction heading;
        bool crashes;
    };
    const Case cases[] = {
        {15, TileKind::RightTop, Direction::Down, true},   // would turn into the start
        {15, TileKind::RightTop, Direction::Left, false},  // turns up, out of the start
        {15, TileKind::Horizontal, Direction::Right, false},
        {2, TileKind::Horizontal, Direction::Left, false},  // into the goal
        {5, TileKind::Vertical, Direction::Up, false},
        {13, TileKind::LeftBottom, Direction::Left, true},  // no end on the board at all
        {6, TileKind::Vertical, Direction::Up, false},      // inner cells never crash here
        {1, TileKind::Vertical, Direction::Up, false},
        {16, TileKind::Horizontal, Direction::Right, false},
    };
    for (const Case& c : cases) {
        Run(ExitLeft, EmptyBoard(4));
        g.Cells[c.cell] = c.kind;
        g.Heading = c.heading;
        EXPECT_EQ(CheckEdgeTile(g, c.cell), c.crashes) << "cell " << c.cell << " kind " << c.kind;
    }
}

}  // namespace
}  // namespace kanuvo::testing
