// SPDX-License-Identifier: MIT
// The yardstick for the tool's start-up: an empty QMainWindow, built and run as the tool is.
#include <QApplication>
#include <QMainWindow>

#include "shell/ui/FirstPaint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    trelvik::shell::exitAfterFirstPaintWhenAsked(window);
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
