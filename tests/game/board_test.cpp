// The board model, the tile rule and the deal.
#include <gtest/gtest.h>

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
    EXPECT_FALSE(HasNeighbour(4, HeadingUp, 4));
    EXPECT_FALSE(HasNeighbour(4, HeadingRight, 4));
    EXPECT_TRUE(HasNeighbour(4, HeadingLeft, 4));
    EXPECT_TRUE(HasNeighbour(4, HeadingDown, 4));
    EXPECT_FALSE(HasNeighbour(13, HeadingLeft, 4));
    EXPECT_FALSE(HasNeighbour(13, HeadingDown, 4));
    EXPECT_EQ(NextCell(6, HeadingUp, 4), 2);
    EXPECT_EQ(NextCell(6, HeadingDown, 4), 10);
    EXPECT_EQ(NextCell(6, HeadingLeft, 4), 5);
    EXPECT_EQ(NextCell(6, HeadingRight, 4), 7);
}

TEST(TileRule, EachKindJoinsTheTwoSidesItsNameGives) {
    // Rows: kind 0..6; columns: entering moving left, right, up, down; 0 breaks.
    const int table[7][4] = {
        {0, 0, 0, 0}, {0, 4, 1, 0}, {0, 3, 0, 1}, {4, 0, 2, 0}, {0, 0, 3, 4}, {3, 0, 0, 2}, {1, 2, 0, 0}};
    for (int kind = 0; kind <= 6; ++kind) {
        for (int heading = 1; heading <= 4; ++heading) {
            EXPECT_EQ(ExitHeading(kind, heading), table[kind][heading - 1])
                << TileName(kind) << " entered with heading " << heading;
        }
    }
}

TEST(TileKinds, RoadColours) {
    EXPECT_EQ(TileColor(TileLeftBottom), Rgb(0, 255, 255));
    EXPECT_EQ(TileColor(TileLeftTop), Rgb(0, 255, 0));
    EXPECT_EQ(TileColor(TileRightBottom), Rgb(125, 70, 255));
    EXPECT_EQ(TileColor(TileVertical), Rgb(255, 255, 0));
    EXPECT_EQ(TileColor(TileRightTop), Rgb(255, 0, 0));
    EXPECT_EQ(TileColor(TileHorizontal), Rgb(255, 0, 255));
}

TEST(Deal, QuotasAreRoundedNotTruncated) {
    using Q = std::array<int, 7>;
    EXPECT_EQ(KindQuotas(4), (Q{0, 3, 3, 2, 2, 2, 2}));
    EXPECT_EQ(KindQuotas(5), (Q{0, 5, 5, 5, 5, 5, 4}));
    EXPECT_EQ(KindQuotas(6), (Q{0, 7, 7, 7, 7, 6, 6}));
    EXPECT_EQ(KindQuotas(7), (Q{0, 9, 9, 9, 9, 9, 8}));
}

// The start road as the deal lays it, for a board and the choice it made.
struct StartRoad {
    int first, firstKind, second, secondKind;
};

// Draws the kinds a deal of an N x N board draws, from a copy of its generator, and returns what is
// left of each quota before the start road is laid.
std::array<int, 7> ReplayDealtKinds(Random& replay, int n) {
    auto quota = KindQuotas(n);
    for (int i = 2; i <= n * n - 1; ++i) {
        int kind = replay.Draw(6);
        while (quota[kind] == 0) kind = replay.Draw(6);
        --quota[kind];
    }
    return quota;
}

TEST(Deal, ManyDealsKeepEveryInvariant) {
    GameState s;
    for (int n = 4; n <= 7; ++n) {
        s.BoardSize = n;
        const auto quota = KindQuotas(n);
        int exitsSeen[3] = {};
        for (int deal = 0; deal < 500; ++deal) {
            DealBoard(s);
            ASSERT_EQ(s.Cells[GoalCell], TileEmpty);
            ASSERT_EQ(s.Cells[StartCell(n)], TileEmpty);
            std::array<int, 7> count{};
            for (int i = 2; i <= n * n - 1; ++i) {
                ASSERT_GE(s.Cells[i], 1) << "cell " << i;
                ASSERT_LE(s.Cells[i], 6) << "cell " << i;
                ++count[s.Cells[i]];
            }
            // The laid pieces may add up to two tiles of a kind beyond its quota.
            for (int k = 1; k <= 6; ++k) ASSERT_LE(count[k], quota[k] + 2) << "N " << n << " kind " << k;
            ASSERT_TRUE(s.StartExit == ExitLeft || s.StartExit == ExitUp);
            ++exitsSeen[s.StartExit];
            const int start = StartCell(n);
            if (s.StartExit == ExitLeft) {
                if (n <= 5) {
                    ASSERT_TRUE(s.Cells[start - 1] == TileRightTop || s.Cells[start - 1] == TileHorizontal);
                } else {
                    ASSERT_EQ(s.Cells[start - 1], TileHorizontal);
                    ASSERT_TRUE(s.Cells[start - 2] == TileRightTop || s.Cells[start - 2] == TileHorizontal);
                }
            } else {
                if (n <= 5) {
                    ASSERT_TRUE(s.Cells[start - n] == TileLeftBottom || s.Cells[start - n] == TileVertical);
                } else {
                    ASSERT_EQ(s.Cells[start - n], TileVertical);
                    ASSERT_TRUE(s.Cells[start - 2 * n] == TileLeftBottom || s.Cells[start - 2 * n] == TileVertical);
                }
            }
        }
        EXPECT_GT(exitsSeen[ExitLeft], 100);
        EXPECT_GT(exitsSeen[ExitUp], 100);
    }
}

TEST(Deal, BeforeTheStartRoadEachKindStaysWithinItsQuota) {
    // Replays the deal's own draws: a second generator in step with the first shows the kinds
    // drawn before the start road overwrote any cell.
    for (int n = 4; n <= 7; ++n) {
        GameState s;
        s.BoardSize = n;
        for (int deal = 0; deal < 200; ++deal) {
            Random replay = s.random;
            DealBoard(s);
            const auto quota = ReplayDealtKinds(replay, n);
            std::array<int, 7> count{};
            for (int i = 2; i <= n * n - 1; ++i) ++count[s.Cells[i]];
            const auto full = KindQuotas(n);
            int overwritten = 0;
            for (int k = 1; k <= 6; ++k) overwritten += std::abs(count[k] - (full[k] - quota[k]));
            // At most two cells were overwritten by the start road (each moves one tile between kinds).
            ASSERT_LE(overwritten, 4);
            if (n == 4) {
                for (int k = 1; k <= 6; ++k) ASSERT_EQ(quota[k], 0) << "a 4 x 4 deal uses every quota exactly";
            }
        }
    }
}

TEST(Deal, StartRoadPiecesFollowExitBoardSizeAndChoice) {
    // Every (exit, choice) pair occurs over a few deals; check each against the table.
    for (int n = 4; n <= 7; ++n) {
        GameState s;
        s.BoardSize = n;
        bool seen[3][3] = {};
        for (int deal = 0; deal < 200; ++deal) {
            Random replay = s.random;
            DealBoard(s);
            // Past the deal's own draws come the two start-road draws.
            ReplayDealtKinds(replay, n);
            const int exit = replay.Draw(2);
            const int choice = replay.Draw(2);
            ASSERT_EQ(exit, s.StartExit);
            seen[exit][choice] = true;
            const int start = n * n;
            StartRoad want{};
            if (exit == ExitLeft) {
                const int chosen = choice == 1 ? TileRightTop : TileHorizontal;
                want = n <= 5 ? StartRoad{start - 1, chosen, 0, 0} : StartRoad{start - 1, TileHorizontal, start - 2, chosen};
            } else {
                const int chosen = choice == 1 ? TileLeftBottom : TileVertical;
                want = n <= 5 ? StartRoad{start - n, chosen, 0, 0}
                              : StartRoad{start - n, TileVertical, start - 2 * n, chosen};
            }
            ASSERT_EQ(s.Cells[want.first], want.firstKind);
            if (want.second != 0) {
                ASSERT_EQ(s.Cells[want.second], want.secondKind);
            }
        }
        for (int e = 1; e <= 2; ++e) {
            for (int c = 1; c <= 2; ++c) EXPECT_TRUE(seen[e][c]) << "N " << n << " exit " << e << " choice " << c;
        }
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
    EXPECT_EQ(s.Cells[1], 0);
    EXPECT_EQ(s.Cells[16], 0);
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
