// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>

#include <functional>
#include <string>

#include "shell/CameraWindow.h"
#include "utilities/ui/ClockPanel.h"

namespace trelvik::utilities {
namespace {

// The clock fields as a person sees them: "PC red '05/03/2019 14:07:09' | camera black ''".
std::string clockSeen(testing::CameraWindow& window) {
    const auto field = [&](const char* name) {
        auto* edit = window.find<QLineEdit>(name);
        const bool red = edit->palette().color(QPalette::Text) == QColor(0xFF, 0, 0);
        return std::string(red ? "red '" : "black '") + edit->text().toStdString() + "'";
    };
    return "PC " + field("TntEditPCTime") + " | camera " + field("TntEditDSCTime");
}

struct ClockRig : testing::CameraWindow {
    ClockLocale locale{
        "/", ":", [](int h, int m, int s) { return QTime(h, m, s).toString("h:mm:ss AP").toStdString(); }};
    ClockPanel clock{tool.form, connection, locale,
                     [] { return QDateTime(QDate(2019, 3, 5), QTime(14, 7, 9)); }};
    ClockRig() {
        // The camera's clock stands still at 2020-01-02 03:04:05 unless a test sets it.
        set({}, [](sim::CameraState& s) { s.clock = std::array<std::uint8_t, 6>{20, 1, 2, 3, 4, 5}; });
    }
    void pick(const char* list, int index) {
        auto* box = find<QComboBox>(list);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

TEST(ClockPanel, TicksShowBothClocksInTheChosenFormats) {
    const struct Step {
        const char* what;
        std::function<void(ClockRig&)> act;
        std::string traffic, seen;
    } steps[] = {
        {"a tick", [](ClockRig& r) { r.clock.Timer1Timer(); }, "clock-read",
         "PC red '05/03/2019 14:07:09' | camera red '02/01/2020 03:04:05'"},
        {"year first: the fields wait for the tick",
         [](ClockRig& r) { r.pick("TntComboBox_Date_Format", 1); }, "",
         "PC red '05/03/2019 14:07:09' | camera red '02/01/2020 03:04:05'"},
        {"12h at the next tick",
         [](ClockRig& r) { r.pick("TntComboBox_Time_Format", 1), r.clock.Timer1Timer(); }, "clock-read",
         "PC red '2019/03/05 2:07:09 PM' | camera red '2020/01/02 3:04:05 AM'"},
        {"a camera that does not answer shows the PC's time in black",
         [](ClockRig& r) {
             r.set({}, [](auto& s) { s.faults.fail = {"clock-read"}; });
             r.clock.Timer1Timer();
         },
         "clock-read!", "PC red '2019/03/05 2:07:09 PM' | camera black '2019/03/05 2:07:09 PM'"},
        {"assigning the PC's time empties the camera field at once",
         [](ClockRig& r) {
             r.set({}, [](auto& s) { s.faults.fail = {}; });
             r.find<QPushButton>("TntButtonSetPCTime")->click();
         },
         "clock-write", "PC red '2019/03/05 2:07:09 PM' | camera black ''"},
        {"the next tick shows what was written", [](ClockRig& r) { r.clock.Timer1Timer(); }, "clock-read",
         "PC red '2019/03/05 2:07:09 PM' | camera red '2019/03/05 2:07:09 PM'"},
        {"a custom time from the two pickers",
         [](ClockRig& r) {
             r.find<QDateEdit>("DateTimePicker1")->setDate(QDate(2031, 12, 24));
             r.find<QTimeEdit>("DateTimePicker2")->setTime(QTime(23, 59, 58));
             r.find<QPushButton>("TntButtonSetCustomTime")->click();
             r.pick("TntComboBox_Time_Format", 0);
             r.clock.Timer1Timer();
         },
         "clock-write clock-read", "PC red '2019/03/05 14:07:09' | camera red '2031/12/24 23:59:58'"},
        {"a camera clock that is no date",
         [](ClockRig& r) {
             r.set({}, [](auto& s) { s.clock = std::array<std::uint8_t, 6>{19, 0, 5, 25, 7, 9}; });
             r.clock.Timer1Timer();
         },
         "clock-read", "PC red '2019/03/05 14:07:09' | camera red 'Invalid: 2019-00-05 25:07:09'"},
        {"no camera: a tick reads nothing", [](ClockRig& r) { r.setConnected(false), r.clock.Timer1Timer(); },
         "", "PC red '2019/03/05 14:07:09' | camera black '2019/03/05 14:07:09'"},
    };
    ClockRig rig;
    for (const Step& step : steps) {
        rig.traffic();
        step.act(rig);
        EXPECT_EQ(rig.traffic(), step.traffic) << step.what;
        EXPECT_EQ(clockSeen(rig), step.seen) << step.what;
    }
}

TEST(ClockPanel, PickersFollowTheFormatsAndKeepToTheCamerasYears) {
    ClockRig rig;
    auto* date = rig.find<QDateEdit>("DateTimePicker1");
    auto* time = rig.find<QTimeEdit>("DateTimePicker2");
    const struct {
        const char* list;
        int index;
        QString dateFormat, timeFormat;
    } cases[] = {
        {"TntComboBox_Date_Format", 1, "yyyy/MM/dd", "HH:mm:ss"},
        {"TntComboBox_Time_Format", 1, "yyyy/MM/dd", "AP hh:mm:ss"},
        {"TntComboBox_Date_Format", 2, "MM/dd/yyyy", "AP hh:mm:ss"},
        {"TntComboBox_Date_Format", 0, "dd/MM/yyyy", "AP hh:mm:ss"},
    };
    for (const auto& c : cases) {
        rig.pick(c.list, c.index);
        EXPECT_EQ(date->displayFormat() + " " + time->displayFormat(), c.dateFormat + " " + c.timeFormat);
    }
    date->setDate(QDate(2200, 1, 1));
    EXPECT_EQ(date->date().year(), 2127);
    date->setDate(QDate(1999, 1, 1));
    EXPECT_EQ(date->date().year(), 2000);
}

} // namespace
} // namespace trelvik::utilities
