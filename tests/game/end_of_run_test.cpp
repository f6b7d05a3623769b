// SPDX-License-Identifier: MIT
// What the board tells the player when a run ends, over the doubles: the run's own drawing untouched,
// a banner for each way a run ends, the winning road lit, and best times kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/play.h"
#include "game/run_end.h"
#include "past_title.h"

namespace kanuvo {
namespace {

using testing::TestGame;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

bool IsBannerPrint(const std::string& line) {
    return line.rfind("Print ", 0) == 0 && line.find(" bold ") != std::string::npos;
}

// The banner texts (the game's only bold lettering) in a drawing log, each once, in the order first printed.
std::vector<std::string> PrintedTexts(const std::vector<std::string>& log) {
    std::vector<std::string> texts;
    for (const std::string& line : log) {
        if (!IsBannerPrint(line)) continue;
        const std::string text = line.substr(line.find(" bold ") + 6);
        if (std::find(texts.begin(), texts.end(), text) == texts.end()) texts.push_back(text);
    }
    return texts;
}

// FNV-1a over the lines, each closed by a newline: a short fingerprint of a long drawing log.
std::uint64_t Fingerprint(const std::vector<std::string>& lines, std::size_t count) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) {
        for (unsigned char c : lines[i] + '\n') hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

// The game past its title screen, the logs cleared at will.
struct EndOfRun : testing::PastTitle {
    void ClearLogs() {
        t.form.boardView.log.clear();
        t.form.boardCopy.log.clear();
        t.form.canvas.log.clear();
    }
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

TEST_F(EndOfRun, EachWayARunEndsHasItsBanner) {
    // Stop, with a retry left afterwards.
    t.form.Queue([this] { StartStopClick(g); });
    StartStopClick(g);
    EXPECT_THAT(PrintedTexts(t.form.boardView.log), ElementsAre("ストップ", "のこり 1", "新ゲームでもう一度"));
    // A crash, with none left afterwards.
    SetUpTruckRun(0);
    t.form.boardView.log.clear();
    StartStopClick(g);
    EXPECT_THAT(PrintedTexts(t.form.boardView.log), ElementsAre("クラッシュ！", "のこり 0", "新ゲームでもう一度"));
    // Time up with no retry left is Game Over: nothing but the lettering until it has grown.
    NewGameClick(g);
    t.form.boardView.log.clear();
    everyPass = [this] { TimeLimitTick(g); };
    StartStopClick(g);
    EXPECT_THAT(PrintedTexts(t.form.boardView.log), IsEmpty());
    int ticks = 0;
    while (t.form.gameOverTimer.Enabled() && ++ticks < 20) GameOverTick(g);
    EXPECT_THAT(PrintedTexts(t.form.boardView.log), ElementsAre("新ゲームでステージ1から"));
    // The hint stands centred under the last, largest drawing of the lettering (560 x 270 down to y = 435).
    const std::string& hint = t.form.boardView.log.back();
    EXPECT_EQ(hint.substr(0, hint.find(' ', hint.find(' ', 6) + 1)), "Print 150 454");
    // Time up with retries left.
    NewGameClick(g);
    t.form.boardView.log.clear();
    StartStopClick(g);
    EXPECT_THAT(PrintedTexts(t.form.boardView.log), ElementsAre("タイムアップ！", "のこり 1", "新ゲームでもう一度"));
}

TEST_F(EndOfRun, AClearShowsItsTimeAndKeepsTheBestTime) {
    const auto clearStageOne = [this](int seconds) {
        g.Stage = 1;
        NewGameClick(g);
        testing::LayLeftThenUpRoad(g);
        everyPass = [this, seconds] {
            if (passes == 1) {
                g.TimeCount = seconds;  // as many ticks of the time limit as the run took
                BoardKeyDown(g, 'A');
            }
        };
        passes = 0;
        t.form.boardView.log.clear();
        StartStopClick(g);
        return PrintedTexts(t.form.boardView.log);
    };
    EXPECT_THAT(clearStageOne(75), ElementsAre("ステージクリア！", "1:15", "新記録！", "新ゲームで次のステージへ"));
    EXPECT_EQ(t.system.bestTimes[1], 75);
    EXPECT_THAT(clearStageOne(80), ElementsAre("ステージクリア！", "1:20", "ベスト 1:15", "新ゲームで次のステージへ"));
    EXPECT_THAT(clearStageOne(75), ElementsAre("ステージクリア！", "1:15", "ベスト 1:15", "新ゲームで次のステージへ"));
    EXPECT_EQ(t.system.bestTimes[1], 75);
    EXPECT_THAT(clearStageOne(9), ElementsAre("ステージクリア！", "0:09", "新記録！", "新ゲームで次のステージへ"));
    EXPECT_EQ(t.system.bestTimes[1], 9);
    g.RoadAssist = true;  // a clear with the road assist's help shows its time and keeps none
    EXPECT_THAT(clearStageOne(5), ElementsAre("ステージクリア！", "0:05", "道アシストあり：記録なし", "新ゲームで次のステージへ"));
    EXPECT_EQ(t.system.bestTimes[1], 9);
    EXPECT_EQ(t.system.bestTimes.size(), 1u);
}

TEST_F(EndOfRun, ARunStartedInsideAnothersHandlerShowsItsEndOnce) {
    // Stop, New Game and Start in one dispatch: the second run is played inside the first's handler.
    g.Stage = 1;
    NewGameClick(g);
    everyPass = [this] {
        if (passes == 1) {
            StartStopClick(g);
            NewGameClick(g);
            testing::LayLeftThenUpRoad(g);
            StartStopClick(g);
        }
        if (passes == 3) {
            g.TimeCount = 30;
            BoardKeyDown(g, 'A');
        }
    };
    t.form.boardView.log.clear();
    StartStopClick(g);
    // Shown a second time, it would say "ベスト 0:30" over the record it has just set.
    EXPECT_THAT(PrintedTexts(t.form.boardView.log), ElementsAre("ステージクリア！", "0:30", "新記録！", "新ゲームで次のステージへ"));
}

TEST_F(EndOfRun, TheWonRoadIsOutlinedBeforeTheBanner) {
    // The truck's road: 16, 15, 14, 10, 6, 2, 1, as it drove it.
    SetUpTruckRun(50);
    t.form.boardView.log.clear();
    StartStopClick(g);
    std::vector<std::string> outlined;
    for (const std::string& line : t.form.boardView.log) {
        if (line.rfind("Line ", 0) == 0 && line.find(" box") != std::string::npos) outlined.push_back(line);
    }
    ASSERT_EQ(outlined.size(), 7u * 3);
    EXPECT_EQ(outlined[0], "Line 401 400 499 498 16766760 box");  // cell 16, its outermost ring
    EXPECT_EQ(outlined[2], "Line 403 402 497 496 16766760 box");
    EXPECT_EQ(outlined[20], "Line 103 102 197 196 16766760 box");  // the goal, innermost ring
    const auto firstPrint = std::find_if(t.form.boardView.log.begin(), t.form.boardView.log.end(), IsBannerPrint);
    EXPECT_LT(std::find(t.form.boardView.log.begin(), t.form.boardView.log.end(), outlined.back()), firstPrint)
        << *firstPrint;
    // The route's road, followed through the tiles as they lie: start, 15, 14, 13, 9, 5, goal.
    g.RunBoardSize = 4;
    testing::LayLeftThenUpRoad(g);
    EXPECT_THAT(RoadToGoal(g), ElementsAre(16, 15, 14, 13, 9, 5, 1));
    g.Cells[9] = TileKind::Empty;
    EXPECT_THAT(RoadToGoal(g), IsEmpty());
}

}  // namespace
}  // namespace kanuvo
