// SPDX-License-Identifier: MIT
// Board geometry and the layout of the window's controls.
#include "game/geometry.h"

#include <algorithm>
#include <cmath>

#include "game/board.h"
#include "game/rounding.h"

namespace kanuvo {

void ComputeCellRects(Game& g) {
    const int n = g.BoardSize;
    // The board sits one cell in from the left and top; about one cell of margin is left below it.
    const float innerHeight = static_cast<float>(g.form.Canvas().PixelHeight());
    const int s = RoundHalfEven(innerHeight / static_cast<float>(n + 2));
    g.CellSize = s;
    for (int i = 1; i <= n * n; ++i) {
        const int r = Row(i, n);
        const int c = Column(i, n);
        // One pixel in from the grid line on the left and up from it at the bottom; the top and
        // right edges lie on the grid lines.
        g.CellRects[i] = Rect{c * s + 1, r * s, (c + 1) * s, (r + 1) * s - 1};
    }
}

void SizeBoardPictures(Game& g) {
    const double width = g.form.Canvas().PixelWidth();
    const double height = g.form.Canvas().PixelHeight();
    g.form.BoardView().Move(0, 0, width, height);
    g.form.BoardCopy().Move(0, 0, width, height);
}

void PlaceBoardButtons(Game& g) {
    const int n = g.BoardSize;
    const double s = g.CellSize;
    const Rect& start = g.CellRects[StartCell(n)];
    const double width = s / 10 * 8;
    const double height = s / 10 * 4;
    // A column 0.2 cells right of the board, but never past the inner width: on a 5 x 5 board, or in
    // an area narrowed by a frame, it moves left just enough to fit.
    const double innerWidth = g.form.Canvas().PixelWidth();
    const int x = std::min(RoundHalfEven(s / 10 * 2 + start.right), static_cast<int>(std::floor(innerWidth - width)));
    const int y = RoundHalfEven(s / 10 * 3 + start.bottom);
    g.form.ExitButton().Move(x, y, width, height);
    g.form.NewGameButton().Move(x, g.form.ExitButton().Top() - s, width, height);
    g.form.StartStopButton().Move(x, g.form.NewGameButton().Top() - s, width, height);
    // Smaller captions on the smaller buttons of larger boards; a 4 x 4 board keeps what it finds.
    switch (n) {
        case 5:
            g.form.NewGameButton().SetFontSize(10);
            g.form.StartStopButton().SetFontSize(10);
            break;
        case 6:
            g.form.NewGameButton().SetFontSize(7);
            g.form.StartStopButton().SetFontSize(8);
            break;
        case 7:
            g.form.NewGameButton().SetFontSize(7);
            g.form.StartStopButton().SetFontSize(7);
            break;
        default: break;
    }
}

void PlaceTruckAtStart(GameState& s) {
    const double cell = s.CellSize;
    const Rect& start = s.CellRects[StartCell(s.BoardSize)];
    s.TruckLength = RoundHalfEven(cell / 10 * 6);
    s.TruckBreadth = RoundHalfEven(cell / 10 * 3);
    const double gap = (cell - s.TruckBreadth) / 2;
    if (s.StartExit == ExitLeft) {
        // Lying against the start cell's left edge, centred vertically, heading out to the left.
        s.TruckRect = Rect{start.left, RoundHalfEven(gap + start.top), start.left + s.TruckLength,
                           RoundHalfEven(gap + start.top + s.TruckBreadth)};
        s.Heading = Direction::Left;
    } else {
        s.TruckRect = Rect{RoundHalfEven(gap + start.left), start.top,
                           RoundHalfEven(gap + start.left + s.TruckBreadth), start.top + s.TruckLength};
        s.Heading = Direction::Up;
    }
}

void LayoutGauge(Game& g) {
    const double w = g.form.Canvas().PixelWidth();
    const double h = g.form.Canvas().PixelHeight();
    const double s = g.CellSize;
    // Half the inner width and a twentieth of the inner height; an exact half rounds to even.
    g.GaugeWidth = RoundHalfEven(w / 2);
    g.GaugeHeight = RoundHalfEven(h / 20);
    // The bar is centred on the width of cell 1's rectangle (S - 1), the frame on S, so the frame
    // stands 1.5 pixels above the bar and 2.5 below it.
    g.form.GaugeFrame().Move((w - g.GaugeWidth) / 2 - 2, (s - g.GaugeHeight) / 2 - 2, g.GaugeWidth + 4,
                           g.GaugeHeight + 4);
    const double cellWidth = g.CellRects[1].right - g.CellRects[1].left;
    g.form.GaugeBar().Move((w - g.GaugeWidth) / 2, (cellWidth - g.GaugeHeight) / 2, g.GaugeWidth, g.GaugeHeight);
}

}  // namespace kanuvo
