// SPDX-License-Identifier: MIT
// The main of every test that needs a QApplication: offscreen unless the build names the
// platform (xcb for the tests of what the X server shows), in the tool's own style, whose flat
// fills the colour checks sample.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

#ifndef TRELVIK_QT_PLATFORM
#define TRELVIK_QT_PLATFORM "offscreen"
#endif

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", TRELVIK_QT_PLATFORM);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
