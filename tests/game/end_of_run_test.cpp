// What the board tells the player when a run ends, over the doubles: the run's own drawing untouched,
// a banner for each way a run ends, the winning road lit, and best times kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "doubles.h"
#include "game/app.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/play.h"

namespace kanuvo {
namespace {

using testing::TestGame;

// FNV-1a over the lines, each closed by a newline: a short fingerprint of a long drawing log.
std::uint64_t Fingerprint(const std::vector<std::string>& lines, std::size_t count) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) {
        for (unsigned char c : lines[i] + '\n') hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

// The game past its title screen; every pass of a run may run a scripted action.
struct EndOfRun : ::testing::Test {
    void SetUp() override {
        FormLoad(g);
        FormMouseDown(g);
        t.form.onDoEvents = [this] {
            if (++passes > 100000) {
                ADD_FAILURE() << "the run did not end";
                g.Playing = false;
            }
            if (everyPass) everyPass();
        };
    }
    // Stage 2 with the road 16, 15, 14 (up), 10, 6, 2 (left) into the goal, the straight for cell 10
    // waiting in cell 11 until a Left press at pass `pressAtPass` (0: never) slides it in.
    void SetUpTruckRun(int pressAtPass) {
        g.Stage = 2;
        NewGameClick(g);
        g.StartExit = ExitLeft;
        PlaceTruckAtStart(g);
        const int kinds[17] = {0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 0, 4, 2, 1, 5, 6, 0};
        for (int i = 1; i <= 16; ++i) g.Cells[i] = KindOfNumber(kinds[i]);
        everyPass = [this, pressAtPass] {
            if (pressAtPass != 0 && passes == pressAtPass) BoardKeyDown(g, 37);
        };
    }
    void ClearLogs() {
        t.form.boardView.log.clear();
        t.form.boardCopy.log.clear();
        t.form.canvas.log.clear();
    }
    TestGame t;
    Game& g = t.game;
    int passes = 0;
    std::function<void()> everyPass;
};

// The drawing of whole runs, from the Start click to the run's end, as the game drew them before
// anything was shown at the end of a run: each log must begin with exactly these lines.
struct RecordedRun {
    std::size_t viewLines;
    std::uint64_t view;
    std::size_t copyLines;
    std::uint64_t copy;
};

void ExpectRunDrawnAsRecorded(const TestGame& t, const RecordedRun& recorded) {
    EXPECT_GE(t.form.boardView.log.size(), recorded.viewLines);
    EXPECT_EQ(Fingerprint(t.form.boardView.log, recorded.viewLines), recorded.view);
    EXPECT_GE(t.form.boardCopy.log.size(), recorded.copyLines);
    EXPECT_EQ(Fingerprint(t.form.boardCopy.log, recorded.copyLines), recorded.copy);
    EXPECT_TRUE(t.form.canvas.log.empty());
}

TEST_F(EndOfRun, ATruckRunWonIsDrawnAsBeforeUpToItsEnd) {
    SetUpTruckRun(50);
    ClearLogs();
    StartStopClick(g);
    ASSERT_EQ(g.Stage, 3);
    ExpectRunDrawnAsRecorded(t, {4447, 2437305000899667339ull, 565, 8497000671411288446ull});
}

TEST_F(EndOfRun, ATruckRunCrashedIsDrawnAsBeforeUpToItsEnd) {
    SetUpTruckRun(0);
    ClearLogs();
    StartStopClick(g);
    ASSERT_EQ(g.Lives, 1);
    ExpectRunDrawnAsRecorded(t, {1580, 1292592241799929938ull, 201, 2841503133478665626ull});
}

TEST_F(EndOfRun, ARouteRunWonBySlidesIsDrawnAsBeforeUpToItsEnd) {
    testing::LayLeftThenUpRoad(g);
    // The road's straight waits right of the gap in cell 9: a Left press slides it in.
    g.Cells[9] = TileKind::Empty;
    g.Cells[10] = TileKind::Vertical;
    g.Cells[11] = TileKind::LeftTop;
    everyPass = [this] {
        if (passes == 2) BoardKeyDown(g, 37);
    };
    ClearLogs();
    StartStopClick(g);
    ASSERT_EQ(g.Stage, 2);
    ExpectRunDrawnAsRecorded(t, {3, 6437289236140478177ull, 1, 15074279645314955958ull});
}

}  // namespace
}  // namespace kanuvo
