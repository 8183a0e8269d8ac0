// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
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
    QComboBox* list = new QComboBox;
    QDateTimeEdit* picker = new QDateTimeEdit(QDate(2026, 6, 15));
    TrackBarFollowsMouse follows{&window};

    Window() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* widget :
             {static_cast<QWidget*>(bar), static_cast<QWidget*>(other), static_cast<QWidget*>(edit),
              static_cast<QWidget*>(list), static_cast<QWidget*>(picker)})
            layout->addWidget(widget);
        list->addItems({"Normal", "Debug log", "Other"});
        list->setCurrentIndex(1);
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

// What one wheel notch towards the user changes, by the control focused and the one under the
// mouse: only the focused list or picker, or the focused bar wherever the wheel lands.
TEST_F(TrackBarFollowsMouseTest, AListOrPickerTakesTheWheelOnlyWithTheFocus) {
    const char* const names[] = {"bar", "edit", "list", "picker"};
    std::string seen;
    for (int focused = 0; focused < 4; ++focused)
        for (int under = 0; under < 4; ++under) {
            Window w;
            QWidget* controls[] = {w.bar, w.edit, w.list, w.picker};
            controls[focused]->setFocus();
            turnWheel(controls[under], 120);
            seen += std::string(names[focused]) + "/" + names[under] + ":" +
                    (w.bar->value() != 5 ? " bar" : "") + (w.list->currentIndex() != 1 ? " list" : "") +
                    (w.picker->date() != QDate(2026, 6, 15) ? " picker" : "") + "\n";
        }
    EXPECT_EQ(seen, "bar/bar: bar\nbar/edit: bar\nbar/list: bar\nbar/picker: bar\n"
                    "edit/bar:\nedit/edit:\nedit/list:\nedit/picker:\n"
                    "list/bar:\nlist/edit:\nlist/list: list\nlist/picker:\n"
                    "picker/bar:\npicker/edit:\npicker/list:\npicker/picker: picker\n");
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
