// SPDX-License-Identifier: MIT
// What the board tells the player when a run ends, over the doubles: the banner and the lit road by
// the pixels they leave, a banner for each way a run ends, the retries, and best times kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

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

bool IsBannerText(const std::string& line) {
    return line.rfind("Text ", 0) == 0 && line.find(" bold ") != std::string::npos;
}

// The banner texts (the game's only bold lettering) in a drawing log, each once, in the order first drawn.
std::vector<std::string> BannerTexts(const std::vector<std::string>& log) {
    std::vector<std::string> texts;
    for (const std::string& line : log) {
        if (!IsBannerText(line)) continue;
        const std::string text = line.substr(line.find(" bold ") + 6);
        if (std::find(texts.begin(), texts.end(), text) == texts.end()) texts.push_back(text);
    }
    return texts;
}

std::string Hex(Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", c & 0xFFFFFFu);
    return text;
}

// What a pixel of the board should show, and why.
struct PixelFact {
    int x, y;
    Color color;
    const char* what;
};

// Each pixel of the board as the facts say, every one that is not named with what it should show.
void ExpectPixels(const testing::PixelGrid& board, std::initializer_list<PixelFact> facts) {
    for (const PixelFact& f : facts) {
        EXPECT_EQ(Hex(board.Pixel(f.x, f.y)), Hex(f.color)) << "pixel (" << f.x << ", " << f.y << "): " << f.what;
    }
}

constexpr Color kGold = Rgb(255, 215, 40);     // the banner's headline of a clear, and the lit road
constexpr Color kWhite = Rgb(255, 255, 255);   // the banner's other lines, and a miss's headline
constexpr Color kRim = Rgb(70, 0, 10);         // round the banner's letters
constexpr Color kTileGrey = Rgb(200, 200, 200);
constexpr Color kRetry = 103;                  // the double draws the standing truck's picture in its id
constexpr Color kShadowOnRed = Rgb(96, 0, 6);  // the rim's colour at 55 % over the dark red board

using EndOfRun = testing::PastTitle;

TEST_F(EndOfRun, ATruckRunWonLightsItsRoadUnderItsBannerAndGivesBothRetriesBack) {
    SetUpTruckRun(50);
    g.Lives = 1;
    t.ClickStartStop();
    ASSERT_EQ(g.Stage, 3);
    ASSERT_EQ(g.BoardBackColor, Rgb(128, 0, 0));
    ExpectPixels(t.form.boardView, {
        {401, 400, kGold, "the start's outermost ring, lit"},
        {103, 102, kGold, "the goal's innermost ring, lit"},
        {104, 103, Rgb(100, 50, 255), "the goal's face, just inside its lit rings"},
        {401, 100, kTileGrey, "cell 4, off the road, not lit"},
        {300, 250, kGold, "the middle of the headline"},
        {111, 250, kRim, "the headline's rim, left of its letters"},
        {491, 262, kShadowOnRed, "the headline's shadow, right of its rim"},
        {350, 540, kRetry, "the left retry, back after a clear"},
        {450, 540, kRetry, "the right retry"},
    });
}

TEST_F(EndOfRun, ATruckRunCrashedShowsItsBannerAndOneRetryLess) {
    SetUpTruckRun(0);
    t.ClickStartStop();
    ASSERT_EQ(g.Lives, 1);
    const Color back = g.BoardBackColor;
    ExpectPixels(t.form.boardView, {
        {300, 270, kWhite, "the middle of the headline"},
        {350, 540, back, "the left retry's slot, cleared"},
        {450, 540, kRetry, "the right retry"},
        {401, 400, kTileGrey, "the start's outline: a miss lights nothing"},
    });
}

TEST_F(EndOfRun, ARouteRunWonBySlidesLightsTheRouteItsTilesMake) {
    testing::LayLeftThenUpRoad(g);
    // The road's straight waits right of the gap in cell 9: a Left press slides it in.
    g.Cells[9] = TileKind::Empty;
    g.Cells[10] = TileKind::Vertical;
    g.Cells[11] = TileKind::LeftTop;
    everyPass = [this] {
        if (passes == 2) BoardKeyDown(g, 37);
    };
    t.ClickStartStop();
    ASSERT_EQ(g.Stage, 2);
    ExpectPixels(t.form.boardView, {
        {101, 400, kGold, "cell 13, on the route, lit"},
        {101, 200, kGold, "cell 5, on the route, lit"},
        {401, 200, kTileGrey, "cell 8, off the route, not lit"},
        {300, 250, kGold, "the middle of the headline"},
    });
}

TEST_F(EndOfRun, EachWayARunEndsHasItsBanner) {
    // Stop, with a retry left afterwards.
    t.form.Queue([this] { t.ClickStartStop(); });
    t.ClickStartStop();
    EXPECT_THAT(BannerTexts(t.form.boardView.log), ElementsAre("ストップ", "のこり 1", "新ゲームでもう一度"));
    // A crash, with none left afterwards.
    SetUpTruckRun(0);
    t.form.boardView.log.clear();
    t.ClickStartStop();
    EXPECT_THAT(BannerTexts(t.form.boardView.log), ElementsAre("クラッシュ！", "のこり 0", "新ゲームでもう一度"));
    // Time up with no retry left is Game Over: nothing but the lettering until it has grown.
    NewGameClick(g);
    t.form.boardView.log.clear();
    everyPass = [this] { TimeLimitTick(g); };
    t.ClickStartStop();
    EXPECT_THAT(BannerTexts(t.form.boardView.log), IsEmpty());
    int ticks = 0;
    while (g.GameOverTimer.Enabled() && ++ticks < 20) GameOverTick(g);
    EXPECT_THAT(BannerTexts(t.form.boardView.log), ElementsAre("新ゲームでステージ1から"));
    // The hint stands centred under the last, largest drawing of the lettering (560 x 270 down to y = 435).
    const std::string& hint = t.form.boardView.log.back();
    EXPECT_EQ(hint.substr(0, hint.find(' ', hint.find(' ', 6) + 1)), "Text 150 454");
    // Time up with retries left.
    NewGameClick(g);
    t.form.boardView.log.clear();
    t.ClickStartStop();
    EXPECT_THAT(BannerTexts(t.form.boardView.log), ElementsAre("タイムアップ！", "のこり 1", "新ゲームでもう一度"));
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
        t.ClickStartStop();
        return BannerTexts(t.form.boardView.log);
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

TEST_F(EndOfRun, EachOfTwoRunsInOneDispatchShowsItsOwnEndOnce) {
    // Stop, New Game and Start in one dispatch: each run's end is shown as it ends.
    g.Stage = 1;
    NewGameClick(g);
    everyPass = [this] {
        if (passes == 1) {
            t.ClickStartStop();
            NewGameClick(g);
            testing::LayLeftThenUpRoad(g);
            t.ClickStartStop();
        }
        if (passes == 3) {
            g.TimeCount = 30;
            BoardKeyDown(g, 'A');
        }
    };
    t.form.boardView.log.clear();
    t.ClickStartStop();
    // Shown a second time, the clear would say "ベスト 0:30" over the record it has just set.
    EXPECT_THAT(BannerTexts(t.form.boardView.log), ElementsAre("ストップ", "のこり 1", "新ゲームでもう一度", "ステージクリア！",
                                                               "0:30", "新記録！", "新ゲームで次のステージへ"));
}

TEST_F(EndOfRun, TheRoadToTheGoalFollowsTheTilesAsTheyLie) {
    // The route's road, followed through the tiles as they lie: start, 15, 14, 13, 9, 5, goal.
    g.RunBoardSize = 4;
    testing::LayLeftThenUpRoad(g);
    EXPECT_THAT(RoadToGoal(g), ElementsAre(16, 15, 14, 13, 9, 5, 1));
    g.Cells[9] = TileKind::Empty;
    EXPECT_THAT(RoadToGoal(g), IsEmpty());
}

}  // namespace
}  // namespace kanuvo
