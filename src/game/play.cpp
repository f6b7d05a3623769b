// SPDX-License-Identifier: MIT
// Play input and screen: sliding tiles by key, the title screen and pointer shapes, the full board
// redraw with its caption, and the time limit.
#include "game/play.h"

#include <algorithm>
#include <array>
#include <string>

#include "game/banner.h"
#include "game/board.h"
#include "game/corner.h"
#include "game/fast_forward.h"
#include "game/geometry.h"
#include "game/paint.h"
#include "game/pause.h"
#include "game/route.h"
#include "game/sprite.h"

namespace kanuvo {

namespace {

// The keypad's arrows with Num Lock on slide as the arrow keys do.
constexpr int kKeypad2 = kKeypad0 + 2, kKeypad4 = kKeypad0 + 4, kKeypad6 = kKeypad0 + 6, kKeypad8 = kKeypad0 + 8;

constexpr int kTitleTicksBeforeBoard = 10;  // the title ends on the eleventh tick
constexpr int kTimeLimitTicks = kTimeLimitSeconds * 1000 / kTimeLimitTickMs;

// White letters ringed by a dark pixel read well on every one of the dark backgrounds.
constexpr Color kCaptionColor = Rgb(255, 255, 255);
constexpr Color kCaptionRim = Rgb(0, 0, 0);
constexpr int kCaptionRimWidth = 1;
constexpr Text kStageCaption = KANUVO_TEXT("Board", "ｽﾃｰｼﾞ%1");

// The gap the slide keys work on: the highest-numbered empty cell between the goal and the start
// (which are never examined), or 0 when there is none.
int FindGap(const GameState& s) {
    int gap = 0;
    for (int i = 2; i <= s.BoardSize * s.BoardSize - 1; ++i) {
        if (s.Cells[i] == TileKind::Empty) gap = i;
    }
    return gap;
}

// The move a key asks for with the gap in e: the slide and the cell whose tile it moves, source 0
// when the key names no slide or the move is refused. The refusals keep every slide on the board
// and keep the goal and start out of it.
struct KeyMove {
    void (*slide)(Game&, int) = nullptr;
    int source = 0;
};
KeyMove MoveOfKey(int keyCode, int e, int n) {
    switch (keyCode) {
        case kKeyUp:
        case kKeypad8: return {SlideUp, e < n * n - n ? e + n : 0};
        case kKeyDown:
        case kKeypad2: return {SlideDown, e > n + 1 ? e - n : 0};
        case kKeyLeft:
        case kKeypad4: return {SlideLeft, e % n != 0 && e != n * n - 1 ? e + 1 : 0};
        case kKeyRight:
        case kKeypad6: return {SlideRight, e % n != 1 && e != 2 ? e - 1 : 0};
        default: return {};
    }
}

// The one slide all four keys make: the tile in `source` moves into the empty cell.
void Slide(Game& g, int emptyCell, int source) {
    g.SlideTarget = emptyCell;
    g.SlideSource = source;
    g.SlideKind = g.Cells[source];
    g.Cells[g.SlideTarget] = g.SlideKind;
    g.Cells[g.SlideSource] = TileKind::Empty;
    RepaintSlide(g, g.form.BoardView(), g.form.BoardCopy());
    g.AssistLit[g.SlideSource] = false;  // erased whole
}

// Sets the pointer once when it arrives on a control from one of the other three.
void SetPointerOnArrival(Game& g, bool GameState::*ownFlag, CursorHandle cursor) {
    if (g.*ownFlag) return;
    const bool set = g.system.SetPointer(cursor);
    g.ExitCursorSet = g.NewGameCursorSet = g.StartStopCursorSet = g.BoardCursorSet = false;
    g.*ownFlag = set;
}

void ShowBoardAfterTitle(Game& g) {
    g.TitleTimer.SetEnabled(false);
    // The title shows only once. Its picture goes, and the window's drawing of it, which the board
    // covers from now on, becomes plain back colour: neither holds memory through the game.
    g.TitlePicture.reset();
    g.form.Canvas().Clear(kWindowFace);
    RedrawBoard(g);
    g.form.ExitButton().SetVisible(true);
    g.form.NewGameButton().SetVisible(true);
    g.form.StartStopButton().SetVisible(true);
    PrintStageCaption(g);
}

}  // namespace

void BoardKeyDown(Game& g, int keyCode) {
    if (!g.Playing) return;
    if (IsPauseKey(keyCode)) {
        TogglePause(g);
    } else if (g.Paused || g.FastForward) {
        return;  // a held run takes no other key, a fast-forwarded one no slide
    }
    SlideByKey(g, keyCode);
    // In route stages every key judges the road again from the start, slide or not.
    if (IsRouteStage(g.Stage) && !g.RouteActive) BeginRouteTrace(g);
}

void SlideByKey(Game& g, int keyCode) {
    const int e = FindGap(g);
    if (e == 0) return;
    const KeyMove move = MoveOfKey(keyCode, e, g.BoardSize);
    if (move.source != 0) move.slide(g, e);
}

void BoardMouseDown(Game& g, int button, int x, int y) {
    if (button == kLeftButton && OnFastForwardHint(g, x, y)) return StartFastForward(g);
    if (!g.Playing || g.Paused || button != kLeftButton) return;
    const int e = FindGap(g);
    if (e == 0) return;
    const int n = g.BoardSize;
    int clicked = 0;
    for (int i = 1; i <= n * n; ++i) {
        if (PointInCell(g.CellRects[i], static_cast<float>(x), static_cast<float>(y))) clicked = i;
    }
    // A click does what the arrow key that moves the clicked tile would do, trace and all; a click
    // on a tile no key would move now does nothing at all.
    if (clicked == 0) return;
    for (int key : {kKeyUp, kKeyDown, kKeyLeft, kKeyRight}) {
        if (MoveOfKey(key, e, n).source == clicked) {
            BoardKeyDown(g, key);
            return;
        }
    }
}

void SlideUp(Game& g, int emptyCell) { Slide(g, emptyCell, emptyCell + g.BoardSize); }
void SlideDown(Game& g, int emptyCell) { Slide(g, emptyCell, emptyCell - g.BoardSize); }
void SlideLeft(Game& g, int emptyCell) { Slide(g, emptyCell, emptyCell + 1); }
void SlideRight(Game& g, int emptyCell) { Slide(g, emptyCell, emptyCell - 1); }

void RepaintSlide(Game& g, Surface& boardView, Surface& boardCopy) {
    EraseCell(g, g.SlideSource, boardView);
    PaintMovedTile(g, boardView);
    // The two-by-two square from the upper or left cell of the pair covers both cells.
    const Rect& anchor = g.CellRects[std::min(g.SlideSource, g.SlideTarget)];
    const int side = 2 * g.CellSize;
    CopyArea(g, boardCopy, boardView, Rect{anchor.left, anchor.top, anchor.left + side, anchor.top + side});
}

void FormMouseDown(Game& g) { EndTitle(g); }

void EndTitle(Game& g) {
    // The title screen ends once: after it the board covers the window and its timer is off.
    if (!g.TitleTimer.Enabled()) return;
    g.SavedCursor = g.system.Pointer();
    ShowBoardAfterTitle(g);
}

void TitleTick(Game& g) {
    g.SavedCursor = g.system.Pointer();
    g.TitleTicks = g.TitleTicks + 1;
    if (g.TitleTicks > kTitleTicksBeforeBoard) ShowBoardAfterTitle(g);
}

void ExitMouseMove(Game& g) { SetPointerOnArrival(g, &GameState::ExitCursorSet, g.HandCursor); }
void NewGameMouseMove(Game& g) { SetPointerOnArrival(g, &GameState::NewGameCursorSet, g.HandCursor); }
void StartStopMouseMove(Game& g) {
    SetPointerOnArrival(g, &GameState::StartStopCursorSet, g.BoardReady ? g.HandCursor : g.NoDropCursor);
}
void BoardMouseMove(Game& g) { SetPointerOnArrival(g, &GameState::BoardCursorSet, g.SavedCursor); }

void PaintTitle(Game& g) {
    Surface& window = g.form.Canvas();
    window.DrawPicture(*g.TitlePicture, 0, 0, window.PixelWidth(), window.PixelHeight(), RasterOp::Copy);
}

void RedrawBoard(Game& g) {
    const int n = BoardSizeOnScreen(g);
    PictureBox& board = g.form.BoardView();
    board.Clear(g.BoardBackColor);
    for (int i = 2; i <= n * n - 1; ++i) PaintCell(g, i, board);
    PaintGoal(g, GoalCell, board);
    PaintStart(g, StartCell(n), board);
    DrawTruck(g);
    DrawLives(g, n);
    DrawCorner(g, board);
    for (int cell = 1; cell <= n * n; ++cell) {
        if (g.AssistLit[cell]) LightCell(g, cell, board);
    }
    if (!CopyBoard(g)) return;
    board.SetVisible(true);
}

void PrintStageCaption(Game& g) {
    PrintOutlined(g.form.BoardView(), 10, 10, Say(g, kStageCaption, std::to_string(StageOnScreen(g))), LabelFont(g),
                  kCaptionColor, kCaptionRim, kCaptionRimWidth);
}

RunEnd SpendSecond(Game& g) {
    if (g.TimeCount >= kTimeLimitTicks) {
        g.TimeCount = 0;
        g.TimeLimitTimer.SetEnabled(false);
        g.form.GaugeBar().SetVisible(false);  // the empty frame stays
        return RunEnd::TimedOut;
    }
    g.TimeCount = g.TimeCount + 1;
    ShrinkGauge(g);
    return RunEnd::None;
}

void ShrinkGauge(Game& g) {
    Button& bar = g.form.GaugeBar();
    const double width = bar.Width() - g.GaugeWidth / static_cast<double>(kTimeLimitTicks);
    // Equal steps can take the width a hair below zero; the bar is then simply empty.
    bar.SetWidth(static_cast<float>(std::max(0.0, width)));
}

}  // namespace kanuvo
