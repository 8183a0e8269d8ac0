// SPDX-License-Identifier: MIT
// The setting handlers on the real window against the simulated camera: what each click sends
// (the camera's command log) and what the control shows after.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/SettingRows.h"
#include "settings/ui/SettingDisplay.h"
#include "settings/ui/WindowSettings.h"
#include "shell/CameraWindow.h"
#include "sim/SimDiskSystem.h"

namespace trelvik::settings {
namespace {

using Bytes = std::map<int, int>; // register code -> value

// The full tool on the simulated camera, its setting buttons live.
struct Rig : testing::CameraWindow {
    std::unique_ptr<WindowSettings> settings;

    explicit Rig(const std::function<void(std::string&)>& editCommandFile = nullptr,
                 const std::string& stateFile = {})
        : CameraWindow({"mass_cmd.ini"}, editCommandFile, stateFile) {
        EXPECT_TRUE(started);
        settings =
            std::make_unique<WindowSettings>(tool.form, tool.table(), connection, tool.form.unitWords());
    }
};

// A list as a person sees it: enabled, the chosen label, background and text colour.
std::string listSeen(QComboBox& list) {
    char colours[32];
    std::snprintf(colours, sizeof colours, " %06X/%06X", listBackground(list), listTextColour(list));
    return std::string(list.isEnabled() ? "on '" : "off '") + list.currentText().toStdString() + "'" +
           colours;
}

// Every list register of the full tool: a read selects the camera's choice on white, a write
// sends the chosen one, one command each.
TEST(ListSettings, EveryListRegisterReadsAndWritesItsOwnCode) {
    Rig rig;
    const cmdtable::MassCmdTable& table = rig.tool.table();
    std::string expected, seen;
    int rows = 0;
    for (const SettingRow& row : settingRows()) {
        if (row.page == Page::Settings || row.kind != SettingKind::List) continue;
        ++rows;
        const auto& items =
            table.entries()[static_cast<std::size_t>(table.MassCmd_CmdIdToCmdIndex(row.code))].items;
        const cmdtable::MassCmdItem& last = items.back();
        rig.set({{row.code, last.value}});
        auto* list = rig.find<QComboBox>(valueControlName(row));
        seen += rig.click({readButtonName(row)});
        seen += " " + listSeen(*list);
        list->setCurrentIndex(0);
        seen += " " + rig.click({writeButtonName(row)});
        seen += " " + std::to_string(rig.reg(row.code)) + "\n";
        char line[160];
        std::snprintf(line, sizeof line, "R%02X on '%s' FFFFFF/000000 W%02X=%02X %d\n", row.code,
                      last.label.c_str(), row.code, items[0].value, items[0].value);
        expected += line;
    }
    EXPECT_EQ(rows, 63);
    EXPECT_EQ(seen, expected);
}

// One list through the states a person can bring it to.
TEST(ListSettings, ShowsEachOutcomeInItsStateAndSendsOnlyWhatItMust) {
    const std::string known = "on 'High' FFFFFF/000000", empty = "on '' FFFFFF/000000";
    const std::string failed = "off '' 0000FF/FFFFFF", refused = "off '' D8E9EC/FFFFFF";
    const struct Case {
        const char* what;
        std::function<void(Rig&)> setup;
        std::initializer_list<std::string> clicks;
        std::string traffic, seen;
        std::string list = "PIR_SENSITIVITY";
    } cases[] = {
        {"the third choice's value selects the third label",
         [](Rig& r) {
             r.set({{0x3E, 2}});
         },
         {"Button_CFG_PIR_SENSITIVITY_R"},
         "R3E",
         known},
        {"a value no choice has leaves the list usable and empty",
         [](Rig& r) {
             r.set({{0x3E, 9}});
         },
         {"Button_CFG_PIR_SENSITIVITY_R"},
         "R3E",
         empty},
        {"W before anything was selected is refused without a transfer",
         [](Rig&) {},
         {"Button_CFG_PIR_SENSITIVITY_W"},
         "",
         refused},
        {"a register the camera does not know",
         [](Rig& r) { r.set({}, [](auto& s) { s.unsupported = {0x3E}; }); },
         {"Button_CFG_PIR_SENSITIVITY_R"},
         "R3E",
         refused},
        {"a failed read, and W after it changes nothing",
         [](Rig& r) { r.set({}, [](auto& s) { s.faults.fail = {"QZGETDB"}; }); },
         {"Button_CFG_PIR_SENSITIVITY_R", "Button_CFG_PIR_SENSITIVITY_W"},
         "R3E!",
         failed},
        {"a write whose echo is wrong failed",
         [](Rig& r) {
             r.set({}, [](auto& s) { s.faults.wrongEcho = {0x3E}; });
             r.find<QComboBox>("TntComboBox_CFG_PIR_SENSITIVITY")->setCurrentIndex(2);
         },
         {"Button_CFG_PIR_SENSITIVITY_W"},
         "W3E=02",
         failed},
        {"no camera: every press that reaches it fails",
         [](Rig& r) { r.setConnected(false); },
         {"Button_CFG_PIR_SENSITIVITY_R", "Button_CFG_PIR_SENSITIVITY_W"},
         "",
         failed},
        {"the camera pulled out between read and write",
         [](Rig& r) {
             r.set({{0x3E, 2}}, [](auto& s) { s.faults.unplugAfter = 1; });
         },
         {"Button_CFG_PIR_SENSITIVITY_R", "Button_CFG_PIR_SENSITIVITY_W"},
         "R3E W3E=02!",
         failed},
        {"the debug setting's W after a failed read turns it refused, without a transfer",
         [](Rig& r) { r.set({}, [](auto& s) { s.faults.fail = {"QZGETDB"}; }); },
         {"Button_CFG_DEBUG_SETTING_R", "Button_CFG_DEBUG_SETTING_W"},
         "R00!",
         refused,
         "DEBUG_SETTING"},
        {"the debug setting writes while disabled when a choice is selected",
         [](Rig& r) {
             auto* list = r.find<QComboBox>("TntComboBox_CFG_DEBUG_SETTING");
             list->setCurrentIndex(1);
             list->setEnabled(false);
         },
         {"Button_CFG_DEBUG_SETTING_W"},
         "W00=01",
         "on 'Debug log' FFFFFF/000000",
         "DEBUG_SETTING"},
    };
    for (const Case& c : cases) {
        Rig rig;
        c.setup(rig);
        EXPECT_EQ(rig.click(c.clicks), c.traffic) << c.what;
        EXPECT_EQ(listSeen(*rig.find<QComboBox>("TntComboBox_CFG_" + c.list)), c.seen) << c.what;
        EXPECT_TRUE(rig.tool.presenter.requests().empty()) << c.what;
    }
}

// A choice worth 256 goes out as its low byte and counts as written; read back, 0 is not 256.
TEST(ListSettings, AChoiceAbove255IsWrittenAsItsLowByte) {
    Rig rig([](std::string& text) {
        const auto at = text.find("0=0:Low", text.find("name=PIR_SENSITIVITY"));
        text.replace(at, 7, "0=256:Low");
    });
    auto* list = rig.find<QComboBox>("TntComboBox_CFG_PIR_SENSITIVITY");
    list->setCurrentIndex(0);
    EXPECT_EQ(rig.click({"Button_CFG_PIR_SENSITIVITY_W", "Button_CFG_PIR_SENSITIVITY_R"}), "W3E=00 R3E");
    EXPECT_EQ(listSeen(*list), "on '' FFFFFF/000000");
}

// A code the command table lacks: the lookup tells the user once per press, a read shows
// nothing chosen, a write is refused without a transfer.
TEST(ListSettings, ACodeMissingFromTheTableIsReportedAndNeverWritten) {
    Rig rig([](std::string& text) { text.replace(text.find("cmd=0x3E"), 8, "cmd=0x7E"); });
    auto* list = rig.find<QComboBox>("TntComboBox_CFG_PIR_SENSITIVITY");
    EXPECT_EQ(rig.click({"Button_CFG_PIR_SENSITIVITY_R"}), "R3E");
    EXPECT_EQ(listSeen(*list), "on '' FFFFFF/000000");
    EXPECT_EQ(rig.click({"Button_CFG_PIR_SENSITIVITY_W"}), "");
    EXPECT_EQ(listSeen(*list), "off '' D8E9EC/FFFFFF");
    EXPECT_EQ(rig.tool.presenter.requests().size(), 3u); // binding, read, write
}

// A number or text setting as a person sees it: "on 30 '30 sec'" (the value label hidden:
// "off 0"), or an edit's "on 'ab'".
std::string valueSeen(Rig& rig, const std::string& name) {
    if (auto* edit = rig.find<QLineEdit>("Edit_CFG_" + name))
        return (edit->isEnabled() ? "on '" : "off '") + edit->text().toStdString() + "'";
    auto* track = rig.find<QSlider>("TrackBar_CFG_" + name);
    auto* label = rig.find<QLabel>("TntLabel_VAL_CFG_" + name);
    std::string seen = (track->isEnabled() ? "on " : "off ") + std::to_string(track->value());
    if (!label->isHidden()) seen += " '" + label->text().toStdString() + "'";
    return seen;
}

void place(Rig& rig, const std::string& name, int position) {
    rig.find<QSlider>("TrackBar_CFG_" + name)->setValue(position);
}
void type(Rig& rig, const std::string& name, const QString& text) {
    rig.find<QLineEdit>("Edit_CFG_" + name)->setText(text);
}
struct ValueCase {
    const char* what;
    const char* name;
    std::function<void(Rig&)> setup;
    std::vector<char> clicks; // 'R' and 'W' on the setting's buttons
    std::string traffic, seen;
    Bytes after = {}; // registers after the clicks
};

void runValueCases(const std::vector<ValueCase>& cases) {
    for (const ValueCase& c : cases) {
        Rig rig;
        c.setup(rig);
        rig.camera.clearCommandLog();
        std::string traffic;
        for (char click : c.clicks) {
            const std::string got =
                rig.click({std::string("Button_CFG_") + c.name + (click == 'R' ? "_R" : "_W")});
            traffic += traffic.empty() || got.empty() ? got : " " + got;
        }
        EXPECT_EQ(traffic, c.traffic) << c.what;
        EXPECT_EQ(valueSeen(rig, c.name), c.seen) << c.what;
        for (const auto& [code, value] : c.after)
            EXPECT_EQ(rig.reg(code), value) << c.what << " register " << code;
    }
}

auto regs(const Bytes& values, const std::function<void(sim::CameraState&)>& more = nullptr) {
    return [=](Rig& rig) { rig.set(values, more); };
}
auto unsupported(std::set<std::uint8_t> codes, const Bytes& values = {}) {
    return regs(values, [=](sim::CameraState& s) { s.unsupported = codes; });
}
auto wrongEcho(std::set<std::uint8_t> codes) {
    return [=](sim::CameraState& s) { s.faults.wrongEcho = codes; };
}

TEST(NumberSettings, ReadWriteAndShowEachEncoding) {
    runValueCases({
        {"a read the camera refuses blanks the track bar, its label hidden though it moved; W sends nothing",
         "AUDIO_PLB_VOLUME",
         [](Rig& r) { place(r, "AUDIO_PLB_VOLUME", 5), unsupported({0x23})(r); },
         {'R', 'W'},
         "R23",
         "off 0"},
        {"a value above the range: the thumb at the end, the label the value; W sends the thumb",
         "AUDIO_PLB_VOLUME",
         regs({{0x23, 200}}),
         {'R'},
         "R23",
         "on 8 '200'"},
        {"W sends the thumb's position",
         "AUDIO_PLB_VOLUME",
         regs({{0x23, 200}}),
         {'R', 'W'},
         "R23 W23=08",
         "on 8 '8'",
         {{0x23, 8}}},
        {"a position above 255 sends its low byte, the label shows it whole",
         "AUDIO_PLB_VOLUME",
         [](Rig& r) {
             auto* track = r.find<QSlider>("TrackBar_CFG_AUDIO_PLB_VOLUME");
             track->setMaximum(300), track->setValue(300);
         },
         {'W'},
         "W23=2C",
         "on 300 '300'"},
        {"the count over three registers",
         "HC_DOWN_COUNT",
         regs({{0x35, 0x10}, {0x36, 0x27}, {0x37, 0}}),
         {'R'},
         "R35 R36 R37",
         "on 10000 '10000'"},
        {"all three are read though the last is refused, which fails the whole",
         "HC_DOWN_COUNT",
         unsupported({0x37}),
         {'R', 'W'},
         "R35 R36 R37",
         "off 0"},
        {"a count beyond the thumb's end is written back as that end",
         "HC_DOWN_COUNT",
         regs({{0x35, 1}, {0x36, 0}, {0x37, 1}}),
         {'R', 'W'},
         "R35 R36 R37 W35=FF W36=FF W37=00",
         "on 65535 '65535'",
         {{0x35, 0xFF}, {0x36, 0xFF}, {0x37, 0}}},
        {"a write failing in the middle stops there and fails the whole",
         "HC_DOWN_COUNT",
         [](Rig& r) { place(r, "HC_DOWN_COUNT", 10000), r.set({}, wrongEcho({0x36})); },
         {'W'},
         "W35=10 W36=27",
         "off 0"},
        {"the camera pulled out in the middle of the count",
         "HC_DOWN_COUNT",
         [](Rig& r) {
             place(r, "HC_DOWN_COUNT", 10000), r.set({}, [](auto& s) { s.faults.unplugAfter = 2; });
         },
         {'W'},
         "W35=10 W36=27 W37=00!",
         "off 0"},
        {"record time in seconds", "AVI_RECORD_TIME", regs({{0x39, 0x1E}}), {'R'}, "R39", "on 30 '30 sec'"},
        {"record time in minutes", "AVI_RECORD_TIME", regs({{0x39, 0x85}}), {'R'}, "R39", "on 64 '5 min'"},
        {"0 minutes sit at 59 and go back as 59 seconds",
         "AVI_RECORD_TIME",
         regs({{0x39, 0x80}}),
         {'R', 'W'},
         "R39 W39=3B",
         "on 59 '59 sec'"},
        {"80 seconds show as a whole minute and go back as one",
         "AVI_RECORD_TIME",
         regs({{0x39, 0x50}}),
         {'R', 'W'},
         "R39 W39=81",
         "on 60 '1 min'"},
        {"position 60 writes one minute",
         "AVI_RECORD_TIME",
         [](Rig& r) { place(r, "AVI_RECORD_TIME", 60); },
         {'W'},
         "W39=81",
         "on 60 '1 min'"},
        {"position 59 writes 59 seconds",
         "AVI_RECORD_TIME",
         [](Rig& r) { place(r, "AVI_RECORD_TIME", 59); },
         {'W'},
         "W39=3B",
         "on 59 '59 sec'"},
        {"an interval of 300 seconds",
         "HC_PIR_INTERVAL",
         regs({{0x42, 0x2C}, {0x43, 0x01}}),
         {'R', 'W'},
         "R42 R43 W42=2C W43=01",
         "on 64 '5 min'"},
        {"90 seconds show a whole minute and go back as 60",
         "HC_PIR_INTERVAL",
         regs({{0x42, 90}, {0x43, 0}}),
         {'R', 'W'},
         "R42 R43 W42=3C W43=00",
         "on 60 '1 min'",
         {{0x42, 60}}},
        {"a failed low byte sends nothing to the high one",
         "HC_PIR_INTERVAL",
         [](Rig& r) { place(r, "HC_PIR_INTERVAL", 64), r.set({}, wrongEcho({0x42})); },
         {'W'},
         "W42=2C",
         "off 5"},
        {"no camera: the read fails without a transfer",
         "HC_PIR_INTERVAL",
         [](Rig& r) { r.setConnected(false); },
         {'R'},
         "",
         "off 5"},
    });
}

TEST(NumberSettings, TheValueLabelFollowsTheThumb) {
    Rig rig;
    // Before any Load the label tells where the command table's range put the thumb.
    EXPECT_EQ(rig.find<QLabel>("TntLabel_VAL_CFG_CONTINUOUS_CAPTURE_COUNT")->text().toStdString(), "1");
    const struct {
        const char* name;
        int position;
        const char* label;
    } cases[] = {
        {"AUDIO_PLB_VOLUME", 7, "7"},       {"HC_DOWN_COUNT", 40000, "40000"},
        {"AVI_RECORD_TIME", 45, "45 sec"},  {"AVI_RECORD_TIME", 64, "5 min"},
        {"HC_PIR_INTERVAL", 119, "60 min"}, {"HC_PIR_INTERVAL", 59, "59 sec"},
        {"TIMER1_START_HOUR_S", 13, "13"},
    };
    for (const auto& c : cases) {
        place(rig, c.name, c.position);
        EXPECT_EQ(rig.find<QLabel>(std::string("TntLabel_VAL_CFG_") + c.name)->text().toStdString(), c.label)
            << c.name;
    }
}

TEST(TextSettings, ReadAndWriteOneCharacterPerRegister) {
    runValueCases({
        {"a read stops at the first register that fails and shows what came",
         "PASSWORD",
         regs({{0x4F, 'a'}, {0x50, 'b'}}, [](auto& s) { s.unsupported = {0x51}; }),
         {'R'},
         "R4F R50 R51",
         "on 'ab'"},
        {"nothing read: disabled and empty", "PASSWORD", unsupported({0x4F}), {'R'}, "R4F", "off ''"},
        {"after a read that stopped part-way a write reaches only the registers read",
         "PASSWORD",
         regs({{0x4F, 'a'}, {0x50, 'b'}, {0x52, 'z'}}, [](auto& s) { s.faults.wrongEcho = {0x51}; }),
         {'R', 'W'},
         "R4F R50 R51 W4F=61 W50=62",
         "on 'ab'",
         {{0x52, 'z'}}},
        {"bytes after a zero byte survive a read and an unchanged write",
         "PASSWORD",
         regs({{0x4F, 'x'}, {0x50, 0}, {0x51, 'y'}, {0x52, 'z'}}),
         {'R', 'W'},
         "R4F R50 R51 R52 W4F=78 W50=00 W51=79 W52=7A",
         "on 'x\u2400yz'",
         {{0x4F, 'x'}, {0x50, 0}, {0x51, 'y'}, {0x52, 'z'}}},
        {"read and written back unchanged, every byte survives",
         "PASSWORD",
         regs({{0x4F, 0x01}, {0x50, 0xFF}, {0x51, 'x'}, {0x52, 0x7F}}),
         {'R', 'W'},
         "R4F R50 R51 R52 W4F=01 W50=FF W51=78 W52=7F",
         "on '\u2401\u00FFx\u2421'",
         {{0x4F, 0x01}, {0x50, 0xFF}, {0x51, 'x'}, {0x52, 0x7F}}},
        {"two characters and two zero bytes",
         "PASSWORD",
         [](Rig& r) { type(r, "PASSWORD", "ab"); },
         {'W'},
         "W4F=61 W50=62 W51=00 W52=00",
         "on 'ab'"},
        {"five characters of a serial number and five zero bytes",
         "SERIAL_NUMBER",
         [](Rig& r) { type(r, "SERIAL_NUMBER", "SN-07"); },
         {'W'},
         "W54=53 W55=4E W56=2D W57=30 W58=37 W59=00 W5A=00 W5B=00 W5C=00 W5D=00",
         "on 'SN-07'"},
        {"a failure at the third register stops there and empties the edit",
         "PASSWORD",
         [](Rig& r) { type(r, "PASSWORD", "abcd"), r.set({}, wrongEcho({0x51})); },
         {'W'},
         "W4F=61 W50=62 W51=63",
         "off ''",
         {{0x4F, 'a'}, {0x50, 'b'}, {0x52, '0'}}},
        {"a disabled edit writes nothing and keeps its text",
         "PASSWORD",
         [](Rig& r) {
             type(r, "PASSWORD", "ab");
             r.find<QLineEdit>("Edit_CFG_PASSWORD")->setEnabled(false);
         },
         {'W'},
         "",
         "off 'ab'"},
    });
}

// The tool on a camera kept in a state file: single reads and writes reach the file.
TEST(WindowSettings, SingleWritesReachTheStateFile) {
    QTemporaryDir dir;
    const std::string stateFile = (dir.path() + "/camera.json").toStdString();
    Rig rig(nullptr, stateFile);
    rig.find<QComboBox>("TntComboBox_CFG_PIR_SENSITIVITY")->setCurrentIndex(0);
    place(rig, "HC_PIR_INTERVAL", 64);
    type(rig, "SERIAL_NUMBER", "CAM-12");
    rig.click({"Button_CFG_PIR_SENSITIVITY_W", "Button_CFG_HC_PIR_INTERVAL_W", "Button_CFG_SERIAL_NUMBER_W"});
    // Another process's view: the file itself.
    sim::SimDiskSystem reader(stateFile, {});
    const auto& registers = reader.state()->registers;
    EXPECT_EQ(std::string(registers.begin() + 0x54, registers.begin() + 0x5E),
              std::string("CAM-12\0\0\0\0", 10));
    EXPECT_EQ(registers[0x3E], 0);
    EXPECT_EQ(registers[0x42] + 256 * registers[0x43], 300);
}

// With TRELVIK_SCREENSHOT=FILE, the Hunter Cam page with every outcome a setting can show:
// a list known, failed and refused, track bars shown and blanked, an edit read.
TEST(WindowSettings, EveryOutcomeIsDistinguishable) {
    Rig rig;
    rig.set({{0x3E, 2}, {0x42, 0x2C}, {0x43, 0x01}, {0x39, 0x85}, {0x38, 3}}, [](sim::CameraState& s) {
        s.unsupported = {0x3D, 0x45};
        s.faults.wrongEcho = {0x3C, 0x46};
    });
    rig.click({"Button_CFG_PIR_SENSITIVITY_R", "Button_CFG_PIR_CENTER_ENABLE_R",
               "Button_CFG_PIR_SIDE_ENABLE_R", "Button_CFG_HC_PIR_INTERVAL_R", "Button_CFG_AVI_RECORD_TIME_R",
               "Button_CFG_CONTINUOUS_CAPTURE_COUNT_R", "Button_CFG_TIMER1_START_HOUR_R",
               "Button_CFG_TIMER1_START_MINUTE_R", "Button_CFG_PASSWORD_R"});
    const std::string known = listSeen(*rig.find<QComboBox>("TntComboBox_CFG_PIR_SENSITIVITY"));
    const std::string failed = listSeen(*rig.find<QComboBox>("TntComboBox_CFG_PIR_CENTER_ENABLE"));
    const std::string refused = listSeen(*rig.find<QComboBox>("TntComboBox_CFG_PIR_SIDE_ENABLE"));
    EXPECT_EQ(known + " | " + failed + " | " + refused,
              "on 'High' FFFFFF/000000 | off '' 0000FF/FFFFFF | off '' D8E9EC/FFFFFF");
    const QString shot = qEnvironmentVariable("TRELVIK_SCREENSHOT");
    if (shot.isEmpty()) return;
    rig.tool.form.show();
    rig.find<QTabWidget>("TntPageControl1")->setCurrentWidget(rig.find<QWidget>("TabSheet_Hunter_Cam"));
    QApplication::processEvents();
    EXPECT_TRUE(rig.tool.form.grab().save(shot));
}

} // namespace
} // namespace trelvik::settings
