// SPDX-License-Identifier: MIT
// Sliding tiles by key, the slide repaint, the title screen, pointer shapes and the time limit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/media.h"
#include "game/play.h"

namespace kanuvo {
namespace {

using testing::TestGame;
using ::testing::ElementsAre;

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kPad2 = 98, kPad4 = 100, kPad6 = 102, kPad8 = 104;

// A freshly dealt stage-1 board, drawn, with a run in progress.
struct SlidingRun {
    SlidingRun() {
        FormLoad(g);
        EndTitle(g);
        g.Playing = true;
        for (int i = 2; i <= 15; ++i) {
            if (g.Cells[i] != TileKind::Empty) g.Cells[i] = KindOfNumber(1 + i % 6);  // every tile told apart by its kind
        }
    }
    // Places the gap at `cell` by swapping it with the current gap.
    void MoveGapTo(int cell) {
        for (int i = 2; i <= 15; ++i) {
            if (g.Cells[i] == TileKind::Empty) std::swap(g.Cells[i], g.Cells[cell]);
        }
    }
    TestGame t;
    Game& g = t.game;
};
struct Sliding : SlidingRun, ::testing::Test {};

TEST_F(Sliding, FromTheDealtGapEachKeyMovesItsNeighbour) {
    const std::pair<int, int> keyAndSource[] = {{kUp, 15}, {kDown, 7}, {kLeft, 12}, {kRight, 10},
                                                {kPad8, 15}, {kPad2, 7}, {kPad4, 12}, {kPad6, 10}};
    for (const auto& [key, source] : keyAndSource) {
        MoveGapTo(11);
        const TileKind kind = g.Cells[source];
        g.RouteActive = true;  // keeps the trace out of the way
        BoardKeyDown(g, key);
        EXPECT_EQ(g.Cells[11], kind) << "key " << key;
        EXPECT_EQ(g.Cells[source], TileKind::Empty) << "key " << key;
        EXPECT_EQ(g.SlideTarget, 11);
        EXPECT_EQ(g.SlideSource, source);
        EXPECT_EQ(g.SlideKind, kind);
    }
}

TEST_F(Sliding, RefusedMovesLeaveTheBoardAlone) {
    const std::pair<int, int> gapAndKey[] = {
        {12, kUp}, {12, kLeft},  // right column, directly above the start
        {5, kDown},              // directly below the goal
        {2, kRight},             // directly right of the goal
        {15, kLeft},             // directly left of the start
        {14, kUp},               // bottom row
        {3, kDown},              // top row
        {9, kRight},             // left column
        {8, kLeft},              // right column
    };
    for (const auto& [gap, key] : gapAndKey) {
        MoveGapTo(gap);
        const auto before = g.Cells;
        g.RouteActive = true;
        BoardKeyDown(g, key);
        EXPECT_EQ(g.Cells, before) << "gap " << gap << " key " << key;
    }
}

TEST_F(Sliding, TheHighestEmptyCellIsTheGap) {
    MoveGapTo(6);
    g.Cells[10] = TileKind::Empty;  // two gaps: 10 wins
    const TileKind kind = g.Cells[14];
    g.RouteActive = true;
    BoardKeyDown(g, kUp);
    EXPECT_EQ(g.Cells[10], kind);
    EXPECT_EQ(g.Cells[14], TileKind::Empty);
}

TEST_F(Sliding, KeysDoNothingOutsideARun) {
    g.Playing = false;
    const auto before = g.Cells;
    BoardKeyDown(g, kUp);
    BoardKeyDown(g, 'A');
    EXPECT_EQ(g.Cells, before);
    EXPECT_FALSE(g.RouteActive);
}

TEST_F(Sliding, AnyKeyBeginsATraceInRouteStagesButDoesNotRestartOne) {
    const auto before = g.Cells;
    BoardKeyDown(g, 'A');
    EXPECT_EQ(g.Cells, before);
    EXPECT_TRUE(g.RouteActive);
    EXPECT_EQ(g.Heading, Direction::Left);
    EXPECT_EQ(g.RouteCell, g.StartExit == ExitLeft ? 15 : 12);
    g.RouteCell = 6;  // a trace under way
    BoardKeyDown(g, kUp);
    EXPECT_EQ(g.RouteCell, 6);
    EXPECT_NE(g.Cells, before);  // the arrow still slid a tile
}

TEST_F(Sliding, TruckStagesOnlySlide) {
    for (int stage : {2, 4, 6, 8, 9}) {
        g.Stage = stage;
        BoardKeyDown(g, 'A');
        EXPECT_FALSE(g.RouteActive) << "stage " << stage;
    }
}

TEST_F(Sliding, RepaintErasesTheSourcePaintsTheTargetAndCopiesTheirSquare) {
    MoveGapTo(7);
    t.form.boardView.log.clear();
    t.form.boardCopy.log.clear();
    g.RouteActive = true;
    BoardKeyDown(g, kLeft);  // 8 -> 7
    const auto& drawn = t.form.boardView.log;
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn[0], "FillBox 401 200 500 299 " + std::to_string(g.BoardBackColor));  // cell 8 erased
    EXPECT_EQ(drawn[1].rfind("RoundRect 301 200 400 299", 0), 0u);    // cell 7 painted
    // The square from cell 7's corner, reaching one cell past the board's right edge.
    EXPECT_THAT(t.form.boardCopy.log, ElementsAre("Copy 301 200 200 200 301 200"));

    t.form.boardCopy.log.clear();
    MoveGapTo(6);
    BoardKeyDown(g, kRight);  // 5 -> 6
    EXPECT_THAT(t.form.boardCopy.log, ElementsAre("Copy 101 200 200 200 101 200"));
}

TEST_F(Sliding, AFailedRepaintCopyIsFatal) {
    MoveGapTo(11);
    t.form.boardCopy.copiesFail = true;
    g.RouteActive = true;
    EXPECT_THROW(BoardKeyDown(g, kUp), testing::ProgramEnded);
    EXPECT_THAT(t.system.messages, ElementsAre("メモリーが足りません。"));
    EXPECT_EQ(t.system.exitStatus, 1);
}

// The point in the middle of a cell, where a player clicks.
std::pair<int, int> Middle(const GameState& s, int cell) {
    const Rect& r = s.CellRects[cell];
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Click(Game& g, int cell, int button = kLeftButton) {
    const auto [x, y] = Middle(g, cell);
    BoardMouseDown(g, button, x, y);
}

TEST_F(Sliding, AClickOnEachNeighbourOfTheGapDoesExactlyWhatItsArrowKeyDoes) {
    const std::pair<int, int> cellAndKey[] = {{15, kUp}, {7, kDown}, {12, kLeft}, {10, kRight}};
    for (const auto& [cell, key] : cellAndKey) {
        SlidingRun byKey;
        for (SlidingRun* side : {static_cast<SlidingRun*>(this), &byKey}) {
            side->MoveGapTo(11);
            side->g.RouteActive = false;
            side->t.form.boardView.log.clear();
            side->t.form.boardCopy.log.clear();
        }
        Click(g, cell);
        BoardKeyDown(byKey.g, key);
        EXPECT_EQ(g.Cells[11], byKey.g.Cells[11]) << "cell " << cell;
        EXPECT_EQ(g.Cells[cell], TileKind::Empty) << "cell " << cell;
        EXPECT_EQ(g.Cells, byKey.g.Cells);
        EXPECT_EQ(g.SlideSource, cell);
        EXPECT_EQ(g.SlideKind, byKey.g.SlideKind);
        EXPECT_EQ(t.form.boardView.log, byKey.t.form.boardView.log);
        EXPECT_EQ(t.form.boardCopy.log, byKey.t.form.boardCopy.log);
        ASSERT_FALSE(t.form.boardCopy.log.empty());
        // In stage 1 the click begins the trace as the key does.
        EXPECT_TRUE(g.RouteActive);
        EXPECT_EQ(g.RouteCell, byKey.g.RouteCell);
    }
}

TEST_F(Sliding, ClicksNoKeyWouldMakeDoNothingAtAll) {
    struct Case {
        int gap, cell, button;
    };
    const Case cases[] = {
        {12, 16, kLeftButton},  // the start, below a gap above it
        {12, 13, kLeftButton},  // first cell of the next row: not beside the gap
        {15, 16, kLeftButton},  // the start, right of the gap
        {5, 1, kLeftButton},    // the goal, above the gap
        {2, 1, kLeftButton},    // the goal, left of the gap
        {11, 6, kLeftButton},   // diagonal
        {11, 3, kLeftButton},   // two cells away
        {11, 11, kLeftButton},  // the gap itself
        {11, 15, kRightButton},
        {11, 15, kMiddleButton},
    };
    for (const Case& c : cases) {
        MoveGapTo(c.gap);
        const auto before = g.Cells;
        const auto drawn = t.form.boardView.log.size();
        Click(g, c.cell, c.button);
        EXPECT_EQ(g.Cells, before) << "gap " << c.gap << " cell " << c.cell;
        EXPECT_EQ(t.form.boardView.log.size(), drawn);
        EXPECT_FALSE(g.RouteActive) << "gap " << c.gap << " cell " << c.cell;
    }
    // Off the tiles: the margin, the one-pixel line between two cells, beyond the board.
    MoveGapTo(11);
    const auto before = g.Cells;
    BoardMouseDown(g, kLeftButton, 5, 5);
    BoardMouseDown(g, kLeftButton, g.CellRects[11].right, Middle(g, 11).second);  // between 11 and 12
    BoardMouseDown(g, kLeftButton, 600, 450);
    EXPECT_EQ(g.Cells, before);
    EXPECT_FALSE(g.RouteActive);
    // Outside a run.
    g.Playing = false;
    Click(g, 15);
    EXPECT_EQ(g.Cells, before);
}

struct Title : ::testing::Test {
    void SetUp() override { FormLoad(g); }
    TestGame t;
    Game& g = t.game;
};

TEST_F(Title, StartUpLeavesTheBoardHiddenBehindTheTitlePicture) {
    EXPECT_THAT(t.form.canvas.log, ElementsAre("Picture 109 0 0 620 600 copy"));
    EXPECT_FALSE(t.form.boardView.Visible());
    EXPECT_FALSE(t.form.exitButton.Visible());
    EXPECT_FALSE(t.form.startStopButton.Visible());
    EXPECT_TRUE(g.TitleTimer.Enabled());
    EXPECT_EQ(t.form.outerWidth, 650);
    EXPECT_EQ(t.form.outerHeight, 650);
}

TEST_F(Title, AClickEndsItOnceAndShowsTheBoard) {
    t.system.currentCursor = 42;
    FormMouseDown(g);
    EXPECT_EQ(g.SavedCursor, 42u);
    EXPECT_FALSE(g.TitleTimer.Enabled());
    EXPECT_TRUE(t.form.boardView.Visible());
    EXPECT_TRUE(t.form.exitButton.Visible());
    EXPECT_TRUE(t.form.newGameButton.Visible());
    EXPECT_TRUE(t.form.startStopButton.Visible());
    EXPECT_EQ(t.form.boardView.log.back(), "Text 10 10 20 16777215 ｽﾃｰｼﾞ1");
    const auto drawn = t.form.boardView.log.size();
    FormMouseDown(g);
    EXPECT_EQ(t.form.boardView.log.size(), drawn);
}

TEST_F(Title, TheEleventhTickEndsItAndEachTickSavesThePointer) {
    for (int tick = 1; tick <= 10; ++tick) {
        t.system.currentCursor = 100 + tick;
        TitleTick(g);
        EXPECT_EQ(g.SavedCursor, static_cast<CursorHandle>(100 + tick));
        ASSERT_FALSE(t.form.boardView.Visible()) << "tick " << tick;
    }
    TitleTick(g);
    EXPECT_TRUE(t.form.boardView.Visible());
    EXPECT_TRUE(t.form.startStopButton.Visible());
    EXPECT_FALSE(g.TitleTimer.Enabled());
    const auto drawn = t.form.boardView.log.size();
    FormMouseDown(g);  // too late: the title has ended
    EXPECT_EQ(t.form.boardView.log.size(), drawn);
}

TEST_F(Title, ALateFrameReLaysTheTitleAndBoardOutButNotOnceTheBoardShows) {
    const auto cells = g.Cells;
    t.form.canvas.Resize(616, 572);  // a frame arrived: the inner area shrank
    FormResize(g);
    EXPECT_EQ(t.form.canvas.log.back(), "Picture 109 0 0 616 572 copy");
    EXPECT_EQ(g.CellSize, 95);  // 572 / 6 = 95.33
    EXPECT_EQ(t.form.boardView.Height(), 572);
    EXPECT_EQ(g.Cells, cells);  // the same deal
    FormMouseDown(g);
    t.form.canvas.Resize(600, 560);
    FormResize(g);
    EXPECT_EQ(g.CellSize, 95);
}

TEST_F(Title, StartWorksAtOnceOnTheDealtBoard) {
    FormMouseDown(g);
    EXPECT_TRUE(g.BoardReady);
    EXPECT_FALSE(g.Playing);
}

struct Pointers : ::testing::Test {
    void SetUp() override {
        t.system.cursorFiles = {"/opt/kanuvo/sound/H_point.cur", "/opt/kanuvo/sound/Nodrop01.cur"};
        FormLoad(g);
        t.system.currentCursor = 7;
        FormMouseDown(g);
    }
    TestGame t;
    Game& g = t.game;
};

TEST_F(Pointers, EachControlSetsThePointerOncePerArrival) {
    const CursorHandle hand = g.HandCursor, noDrop = g.NoDropCursor;
    ASSERT_NE(hand, 0u);
    ASSERT_NE(noDrop, 0u);
    ExitMouseMove(g);
    ExitMouseMove(g);
    ExitMouseMove(g);
    BoardMouseMove(g);
    BoardMouseMove(g);
    NewGameMouseMove(g);
    StartStopMouseMove(g);
    StartStopMouseMove(g);
    g.BoardReady = false;
    StartStopMouseMove(g);  // still on the button: no change until it arrives again
    BoardMouseMove(g);
    StartStopMouseMove(g);
    EXPECT_THAT(t.system.cursorCalls, ElementsAre(hand, 7u, hand, hand, 7u, noDrop));
}

TEST_F(Pointers, AFailedChangeIsTriedAgainOnTheNextMove) {
    t.system.setCursorWorks = false;
    ExitMouseMove(g);
    ExitMouseMove(g);
    EXPECT_EQ(t.system.cursorCalls.size(), 2u);
    EXPECT_FALSE(g.ExitCursorSet);
}

TEST_F(Pointers, WithoutCursorFilesTheHandlesAreZero) {
    TestGame bare;
    FormLoad(bare.game);
    EXPECT_EQ(bare.game.HandCursor, 0u);
    EXPECT_EQ(bare.game.NoDropCursor, 0u);
    EXPECT_THAT(bare.system.cursorPathsAsked,
                ElementsAre("/opt/kanuvo/sound/H_point.cur", "/opt/kanuvo/sound/Nodrop01.cur"));
}

struct TimeLimit : ::testing::Test {
    void SetUp() override {
        FormLoad(g);
        FormMouseDown(g);
        g.Playing = true;
        g.TimeLimitTimer.SetEnabled(true);
        t.form.gaugeBar.SetVisible(true);
        t.form.gaugeFrame.SetVisible(true);
    }
    TestGame t;
    Game& g = t.game;
};

TEST_F(TimeLimit, TheBarShrinksEvenlyAndTheMissComesOnThe181stTick) {
    const double full = t.form.gaugeBar.Width();
    ASSERT_EQ(full, 310);
    for (int tick = 1; tick <= 180; ++tick) {
        TimeLimitTick(g);
        ASSERT_EQ(g.TimeCount, tick);
        ASSERT_GE(t.form.gaugeBar.Width(), 0.0);
        ASSERT_NEAR(t.form.gaugeBar.Width(), full - tick * 310.0 / 180, 0.01) << "tick " << tick;
        ASSERT_TRUE(g.Playing);
    }
    TimeLimitTick(g);
    EXPECT_FALSE(g.Playing);
    EXPECT_EQ(g.TimeCount, 0);
    EXPECT_EQ(g.Lives, 1);
    EXPECT_FALSE(g.TimeLimitTimer.Enabled());
    EXPECT_FALSE(t.form.gaugeBar.Visible());
    EXPECT_TRUE(t.form.gaugeFrame.Visible());
    ASSERT_EQ(t.sound.waves.size(), 1u);
    EXPECT_EQ(t.sound.waves[0].path, "/opt/kanuvo/sound/stop2.wav");
}

TEST_F(TimeLimit, TheBarIsNeverGivenANegativeWidth) {
    t.form.gaugeBar.SetWidth(0.5);
    TimeLimitTick(g);
    EXPECT_EQ(t.form.gaugeBar.Width(), 0.0);
}

}  // namespace
}  // namespace kanuvo
