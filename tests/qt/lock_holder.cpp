// SPDX-License-Identifier: MIT
// Stands in for a running copy of the game: takes the single-copy lock at the path it is given,
// says whether it got it, and holds it until it is killed.
#include <QGuiApplication>

#include <cstdio>
#include <thread>

#include "platform/qt/qt_system.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QGuiApplication app(argc, argv);
    kanuvo::QtSystem system;
    system.SetLockPath(QString::fromLocal8Bit(argv[1]));
    std::puts(system.AnotherCopyRuns() ? "refused" : "locked");
    std::fflush(stdout);
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
