// SPDX-License-Identifier: MIT
// The main of the test programs that play the game in its window: a scratch home, the offscreen
// platform unless another is asked for (a real X server with QT_QPA_PLATFORM=xcb), the window system
// set up as the program sets it up, the application with the game's pictures, then the tests.
#include <QApplication>

#include <gtest/gtest.h>

#include "app/display.h"
#include "app/picture_resources.h"
#include "scratch_home.h"

int main(int argc, char** argv) {
    kanuvo::UseScratchHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    kanuvo::LeaveGlUnloaded();  // as the program does: on Wayland, the window draws its title bar
    QApplication application(argc, argv);
    kanuvo::InitPictureResources();
    ::testing::InitGoogleTest(&argc, argv);
    // The window system runs threads of its own: death tests start a fresh copy of this program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return kanuvo::LeaveDisplay(RUN_ALL_TESTS());
}
