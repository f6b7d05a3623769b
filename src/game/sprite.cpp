// SPDX-License-Identifier: MIT
// The truck sprite on the board, its one-pixel steps, and the retries shown below the board.
#include "game/sprite.h"

#include "game/board.h"
#include "game/paint.h"
#include "game/rounding.h"

namespace kanuvo {

namespace {

constexpr int kLifeIcon = DirectionCode(Direction::Up);  // the retries stand as trucks facing up

// The slot of a life icon: a standing truck centred below cell `cell`.
Rect LifeSlot(const GameState& s, int cell) {
    const Rect& r = s.CellRects[cell];
    const int left = RoundHalfEven(r.left + (s.CellSize - s.TruckBreadth) / 2.0);
    const int top = RoundHalfEven(r.bottom + (s.CellSize - s.TruckLength) / 2.0);
    return Rect{left, top, left + s.TruckBreadth, top + s.TruckLength};
}

void DrawLifeIcon(Game& g, const Rect& slot) {
    DrawSprite(g.form.BoardView(), *g.TruckMasks[kLifeIcon], *g.TruckPictures[kLifeIcon], slot.left,
               slot.top, g.TruckBreadth, g.TruckLength);
}

void EraseLifeSlot(Game& g, const Rect& slot) {
    g.form.BoardView().FillBox(slot.left, slot.top, slot.right - 1, slot.bottom - 1, g.BoardBackColor);
}

// The way the truck faces on the board. In a route stage it waits in the start, facing out of it,
// while the route trace borrows its heading.
Direction TruckFacing(const GameState& s) { return IsRouteStage(StageOnScreen(s)) ? s.StartExit : s.Heading; }

// Where the truck's picture covers the board: at TruckRect's corner, lying or standing as it faces.
Rect TruckImage(const GameState& s) {
    const bool lying = Lying(TruckFacing(s));
    const int width = lying ? s.TruckLength : s.TruckBreadth;
    const int height = lying ? s.TruckBreadth : s.TruckLength;
    return Rect{s.TruckRect.left, s.TruckRect.top, s.TruckRect.left + width, s.TruckRect.top + height};
}

}  // namespace

void DrawSprite(Surface& surface, const Picture& mask, const Picture& picture, double x, double y, double width,
                double height) {
    surface.DrawPicture(mask, x, y, width, height, RasterOp::MergePaint);
    surface.DrawPicture(picture, x, y, width, height, RasterOp::And);
}

void DrawTruck(Game& g) {
    const Direction facing = TruckFacing(g);
    if (facing == Direction::None) return;
    const int picture = DirectionCode(facing);
    const Rect image = TruckImage(g);
    DrawSprite(g.form.BoardView(), *g.TruckMasks[picture], *g.TruckPictures[picture],
               static_cast<float>(image.left), static_cast<float>(image.top), image.right - image.left,
               image.bottom - image.top);
}

void StepTruck(Game& g, Surface& surface) {
    const int start = StartCell(g.BoardSize);
    const auto [first, second] = g.TruckCells;
    // Repainting the cells the truck stood on erases its old image (the empty cell keeps it: the
    // truck crashes there anyway).
    if (first > GoalCell && first < start) PaintCell(g, first, surface);
    if (second > GoalCell && second < start) PaintCell(g, second, surface);
    if (first == GoalCell || second == GoalCell) PaintGoal(g, GoalCell, surface);
    if (first == start || second == start) PaintStart(g, start, surface);
    // Its pixels on the lines between cells belong to no cell: those lines are repainted on their own.
    PaintLinesBetweenCells(g, TruckImage(g), surface);

    Rect& truck = g.TruckRect;
    switch (g.Heading) {
        case Direction::Left: --truck.left, --truck.right; break;
        case Direction::Right: ++truck.left, ++truck.right; break;
        case Direction::Up: --truck.top, --truck.bottom; break;
        case Direction::Down: ++truck.top, ++truck.bottom; break;
        case Direction::None: break;
    }
    DrawTruck(g);
    CopyBoard(g);
}

void DrawLives(Game& g, int boardSize) {
    const int n = boardSize;
    const Rect leftSlot = LifeSlot(g, StartCell(n) - 1);
    const Rect rightSlot = LifeSlot(g, StartCell(n));
    switch (g.Lives) {
        case 2:
            DrawLifeIcon(g, leftSlot);
            DrawLifeIcon(g, rightSlot);
            break;
        case 1:
            EraseLifeSlot(g, leftSlot);
            DrawLifeIcon(g, rightSlot);
            break;
        case 0: EraseLifeSlot(g, rightSlot); break;
        default: break;
    }
}

}  // namespace kanuvo
