// SPDX-License-Identifier: MIT
// Load, Save and Reset, export and import of profiles on the real window with every action
// bound, against the simulated camera's traffic and the recorded boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <functional>
#include <sstream>
#include <string>

#include "debuglog/DebugLog.h"
#include "platform/Native.h"
#include "settings/ProfileDump.h"
#include "shell/CameraWindow.h"
#include "shell/ui/WindowActions.h"
#include "shell/ui/WindowConnection.h"
#include "sim/SimDeviceWatch.h"
#include "support/Files.h"
#include "support/RunProgram.h"

namespace trelvik::settings {
namespace {

using testing::CameraWindow;

// A profile's dialogs answered from a script, keeping what they showed.
struct ScriptedDialogs : ProfileDialogs {
    QString path;                       // chosen in either file dialog; "" cancels
    std::optional<bool> answer = false; // the preview's: with the identity or not; nullopt cancels
    QString suggested;
    std::optional<ImportPreview> preview;
    std::optional<ImportReportView> report;
    QString exportPath(QWidget&, const QString& name) override { return suggested = name, path; }
    QString importPath(QWidget&) override { return path; }
    std::optional<bool> confirmImport(QWidget&, const ImportPreview& shown) override {
        preview = shown;
        return answer;
    }
    void showReport(QWidget&, const ImportReportView& shown) override { report = shown; }
};

struct Tool : CameraWindow {
    ScriptedDialogs dialogs;
    std::unique_ptr<shell::WindowActions> actions;
    explicit Tool(bool settingsTool = false, const std::function<void(std::string&)>& edit = nullptr,
                  const std::string& stateFile = {})
        : CameraWindow(settingsTool ? std::initializer_list<const char*>{"Camera_Setting.ini",
                                                                         "Camera_Setting_UNICODE_msg.ini"}
                                    : std::initializer_list<const char*>{"mass_cmd.ini"},
                       edit, stateFile) {
        EXPECT_TRUE(started);
        actions = std::make_unique<shell::WindowActions>(
            tool.form, shell::WindowActionServices{tool.table(),
                                                   tool.state,
                                                   tool.reporter,
                                                   *tool.codec,
                                                   connection,
                                                   {},
                                                   &QDateTime::currentDateTime,
                                                   &dialogs});
    }
    // Imports the profile `path` names, answering the preview with `answer`.
    std::string import(const std::string& path, std::optional<bool> answer = false) {
        dialogs.path = QString::fromStdString(path);
        dialogs.answer = answer;
        dialogs.report.reset();
        return click({"TntButton_Import_Settings"});
    }
    std::string load() { return click({"TntButton_Load_Camera_Settings"}); }
    std::string save() { return click({"TntButton_Save_Camera_Settings"}); }
    std::string caption() { return tool.form.windowTitle().toStdString(); }
};

// The register codes of the traffic's register commands, in order: "R01 W02=05" -> {1, 2}.
std::vector<int> codesOf(const std::string& traffic, char kind) {
    std::vector<int> codes;
    std::istringstream items(traffic);
    for (std::string item; items >> item;)
        if (item[0] == kind && item.size() >= 3 && std::isxdigit(static_cast<unsigned char>(item[1])))
            codes.push_back(std::stoi(item.substr(1, 2), nullptr, 16));
    return codes;
}

std::vector<int> everyRegisterFrom(int first) {
    std::vector<int> codes;
    for (int code = first; code <= 0x68; ++code)
        if (code < 0x24 || code > 0x26) codes.push_back(code);
    return codes;
}

TEST(AllSettings, TheSettingsToolLoadsAndSavesItsPageInOrder) {
    Tool tool(true);
    EXPECT_EQ(tool.load(), "QZGETCA 00 QZGETVS 00 R32 R31 R41 R38 R68 R39 R42 R43 R40 R1E R45 R46 R47 R48");
    EXPECT_EQ(tool.caption(), "Trelvik - camera settings - Firmware:V1.02");
    const auto before = tool.camera.state()->registers;
    const std::string saved = tool.save();
    EXPECT_EQ(codesOf(saved, 'W'), (std::vector<int>{0x32, 0x31, 0x41, 0x38, 0x68, 0x39, 0x42, 0x43, 0x40,
                                                     0x1E, 0x45, 0x46, 0x47, 0x48}));
    EXPECT_EQ(saved.find("QZSSVFL"), std::string::npos);
    // What was loaded goes back unchanged.
    EXPECT_EQ(tool.camera.state()->registers, before);
    EXPECT_TRUE(tool.find<QTabWidget>("TntPageControl1")->isEnabled());
}

TEST(AllSettings, TheFullToolLoadsEveryRegisterAndSavesItBackUnchanged) {
    Tool tool;
    tool.set({{0x4F, 0x01}, {0x50, 0xFF}, {0x54, 'S'}, {0x55, 0}, {0x39, 0x85}, {0x42, 0x2C}, {0x43, 0x01}});
    const std::string loaded = tool.load();
    EXPECT_EQ(loaded.substr(0, 47), "QZGETCA 00 QZGETVS 00 QZGETMD 00 QZGETMK 00 R00");
    std::vector<int> reads = {0x00, 0x32, 0x31};
    for (int code : everyRegisterFrom(0x01))
        reads.push_back(code);
    EXPECT_EQ(codesOf(loaded, 'R'), reads);
    EXPECT_EQ(tool.caption(), "Trelvik - trail camera configuration - Firmware Version:V1.02, Model ID:" +
                                  tool.camera.state()->model + ", Make ID:" + tool.camera.state()->make);

    // With TRELVIK_SCREENSHOT_DIR, the register pages as the Load left them.
    if (const QString shots = qEnvironmentVariable("TRELVIK_SCREENSHOT_DIR"); !shots.isEmpty()) {
        tool.tool.form.show();
        for (const char* page : {"TabSheet_DSC_DV", "TabSheet_Hunter_Cam"}) {
            tool.find<QTabWidget>("TntPageControl1")->setCurrentWidget(tool.find<QWidget>(page));
            QApplication::processEvents();
            tool.tool.form.grab().save(shots + "/loaded-" + page + ".png");
        }
    }
    const auto before = tool.camera.state()->registers;
    const std::string saved = tool.save();
    EXPECT_EQ(saved.substr(0, 17), "QZSSVFL 00 W00=00");
    EXPECT_EQ(saved.substr(saved.size() - 17), "QZSSVFL 01 W00=00");
    std::vector<int> writes = {0x00};
    for (int code : everyRegisterFrom(0x01))
        writes.push_back(code);
    writes.push_back(0x00);
    EXPECT_EQ(codesOf(saved, 'W'), writes);
    EXPECT_EQ(tool.camera.state()->registers, before);
}

TEST(AllSettings, WhatALoadCouldNotReadIsNotSaved) {
    Tool tool(false, [](std::string& file) { file.erase(file.find("Title="), 38); });
    tool.set({}, [](sim::CameraState& s) {
        s.unsupported.insert(0x43);
        s.faults.fail = {"QZGETMD", "QZGETMK"};
    });
    tool.load();
    EXPECT_EQ(tool.caption(), " - Firmware Version:V1.02, Model ID:Unknown, Make ID:Unknown");
    const std::vector<int> written = codesOf(tool.save(), 'W');
    EXPECT_EQ(std::count(written.begin(), written.end(), 0x42) +
                  std::count(written.begin(), written.end(), 0x43),
              0);
    EXPECT_EQ(std::count(written.begin(), written.end(), 0x24), 0);
}

TEST(AllSettings, ResetAsksWritesTheFactoryCommandAndLoadsAfterSuccess) {
    using i18n::BoxIcon;
    const struct Case {
        const char* what;
        bool settingsTool;
        int answer;
        bool refused;        // the camera answers "not supported"
        const char* traffic; // up to the first command of the reload
        std::vector<BoxIcon> icons;
        std::u16string lastText;
    } cases[] = {
        {"full: No sends nothing",
         false,
         i18n::kAnswerNo,
         false,
         "",
         {BoxIcon::Question},
         u"This will reset all settings to factory defaults.\n\nAre you sure?"},
        {"full: Yes resets and reloads",
         false,
         i18n::kAnswerYes,
         false,
         "W00=FF QZGETCA 00",
         {BoxIcon::Question, BoxIcon::Information},
         u"All settings have been reset to defaults successfully."},
        {"full: a refused reset is reported and not reloaded",
         false,
         i18n::kAnswerYes,
         true,
         "W00=FF",
         {BoxIcon::Question, BoxIcon::Error},
         u"It is fail to reset all settings to defaults!"},
        {"settings: a box closed without an answer sends nothing",
         true,
         i18n::kAnswerOk,
         false,
         "",
         {BoxIcon::Question},
         u""},
        {"settings: Yes resets and reloads",
         true,
         i18n::kAnswerYes,
         false,
         "W00=FF QZGETCA 00",
         {BoxIcon::Question, BoxIcon::Information},
         u""},
    };
    for (const Case& c : cases) {
        Tool tool(c.settingsTool);
        if (c.refused) tool.set({}, [](sim::CameraState& s) { s.unsupported.insert(0x00); });
        tool.tool.presenter.scriptAnswers({c.answer});
        const std::string traffic = tool.click({"TntButton_Reset_Settings"});
        EXPECT_EQ(traffic.substr(0, std::string(c.traffic).size()), c.traffic) << c.what;
        // The reload reads the settings anew.
        const bool reloads = !c.refused && c.answer == i18n::kAnswerYes;
        EXPECT_EQ(codesOf(traffic, 'R').size(), !reloads ? 0u : c.settingsTool ? 14u : 104u) << c.what;
        std::vector<BoxIcon> icons;
        for (const auto& box : tool.tool.presenter.requests())
            icons.push_back(box.icon);
        EXPECT_EQ(icons, c.icons) << c.what;
        const auto& last = tool.tool.presenter.last();
        EXPECT_EQ(last.title, c.settingsTool ? tool.tool.catalog.GetMsgText(285) : u"Reset Settings")
            << c.what;
        const int lastMsg = icons.size() == 1 ? 286 : icons.back() == BoxIcon::Error ? 288 : 287;
        EXPECT_EQ(last.text, c.settingsTool ? tool.tool.reporter.buildMsgText(lastMsg, {}) : c.lastText)
            << c.what;
    }
}

// A click on Load, Save or Reset while a Load runs is passed over: Save must not write what
// the Load has not read yet.
TEST(AllSettings, AClickDuringALoadIsIgnored) {
    Tool tool;
    debuglog::DebugCapture debug;
    tool.tool.form.winId();
    QMimeData profile;
    profile.setUrls({QUrl::fromLocalFile(tool.tool.dir.filePath("mass_cmd.ini"))});
    QObject::connect(tool.find<QPushButton>("Button_CFG_RESOLUTION_MODE_R"), &QPushButton::clicked, [&] {
        tool.find<QPushButton>("TntButton_Save_Camera_Settings")->click();
        tool.find<QPushButton>("TntButton_Reset_Settings")->click();
        // A file dragged over the pages and dropped, as the window system delivers it.
        QDragEnterEvent enter(QPoint(500, 400), Qt::CopyAction, &profile, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(500, 400), Qt::CopyAction, &profile, Qt::LeftButton, Qt::NoModifier);
        for (QEvent* event : std::initializer_list<QEvent*>{&enter, &drop})
            QApplication::sendEvent(tool.tool.form.windowHandle(), event);
        QApplication::processEvents();
    });
    const std::string loaded = tool.load();
    EXPECT_TRUE(codesOf(loaded, 'W').empty());
    EXPECT_TRUE(tool.tool.presenter.requests().empty());
    std::vector<std::string> ignored;
    for (const std::string& line : debug.lines())
        if (line.find("ignored") != std::string::npos) ignored.push_back(line);
    EXPECT_EQ(ignored,
              (std::vector<std::string>{"QZ::Save Camera Settings ignored: a Load or Save is still running",
                                        "QZ::Reset Settings ignored: a Load or Save is still running",
                                        "QZ::Import Settings ignored: a Load or Save is still running"}));
}

// Save's writes in the full tool: the debug setting, every register in order, the debug setting.
std::vector<int> saveOrder() {
    std::vector<int> writes = everyRegisterFrom(0x01);
    writes.insert(writes.begin(), 0x00);
    writes.push_back(0x00);
    return writes;
}

// A profile exported from one camera's window, checked by the command line and imported into
// another camera's window: the second holds every register of the first, written as Save writes.
TEST(AllSettings, AProfileExportedFromOneCameraImportsIntoAnother) {
    testing::TempDir dir;
    const std::string profile = (dir / "a.ini").string();
    Tool a(false, nullptr, (dir / "a.json").string()), b(false, nullptr, (dir / "b.json").string());
    a.set({{0x01, 1}, {0x39, 0x85}, {0x42, 0x2C}, {0x43, 0x01}, {0x54, 'S'}, {0x55, 0x01}});
    a.dialogs.path = QString::fromStdString(profile);
    EXPECT_EQ(codesOf(a.click({"TntButton_Export_Settings"}), 'W'), std::vector<int>{});
    EXPECT_EQ(a.dialogs.suggested.toStdString(),
              "TRELVIK SIMCAM TC-20_" + QDate::currentDate().toString(Qt::ISODate).toStdString() + ".ini");
    const std::string table = "--table=" TRELVIK_DATA_DIR "/mass_cmd.ini";
    const auto cli = [&](const std::vector<std::string>& args) {
        EXPECT_EQ(testing::runAndWait(TRELVIK_CLI, args, dir / "out", dir / "err"), 0) << args[0];
        return testing::readText(dir / "out");
    };
    cli({"check", table, profile});

    const std::string imported = b.import(profile, true);
    EXPECT_EQ(a.camera.state()->registers, b.camera.state()->registers);
    EXPECT_EQ(codesOf(imported, 'W'), saveOrder());
    const std::string writes = imported.substr(imported.find(" QZSSVFL 00 W"));
    EXPECT_EQ(writes.substr(writes.find(" QZSSVFL 01"), 18), " QZSSVFL 01 W00=00");
    EXPECT_EQ(b.dialogs.report->summary.toStdString().substr(0, 31), "87 settings: 87 verified, 0 wri");
    // The report's JSON is the command line's for the same import.
    EXPECT_EQ(
        b.dialogs.report->json.toStdString(),
        cli({"apply", table, "--include-identity", "--simulate=" + (dir / "c.json").string(), profile}));
}

// Faults and bad input of an import, each with the traffic it may cause and what the user is told.
TEST(AllSettings, AnImportChecksFirstAndReportsEveryFault) {
    enum class Sent { Nothing, ReadsOnly, SaveOrder, CutShort };
    Tool tool;
    testing::TempDir dir;
    const std::string good =
        dumpText(dumpCamera(tool.connection, tool.tool.table(), "2025-05-01"), tool.tool.table());
    std::string utf16 = "\xFF\xFE";
    for (char c : good)
        utf16 += std::string{c, '\0'};
    const auto edited = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    int registers = 0; // what the preview reads
    for (const SettingRow* row : profileRows(tool.tool.table()))
        registers += row->width;
    std::vector<int> settingsOrder; // Save's writes without the camera's identity
    for (int code : saveOrder())
        if (!isPerCamera(*rowOfRegister(code))) settingsOrder.push_back(code);
    const std::string refused = "cannot be imported, so nothing was sent to the camera:\n\n";
    const struct Case {
        const char* what;
        std::optional<std::string> file; // none: the open dialog is cancelled
        std::function<void(sim::CameraState&)> fault;
        std::optional<bool> answer;
        Sent sent;
        std::string said; // in the box or the report's summary
    } cases[] = {
        {"open dialog cancelled", std::nullopt, nullptr, false, Sent::Nothing, ""},
        {"preview cancelled", good, nullptr, std::nullopt, Sent::ReadsOnly, ""},
        {"UTF-16 with a byte-order mark", utf16, nullptr, false, Sent::SaveOrder, "77 settings: 77 verified"},
        {"unsupported register", good, [](sim::CameraState& s) { s.unsupported.insert(0x3E); }, false,
         Sent::SaveOrder, "77 settings: 76 verified, 0 written, 0 mismatch, 0 failed, 1 not supported"},
        {"wrong echo", good, [](sim::CameraState& s) { s.faults.wrongEcho.insert(0x01); }, false,
         Sent::SaveOrder, "77 settings: 76 verified, 0 written, 0 mismatch, 1 failed"},
        {"camera pulled out", good, [&](sim::CameraState& s) { s.faults.unplugAfter = registers + 30; },
         false, Sent::CutShort, "The camera went away during the import. Registers written: 0x00 0x01"},
        {"another command file's profile", edited("RESOLUTION_MODE=", "TURBO_MODE="), nullptr, false,
         Sent::Nothing, refused + "line 12: unknown setting \"TURBO_MODE\""},
        {"0xFF into DEBUG_SETTING", edited("DEBUG_SETTING=0", "DEBUG_SETTING=0xFF"), nullptr, false,
         Sent::Nothing, refused + "line 11: DEBUG_SETTING: 255 in register 0x00 resets the camera"},
        {"binary",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\xFF\n",
                     12),
         nullptr, false, Sent::Nothing, refused + "line 1: the line is not UTF-8 text"},
        {"empty", "", nullptr, false, Sent::Nothing, refused + "the profile holds no settings"},
        {"UTF-16 without a byte-order mark", utf16.substr(2), nullptr, false, Sent::Nothing,
         refused + "line 2: not a NAME=value line"},
        {"too large", std::string(kMaxProfileBytes + 1, ';'), nullptr, false, Sent::Nothing,
         "is larger than 1 MiB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tool.tool.presenter.clear();
        tool.set({}, [&](sim::CameraState& s) {
            s = sim::factoryState();
            if (c.fault) c.fault(s);
        });
        testing::writeText(dir / "p.ini", c.file.value_or(""));
        const std::string traffic = tool.import(c.file ? (dir / "p.ini").string() : "", c.answer);
        // Up to the reload that follows a report.
        const std::vector<int> writes = codesOf(traffic.substr(0, traffic.find(" QZGETCA")), 'W');
        if (c.sent == Sent::Nothing) EXPECT_EQ(traffic, "");
        if (c.sent == Sent::ReadsOnly) EXPECT_TRUE(writes.empty() && !traffic.empty());
        if (c.sent == Sent::SaveOrder) EXPECT_EQ(writes, settingsOrder);
        if (c.sent == Sent::CutShort)
            EXPECT_TRUE(writes.size() < settingsOrder.size() &&
                        std::equal(writes.begin(), writes.end(), settingsOrder.begin()));
        const auto& boxes = tool.tool.presenter;
        const std::string said = tool.dialogs.report ? tool.dialogs.report->summary.toStdString()
                                 : boxes.count() ? QString::fromStdU16String(boxes.last().text).toStdString()
                                                 : "";
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        if (c.sent != Sent::CutShort) continue;
        // Importing again once the camera is back completes the job.
        tool.set({}, [](sim::CameraState& s) { s.plugged = true; });
        tool.setConnected(true);
        tool.import((dir / "p.ini").string());
        EXPECT_EQ(tool.dialogs.report->summary.toStdString().substr(0, 24), "77 settings: 77 verified");
    }
    // An export whose save dialog is cancelled only reads; one that can read nothing offers nothing.
    tool.import("");
    EXPECT_TRUE(codesOf(tool.click({"TntButton_Export_Settings"}), 'W').empty());
    tool.setConnected(false);
    tool.dialogs.suggested.clear();
    tool.click({"TntButton_Export_Settings"});
    EXPECT_EQ(tool.dialogs.suggested, "");
    EXPECT_EQ(tool.tool.presenter.last().text,
              u"The camera could not be read, so there is nothing to export.");
}

// The whole tool connected by the camera's arrival: its Load runs, the camera is pulled out
// part-way, the rest of the settings show as failed and the window as not connected.
TEST(AllSettings, ACameraPulledOutDuringTheLoadOfAConnection) {
    CameraWindow window;
    sim::SimDeviceWatch watch(window.camera);
    const auto windows = platform::makeNativeProgramWindows();
    shell::ConnectionServices services{window.camera,
                                       window.camera.ids(),
                                       window.tool.state,
                                       window.tool.reporter,
                                       window.tool.catalog,
                                       *window.tool.codec,
                                       &watch};
    shell::WindowConnection connection(window.tool.form, services, *windows, window.tool.state, '/');
    shell::WindowActions actions(window.tool.form, {window.tool.table(),
                                                    window.tool.state,
                                                    window.tool.reporter,
                                                    *window.tool.codec,
                                                    connection.connection().camera(),
                                                    {}});
    window.set({}, [](sim::CameraState& s) { s.faults.unplugAfter = 30; });
    connection.startUp();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !window.camera.state()->plugged && window.tool.form.windowColour() == 0xD8E9EC; },
        3000));
    EXPECT_FALSE(connection.connection().connectionActive());
    EXPECT_EQ(window.tool.form.windowColour(), 0xD8E9ECu);
    EXPECT_FALSE(window.find<QComboBox>("TntComboBox_CFG_AVI_OVERLAPPED_BLOCKS")->isEnabled());
    EXPECT_TRUE(window.find<QTabWidget>("TntPageControl1")->isEnabled());
}

} // namespace
} // namespace trelvik::settings
