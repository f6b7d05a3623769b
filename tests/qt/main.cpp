// SPDX-License-Identifier: MIT
// Runs the Qt layer's tests inside one application object on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

#include "scratch_home.h"

int main(int argc, char** argv) {
    kanuvo::UseScratchHome();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // The death tests start a fresh copy of this program rather than forking one with Qt running.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
