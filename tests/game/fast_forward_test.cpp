// SPDX-License-Identifier: MIT
// Fast-forward on a manual clock: a fast run ends as the same run waited out, at the same time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/corner.h"
#include "game/input.h"
#include "past_title.h"

namespace kanuvo {
namespace {

// Stage 2's road laid from the start; the same with its gap in cell 10, which a Left press fills; and
// one through every row, longer than the time limit.
constexpr std::array<int, 17> kLaidRoad{0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 4, 0, 2, 1, 5, 6, 0};
constexpr std::array<int, 17> kGappedRoad{0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 0, 4, 2, 1, 5, 6, 0};
constexpr std::array<int, 17> kWindingRoad{0, 0, 0, 4, 4, 5, 6, 6, 1, 3, 6, 6, 2, 5, 6, 6, 0};

// A stage 2 run on the road given, started; Finish plays it to its end as a window would.
struct TruckRun : testing::TestGame {
    explicit TruckRun(const std::array<int, 17>& kinds) {
        FormLoad(game);
        FormMouseDown(game);
        game.Stage = 2;
        NewGameClick(game);
        game.StartExit = ExitLeft;
        PlaceTruckAtStart(game);
        for (int i = 1; i <= 16; ++i) game.Cells[i] = KindOfNumber(kinds[i]);
        StartStopClick(game);
        AdvanceTime(game);
    }
    void Finish() {
        for (int wake = 0; game.Playing && wake < 100000; ++wake) {
            clock.now += static_cast<std::uint32_t>(form.wake.value_or(1000));
            AdvanceTime(game);
        }
    }
};

// All a player sees and hears, and the game's tick it ends at (both clocks start at 1000), on both roads.
TEST(FastForward, EndsAsTheRunWaitedOutAtTheSameTimeOfTheGame) {
    struct Road { std::array<int, 17> kinds; RunEnd end; std::uint32_t endsAt; std::map<int, int> best; };
    for (const Road& road : {Road{kLaidRoad, RunEnd::Cleared, 114163, {{2, 113}}},
                             Road{kWindingRoad, RunEnd::TimedOut, 182000, {}}}) {
        TruckRun fast(road.kinds), waited(road.kinds);
        KeyDown(fast.game, kKeyFastForward);
        fast.Finish();
        waited.Finish();
        EXPECT_EQ(fast.game.LastRunEnd, road.end);
        EXPECT_EQ(fast.game.clock.Now(), road.endsAt);
        EXPECT_EQ(waited.game.clock.Now(), road.endsAt);
        EXPECT_LE(fast.clock.now - 1000, (road.endsAt - 1000) / 19);
        EXPECT_EQ(fast.system.bestTimes, road.best);
        EXPECT_EQ(fast.sound.calls, waited.sound.calls);
        EXPECT_TRUE(fast.form.boardView.SamePixels(waited.form.boardView)) << "the board, its banner, its corner";
    }
}

// F is offered, and acts, only once the road reaches the goal; from then on no slide changes it.
TEST(FastForward, WaitsForTheRoadThenTakesNoSlide) {
    TruckRun run(kGappedRoad);
    Game& g = run.game;
    KeyDown(g, kKeyFastForward);
    EXPECT_FALSE(g.FastForward) << "the road is broken";
    KeyDown(g, kKeyLeft);
    AdvanceTime(g);
    EXPECT_THAT(run.form.boardView.log, ::testing::Contains(::testing::EndsWith("F：早送り")));
    BoardMouseDown(g, kLeftButton, 20, CornerArea(g).bottom - 20);  // on F's hint, below the F1 hint
    EXPECT_TRUE(g.FastForward);
    const auto laid = g.Cells;
    for (int key : {kKeyLeft, kKeyRight, kKeyUp, kKeyDown}) KeyDown(g, key);
    EXPECT_EQ(g.Cells, laid);
    KeyDown(g, kKeyAssist);
    KeyDown(g, kKeyAssist);
    EXPECT_EQ(Say(g, *g.CornerNote), "道アシスト オフ：この回は記録なし");
}

}  // namespace
}  // namespace kanuvo
