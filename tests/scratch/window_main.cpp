// SPDX-License-Identifier: MIT
// The main of the test programs that play the game in its window: a scratch home, the offscreen
// platform unless another is asked for, the application with the game's pictures, then the tests.
#include <QApplication>

#include <gtest/gtest.h>

#include "app/picture_resources.h"
#include "scratch_home.h"

int main(int argc, char** argv) {
    kanuvo::UseScratchHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kanuvo::InitPictureResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
