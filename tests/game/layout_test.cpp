// SPDX-License-Identifier: MIT
// Board geometry, the window size, tile painting, the lives display and the full redraw, checked on
// the drawing calls the game makes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/paint.h"
#include "game/play.h"
#include "game/sprite.h"

namespace kanuvo {
namespace {

using testing::FakeForm;
using testing::TestGame;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr Color kGrey = Rgb(200, 200, 200);
std::string C(Color c) { return std::to_string(c); }

TEST(Geometry, CellsButtonsAndTruckOfA600PixelWindow) {
    TestGame t(620, 600);
    Game& g = t.game;
    g.BoardSize = 4;
    ComputeCellRects(g);
    EXPECT_EQ(g.CellSize, 100);
    EXPECT_EQ(g.CellRects[1], (Rect{101, 100, 200, 199}));
    EXPECT_EQ(g.CellRects[2], (Rect{201, 100, 300, 199}));
    EXPECT_EQ(g.CellRects[5], (Rect{101, 200, 200, 299}));
    EXPECT_EQ(g.CellRects[16], (Rect{401, 400, 500, 499}));

    PlaceBoardButtons(g);
    for (const Button* b : {&t.form.exitButton, &t.form.newGameButton, &t.form.startStopButton}) {
        EXPECT_EQ(b->Left(), 520);
        EXPECT_EQ(b->Width(), 80);
        EXPECT_EQ(b->Height(), 40);
    }
    EXPECT_EQ(t.form.exitButton.Top(), 529);
    EXPECT_EQ(t.form.newGameButton.Top(), 429);
    EXPECT_EQ(t.form.startStopButton.Top(), 329);

    g.StartExit = ExitLeft;
    PlaceTruckAtStart(g);
    EXPECT_EQ(g.TruckLength, 60);
    EXPECT_EQ(g.TruckBreadth, 30);
    EXPECT_EQ(g.TruckRect, (Rect{401, 435, 461, 465}));
    EXPECT_EQ(g.Heading, Direction::Left);
    g.StartExit = ExitUp;
    PlaceTruckAtStart(g);
    EXPECT_EQ(g.TruckRect, (Rect{436, 400, 466, 460}));
    EXPECT_EQ(g.Heading, Direction::Up);

    SizeBoardPictures(g);
    EXPECT_EQ(t.form.boardView.Width(), 620);
    EXPECT_EQ(t.form.boardView.Height(), 600);
    EXPECT_EQ(t.form.boardCopy.Left(), 0);
    EXPECT_EQ(t.form.boardCopy.Top(), 0);
}

TEST(Geometry, ButtonsStayInsideTheInnerWidth) {
    // 5 x 5 in a 650-pixel-high window: S = 93, the start cell ends at 558, and 0.2 cells on from
    // there a button 74.4 wide would end at 651.4. It moves left just enough to fit.
    for (const auto& [innerWidth, left] : {std::pair{650, 575}, std::pair{640, 565}}) {
        TestGame t(innerWidth, 650);
        Game& g = t.game;
        g.BoardSize = 5;
        ComputeCellRects(g);
        PlaceBoardButtons(g);
        for (const Button* b : {&t.form.exitButton, &t.form.newGameButton, &t.form.startStopButton}) {
            EXPECT_EQ(b->Left(), left) << innerWidth;
            EXPECT_LE(b->Left() + b->Width(), innerWidth);
        }
        EXPECT_EQ(t.form.exitButton.Top(), 585);
        EXPECT_EQ(t.form.newGameButton.Top(), 492);
        EXPECT_EQ(t.form.startStopButton.Top(), 399);
    }
    // Every other board of that window already fits and keeps its place.
    for (const auto& [n, left] : {std::pair{4, 562}, std::pair{6, 583}, std::pair{7, 590}}) {
        TestGame t(650, 650);
        t.game.BoardSize = n;
        ComputeCellRects(t.game);
        PlaceBoardButtons(t.game);
        EXPECT_EQ(t.form.exitButton.Left(), left) << n;
    }
}

TEST(Geometry, CellSizeRoundsHalvesToEven) {
    TestGame t(651, 651);
    t.game.BoardSize = 4;
    ComputeCellRects(t.game);
    EXPECT_EQ(t.game.CellSize, 108);  // 651 / 6 = 108.5
}

TEST(Geometry, GaugeIsCentredAboveTheBoard) {
    TestGame t(620, 600);
    Game& g = t.game;
    ComputeCellRects(g);
    LayoutGauge(g);
    EXPECT_EQ(g.GaugeWidth, 310);
    EXPECT_EQ(g.GaugeHeight, 30);
    const Button& frame = t.form.gaugeFrame;
    const Button& bar = t.form.gaugeBar;
    EXPECT_EQ(frame.Left(), 153);
    EXPECT_EQ(frame.Top(), 33);
    EXPECT_EQ(frame.Width(), 314);
    EXPECT_EQ(frame.Height(), 34);
    EXPECT_EQ(bar.Left(), 155);
    EXPECT_EQ(bar.Top(), 34.5);
    EXPECT_EQ(bar.Width(), 310);
    EXPECT_EQ(bar.Height(), 30);

    TestGame odd(621, 610);
    ComputeCellRects(odd.game);
    LayoutGauge(odd.game);
    EXPECT_EQ(odd.game.GaugeWidth, 310);  // 310.5 to even
    EXPECT_EQ(odd.game.GaugeHeight, 30);  // 30.5 to even
    TestGame wider(623, 600);
    ComputeCellRects(wider.game);
    LayoutGauge(wider.game);
    EXPECT_EQ(wider.game.GaugeWidth, 312);
}

TEST(Geometry, ButtonFontSizesFollowTheBoardAndStayForSmallerBoards) {
    TestGame t;
    Game& g = t.game;
    const double designed = t.form.newGameButton.FontSize();
    g.BoardSize = 4;
    ComputeCellRects(g);
    PlaceBoardButtons(g);
    EXPECT_EQ(t.form.newGameButton.FontSize(), designed);
    const std::pair<int, std::pair<double, double>> expected[] = {{5, {10, 10}}, {6, {7, 8}}, {7, {7, 7}}, {4, {7, 7}}};
    for (const auto& [n, sizes] : expected) {
        g.BoardSize = n;
        ComputeCellRects(g);
        PlaceBoardButtons(g);
        EXPECT_EQ(t.form.newGameButton.FontSize(), sizes.first) << "N " << n;
        EXPECT_EQ(t.form.startStopButton.FontSize(), sizes.second) << "N " << n;
    }
}

TEST(Geometry, PointInCellIncludesLeftAndTopEdgesOnly) {
    const Rect r{101, 100, 200, 199};
    EXPECT_TRUE(PointInCell(r, 101, 100));
    EXPECT_TRUE(PointInCell(r, 199.5f, 198.5f));
    EXPECT_FALSE(PointInCell(r, 200, 150));
    EXPECT_FALSE(PointInCell(r, 150, 199));
    EXPECT_FALSE(PointInCell(r, 100.5f, 150));
}

TEST(WindowSize, ScreenHeightBandsTakeTheNextSmallerSizeWhereTheWindowWouldNotFit) {
    TestGame t;
    // Screens 501 to 549 pixels high would get a 550-pixel window, taller than themselves.
    const std::pair<int, int> cases[] = {{480, 400}, {499, 400}, {500, 400}, {501, 400}, {549, 400}, {550, 550},
                                         {600, 550}, {699, 550}, {700, 550}, {701, 650}, {768, 650}, {1080, 650}};
    for (const auto& [height, side] : cases) {
        t.system.screenHeightPixels = height;
        EXPECT_EQ(ComputeWindowSize(t.game), side) << "screen " << height;
    }
    // Panels take their share: the framed window must fit what they leave, and the bands still
    // follow the whole screen's height.
    const std::tuple<int, int, int> panelled[] = {{768, 740, 650}, {768, 649, 550}, {1080, 600, 550},
                                                  {600, 560, 550}, {600, 549, 400}, {1080, 500, 400},
                                                  {480, 300, 400}, {720, 690, 650}, {720, 640, 550}};
    for (const auto& [height, available, side] : panelled) {
        t.system.screenHeightPixels = height;
        t.system.availableHeightPixels = available;
        EXPECT_EQ(ComputeWindowSize(t.game), side) << "screen " << height << ", available " << available;
    }
}

TEST(TilePainting, LeftBottomTileAtCellSize100) {
    TestGame t;
    Game& g = t.game;
    ComputeCellRects(g);
    testing::RecordingSurface surface;
    PaintRoadTile(g, TileKind::LeftBottom, 1, surface);
    EXPECT_THAT(surface.log, ElementsAre("RoundRect 101 100 200 199 10 " + C(kGrey) + " " + C(kGrey),
                                         "FillBox 101 145 151 155 " + C(Rgb(0, 255, 255)),
                                         "FillBox 146 145 156 199 " + C(Rgb(0, 255, 255))));
}

TEST(TilePainting, EveryKindDrawsItsBandsInItsColour) {
    TestGame t;
    Game& g = t.game;
    ComputeCellRects(g);
    const Rect r = g.CellRects[6];  // (201, 200, 300, 299): centre lines x = 251, y = 250
    const std::string left = "201 245 251 255", right = "251 245 300 255", top = "246 200 256 255",
                      bottom = "246 245 256 299", horizontal = "201 245 300 255", vertical = "246 200 256 299";
    const std::vector<std::string> bands[7] = {
        {}, {left, bottom}, {left, top}, {right, bottom}, {vertical}, {right, top}, {horizontal}};
    for (int k = 1; k <= 6; ++k) {
        const TileKind kind = KindOfNumber(k);
        testing::RecordingSurface surface;
        PaintRoadTile(g, kind, 6, surface);
        ASSERT_EQ(surface.log.size(), 1 + bands[k].size()) << TileName(kind);
        for (std::size_t b = 0; b < bands[k].size(); ++b) {
            EXPECT_EQ(surface.log[1 + b], "FillBox " + bands[k][b] + " " + C(TileColor(kind)))
                << TileName(kind);
        }
    }
    (void)r;
}

TEST(TilePainting, BandEdgesRoundWithTheCellSize) {
    TestGame t(707, 606);  // S = 606 / 6 = 101: m = 50, w = 5.05
    Game& g = t.game;
    ComputeCellRects(g);
    ASSERT_EQ(g.CellSize, 101);
    const Rect r = g.CellRects[1];
    testing::RecordingSurface surface;
    PaintRoadTile(g, TileKind::Horizontal, 1, surface);
    EXPECT_THAT(surface.log[1], HasSubstr("FillBox " + std::to_string(r.left) + " " + std::to_string(r.top + 45) + " " +
                                          std::to_string(r.right) + " " + std::to_string(r.top + 55)));
}

TEST(TilePainting, GoalAndStartLabels) {
    TestGame t;
    Game& g = t.game;
    ComputeCellRects(g);
    testing::RecordingSurface surface;
    PaintGoal(g, 1, surface);
    PaintStart(g, 16, surface);
    EXPECT_THAT(surface.log,
                ElementsAre("RoundRect 101 100 200 199 10 " + C(kGrey) + " " + C(Rgb(100, 50, 255)),
                            "Text 113.5 135 20 0 ゴール",
                            "RoundRect 401 400 500 499 10 " + C(kGrey) + " " + C(Rgb(100, 50, 0)),
                            "Text 406 435 20 0 スタート"));
}

TEST(TilePainting, EmptyStartAndGoalCellsDrawNothing) {
    TestGame t;
    Game& g = t.game;
    ComputeCellRects(g);
    g.Cells[6] = TileKind::Empty;
    testing::RecordingSurface surface;
    for (int cell : {1, 6, 16}) PaintCell(g, cell, surface);
    EXPECT_TRUE(surface.log.empty());
}

TEST(Lives, SlotsAndTheirThreeCases) {
    TestGame t;
    Game& g = t.game;
    ComputeCellRects(g);
    g.StartExit = ExitLeft;
    PlaceTruckAtStart(g);
    auto& board = t.form.boardView;
    g.BoardBackColor = Rgb(0, 0, 128);
    const std::string leftIcon = "336 519 30 60", rightIcon = "436 519 30 60";
    g.Lives = 2;
    board.log.clear();
    DrawLives(g, g.BoardSize);
    EXPECT_THAT(board.log, ElementsAre("Picture 107 " + leftIcon + " mergepaint", "Picture 103 " + leftIcon + " and",
                                       "Picture 107 " + rightIcon + " mergepaint",
                                       "Picture 103 " + rightIcon + " and"));
    g.Lives = 1;
    board.log.clear();
    DrawLives(g, g.BoardSize);
    const std::string navy = C(Rgb(0, 0, 128));
    EXPECT_THAT(board.log, ElementsAre("FillBox 336 519 365 578 " + navy,
                                       "Picture 107 " + rightIcon + " mergepaint",
                                       "Picture 103 " + rightIcon + " and"));
    g.Lives = 0;
    board.log.clear();
    DrawLives(g, g.BoardSize);
    EXPECT_THAT(board.log, ElementsAre("FillBox 436 519 465 578 " + navy));
}

TEST(Truck, DrawnWithTheMaskAndPictureOfItsHeadingAtItsSize) {
    TestGame t;
    Game& g = t.game;
    ComputeCellRects(g);
    g.Stage = 2;  // a truck stage: in a route stage the truck faces out of the start, whatever its heading
    g.StartExit = ExitUp;
    PlaceTruckAtStart(g);
    auto& board = t.form.boardView;
    DrawTruck(g);
    EXPECT_THAT(board.log, ElementsAre("Picture 107 436 400 30 60 mergepaint", "Picture 103 436 400 30 60 and"));
    board.log.clear();
    g.Heading = Direction::Right;
    DrawTruck(g);
    EXPECT_THAT(board.log, ElementsAre("Picture 106 436 400 60 30 mergepaint", "Picture 102 436 400 60 30 and"));
}

// A board set up as start-up leaves it, then drawn in full.
struct RedrawnBoard : ::testing::Test {
    void SetUp() override {
        ComputeCellRects(g);
        DealFreshBoard(g);
        PlaceTruckAtStart(g);
        SizeBoardPictures(g);
        RedrawBoard(g);
    }
    TestGame t;
    Game& g = t.game;
};

TEST_F(RedrawnBoard, LeavesExactlyOneEmptyCellDiagonalToTheStart) {
    int empty = 0, emptyCell = 0;
    for (int i = 2; i <= 15; ++i) {
        if (g.Cells[i] == TileKind::Empty) ++empty, emptyCell = i;
    }
    EXPECT_EQ(empty, 1);
    EXPECT_EQ(emptyCell, 11);
    EXPECT_EQ(g.Cells[1], TileKind::Empty);
    EXPECT_EQ(g.Cells[16], TileKind::Empty);
    EXPECT_TRUE(t.form.boardView.Visible());
}

TEST_F(RedrawnBoard, DrawsInOrderAndCopiesTheWholeWindowIntoTheHiddenSurface) {
    const auto& log = t.form.boardView.log;
    ASSERT_FALSE(log.empty());
    EXPECT_THAT(log.front(), HasSubstr("Clear "));
    // Thirteen tiles, the goal and start faces, the truck and two lives; and the help hint in the
    // free corner, its one-pixel rim printed eight times round the letters.
    const auto count = [&](const std::string& prefix) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    };
    EXPECT_EQ(count("RoundRect"), 15);
    EXPECT_EQ(count("Text"), 2 + 9);
    EXPECT_EQ(count("Picture"), 6);
    EXPECT_THAT(t.form.boardCopy.log, ElementsAre("Copy 0 0 620 600 0 0"));
}

TEST_F(RedrawnBoard, TakesNoValueOfTheGeneratorSoARepaintKeepsTheGroundTheDealDrew) {
    Random replay = g.random;
    RedrawBoard(g);
    EXPECT_EQ(t.form.boardView.Pixel(0, 0), g.BoardBackColor);
    EXPECT_EQ(g.random.Next(), replay.Next());
}

TEST_F(RedrawnBoard, AFailedCopyIsFatal) {
    t.form.boardCopy.copiesFail = true;
    EXPECT_THROW(RedrawBoard(g), testing::ProgramEnded);
    EXPECT_THAT(t.system.messages, ElementsAre("メモリーが足りません。"));
}

TEST_F(RedrawnBoard, CaptionIsWhiteRingedInBlackWithTheStageNumberEvenAfterAMiss) {
    g.Lives = 1;  // a life slot is erased in the background colour
    RedrawBoard(g);
    g.Stage = 9;
    t.form.boardView.log.clear();
    PrintStageCaption(g);
    EXPECT_THAT(t.form.boardView.log,
                ElementsAre("Text 9 9 20 0 ｽﾃｰｼﾞ9", "Text 10 9 20 0 ｽﾃｰｼﾞ9", "Text 11 9 20 0 ｽﾃｰｼﾞ9",
                            "Text 9 10 20 0 ｽﾃｰｼﾞ9", "Text 11 10 20 0 ｽﾃｰｼﾞ9", "Text 9 11 20 0 ｽﾃｰｼﾞ9",
                            "Text 10 11 20 0 ｽﾃｰｼﾞ9", "Text 11 11 20 0 ｽﾃｰｼﾞ9",
                            "Text 10 10 20 16777215 ｽﾃｰｼﾞ9"));
}

}  // namespace
}  // namespace kanuvo
