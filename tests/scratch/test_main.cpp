// SPDX-License-Identifier: MIT
// The main of the test programs that need nothing else before their tests: a scratch home, then the tests.
#include <gtest/gtest.h>

#include "scratch_home.h"

int main(int argc, char** argv) {
    kanuvo::UseScratchHome();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
