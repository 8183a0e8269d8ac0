// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "link/CameraConnection.h"
#include "shell/WindowTool.h"
#include "sim/SimDiskSystem.h"

namespace trelvik::testing {

// One command of the simulated camera's log in a few letters: "R3E" and "W3E=02" for the
// register commands, the command's name and its argument byte for the other signed ones
// ("QZFMTCA 00"), "clock-read" and "clock-write"; "!" marks a transfer that failed.
inline std::string trafficItem(const sim::CommandRecord& record) {
    char item[32];
    const auto& cdb = record.cdb;
    const std::string name =
        cdb.size() >= 10 && cdb[0] == 0xFC ? std::string(cdb.begin() + 2, cdb.begin() + 9) : "";
    if (name == "QZGETDB")
        std::snprintf(item, sizeof item, "R%02X", cdb[9]);
    else if (name == "QZSETDB")
        std::snprintf(item, sizeof item, "W%02X=%02X", cdb[9], cdb[10]);
    else if (!name.empty())
        std::snprintf(item, sizeof item, "%s %02X", name.c_str(), cdb[9]);
    else
        std::snprintf(item, sizeof item, "%s", cdb.at(0) == 0xFE ? "clock-read" : "clock-write");
    return std::string(item) + (record.ok ? "" : "!");
}

// The window started beside the sample files, on the simulated camera in this process,
// connected to it as the window's connection would be.
struct CameraWindow {
    WindowTool tool;
    sim::SimDiskSystem camera;
    link::CameraConnection connection{camera, camera.ids(), link::CameraConnection::Opening::Explicit};

    explicit CameraWindow(std::initializer_list<const char*> files = {"mass_cmd.ini"},
                          const std::function<void(std::string&)>& editFirstFile = nullptr,
                          const std::string& stateFile = {})
        : camera(stateFile.empty() ? sim::SimDiskSystem() : sim::SimDiskSystem(stateFile, {})) {
        started = tool.startWith(files, editFirstFile);
        setConnected(true);
    }
    bool started = false;

    // Not connected: every request fails at once, without a transfer.
    void setConnected(bool connected) {
        if (connected)
            (void)connection.open();
        else
            connection.close();
    }
    // Sets registers (code -> value), then anything else of the camera's state.
    void set(const std::map<int, int>& registers,
             const std::function<void(sim::CameraState&)>& more = nullptr) {
        camera.update([&](sim::CameraState& state) {
            for (const auto& [code, value] : registers)
                state.registers[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(value);
            if (more) more(state);
        });
    }
    int reg(int code) { return camera.state()->registers[static_cast<std::size_t>(code)]; }
    // The camera's traffic since the last call, items separated by blanks.
    std::string traffic() {
        std::string text;
        for (const sim::CommandRecord& record : camera.commandLog())
            text += (text.empty() ? "" : " ") + trafficItem(record);
        camera.clearCommandLog();
        return text;
    }
    // Clicks each button in turn and returns the traffic of the clicks.
    std::string click(std::initializer_list<std::string> buttons) {
        traffic();
        for (const std::string& name : buttons) {
            auto* button = find<QPushButton>(name);
            if (!button) return "no button " + name;
            button->click();
        }
        return traffic();
    }
    template <typename W> W* find(const std::string& name) {
        return tool.find<W>(QString::fromStdString(name));
    }
};

} // namespace trelvik::testing
