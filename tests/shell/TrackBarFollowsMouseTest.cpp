// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "shell/ui/TrackBarFollowsMouse.h"

using trelvik::shell::TrackBarFollowsMouse;

namespace {

int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};

struct Window {
    QWidget window;
    QSlider* bar = new QSlider(Qt::Horizontal);
    QSlider* other = new QSlider(Qt::Horizontal);
    QLineEdit* edit = new QLineEdit;
    TrackBarFollowsMouse follows{&window};

    Window() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* widget :
             {static_cast<QWidget*>(bar), static_cast<QWidget*>(other), static_cast<QWidget*>(edit)})
            layout->addWidget(widget);
        for (QSlider* slider : {bar, other}) {
            slider->setRange(0, 10);
            slider->setValue(5);
        }
        window.show();
    }
};

// One wheel message aimed at `target`, as Qt delivers it; true when someone took it.
bool turnWheel(QWidget* target, int distance) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, distance), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.setAccepted(false);
    QApplication::sendEvent(target, &wheel);
    return wheel.isAccepted();
}

class TrackBarFollowsMouseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);
    }
};

TEST_F(TrackBarFollowsMouseTest, WheelMovesTheFocusedBarOneStepAMessage) {
    const struct {
        int start;
        int distance;
        int expected;
    } rows[] = {{5, -120, 6}, {5, 120, 4}, {5, -360, 6}, {10, -120, 10}, {0, 120, 0}, {5, 0, 5}};
    Window w;
    w.bar->setFocus();
    for (const auto& row : rows) {
        w.bar->setValue(row.start);
        turnWheel(w.bar, row.distance);
        EXPECT_EQ(w.bar->value(), row.expected) << row.start << " " << row.distance;
    }
}

TEST_F(TrackBarFollowsMouseTest, TheFocusedBarMovesWhereverTheWheelLands) {
    Window w;
    w.bar->setFocus();
    turnWheel(w.other, -120);
    EXPECT_EQ(w.bar->value(), 6);
    EXPECT_EQ(w.other->value(), 5);
}

TEST_F(TrackBarFollowsMouseTest, ABarWithoutTheFocusIgnoresTheWheelWhileAnEditHasIt) {
    Window w;
    w.edit->setFocus();
    turnWheel(w.bar, -120);
    turnWheel(w.edit, -120);
    EXPECT_EQ(w.bar->value(), 5);
    EXPECT_EQ(w.other->value(), 5);
}

TEST_F(TrackBarFollowsMouseTest, ValueChangeIsSignalledAsForAnyMove) {
    Window w;
    w.bar->setFocus();
    int seen = -1;
    QObject::connect(w.bar, &QSlider::valueChanged, [&seen](int value) { seen = value; });
    turnWheel(w.bar, 120);
    EXPECT_EQ(seen, 4);
}

TEST_F(TrackBarFollowsMouseTest, TheBarUnderTheRestingMouseTakesTheFocus) {
    Window w;
    w.edit->setFocus();
    w.follows.AppIdleHandler(w.edit);
    EXPECT_EQ(w.window.focusWidget(), w.edit);
    w.follows.AppIdleHandler(w.other);
    EXPECT_EQ(w.window.focusWidget(), w.other);
    w.follows.AppIdleHandler(nullptr);
    EXPECT_EQ(w.window.focusWidget(), w.other);
}

TEST_F(TrackBarFollowsMouseTest, AnotherWindowsBarIsLeftAlone) {
    Window w;
    QSlider stranger;
    stranger.setRange(0, 10);
    stranger.setValue(5);
    stranger.show();
    w.edit->setFocus();
    w.follows.AppIdleHandler(&stranger);
    EXPECT_EQ(w.window.focusWidget(), w.edit);
    stranger.setFocus();
    turnWheel(&stranger, -120);
    EXPECT_EQ(w.bar->value(), 5);
}

} // namespace
