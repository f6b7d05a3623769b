// SPDX-License-Identifier: MIT
// The game over the doubles just past its title screen, shared by the flow and end-of-run tests: a
// run that never ends fails the test, and every pass of a run may run a scripted action.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "doubles.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/play.h"

namespace kanuvo::testing {

struct PastTitle : ::testing::Test {
    void SetUp() override {
        FormLoad(g);
        FormMouseDown(g);
        t.onPass = [this] {
            if (++passes > 100000) {
                ADD_FAILURE() << "the run did not end";
                g.Playing = false;
            }
            if (everyPass) everyPass();
        };
    }
    // Stage 2: the road runs 16, 15 (straight), 14 (up), 10 and 6 (straight), 2 (left) into the goal,
    // but cell 10 is the gap and the straight it needs waits in cell 11 until a Left press at pass
    // `pressAtPass` (0: never) slides it in.
    void SetUpTruckRun(int pressAtPass) {
        g.Stage = 2;
        NewGameClick(g);
        g.StartExit = ExitLeft;
        PlaceTruckAtStart(g);
        const int kinds[17] = {0, 0, 1, 3, 2, 5, 4, 1, 2, 3, 0, 4, 2, 1, 5, 6, 0};
        for (int i = 1; i <= 16; ++i) g.Cells[i] = KindOfNumber(kinds[i]);
        everyPass = [this, pressAtPass] {
            if (pressAtPass != 0 && passes == pressAtPass) BoardKeyDown(g, kKeyLeft);
        };
    }
    TestGame t;
    Game& g = t.game;
    int passes = 0;
    std::function<void()> everyPass;
};

}  // namespace kanuvo::testing
