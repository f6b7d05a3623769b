// SPDX-License-Identifier: MIT
// Fast-forward over the doubles on a manual clock: a fast run ends as the same run waited out, at the
// same time of the game's, and nothing the player does meanwhile changes the road.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/corner.h"
#include "game/input.h"
#include "past_title.h"

namespace kanuvo {
namespace {

// Stage 2's road laid from the start; one through every row, longer than the time limit.
constexpr std::array<int, 17> kLaidRoad{0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 4, 0, 2, 1, 5, 6, 0};
constexpr std::array<int, 17> kWindingRoad{0, 0, 0, 4, 4, 5, 6, 6, 1, 3, 6, 6, 2, 5, 6, 6, 0};

// A stage 2 run on the road given, from Start to its end, the game woken when it asks; F pressed at
// once when fast.
struct TruckRun : testing::TestGame {
    TruckRun(const std::array<int, 17>& kinds, bool fast) {
        FormLoad(game);
        FormMouseDown(game);
        game.Stage = 2;
        NewGameClick(game);
        game.StartExit = ExitLeft;
        PlaceTruckAtStart(game);
        for (int i = 1; i <= 16; ++i) game.Cells[i] = KindOfNumber(kinds[i]);
        StartStopClick(game);
        AdvanceTime(game);
        if (fast) KeyDown(game, kKeyFastForward);
        for (int wake = 0; game.Playing && wake < 100000; ++wake) {
            clock.now += static_cast<std::uint32_t>(form.wake.value_or(1000));
            AdvanceTime(game);
        }
    }
};

// All a player sees and hears, and the game's tick it ends at (both clocks start at 1000), on both roads.
TEST(FastForward, EndsAsTheRunWaitedOutAtTheSameTimeOfTheGame) {
    struct Road {
        std::array<int, 17> kinds;
        RunEnd end;
        std::uint32_t endsAt;
        std::map<int, int> best;
    };
    for (const Road& road : {Road{kLaidRoad, RunEnd::Cleared, 114163, {{2, 113}}},
                             Road{kWindingRoad, RunEnd::TimedOut, 182000, {}}}) {
        TruckRun fast(road.kinds, true), waited(road.kinds, false);
        EXPECT_EQ(fast.game.LastRunEnd, road.end);
        EXPECT_EQ(fast.game.clock.Now(), road.endsAt);
        EXPECT_EQ(waited.game.clock.Now(), road.endsAt);
        EXPECT_LE(fast.clock.now - 1000, (road.endsAt - 1000) / 19);
        EXPECT_EQ(fast.system.bestTimes, road.best);
        EXPECT_EQ(waited.system.bestTimes, road.best);
        EXPECT_EQ(fast.game.TruckRect, waited.game.TruckRect);
        EXPECT_EQ(fast.sound.calls, waited.sound.calls);
        EXPECT_EQ(fast.form.gaugeBar.Width(), waited.form.gaugeBar.Width());
        const testing::FakePictureBox &a = fast.form.boardView, &b = waited.form.boardView;
        bool samePixels = true;  // the board, its banner and its corner
        for (int y = 0; y < a.GridHeight(); ++y) {
            for (int x = 0; x < a.GridWidth(); ++x) samePixels &= a.Pixel(x, y) == b.Pixel(x, y);
        }
        EXPECT_TRUE(samePixels);
    }
}

// F is offered, and acts, only once the road reaches the goal; from then on no slide, by key or click,
// changes it; a pause holds the fast run, and P resumes it fast.
using FastForwardRun = testing::PastTitle;
TEST_F(FastForwardRun, WaitsForTheRoadThenTakesNoSlide) {
    SetUpTruckRun(0);  // the road waits for a Left press
    StartStopClick(g);
    const Rect corner = CornerArea(g);
    const int hintX = 20, hintY = (corner.top + corner.bottom) / 2 + 20;  // on F's hint, below the F1 hint
    KeyDown(g, kKeyFastForward);
    EXPECT_FALSE(g.FastForward) << "the road is broken";
    KeyDown(g, kKeyLeft);
    AdvanceTime(g);
    EXPECT_THAT(t.form.boardView.log, ::testing::Contains(::testing::EndsWith("F：早送り")));
    BoardMouseDown(g, kLeftButton, hintX, hintY);
    EXPECT_TRUE(g.FastForward);
    const auto laid = g.Cells;
    for (int key : {kKeyLeft, kKeyRight, kKeyUp, kKeyDown}) KeyDown(g, key);
    BoardMouseDown(g, kLeftButton, g.CellRects[10].left + 5, g.CellRects[10].top + 5);
    EXPECT_EQ(g.Cells, laid);
    KeyDown(g, kKeyPause);
    AdvanceTime(g);
    EXPECT_EQ(t.form.wake, std::nullopt);
    KeyDown(g, kKeyPause);
    AdvanceTime(g);
    EXPECT_EQ(t.form.wake, 11) << "the truck's next step, 201 ms of the game's time, in 11 of the platform's";
    KeyDown(g, kKeyAssist);
    KeyDown(g, kKeyAssist);
    EXPECT_EQ(Say(g, *g.CornerNote), "道アシスト オフ：この回は記録なし");
}

}  // namespace
}  // namespace kanuvo
