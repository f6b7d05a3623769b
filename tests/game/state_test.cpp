// SPDX-License-Identifier: MIT
// The stage rules, the rounding rule and the random generator.
#include <gtest/gtest.h>

#include <set>

#include "game/random.h"
#include "game/rounding.h"
#include "game/state.h"

namespace kanuvo {
namespace {

TEST(StageRules, AdvanceWalksTheStageTableAndWrapsAfterNine) {
    GameState s;
    struct Row {
        int stage, boardSize;
    };
    // From stage 1 with a 4 x 4 board, each clear moves one row down; 9 keeps the 7 x 7 board.
    const Row expected[] = {{2, 4}, {3, 5}, {4, 5}, {5, 6}, {6, 6}, {7, 7}, {8, 7}, {9, 7}, {1, 4}, {2, 4}};
    for (const Row& row : expected) {
        AdvanceStage(s);
        EXPECT_EQ(s.Stage, row.stage);
        EXPECT_EQ(s.BoardSize, row.boardSize) << "at stage " << row.stage;
    }
}

TEST(StageRules, SpendLifeCountsDownThenResetsTheGame) {
    GameState s;
    s.Stage = 6;
    s.BoardSize = 6;
    s.BoardReady = true;
    SpendLife(s);
    EXPECT_EQ(s.Lives, 1);
    EXPECT_FALSE(s.BoardReady);
    EXPECT_EQ(s.Stage, 6);
    s.BoardReady = true;
    SpendLife(s);
    EXPECT_EQ(s.Lives, 0);
    EXPECT_FALSE(s.BoardReady);
    EXPECT_EQ(s.BoardSize, 6);
    s.Playing = true;
    s.BoardReady = true;
    SpendLife(s);  // Game Over
    EXPECT_EQ(s.Lives, 2);
    EXPECT_EQ(s.Stage, 1);
    EXPECT_EQ(s.BoardSize, 4);
    EXPECT_FALSE(s.Playing);
    EXPECT_FALSE(s.BoardReady);
}

TEST(StageRules, StageAndBoardSizeStayInRangeOverLongGames) {
    GameState s;
    Random chance;
    std::set<int> stagesSeen;
    for (int run = 0; run < 20000; ++run) {
        if (chance.Draw(3) == 1) {
            AdvanceStage(s);
            s.Lives = 2;  // a clear restores the retries
        } else {
            SpendLife(s);
        }
        ASSERT_GE(s.Stage, 1);
        ASSERT_LE(s.Stage, 9);
        ASSERT_GE(s.BoardSize, 4);
        ASSERT_LE(s.BoardSize, 7);
        ASSERT_GE(s.Lives, 0);
        ASSERT_LE(s.Lives, 2);
        stagesSeen.insert(s.Stage);
    }
    EXPECT_EQ(stagesSeen.size(), 9u);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(108.5), 108);
    EXPECT_EQ(RoundHalfEven(109.5), 110);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(34.51), 35);
    EXPECT_EQ(RoundHalfEven(-34.51), -35);
    EXPECT_EQ(RoundHalfEven(44.95), 45);
}

TEST(RandomGenerator, ValuesLieInTheUnitIntervalAndDrawsCoverOneToK) {
    Random random;
    int counts[7] = {};
    for (int i = 0; i < 60000; ++i) {
        const float r = random.Next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        const int k = random.Draw(6);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 6);
        ++counts[k];
    }
    for (int k = 1; k <= 6; ++k) EXPECT_NEAR(counts[k], 10000, 600) << "kind " << k;
}

// Every machine and every run starts from these, so every deal is the same everywhere.
TEST(RandomGenerator, TheFirstTenValues) {
    const std::uint32_t twentyFourBitValues[] = {14754998, 9149044, 6611379, 5958,    15904187,
                                                  16701265, 9081936, 1209626, 9852735, 4647537};
    Random random;
    for (std::uint32_t expected : twentyFourBitValues) EXPECT_EQ(random.Next(), expected / 16777216.0f);
}

TEST(RandomGenerator, TwoFreshGeneratorsGiveTheSameSequence) {
    Random a, b;
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(a.Next(), b.Next());
}

}  // namespace
}  // namespace kanuvo
