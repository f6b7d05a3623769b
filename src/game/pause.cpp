// SPDX-License-Identifier: MIT
// Holding a run and the plate that covers the board meanwhile.
#include "game/pause.h"

#include <array>

#include "game/banner.h"
#include "game/board.h"
#include "game/geometry.h"

namespace kanuvo {

namespace {

constexpr Text kPlateTitle = KANUVO_TEXT("Banners", "一時停止");
constexpr Text kPlateHint = KANUVO_TEXT("Banners", "P でつづける");
constexpr Text kPlateTapHint = KANUVO_TEXT("Banners", "一時停止ボタンでつづける");

constexpr Color kPlateEdge = Rgb(230, 230, 230);
// Letter sizes in points per pixel of the board's width, as the banners at the end of a run have them.
constexpr double kTitlePerBoardPixel = 0.09;
constexpr double kHintPerBoardPixel = 0.05;

// Copies the plate's area from one board surface to the other.
bool CopyPlateArea(Game& g, Surface& to, const Surface& from) { return CopyArea(g, to, from, PlateRect(g)); }

}  // namespace

void DrawPausePlate(Game& g) {
    Surface& board = g.form.BoardView();
    const Rect r = PlateRect(g);
    board.FillBox(r.left, r.top, r.right - 1, r.bottom - 1, g.BoardBackColor);
    board.Box(r.left, r.top, r.right - 1, r.bottom - 1, kPlateEdge);
    const double width = r.right - r.left;
    const std::array<BannerLine, 2> lines{{{Say(g, kPlateTitle), width * kTitlePerBoardPixel, kBannerGold},
                                           {Say(g, g.TouchScreen ? kPlateTapHint : kPlateHint), width * kHintPerBoardPixel, kBannerWhite}}};
    DrawBanner(board, r, lines, g.BoardBackColor);
}

bool IsPauseKey(int keyCode) { return keyCode == kKeyPause || keyCode == kKeyEscape; }

Rect PlateRect(const BoardState& s) {
    // A road reaches the pixel on a tile's right and bottom edge lines; the plate covers those too.
    const Rect cells = CellsArea(s, s.BoardSize);
    return Rect{cells.left, cells.top, cells.right + 1, cells.bottom + 1};
}

void TogglePause(Game& g) {
    if (!g.Paused) {
        g.Paused = true;
        g.TimeLimitTimer.SetHeld(true);
        // The hidden copy takes the board exactly as it shows, so that it comes back as it was.
        if (!CopyPlateArea(g, g.form.BoardCopy(), g.form.BoardView())) return;
        DrawPausePlate(g);
        return;
    }
    EndPause(g);
    // The truck takes up its pace afresh instead of catching up on the time it stood.
    g.LastStepTime = g.clock.Now();
}

void EndPause(Game& g) {
    if (!g.Paused) return;
    g.Paused = false;
    g.TimeLimitTimer.SetHeld(false);
    CopyPlateArea(g, g.form.BoardView(), g.form.BoardCopy());
}

}  // namespace kanuvo
