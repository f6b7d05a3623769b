// SPDX-License-Identifier: MIT
// The board model, the tile rule and the deal.
#include <gtest/gtest.h>

#include <string>

#include "doubles.h"
#include "game/board.h"

namespace kanuvo {
namespace {

TEST(BoardModel, FixedCellsAndNeighbours) {
    EXPECT_EQ(StartCell(4), 16);
    EXPECT_EQ(StartCell(7), 49);
    EXPECT_EQ(InitialEmptyCell(4), 11);
    EXPECT_EQ(InitialEmptyCell(5), 19);
    EXPECT_EQ(InitialEmptyCell(6), 29);
    EXPECT_EQ(InitialEmptyCell(7), 41);
    EXPECT_EQ(Row(5, 4), 2);
    EXPECT_EQ(Column(5, 4), 1);
    EXPECT_EQ(Row(16, 4), 4);
    EXPECT_EQ(Column(16, 4), 4);
    // Cell 4 is the top-right corner of a 4 x 4 board: nothing above it or to its right.
    EXPECT_FALSE(HasNeighbour(4, Direction::Up, 4));
    EXPECT_FALSE(HasNeighbour(4, Direction::Right, 4));
    EXPECT_TRUE(HasNeighbour(4, Direction::Left, 4));
    EXPECT_TRUE(HasNeighbour(4, Direction::Down, 4));
    EXPECT_FALSE(HasNeighbour(13, Direction::Left, 4));
    EXPECT_FALSE(HasNeighbour(13, Direction::Down, 4));
    EXPECT_EQ(NextCell(6, Direction::Up, 4), 2);
    EXPECT_EQ(NextCell(6, Direction::Down, 4), 10);
    EXPECT_EQ(NextCell(6, Direction::Left, 4), 5);
    EXPECT_EQ(NextCell(6, Direction::Right, 4), 7);
}

TEST(TileRule, EachKindJoinsTheTwoSidesItsNameGives) {
    // Rows: kind 0..6; columns: entering moving left, right, up, down; 0 breaks.
    const int table[7][4] = {
        {0, 0, 0, 0}, {0, 4, 1, 0}, {0, 3, 0, 1}, {4, 0, 2, 0}, {0, 0, 3, 4}, {3, 0, 0, 2}, {1, 2, 0, 0}};
    for (TileKind kind : kAllTileKinds) {
        for (Direction heading : kAllDirections) {
            EXPECT_EQ(ExitHeading(kind, heading),
                      testing::DirectionOfCode(table[KindNumber(kind)][DirectionCode(heading) - 1]))
                << TileName(kind) << " entered with heading " << heading;
        }
    }
}

TEST(TileKinds, RoadColours) {
    EXPECT_EQ(TileColor(TileKind::LeftBottom), Rgb(0, 255, 255));
    EXPECT_EQ(TileColor(TileKind::LeftTop), Rgb(0, 255, 0));
    EXPECT_EQ(TileColor(TileKind::RightBottom), Rgb(125, 70, 255));
    EXPECT_EQ(TileColor(TileKind::Vertical), Rgb(255, 255, 0));
    EXPECT_EQ(TileColor(TileKind::RightTop), Rgb(255, 0, 0));
    EXPECT_EQ(TileColor(TileKind::Horizontal), Rgb(255, 0, 255));
}

TEST(Deal, QuotasAreRoundedNotTruncated) {
    using Q = std::array<int, 7>;
    EXPECT_EQ(KindQuotas(4), (Q{0, 3, 3, 2, 2, 2, 2}));
    EXPECT_EQ(KindQuotas(5), (Q{0, 5, 5, 5, 5, 5, 4}));
    EXPECT_EQ(KindQuotas(6), (Q{0, 7, 7, 7, 7, 6, 6}));
    EXPECT_EQ(KindQuotas(7), (Q{0, 9, 9, 9, 9, 9, 8}));
}

// A dealt board as text, row by row: "G" the goal, "S" the start, "." the empty cell, a digit the kind.
std::string BoardText(const GameState& s) {
    const int n = s.BoardSize;
    std::string text;
    for (int i = 1; i <= n * n; ++i) {
        text += i == GoalCell ? 'G' : i == StartCell(n) ? 'S' : s.Cells[i] == TileKind::Empty ? '.' : char('0' + KindNumber(s.Cells[i]));
        text += Column(i, n) == n ? '\n' : ' ';
    }
    return text;
}

TEST(Deal, ManyDealsKeepEveryInvariant) {
    GameState s;
    for (int n = 4; n <= 7; ++n) {
        s.BoardSize = n;
        const auto quota = KindQuotas(n);
        int exitsSeen[5] = {};  // by direction code
        for (int deal = 0; deal < 500; ++deal) {
            DealBoard(s);
            ASSERT_EQ(s.Cells[GoalCell], TileKind::Empty);
            ASSERT_EQ(s.Cells[StartCell(n)], TileKind::Empty);
            std::array<int, 7> count{};
            for (int i = 2; i <= n * n - 1; ++i) {
                ASSERT_TRUE(IsRoad(s.Cells[i])) << "cell " << i;
                ++count[KindNumber(s.Cells[i])];
            }
            // The laid pieces may add up to two tiles of a kind beyond its quota.
            for (int k = 1; k <= 6; ++k) ASSERT_LE(count[k], quota[k] + 2) << "N " << n << " kind " << k;
            ASSERT_TRUE(s.StartExit == ExitLeft || s.StartExit == ExitUp);
            ++exitsSeen[DirectionCode(s.StartExit)];
            const int start = StartCell(n);
            if (s.StartExit == ExitLeft) {
                if (n <= 5) {
                    ASSERT_TRUE(s.Cells[start - 1] == TileKind::RightTop || s.Cells[start - 1] == TileKind::Horizontal);
                } else {
                    ASSERT_EQ(s.Cells[start - 1], TileKind::Horizontal);
                    ASSERT_TRUE(s.Cells[start - 2] == TileKind::RightTop || s.Cells[start - 2] == TileKind::Horizontal);
                }
            } else {
                if (n <= 5) {
                    ASSERT_TRUE(s.Cells[start - n] == TileKind::LeftBottom || s.Cells[start - n] == TileKind::Vertical);
                } else {
                    ASSERT_EQ(s.Cells[start - n], TileKind::Vertical);
                    ASSERT_TRUE(s.Cells[start - 2 * n] == TileKind::LeftBottom || s.Cells[start - 2 * n] == TileKind::Vertical);
                }
            }
        }
        EXPECT_GT(exitsSeen[DirectionCode(ExitLeft)], 100);
        EXPECT_GT(exitsSeen[DirectionCode(ExitUp)], 100);
    }
}

// The first board of each size from a fresh game, as every machine deals it: the generator's draws,
// the quotas and the start road together.
TEST(Deal, TheFirstBoardOfEachSize) {
    struct Case {
        int n;
        Direction startExit;
        const char* board;
    };
    const Case cases[] = {
        {4, ExitLeft,
         "G 6 4 3\n"
         "1 6 4 1\n"
         "2 1 2 2\n"
         "3 5 5 S\n"},
        {5, ExitLeft,
         "G 6 4 3 1\n"
         "6 6 4 1 4\n"
         "2 1 4 4 1\n"
         "6 2 1 2 3\n"
         "3 3 3 6 S\n"},
        {6, ExitUp,
         "G 6 4 3 1 6\n"
         "6 4 1 4 2 1\n"
         "4 4 4 1 6 6\n"
         "2 1 4 6 2 4\n"
         "3 1 1 3 3 4\n"
         "2 2 3 5 2 S\n"},
        {7, ExitLeft,
         "G 6 4 3 1 6 6\n"
         "4 1 4 2 1 4 4\n"
         "4 1 6 6 2 1 4\n"
         "6 2 4 3 4 3 1\n"
         "6 1 3 3 1 6 3\n"
         "2 2 1 3 5 2 2\n"
         "3 2 3 2 5 6 S\n"},
    };
    for (const Case& c : cases) {
        GameState s;
        s.BoardSize = c.n;
        DealBoard(s);
        EXPECT_EQ(BoardText(s), c.board) << "N " << c.n;
        EXPECT_EQ(s.StartExit, c.startExit) << "N " << c.n;
        EXPECT_EQ(s.Cells[GoalCell], TileKind::Empty);
        EXPECT_EQ(s.Cells[StartCell(c.n)], TileKind::Empty);
    }
}

TEST(Deal, ASmallBoardAfterALargeOneLeavesTheRestAlone) {
    GameState s;
    s.BoardSize = 7;
    DealBoard(s);
    const auto before = s.Cells;
    s.BoardSize = 4;
    DealBoard(s);
    for (int i = 17; i <= 49; ++i) EXPECT_EQ(s.Cells[i], before[i]) << "cell " << i;
    EXPECT_EQ(s.Cells[1], TileKind::Empty);
    EXPECT_EQ(s.Cells[16], TileKind::Empty);
}

TEST(Deal, EveryRunDealsTheSameBoards) {
    GameState a, b;
    for (int deal = 0; deal < 20; ++deal) {
        a.BoardSize = b.BoardSize = 4 + deal % 4;
        DealBoard(a);
        DealBoard(b);
        ASSERT_EQ(a.Cells, b.Cells);
        ASSERT_EQ(a.StartExit, b.StartExit);
    }
}

}  // namespace
}  // namespace kanuvo
