// SPDX-License-Identifier: MIT
// The floor the game's start-up is measured against: a Qt Widgets window that shows itself and does nothing.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(650, 650);
    window.show();
    return application.exec();
}
