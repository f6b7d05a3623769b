// Painting single cells: the grey tile with its road, the goal and start faces, the empty cell.
#include "game/paint.h"

#include "game/board.h"
#include "game/rounding.h"

namespace kanuvo {

namespace {

constexpr Color kTileGrey = Rgb(200, 200, 200);
constexpr Color kGoalFace = Rgb(100, 50, 255);
constexpr Color kStartFace = Rgb(100, 50, 0);
constexpr Color kLabelColor = Rgb(0, 0, 0);
constexpr int kCornerSize = 10;

// The road's geometry in one cell: the centre lines at L + m and T + m, the half width w.
struct Road {
    Road(const GameState& s, int cell)
        : r(s.CellRects[cell]), m(RoundHalfEven(s.CellSize / 2.0)), w(s.CellSize / 100.0 * 5) {}
    // A coordinate with w in it is the real sum rounded half to even.
    static int At(double value) { return RoundHalfEven(value); }
    Rect r;
    int m;
    double w;
};

enum class Band { LeftHalf, RightHalf, TopHalf, BottomHalf, FullHorizontal, FullVertical, None };

struct RoadShape {
    Band first, second;
};
constexpr RoadShape kShapes[kRoadKinds + 1] = {
    {Band::None, Band::None},                  // TileEmpty
    {Band::LeftHalf, Band::BottomHalf},        // TileLeftBottom
    {Band::LeftHalf, Band::TopHalf},           // TileLeftTop
    {Band::RightHalf, Band::BottomHalf},       // TileRightBottom
    {Band::FullVertical, Band::None},          // TileVertical
    {Band::RightHalf, Band::TopHalf},          // TileRightTop
    {Band::FullHorizontal, Band::None},        // TileHorizontal
};

void PaintBand(Surface& surface, const Road& road, Band band) {
    const Rect& r = road.r;
    const int cx = r.left + road.m;
    const int cy = r.top + road.m;
    const double w = road.w;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    switch (band) {
        case Band::LeftHalf: x1 = r.left, y1 = Road::At(cy - w), x2 = cx, y2 = Road::At(cy + w); break;
        case Band::RightHalf: x1 = cx, y1 = Road::At(cy - w), x2 = r.right, y2 = Road::At(cy + w); break;
        // The vertical halves reach w past the centre so that a bend's corner square is filled.
        case Band::TopHalf: x1 = Road::At(cx - w), y1 = r.top, x2 = Road::At(cx + w), y2 = Road::At(cy + w); break;
        case Band::BottomHalf: x1 = Road::At(cx - w), y1 = Road::At(cy - w), x2 = Road::At(cx + w), y2 = r.bottom; break;
        case Band::FullHorizontal: x1 = r.left, y1 = Road::At(cy - w), x2 = r.right, y2 = Road::At(cy + w); break;
        case Band::FullVertical: x1 = Road::At(cx - w), y1 = r.top, x2 = Road::At(cx + w), y2 = r.bottom; break;
        case Band::None: return;
    }
    surface.Line(x1, y1, x2, y2, surface.FillColor(), LineStyle::FilledBox);
}

void PaintFace(const GameState& s, int cell, Surface& surface, Color face, const char* label, int widthFactor) {
    const Rect& r = s.CellRects[cell];
    const double size = s.CellSize;
    surface.SetFillStyle(FillStyle::Solid);
    surface.SetFillColor(face);
    surface.SetForeColor(kTileGrey);
    surface.RoundRect(r.left, r.top, r.right, r.bottom, kCornerSize, kCornerSize);
    surface.SetForeColor(kLabelColor);
    surface.SetFontSize(size / 20 * 4);
    surface.SetCurrentY((size - size / 20 * 6) / 2 + r.top);
    // Centred by an estimate of the label's width: three characters of 5 or 6 twentieths of a cell.
    surface.SetCurrentX((size - (size / 20 * widthFactor) * 3) / 2 + r.left);
    surface.Print(label);
}

}  // namespace

void PaintRoadTile(const GameState& s, TileKind kind, int cell, Surface& surface) {
    const Rect& r = s.CellRects[cell];
    surface.SetFillStyle(FillStyle::Solid);
    surface.SetFillColor(kTileGrey);
    surface.SetForeColor(kTileGrey);
    surface.RoundRect(r.left, r.top, r.right, r.bottom, kCornerSize, kCornerSize);
    if (!IsRoad(kind)) return;
    const Road road(s, cell);
    surface.SetFillColor(TileColor(kind));
    PaintBand(surface, road, kShapes[KindNumber(kind)].first);
    PaintBand(surface, road, kShapes[KindNumber(kind)].second);
}

void PaintCell(const GameState& s, int cell, Surface& surface) {
    const TileKind kind = s.Cells[cell];
    if (IsRoad(kind)) PaintRoadTile(s, kind, cell, surface);
}

void PaintMovedTile(const GameState& s, Surface& surface) { PaintCell(s, s.SlideTarget, surface); }

void PaintGoal(const GameState& s, int cell, Surface& surface) {
    PaintFace(s, cell, surface, kGoalFace, "ゴール", 5);
}

void PaintStart(const GameState& s, int cell, Surface& surface) {
    PaintFace(s, cell, surface, kStartFace, "スタート", 6);
}

void EraseCell(const GameState& s, int cell, Surface& surface) {
    const Rect& r = s.CellRects[cell];
    surface.SetFillStyle(FillStyle::Solid);
    surface.SetFillColor(surface.BackColor());
    surface.Line(r.left, r.top, r.right, r.bottom, surface.BackColor(), LineStyle::FilledBox);
}

int MakeEmptyCell(GameState& s, Surface& surface) {
    const int cell = InitialEmptyCell(s.BoardSize);
    EraseCell(s, cell, surface);
    s.Cells[cell] = TileKind::Empty;
    return cell;
}

}  // namespace kanuvo
