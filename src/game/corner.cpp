// SPDX-License-Identifier: MIT
// The board's free corner and what it says.
#include "game/corner.h"

#include <algorithm>
#include <cmath>

#include "game/banner.h"
#include "game/board.h"
#include "game/texts.h"

namespace kanuvo {

namespace {

// Lettered as the stage caption is, at about half its size, from the caption's left edge.
constexpr Color kLetters = Rgb(255, 255, 255);
constexpr Color kRim = Rgb(0, 0, 0);
constexpr int kRimWidth = 1;
constexpr double kLeft = 10;
constexpr double kPointsPerCell = 0.1;
// The crossed speaker: a white speaker and a gold cross, about a third of a cell high.
constexpr Color kCross = kBannerGold;
constexpr double kMarkPerCell = 0.3;
constexpr double kGapPerCell = 0.2;  // between the hint, the mark's place and the note
// The road assist's mark: a small grey tile with a bend of road, outlined in the assist's gold.
constexpr Color kMarkTile = Rgb(200, 200, 200);
constexpr TileKind kMarkRoad = TileKind::RightTop;
constexpr int kNoteFullTicks = 1500 / kNoteTickMs;
constexpr int kNoteTicks = 2000 / kNoteTickMs;

void DrawMark(Surface& surface, double left, double middle, double height, Color back) {
    const double h = height;
    // The speaker's body, then its cone widening to the right, a column at a time.
    const double bodyHalf = h * 0.2, coneHalf = h * 0.5;
    const double bodyWidth = h * 0.25, coneWidth = h * 0.35;
    surface.FillBox(left, middle - bodyHalf, left + bodyWidth, middle + bodyHalf, kLetters);
    const int columns = std::max(1, static_cast<int>(std::lround(coneWidth)));
    for (int i = 0; i <= columns; ++i) {
        const double half = bodyHalf + (coneHalf - bodyHalf) * i / columns;
        surface.Line(left + bodyWidth + i, middle - half, left + bodyWidth + i, middle + half, kLetters);
    }
    // The cross, three pixels thick, a dark line either side of it so that it reads on any colour: the
    // dark lines of both strokes first, so that the gold lies over them where the strokes cross.
    const double crossLeft = left + bodyWidth + coneWidth + h * 0.15, half = h * 0.25;
    const auto stroke = [&](int d, Color c) {
        surface.Line(crossLeft + d, middle - half, crossLeft + 2 * half + d, middle + half, c);
        surface.Line(crossLeft + d, middle + half, crossLeft + 2 * half + d, middle - half, c);
    };
    for (int d : {-2, 2}) stroke(d, Mix(back, kRim, 0.6));
    for (int d : {-1, 0, 1}) stroke(d, kCross);
}

// The road assist's mark, a square as high as the crossed speaker, with the same dark edge round it.
void DrawAssistMark(Surface& surface, double left, double middle, double height, Color back) {
    const double top = std::round(middle - height / 2), right = std::round(left + height), bottom = top + right - left;
    surface.Box(left - 1, top - 1, right + 1, bottom + 1, Mix(back, kRim, 0.6));
    surface.FillBox(left, top, right, bottom, kCross);
    const double frame = std::max(2.0, std::round(height / 10));
    surface.FillBox(left + frame, top + frame, right - frame, bottom - frame, kMarkTile);
    // The bend leaves by the top and the right, as the tile of that kind does on the board.
    const double cx = std::round((left + right) / 2), cy = std::round((top + bottom) / 2);
    const double half = std::max(1.0, std::round(height / 12));
    const Color road = TileColor(kMarkRoad);
    surface.FillBox(cx - half, top + frame, cx + half, cy + half, road);
    surface.FillBox(cx - half, cy - half, right - frame, cy + half, road);
}

}  // namespace

Rect CornerArea(const GameState& s) {
    const int n = BoardSizeOnScreen(s);
    const Rect& start = s.CellRects[StartCell(n)];
    return Rect{0, start.bottom + 1, s.CellRects[StartCell(n) - 1].left, start.bottom + 1 + s.CellSize};
}

void DrawCorner(Game& g, Surface& surface) {
    const Rect area = CornerArea(g);
    const Color back = g.BoardBackColor;
    surface.FillBox(area.left, area.top, area.right - 1, area.bottom - 1, back);
    Font font{g.CellSize * kPointsPerCell, false};
    const double gap = g.CellSize * kGapPerCell;
    double markLeft = kLeft;
    // On a touch screen the platform's help control stands in for the hint.
    if (!g.TouchScreen) {
        const std::string hint = Say(g, texts::kHelpHint);
        const TextExtent hintExtent = surface.MeasureText(hint, font);
        const double top = area.top + (area.bottom - area.top - hintExtent.height) / 2;
        PrintOutlined(surface, kLeft, static_cast<int>(top), hint, font, kLetters, kRim, kRimWidth);
        markLeft += hintExtent.width + gap;
    }

    const double middle = (area.top + area.bottom) / 2.0;
    if (g.FastForwardOffered) {
        // In the middle of the corner's lower half, all of which a click or a tap on it takes.
        const std::string fast = Say(g, texts::kFastForwardHint);
        const double top = (middle + area.bottom - surface.MeasureText(fast, font).height) / 2;
        PrintOutlined(surface, kLeft, static_cast<int>(top), fast, font, kLetters, kRim, kRimWidth);
    }
    const double markHeight = g.CellSize * kMarkPerCell;
    // The marks that show stand side by side, the crossed speaker first; the note keeps the place it
    // has beside one mark, and moves on only when both show.
    const double slot = markHeight * 1.2 + gap;
    double nextLeft = markLeft;
    if (g.SoundOff) {
        DrawMark(surface, nextLeft, middle, markHeight, back);
        nextLeft += slot;
    }
    if (g.RoadAssist) {
        DrawAssistMark(surface, nextLeft, middle, markHeight, back);
        nextLeft += slot;
    }
    if (!g.CornerNote) return;
    font.bold = true;
    const std::string note = Say(g, *g.CornerNote);
    const double noteLeft = std::max(markLeft + slot, nextLeft);
    // A note too wide for what is left of the corner is lettered smaller.
    const double room = area.right - noteLeft - gap;
    const double width = surface.MeasureText(note, font).width;
    if (width > room && room > 0) font.points = std::max(1.0, std::floor(font.points * room / width));
    const double fade = std::clamp(static_cast<double>(g.NoteTicks - kNoteFullTicks) / (kNoteTicks - kNoteFullTicks), 0.0, 1.0);
    PrintOutlined(surface, std::round(noteLeft), std::round(middle - surface.MeasureText(note, font).height / 2), note,
                  font, Mix(kBannerGold, back, fade), Mix(kRim, back, fade), kRimWidth);
}

void RefreshCorner(Game& g) {
    if (g.TitleTimer.Enabled()) return;
    DrawCorner(g, g.form.BoardView());
    CopyArea(g, g.form.BoardCopy(), g.form.BoardView(), CornerArea(g));
}

bool OnFastForwardHint(const GameState& s, int x, int y) {
    const Rect area = CornerArea(s);
    return s.FastForwardOffered && x >= area.left && x < area.right && y >= (area.top + area.bottom) / 2 &&
           y < area.bottom;
}

void ShowCornerNote(Game& g, Text note) {
    // On a touch screen the platform's controls show what changed, in letters a finger's screen can
    // read; the corner only shows its marks.
    if (g.TouchScreen) {
        RefreshCorner(g);
        return;
    }
    g.CornerNote = note;
    g.NoteTicks = 0;
    // A fresh period for a fresh note.
    g.NoteTimer.SetEnabled(false);
    g.NoteTimer.SetEnabled(true);
    RefreshCorner(g);
}

void NoteTick(Game& g) {
    if (++g.NoteTicks >= kNoteTicks) {
        g.CornerNote.reset();
        g.NoteTimer.SetEnabled(false);
    }
    RefreshCorner(g);
}

}  // namespace kanuvo
