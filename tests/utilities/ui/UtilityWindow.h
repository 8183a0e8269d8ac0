// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QCursor>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "shell/CameraWindow.h"
#include "shell/ui/RequestGate.h"
#include "utilities/ui/IdentityActions.h"
#include "utilities/ui/MediaActions.h"
#include "utilities/ui/RegisterConsole.h"

namespace trelvik::testing {

inline const std::initializer_list<const char*> kFullTool = {"mass_cmd.ini"};
inline const std::initializer_list<const char*> kSettingsTool = {"Camera_Setting.ini",
                                                                 "Camera_Setting_UNICODE_msg.ini"};

// The camera's drives, noting for each request whether the hourglass showed: "QZFMTCA:wait".
struct CursorNotingDisks final : platform::DiskSystemDecorator {
    struct Disk final : platform::Disk {
        std::unique_ptr<platform::Disk> inner;
        std::string& noted;
        Disk(std::unique_ptr<platform::Disk> disk, std::string& notes)
            : inner(std::move(disk)), noted(notes) {}
        bool send(const platform::ScsiRequest& request) override {
            const QCursor* cursor = QApplication::overrideCursor();
            noted += std::string(request.cdb.begin() + 2, request.cdb.begin() + 9) +
                     (cursor && cursor->shape() == Qt::WaitCursor ? ":wait " : ":- ");
            return inner->send(request);
        }
    };
    std::string noted;
    explicit CursorNotingDisks(platform::DiskSystem& disks) : DiskSystemDecorator(disks) {}
    std::unique_ptr<platform::Disk> open(const std::string& path, int& errorCode) override {
        auto disk = m_inner.open(path, errorCode);
        return disk ? std::make_unique<Disk>(std::move(disk), noted) : nullptr;
    }
};

// One box as a line. Example: question [Format?] Are you sure to format the "SD" medium? Yes/No
inline std::string boxLine(const i18n::BoxRequest& box) {
    static const char* const icons[] = {"error", "question", "warning", "information"};
    static const char* const buttons[] = {"OK", "OK/Cancel", "Yes/No"};
    return std::string(icons[static_cast<int>(box.icon)]) + " [" +
           QString::fromStdU16String(box.title).toStdString() + "] " +
           QString::fromStdU16String(box.text).toStdString() + " " + buttons[static_cast<int>(box.buttons)] +
           "\n";
}

// A box of the settings tool by its message numbers (`caption` 0: ShowMsgById) and argument.
struct MsgBox {
    int text;
    int caption;
    unsigned flags;
    const char* name = nullptr;
};

// The window of either tool on the simulated camera, every utility button live; the probe
// tries the camera's drives behind the request gate, as in the tool.
struct UtilityWindow : CameraWindow {
    shell::RequestGate gate;
    shell::GatedDiskSystem gated{camera, gate};
    CursorNotingDisks handle{gated};
    link::CameraConnection utilityConnection{handle, camera.ids(), link::CameraConnection::Opening::Explicit};
    utilities::UtilityServices services{tool.reporter, *tool.codec, tool.state, utilityConnection};
    utilities::MediaActions media{tool.form, services};
    utilities::IdentityActions identity{tool.form, services};
    utilities::RegisterConsole console{tool.form, services};

    explicit UtilityWindow(std::initializer_list<const char*> files = kFullTool) : CameraWindow(files) {
        setConnected(true);
    }
    // The utilities' own connection, noted and gated, follows the window's.
    void setConnected(bool connected) {
        CameraWindow::setConnected(connected);
        if (connected)
            (void)utilityConnection.open();
        else
            utilityConnection.close();
    }

    bool settingsTool() const { return tool.state.ToolMode == cmdtable::ToolMode::Settings; }
    void answer(const std::vector<int>& answers) {
        for (int answer : answers)
            tool.presenter.scriptAnswers({answer});
    }
    // Clicks the buttons; their traffic, a line feed and the boxes shown, a line each.
    std::string clickAndSee(std::initializer_list<std::string> buttons) {
        std::string seen = click(buttons) + "\n";
        for (const i18n::BoxRequest& box : tool.presenter.requests())
            seen += boxLine(box);
        tool.presenter.clear();
        return seen;
    }
    // The lines of these settings-tool boxes, with the texts of the message file loaded.
    std::string expected(const std::vector<MsgBox>& msgs) {
        std::string lines;
        for (const MsgBox& msg : msgs) {
            std::vector<i18n::MsgArg> args;
            if (msg.name) args.emplace_back(tool.codec->toWide(msg.name));
            i18n::BoxRequest box{tool.catalog.GetMsgText(msg.caption ? msg.caption : i18n::kMsgShowTitle),
                                 tool.reporter.buildMsgText(msg.text, args), i18n::askIcon(msg.flags),
                                 i18n::askButtons(msg.flags)};
            i18n::cutText(box.title, msg.caption ? i18n::kMaxAskTitleLength : i18n::kMaxShowTitleLength);
            lines += boxLine(box);
        }
        return lines;
    }
};

} // namespace trelvik::testing
