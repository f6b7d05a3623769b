// SPDX-License-Identifier: MIT
// What the board tells the player once a run has ended: banners, the lit road, best times.
#include "game/run_end.h"

#include <algorithm>
#include <array>

#include "game/banner.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/paint.h"
#include "game/rounding.h"
#include "game/sprite.h"
#include "game/texts.h"

namespace kanuvo {

namespace {

constexpr Text kClearedTitle = KANUVO_TEXT("Banners", "ステージクリア！");
constexpr Text kNextStageHint = KANUVO_TEXT("Banners", "新ゲームで次のステージへ");
constexpr Text kNewRecord = KANUVO_TEXT("Banners", "新記録！");
constexpr Text kBestTime = KANUVO_TEXT("Banners", "ベスト %1");
constexpr Text kStoppedTitle = KANUVO_TEXT("Banners", "ストップ");
constexpr Text kCrashedTitle = KANUVO_TEXT("Banners", "クラッシュ！");
constexpr Text kTimedOutTitle = KANUVO_TEXT("Banners", "タイムアップ！");
constexpr Text kLivesLeft = KANUVO_TEXT("Banners", "のこり %1");
constexpr Text kRetryHint = KANUVO_TEXT("Banners", "新ゲームでもう一度");
constexpr Text kGameOverHint = KANUVO_TEXT("Banners", "新ゲームでステージ1から");

// Letter sizes in points per pixel of the board's width, the same on every board size: a headline
// and the lines under it.
constexpr double kHeadlinePerBoardPixel = 0.09;
constexpr double kDetailPerBoardPixel = 0.05;
constexpr double kPixelsPerPoint = 4.0 / 3.0;
constexpr int kGameOverHintGap = 6;  // pixels between the lettering and its hint

// The Game Over lettering: its smallest drawing, the growth of each next one, and the margin at which
// it stops growing.
constexpr int kZoomStartWidth = 60, kZoomStartHeight = 20;
constexpr int kZoomGrowWidth = 100, kZoomGrowHeight = 50;
constexpr int kZoomStopMargin = 50;

// The whole board on screen, from the goal's top-left to the start's bottom-right.
Rect BoardArea(const GameState& s) { return CellsArea(s, BoardSizeOnScreen(s)); }

// Where the lettering's drawing grown `growths` times from the smallest lies: centred on the window.
Rect ZoomRect(Game& g, int growths) {
    const Surface& window = g.form.Canvas();
    const int width = kZoomStartWidth + growths * kZoomGrowWidth;
    const int height = kZoomStartHeight + growths * kZoomGrowHeight;
    const int left = RoundHalfEven((window.PixelWidth() - width) / 2.0);
    const int top = RoundHalfEven((window.PixelHeight() - height) / 2.0);
    return Rect{left, top, left + width, top + height};
}

std::vector<int> TruckRoad(const GameState& s) {
    return {s.TruckPath.begin(), s.TruckPath.begin() + s.TruckPathLength};
}

// The clear's best time line: a new record, or the best time that stands.
std::string BestTimeLine(Game& g) {
    return g.NewRecord ? Say(g, kNewRecord) : Say(g, kBestTime, MinutesAndSeconds(g.BestTime));
}

Text MissTitle(RunEnd end) {
    switch (end) {
        case RunEnd::Stopped: return kStoppedTitle;
        case RunEnd::TimedOut: return kTimedOutTitle;
        default: return kCrashedTitle;
    }
}

}  // namespace

void BeginRunRecord(GameState& s) {
    s.LastRunEnd = RunEnd::None;
    s.RunStage = s.Stage;
    s.RunBoardSize = s.BoardSize;
    s.TruckPathLength = 0;
    // Every run starts on a freshly drawn board, with nothing outlined yet.
    s.RunAssisted = s.RoadAssist;
    s.AssistLit = {};
    s.FastForward = false;
}

void NoteTruckPath(GameState& s) {
    for (int cell : s.TruckCells) {
        const auto noted = s.TruckPath.begin() + s.TruckPathLength;
        if (cell < 1 || s.TruckPathLength == kMaxCells || std::find(s.TruckPath.begin(), noted, cell) != noted) {
            continue;
        }
        s.TruckPath[static_cast<std::size_t>(s.TruckPathLength++)] = cell;
    }
}

std::vector<int> RoadToGoal(const GameState& s) {
    const int n = s.RunBoardSize;
    std::vector<int> road = RoadFrom(s, n, NextCell(StartCell(n), s.StartExit, n), s.StartExit);
    if (road.empty() || road.back() != GoalCell) return {};
    road.insert(road.begin(), StartCell(n));
    return road;
}

void KeepBestTime(Game& g) {
    const int seconds = g.TimeCount;
    const std::optional<int> best = g.system.LoadBestTime(g.RunStage);
    g.NewRecord = !best || *best > seconds;
    g.BestTime = g.NewRecord ? seconds : *best;
    if (g.NewRecord) g.system.SaveBestTime(g.RunStage, seconds);
}

void ShowRunEnd(Game& g) {
    if (g.LastRunEnd == RunEnd::None || g.LastRunEnd == RunEnd::GameOver) return;
    Surface& board = g.form.BoardView();
    const Rect area = BoardArea(g);
    const double headline = (area.right - area.left) * kHeadlinePerBoardPixel;
    const double detail = (area.right - area.left) * kDetailPerBoardPixel;
    std::vector<BannerLine> lines;
    if (g.LastRunEnd == RunEnd::Cleared) {
        for (int cell : IsRouteStage(g.RunStage) ? RoadToGoal(g) : TruckRoad(g)) LightCell(g, cell, board);
        lines = {{Say(g, kClearedTitle), headline, kBannerGold},
                 {MinutesAndSeconds(g.TimeCount), detail, kBannerWhite},
                 {g.RunAssisted ? Say(g, texts::kAssistNoBest) : BestTimeLine(g), detail, kBannerGold},
                 {Say(g, kNextStageHint), detail, kBannerWhite}};
    } else {
        lines = {{Say(g, MissTitle(g.LastRunEnd)), headline, kBannerWhite},
                 {Say(g, kLivesLeft, std::to_string(g.Lives)), detail, kBannerWhite},
                 {Say(g, kRetryHint), detail, kBannerWhite}};
    }
    DrawBanner(board, area, lines, g.BoardBackColor);
}

bool GameOverDrawingFits(Game& g, int growths) {
    return g.form.Canvas().PixelWidth() - kZoomStopMargin > kZoomStartWidth + growths * kZoomGrowWidth;
}

void DrawGameOverLettering(Game& g, int growths) {
    const Rect r = ZoomRect(g, growths);
    DrawSprite(g.form.BoardView(), *g.GameOverMask, *g.GameOverPicture, r.left, r.top, r.right - r.left,
               r.bottom - r.top);
}

void DrawGameOver(Game& g) {
    if (g.LastRunEnd != RunEnd::GameOver) return;
    for (int k = 0; k < g.GameOverDrawings; ++k) DrawGameOverLettering(g, k);
    if (g.GameOverHint) ShowGameOverHint(g);
}

void ShowGameOverHint(Game& g) {
    if (g.LastRunEnd != RunEnd::GameOver) return;
    Surface& board = g.form.BoardView();
    const Rect area = BoardArea(g);
    const double points = (area.right - area.left) * kDetailPerBoardPixel;
    // Below the last drawing, or the window's middle when none fitted.
    int lastHeight = 0;
    if (g.GameOverDrawings > 0) {
        const Rect last = ZoomRect(g, g.GameOverDrawings - 1);
        lastHeight = last.bottom - last.top;
    }
    const int top = RoundHalfEven((g.form.Canvas().PixelHeight() + lastHeight) / 2.0) + kGameOverHintGap;
    // Centred on the window as the lettering is, and narrowed to stay clear of the buttons at its right:
    // a line too long for that is lettered smaller.
    const int clear = std::min(board.PixelWidth(), static_cast<int>(g.form.NewGameButton().Left()));
    const Rect box{board.PixelWidth() - clear, top, clear, top + static_cast<int>(points * kPixelsPerPoint * 2)};
    const std::array<BannerLine, 1> line{{{Say(g, kGameOverHint), points, kBannerWhite}}};
    DrawBanner(board, box, line, g.BoardBackColor);
}

std::string MinutesAndSeconds(int seconds) {
    const int s = std::max(0, seconds);
    const int rest = s % 60;
    return std::to_string(s / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

}  // namespace kanuvo
