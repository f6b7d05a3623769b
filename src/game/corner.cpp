// SPDX-License-Identifier: MIT
// The board's free corner and what it says.
#include "game/corner.h"

#include "game/banner.h"
#include "game/board.h"
#include "game/texts.h"

namespace kanuvo {

namespace {

// Lettered as the stage caption is, at about half its size, from the caption's left edge.
constexpr Color kHintColor = Rgb(255, 255, 255);
constexpr Color kHintRim = Rgb(0, 0, 0);
constexpr int kHintRimWidth = 1;
constexpr double kHintLeft = 10;
constexpr double kHintPointsPerCell = 0.1;

}  // namespace

Rect CornerArea(const GameState& s) {
    const int n = s.BoardSize;
    const Rect& start = s.CellRects[StartCell(n)];
    return Rect{0, start.bottom + 1, s.CellRects[StartCell(n) - 1].left, start.bottom + 1 + s.CellSize};
}

void DrawCorner(Game& g, Surface& surface) {
    const Rect area = CornerArea(g);
    const KeptLettering kept(surface);
    surface.SetFillStyle(FillStyle::Solid);
    surface.SetFillColor(surface.BackColor());
    surface.Line(area.left, area.top, area.right - 1, area.bottom - 1, surface.BackColor(), LineStyle::FilledBox);
    surface.SetFontBold(false);
    surface.SetFontSize(g.CellSize * kHintPointsPerCell);
    const std::string hint = Say(g, texts::kHelpHint);
    const double top = area.top + (area.bottom - area.top - surface.TextHeight(hint)) / 2;
    PrintOutlined(surface, kHintLeft, static_cast<int>(top), hint, kHintColor, kHintRim, kHintRimWidth);
}

}  // namespace kanuvo
