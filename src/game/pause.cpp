// Holding a run and the plate that covers the board meanwhile.
#include "game/pause.h"

#include "game/board.h"

namespace kanuvo {

namespace {

constexpr const char* kPlateTitle = "一時停止";
constexpr const char* kPlateHint = "P でつづける";

constexpr Color kPlateColor = Rgb(40, 44, 52);
constexpr Color kPlateEdge = Rgb(230, 230, 230);
constexpr Color kPlateText = Rgb(255, 255, 255);

// Text sizes as fractions of a cell: each character of the plate's text is about one em wide
// (the hint's Latin letter and blank about half).
constexpr double kTitleEm = 0.5;
constexpr double kHintEm = 0.25;

void PrintCentred(Surface& surface, const Rect& r, double em, double ems, double top, const char* text) {
    surface.SetFontSize(em * 3 / 4);  // points at 96 dpi
    surface.SetCurrentX(r.left + (r.right - r.left - em * ems) / 2);
    surface.SetCurrentY(top);
    surface.Print(text);
}

void DrawPausePlate(Game& g) {
    Surface& board = g.form.BoardView();
    const Rect r = PlateRect(g);
    board.SetFillStyle(FillStyle::Solid);
    board.SetFillColor(kPlateColor);
    board.Line(r.left, r.top, r.right - 1, r.bottom - 1, kPlateColor, LineStyle::FilledBox);
    board.Line(r.left, r.top, r.right - 1, r.bottom - 1, kPlateEdge, LineStyle::Box);
    const double middle = (r.top + r.bottom) / 2.0;
    const double titleEm = g.CellSize * kTitleEm;
    const double hintEm = g.CellSize * kHintEm;
    board.SetForeColor(kPlateText);
    PrintCentred(board, r, titleEm, 4, middle - titleEm * 1.2, kPlateTitle);
    PrintCentred(board, r, hintEm, 6, middle + hintEm * 0.6, kPlateHint);
}

// Puts the board as it was before the plate back from the hidden copy, which every slide and truck
// step keeps up to date.
void LiftPlate(Game& g) {
    const Rect r = PlateRect(g);
    if (g.form.BoardView().BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, g.form.BoardCopy(), r.left,
                                  r.top) == 0) {
        Fail(g, kOutOfMemoryMessage);
    }
}

}  // namespace

bool IsPauseKey(int keyCode) { return keyCode == kKeyPause || keyCode == kKeyEscape; }

Rect PlateRect(const GameState& s) {
    const Rect& goal = s.CellRects[GoalCell];
    const Rect& start = s.CellRects[StartCell(s.BoardSize)];
    return Rect{goal.left, goal.top, start.right, start.bottom};
}

void TogglePause(Game& g) {
    if (!g.Paused) {
        g.Paused = true;
        g.form.TimeLimitTimer().SetHeld(true);
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
    LiftPlate(g);
}

}  // namespace kanuvo
