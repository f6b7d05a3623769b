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

constexpr Color kPlateEdge = Rgb(230, 230, 230);
// Letter sizes in points per pixel of the board's width, as the banners at the end of a run have them.
constexpr double kTitlePerBoardPixel = 0.09;
constexpr double kHintPerBoardPixel = 0.05;

// The board's cells hidden under an empty field of the board's own colour, lettered as a banner.
void DrawPausePlate(Game& g) {
    Surface& board = g.form.BoardView();
    const Rect r = PlateRect(g);
    const Color back = board.BackColor();
    board.SetFillStyle(FillStyle::Solid);
    board.SetFillColor(back);
    board.Line(r.left, r.top, r.right - 1, r.bottom - 1, back, LineStyle::FilledBox);
    board.Line(r.left, r.top, r.right - 1, r.bottom - 1, kPlateEdge, LineStyle::Box);
    const double width = r.right - r.left;
    const std::array<BannerLine, 2> lines{{{Say(g, kPlateTitle), width * kTitlePerBoardPixel, kBannerGold},
                                           {Say(g, kPlateHint), width * kHintPerBoardPixel, kBannerWhite}}};
    DrawBanner(board, r, lines);
}

// Copies the plate's area from one board surface to the other; a failure ends the program, as a
// failed copy of the board always does.
bool CopyPlateArea(Game& g, Surface& to, const Surface& from) {
    const Rect r = PlateRect(g);
    if (to.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, from, r.left, r.top) != 0) return true;
    Fail(g, kOutOfMemoryMessage);
    return false;
}

}  // namespace

bool IsPauseKey(int keyCode) { return keyCode == kKeyPause || keyCode == kKeyEscape; }

void HoldPlateAside(Game& g, void (*draw)(Game&)) {
    if (g.Paused && !CopyPlateArea(g, g.form.BoardView(), g.form.BoardCopy())) return;
    draw(g);
    if (g.Paused && CopyPlateArea(g, g.form.BoardCopy(), g.form.BoardView())) DrawPausePlate(g);
}

Rect PlateRect(const GameState& s) {
    // A road reaches the pixel on a tile's right and bottom edge lines; the plate covers those too.
    const Rect cells = CellsArea(s, s.BoardSize);
    return Rect{cells.left, cells.top, cells.right + 1, cells.bottom + 1};
}

void TogglePause(Game& g) {
    if (!g.Paused) {
        g.Paused = true;
        g.form.TimeLimitTimer().SetHeld(true);
        // The hidden copy takes the board exactly as it shows, so that it comes back as it was.
        if (!CopyPlateArea(g, g.form.BoardCopy(), g.form.BoardView())) return;
        DrawPausePlate(g);
        return;
    }
    EndPause(g);
    // The truck takes up its pace afresh instead of catching up on the time it stood.
    g.LastStepTime = g.clock.GetTickCount();
}

void EndPause(Game& g) {
    if (!g.Paused) return;
    g.Paused = false;
    g.form.TimeLimitTimer().SetHeld(false);
    CopyPlateArea(g, g.form.BoardView(), g.form.BoardCopy());
}

}  // namespace kanuvo
