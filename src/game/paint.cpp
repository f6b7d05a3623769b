// SPDX-License-Identifier: MIT
// Painting single cells: the grey tile with its road, the goal and start faces, the empty cell; and
// the lines between cells where the truck has crossed them.
#include "game/paint.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "game/banner.h"
#include "game/board.h"
#include "game/rounding.h"

namespace kanuvo {

namespace {

constexpr Color kTileGrey = Rgb(200, 200, 200);
constexpr Color kGoalFace = Rgb(100, 50, 255);
constexpr Color kStartFace = Rgb(100, 50, 0);
constexpr Color kLabelColor = Rgb(0, 0, 0);
constexpr int kCornerSize = 10;
constexpr int kLabelMargin = 3;  // pixels kept free at each side of a translated label
// A lit road's cells are outlined in this many pixels of bright gold.
constexpr Color kRoadLight = kBannerGold;
constexpr int kRoadLightWidth = 3;

// The road's geometry in one cell: the centre lines at L + m and T + m, the half width w.
struct Road {
    Road(const BoardState& s, int cell)
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

// A block of pixels with both corners included, as a filled box covers it.
struct Box {
    int x1, y1, x2, y2;
    bool Empty() const { return x1 > x2 || y1 > y2; }
};

Box Common(const Box& a, const Box& b) {
    return Box{std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

void FillBox(Surface& surface, const Box& box, Color color) { surface.FillBox(box.x1, box.y1, box.x2, box.y2, color); }

// Where a band lies. Its right and bottom ends reach the cell rectangle's right and bottom edges,
// which lie on the lines between cells.
Box BandBox(const Road& road, Band band) {
    const Rect& r = road.r;
    const int cx = r.left + road.m;
    const int cy = r.top + road.m;
    const double w = road.w;
    switch (band) {
        case Band::LeftHalf: return {r.left, Road::At(cy - w), cx, Road::At(cy + w)};
        case Band::RightHalf: return {cx, Road::At(cy - w), r.right, Road::At(cy + w)};
        // The vertical halves reach w past the centre so that a bend's corner square is filled.
        case Band::TopHalf: return {Road::At(cx - w), r.top, Road::At(cx + w), Road::At(cy + w)};
        case Band::BottomHalf: return {Road::At(cx - w), Road::At(cy - w), Road::At(cx + w), r.bottom};
        case Band::FullHorizontal: return {r.left, Road::At(cy - w), r.right, Road::At(cy + w)};
        case Band::FullVertical: return {Road::At(cx - w), r.top, Road::At(cx + w), r.bottom};
        case Band::None: break;
    }
    return {0, 0, -1, -1};
}

void PaintBand(Surface& surface, const Road& road, Band band, Color color) {
    if (band == Band::None) return;
    FillBox(surface, BandBox(road, band), color);
}

// One stretch of a line between cells: the background, then whatever road bands run across it.
void RepaintLineStretch(const BoardState& s, const Box& stretch, Surface& surface) {
    FillBox(surface, stretch, s.BoardBackColor);
    const int n = s.BoardSize;
    for (int cell = 1; cell <= n * n; ++cell) {
        const TileKind kind = s.Cells[cell];
        if (!IsRoad(kind)) continue;
        const Road road(s, cell);
        for (const Band band : {kShapes[KindNumber(kind)].first, kShapes[KindNumber(kind)].second}) {
            if (band == Band::None) continue;
            const Box crossing = Common(BandBox(road, band), stretch);
            if (!crossing.Empty()) FillBox(surface, crossing, TileColor(kind));
        }
    }
}

void PaintFace(Game& g, int cell, Surface& surface, Color face, Text label, int widthFactor) {
    const Rect& r = g.CellRects[cell];
    const double size = g.CellSize;
    surface.RoundRect(r.left, r.top, r.right, r.bottom, kCornerSize, kTileGrey, face);
    Font font = LabelFont(g);
    const std::string words = Say(g, label);
    if (words == label.source) {
        // Centred by an estimate of the label's width: three characters of 5 or 6 twentieths of a cell.
        surface.DrawText((size - (size / 20 * widthFactor) * 3) / 2 + r.left, (size - size / 20 * 6) / 2 + r.top,
                         words, font, kLabelColor);
        return;
    }
    // A translated label is measured: made smaller until it fits inside the face, and centred.
    const double room = (r.right - r.left) - 2 * kLabelMargin;
    const double width = surface.MeasureText(words, font).width;
    if (width > room) font.points = std::max(1.0, std::floor(font.points * room / width));
    const TextExtent extent = surface.MeasureText(words, font);
    surface.DrawText(std::round(r.left + (r.right - r.left - extent.width) / 2),
                     std::round(r.top + (r.bottom - r.top - extent.height) / 2), words, font, kLabelColor);
}

}  // namespace

Font LabelFont(const BoardState& s) { return Font{s.CellSize / 20.0 * 4, false}; }

void PaintRoadTile(const BoardState& s, TileKind kind, int cell, Surface& surface) {
    const Rect& r = s.CellRects[cell];
    surface.RoundRect(r.left, r.top, r.right, r.bottom, kCornerSize, kTileGrey, kTileGrey);
    if (!IsRoad(kind)) return;
    const Road road(s, cell);
    PaintBand(surface, road, kShapes[KindNumber(kind)].first, TileColor(kind));
    PaintBand(surface, road, kShapes[KindNumber(kind)].second, TileColor(kind));
}

void PaintCell(const BoardState& s, int cell, Surface& surface) {
    const TileKind kind = s.Cells[cell];
    if (IsRoad(kind)) PaintRoadTile(s, kind, cell, surface);
}

void PaintMovedTile(const BoardState& s, Surface& surface) { PaintCell(s, s.SlideTarget, surface); }

void PaintGoal(Game& g, int cell, Surface& surface) {
    PaintFace(g, cell, surface, kGoalFace, KANUVO_TEXT("Board", "ゴール"), 5);
}

void PaintStart(Game& g, int cell, Surface& surface) {
    PaintFace(g, cell, surface, kStartFace, KANUVO_TEXT("Board", "スタート"), 6);
}

void PaintLinesBetweenCells(const BoardState& s, const Rect& area, Surface& surface) {
    const int n = s.BoardSize;
    // The line right of a column is the pixel column at its cells' right edge; the line below a row
    // is the pixel row at its cells' bottom edge. Neither belongs to any cell.
    for (int column = 1; column < n; ++column) {
        const int x = s.CellRects[column].right;
        if (x >= area.left && x < area.right) RepaintLineStretch(s, Box{x, area.top, x, area.bottom - 1}, surface);
    }
    for (int row = 1; row < n; ++row) {
        const int y = s.CellRects[(row - 1) * n + 1].bottom;
        if (y >= area.top && y < area.bottom) RepaintLineStretch(s, Box{area.left, y, area.right - 1, y}, surface);
    }
}

void LightCell(const BoardState& s, int cell, Surface& surface) {
    const Rect& r = s.CellRects[cell];
    for (int inset = 0; inset < kRoadLightWidth; ++inset) {
        surface.Box(r.left + inset, r.top + inset, r.right - 1 - inset, r.bottom - 1 - inset, kRoadLight);
    }
}

void EraseCell(const BoardState& s, int cell, Surface& surface) {
    const Rect& r = s.CellRects[cell];
    surface.FillBox(r.left, r.top, r.right, r.bottom, s.BoardBackColor);
}

}  // namespace kanuvo
