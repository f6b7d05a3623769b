// SPDX-License-Identifier: MIT
// Holding a run with P or Escape, over the doubles with a manual clock: nothing moves while held,
// the plate covers the board and comes off from the hidden copy, and Stop still counts as a miss.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/help.h"
#include "game/input.h"
#include "game/pause.h"
#include "game/play.h"
#include "past_title.h"

namespace kanuvo {
namespace {

using ::testing::ElementsAre;

constexpr int kUp = 38, kLeft = 37;

// A run just past the title, held and let go by keys and clicks queued for the next pass.
struct Held : testing::PastTitle {
    void Press(int key) {
        t.form.Queue([this, key] { BoardKeyDown(g, key); });
    }
    void Click(int cell) {
        const Rect& r = g.CellRects[cell];
        t.form.Queue([this, r] { BoardMouseDown(g, kLeftButton, (r.left + r.right) / 2, (r.top + r.bottom) / 2); });
    }
};

// Four seconds into a truck run, `hold` holds it; ten minutes later `release` lets it go, and the
// truck's first step after comes a full step interval later.
void TenMinutesHeldInATruckStage(Held& h, std::function<void()> hold, std::function<void()> release) {
    Game& g = h.g;
    testing::TestGame& t = h.t;
    g.Stage = 2;
    // A straight road along the bottom row keeps the truck going left.
    g.StartExit = ExitLeft;
    PlaceTruckAtStart(g);
    for (int i = 13; i <= 15; ++i) g.Cells[i] = TileKind::Horizontal;

    Rect truckAtHold;
    double gaugeAtHold = 0;
    int timeAtHold = 0;
    std::uint32_t heldAt = 0, resumedAt = 0, firstStepAfter = 0;
    h.everyPass = [&] {
        if (heldAt == 0 && t.clock.now >= 5000) {  // four seconds into the run, the truck moving
            hold();
            heldAt = t.clock.now;
            return;
        }
        if (g.Paused || g.HelpShown) {
            if (truckAtHold.right == 0) {
                truckAtHold = g.TruckRect;
                gaugeAtHold = t.form.gaugeBar.Width();
                timeAtHold = g.TimeCount;
            }
            EXPECT_EQ(g.TruckRect, truckAtHold);
            EXPECT_EQ(t.form.gaugeBar.Width(), gaugeAtHold);
            EXPECT_EQ(g.TimeCount, timeAtHold);
            EXPECT_TRUE(g.TimeLimitTimer.Held());
            if (resumedAt == 0 && t.clock.now - heldAt >= 600000) {
                release();
                resumedAt = t.clock.now;
            }
            return;
        }
        if (resumedAt != 0 && firstStepAfter == 0 && g.TruckRect != truckAtHold) {
            firstStepAfter = g.LastStepTime;
            EXPECT_EQ(g.TruckRect.left, truckAtHold.left - 1);
            t.ClickStartStop();
        }
    };
    t.ClickStartStop();

    ASSERT_NE(resumedAt, 0u);
    EXPECT_GE(timeAtHold, 3);
    EXPECT_LE(timeAtHold, 4);
    EXPECT_EQ(firstStepAfter, resumedAt + 201);
    EXPECT_EQ(g.Lives, 1);  // the Stop after the first step
}

TEST_F(Held, TenMinutesPausedInATruckStageMoveNeitherGaugeNorTruck) {
    TenMinutesHeldInATruckStage(*this, [this] { Press('P'); }, [this] { Press(kKeyEscape); });
}

TEST_F(Held, TenMinutesOfHelpInATruckStageMoveNeitherGaugeNorTruck) {
    TenMinutesHeldInATruckStage(*this, [this] { t.form.Queue([this] { ShowHelp(g); }); },
                                [this] { t.form.Queue([this] { KeyDown(g, kKeyHelp); }); });
    EXPECT_FALSE(g.HelpShown);
}

TEST_F(Held, StopWhileHeldIsOneMissAndTakesThePlateOff) {
    g.Stage = 2;
    const Rect plate = PlateRect(g);
    everyPass = [&] {
        if (passes == 1) Press('P');
        if (passes == 3) {
            ASSERT_TRUE(g.Paused);
            t.form.boardView.log.clear();
            t.ClickStartStop();  // Stop
        }
    };
    t.ClickStartStop();
    EXPECT_EQ(passes, 3);
    EXPECT_FALSE(g.Paused);
    EXPECT_FALSE(g.Playing);
    EXPECT_EQ(g.Lives, 1);
    ASSERT_EQ(t.sound.waves.size(), 1u);
    EXPECT_EQ(t.sound.waves[0].path, "/opt/kanuvo/sound/stop1.wav");
    EXPECT_FALSE(g.TimeLimitTimer.Enabled());
    EXPECT_FALSE(g.TimeLimitTimer.Held());
    EXPECT_EQ(plate, (Rect{101, 100, 501, 500}));
    // The plate comes off first; whatever the end of the run draws goes on the board itself.
    ASSERT_FALSE(t.form.boardView.log.empty());
    EXPECT_EQ(t.form.boardView.log.front(), "Copy 101 100 400 400 101 100");
    // The next run is not held.
    NewGameClick(g);
    passes = 0;
    everyPass = [&] {
        if (passes == 1) {
            EXPECT_FALSE(g.Paused);
            EXPECT_TRUE(g.TimeLimitTimer.Due().has_value());
            t.ClickStartStop();
        }
    };
    t.ClickStartStop();
    EXPECT_EQ(g.Lives, 0);
}

TEST_F(Held, NothingButPEscapeAndStopActsWhileHeldAndPBeginsATraceThatRunsOnResume) {
    testing::LayLeftThenUpRoad(g);  // complete: the first trace clears stage 1
    std::vector<int> cellsSeen;
    everyPass = [&] {
        if (passes == 1) Press('P');
        if (passes == 2) {
            ASSERT_TRUE(g.Paused);
            EXPECT_TRUE(g.RouteActive) << "P is also an ordinary key that begins a trace";
            Press(kUp);
            Press(kLeft);
            Press('A');
            Click(15);
            Click(7);
            t.form.Queue([this] { NewGameClick(g); });
        }
        if (g.Paused) cellsSeen.push_back(g.RouteCell);
        if (passes == 60) Press(kKeyEscape);
    };
    const auto cells = g.Cells;
    t.ClickStartStop();
    EXPECT_EQ(g.Stage, 2);  // cleared once resumed
    ASSERT_EQ(t.sound.waves.size(), 1u);
    EXPECT_EQ(t.sound.waves[0].path, "/opt/kanuvo/sound/goal.wav");
    EXPECT_EQ(g.Cells, cells);  // nothing slid while held
    ASSERT_GT(cellsSeen.size(), 50u);
    for (int cell : cellsSeen) EXPECT_EQ(cell, cellsSeen.front());  // the trace waited
}

TEST_F(Held, ThePlateCoversTheCellsAndResumingCopiesThemBackFromTheHiddenBoard) {
    everyPass = [&] {
        if (passes == 1) {
            t.form.boardView.log.clear();
            Press(kKeyEscape);
        }
        if (passes == 2) {
            // The copy first takes the board exactly as it shows.
            EXPECT_EQ(t.form.boardCopy.log.back(), "Copy 101 100 400 400 101 100");
        }
        if (passes == 3) {
            const auto& drawn = t.form.boardView.log;
            ASSERT_GE(drawn.size(), 4u);
            EXPECT_EQ(drawn[0], "FillBox 101 100 500 499 " + std::to_string(g.BoardBackColor));
            const auto printed = [&drawn](const std::string& text) {
                return std::any_of(drawn.begin(), drawn.end(), [&text](const std::string& line) {
                    return line.rfind("Text ", 0) == 0 && line.size() >= text.size() &&
                           line.compare(line.size() - text.size(), text.size(), text) == 0;
                });
            };
            EXPECT_TRUE(printed(" 一時停止"));
            EXPECT_TRUE(printed(" P でつづける"));
            t.form.boardView.log.clear();
            Press('P');
        }
        if (passes == 5) {
            EXPECT_THAT(t.form.boardView.log, ElementsAre("Copy 101 100 400 400 101 100"));
            EXPECT_FALSE(g.TimeLimitTimer.Held());
            g.Playing = false;
        }
    };
    t.ClickStartStop();
    EXPECT_EQ(passes, 5);
}

TEST(HeldPlate, AFailedCopyEitherWayIsFatal) {
    for (bool back : {false, true}) {
        testing::TestGame t;
        FormLoad(t.game);
        FormMouseDown(t.game);
        t.game.Playing = true;
        if (back) BoardKeyDown(t.game, 'P');
        (back ? t.form.boardView : t.form.boardCopy).copiesFail = true;
        EXPECT_THROW(BoardKeyDown(t.game, 'P'), testing::ProgramEnded);
        EXPECT_THAT(t.system.messages, ElementsAre("メモリーが足りません。"));
    }
}

}  // namespace
}  // namespace kanuvo
