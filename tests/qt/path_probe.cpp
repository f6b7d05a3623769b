// SPDX-License-Identifier: MIT
// Prints the folder the program finds itself in, byte for byte, so a test can copy it anywhere.
#include <QGuiApplication>

#include <cstdio>

#include "platform/qt/qt_system.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const std::string path = kanuvo::QtSystem().ProgramFolder();
    std::fwrite(path.data(), 1, path.size(), stdout);
    return 0;
}
