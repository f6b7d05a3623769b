// SPDX-License-Identifier: MIT
// The floor the game's start-up is measured against: a Qt Widgets window that shows itself and does nothing.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    // A raster window: on Wayland the toolkit would otherwise load its GL integration to draw a frame
    // (QT_WAYLAND_DISABLE_WINDOWDECORATION=0 in the environment measures that default instead).
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION")) qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(650, 650);
    window.show();
    return application.exec();
}
