// The board's tile kinds and the deal.
#include "game/board.h"

#include "game/rounding.h"

namespace kanuvo {

namespace {

// The two sides each kind joins, as the directions a road leaves by: left, right, up (top), down (bottom).
struct Sides {
    bool left, right, top, bottom;
};
constexpr std::array<Sides, kTileKinds + 1> kSidesJoined{{
    {false, false, false, false},  // TileEmpty
    {true, false, false, true},    // TileLeftBottom
    {true, false, true, false},    // TileLeftTop
    {false, true, false, true},    // TileRightBottom
    {false, false, true, true},    // TileVertical
    {false, true, true, false},    // TileRightTop
    {true, true, false, false},    // TileHorizontal
}};

bool JoinsSideFacing(const Sides& sides, int heading) {
    switch (heading) {
        case HeadingLeft: return sides.left;
        case HeadingRight: return sides.right;
        case HeadingUp: return sides.top;
        case HeadingDown: return sides.bottom;
        default: return false;
    }
}

// A road moving in `heading` comes in by the opposite side.
constexpr int Opposite(int heading) {
    switch (heading) {
        case HeadingLeft: return HeadingRight;
        case HeadingRight: return HeadingLeft;
        case HeadingUp: return HeadingDown;
        case HeadingDown: return HeadingUp;
        default: return 0;
    }
}

}  // namespace

int ExitHeading(int kind, int entering) {
    if (kind < 1 || kind > kTileKinds) return 0;
    const Sides& sides = kSidesJoined[kind];
    const int inSide = Opposite(entering);
    if (!JoinsSideFacing(sides, inSide)) return 0;
    for (int out : {HeadingLeft, HeadingRight, HeadingUp, HeadingDown}) {
        if (out != inSide && JoinsSideFacing(sides, out)) return out;
    }
    return 0;
}

Color TileColor(int kind) {
    static constexpr std::array<Color, kTileKinds + 1> kColors{
        Rgb(0, 0, 0),    Rgb(0, 255, 255), Rgb(0, 255, 0), Rgb(125, 70, 255),
        Rgb(255, 255, 0), Rgb(255, 0, 0),  Rgb(255, 0, 255)};
    return kind >= 1 && kind <= kTileKinds ? kColors[kind] : Rgb(0, 0, 0);
}

const char* TileName(int kind) {
    static constexpr std::array<const char*, kTileKinds + 1> kNames{
        "TileEmpty", "TileLeftBottom", "TileLeftTop", "TileRightBottom",
        "TileVertical", "TileRightTop", "TileHorizontal"};
    return kind >= 0 && kind <= kTileKinds ? kNames[kind] : "";
}

std::array<int, kTileKinds + 1> KindQuotas(int n) {
    const int dealt = n * n - 2;
    // Rounded, not truncated: for N = 5, 6, 7 the quotas add up to more than the cells dealt.
    const int each = RoundHalfEven(dealt / 6.0);
    const int extra = dealt % 6;
    std::array<int, kTileKinds + 1> quota{};
    for (int k = 1; k <= kTileKinds; ++k) quota[k] = each + (k <= extra ? 1 : 0);
    return quota;
}

void DealBoard(GameState& s) {
    const int n = s.BoardSize;
    for (int i = 1; i <= n * n; ++i) s.Cells[i] = TileEmpty;
    auto quota = KindQuotas(n);
    for (int i = 2; i <= n * n - 1; ++i) {
        int kind = s.random.Draw(kTileKinds);
        while (quota[kind] == 0) kind = s.random.Draw(kTileKinds);
        --quota[kind];
        s.Cells[i] = kind;
    }
    LayStartRoad(s);
}

void LayStartRoad(GameState& s) {
    const int n = s.BoardSize;
    s.StartExit = s.random.Draw(2);
    const int choice = s.random.Draw(2);
    const int start = StartCell(n);
    if (s.StartExit == ExitLeft) {
        const int turnOrGoOn = choice == 1 ? TileRightTop : TileHorizontal;
        if (n <= 5) {
            s.Cells[start - 1] = turnOrGoOn;
        } else {
            s.Cells[start - 1] = TileHorizontal;
            s.Cells[start - 2] = turnOrGoOn;
        }
    } else {
        const int turnOrGoOn = choice == 1 ? TileLeftBottom : TileVertical;
        if (n <= 5) {
            s.Cells[start - n] = turnOrGoOn;
        } else {
            s.Cells[start - n] = TileVertical;
            s.Cells[start - 2 * n] = turnOrGoOn;
        }
    }
}

}  // namespace kanuvo
