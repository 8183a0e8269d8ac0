// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QCursor>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "shell/CameraWindow.h"
#include "utilities/ui/IdentityActions.h"
#include "utilities/ui/MediaActions.h"
#include "utilities/ui/RegisterConsole.h"

namespace trelvik::testing {

// Command files of the two tool modes, as the window finds them beside it.
inline const std::initializer_list<const char*> kFullTool = {"mass_cmd.ini"};
inline const std::initializer_list<const char*> kSettingsTool = {"Camera_Setting.ini",
                                                                 "Camera_Setting_UNICODE_msg.ini"};

// Notes the cursor at each request that reaches the camera, "wait" or "-": the hourglass is
// to be seen exactly while a format runs.
class CursorLog {
public:
    void note(const platform::ScsiRequest& request) {
        const QCursor* cursor = QApplication::overrideCursor();
        const bool waiting = cursor && cursor->shape() == Qt::WaitCursor;
        const std::string name = request.cdb.size() >= 9 && request.cdb[0] == 0xFC
                                     ? std::string(request.cdb.begin() + 2, request.cdb.begin() + 9)
                                     : "clock";
        m_text += (m_text.empty() ? "" : " ") + name + (waiting ? ":wait" : ":-");
    }
    std::string take() { return std::exchange(m_text, {}); }

private:
    std::string m_text;
};

class CursorNotingDisk final : public platform::Disk {
public:
    CursorNotingDisk(platform::Disk& inner, CursorLog& log) : m_inner(inner), m_log(log) {}
    bool send(const platform::ScsiRequest& request) override {
        m_log.note(request);
        return m_inner.send(request);
    }

private:
    platform::Disk& m_inner;
    CursorLog& m_log;
};

// The camera's drives for the probe, each request noted.
class CursorNotingDisks final : public platform::DiskSystem {
public:
    CursorNotingDisks(platform::DiskSystem& inner, CursorLog& log) : m_inner(inner), m_log(log) {}
    std::vector<platform::DriveEntry> drives() override { return m_inner.drives(); }
    std::vector<platform::UsbDeviceNode> usbDevices() override { return m_inner.usbDevices(); }
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override {
        struct Owning final : platform::Disk {
            std::unique_ptr<platform::Disk> inner;
            CursorNotingDisk noting;
            Owning(std::unique_ptr<platform::Disk> disk, CursorLog& log)
                : inner(std::move(disk)), noting(*inner, log) {}
            bool send(const platform::ScsiRequest& request) override { return noting.send(request); }
        };
        auto disk = m_inner.open(openPath, errorCode);
        if (!disk) return nullptr;
        return std::make_unique<Owning>(std::move(disk), m_log);
    }

private:
    platform::DiskSystem& m_inner;
    CursorLog& m_log;
};

inline const char* iconName(i18n::BoxIcon icon) {
    switch (icon) {
    case i18n::BoxIcon::Error:
        return "error";
    case i18n::BoxIcon::Question:
        return "question";
    case i18n::BoxIcon::Warning:
        return "warning";
    case i18n::BoxIcon::Information:
        return "information";
    }
    return "?";
}

inline const char* buttonsName(i18n::BoxButtons buttons) {
    switch (buttons) {
    case i18n::BoxButtons::Ok:
        return "OK";
    case i18n::BoxButtons::OkCancel:
        return "OK/Cancel";
    case i18n::BoxButtons::YesNo:
        return "Yes/No";
    }
    return "?";
}

// One box as a line: icon, title in brackets (empty: the default), text, buttons.
// Example: question [Format?] Are you sure to format the "Memory Card" medium? Yes/No
inline std::string boxLine(const i18n::BoxRequest& box) {
    return std::string(iconName(box.icon)) + " [" + QString::fromStdU16String(box.title).toStdString() +
           "] " + QString::fromStdU16String(box.text).toStdString() + " " + buttonsName(box.buttons) + "\n";
}

// A box of the settings tool by its message numbers: `caption` 0 for ShowMsgById.
struct MsgBox {
    int text;
    int caption;
    unsigned flags;
    const char* name = nullptr; // the "%s" argument, when the message takes one
};

// The window of either tool mode on the simulated camera, with every utility button live. The
// utilities reach the camera's open disk and probe its drives through cursor-noting wrappers.
struct UtilityWindow : CameraWindow {
    CursorLog cursors;
    std::unique_ptr<CursorNotingDisk> handle;
    CursorNotingDisks probeDisks;
    utilities::UtilityServices services;
    utilities::MediaActions media;
    utilities::IdentityActions identity;
    utilities::RegisterConsole console;

    explicit UtilityWindow(std::initializer_list<const char*> files = kFullTool)
        : CameraWindow(files), handle(std::make_unique<CursorNotingDisk>(*disk, cursors)),
          probeDisks(camera, cursors), services{tool.reporter, *tool.codec, tool.state,
                                                [this]() -> platform::Disk* {
                                                    return connected ? handle.get() : nullptr;
                                                },
                                                probeDisks},
          media(tool.form, services), identity(tool.form, services), console(tool.form, services) {}

    // The user's answers to the next boxes, in order.
    void answer(const std::vector<int>& answers) {
        for (int answer : answers)
            tool.presenter.scriptAnswers({answer});
    }

    bool settingsTool() const { return tool.state.ToolMode == cmdtable::ToolMode::Settings; }

    // The boxes shown since the last call, one line each; the script of answers is dropped.
    std::string boxes() {
        std::string lines;
        for (const i18n::BoxRequest& box : tool.presenter.requests())
            lines += boxLine(box);
        tool.presenter.clear();
        return lines;
    }

    // Clicks the buttons, then gives their traffic, a line feed and the boxes they showed.
    std::string clickAndSee(std::initializer_list<std::string> buttons) {
        const std::string traffic = click(buttons);
        return traffic + "\n" + boxes();
    }

    // The lines that boxes() gives for these settings-tool boxes, with the texts of the
    // message file the window loaded.
    std::string expected(const std::vector<MsgBox>& msgs) {
        std::string lines;
        for (const MsgBox& msg : msgs) {
            i18n::BoxRequest box;
            std::vector<i18n::MsgArg> args;
            if (msg.name) args.emplace_back(tool.codec->toWide(msg.name));
            box.text = tool.reporter.buildMsgText(msg.text, args);
            box.title = tool.catalog.GetMsgText(msg.caption ? msg.caption : i18n::kMsgShowTitle);
            i18n::cutText(box.title, msg.caption ? i18n::kMaxAskTitleLength : i18n::kMaxShowTitleLength);
            box.icon = i18n::askIcon(msg.flags);
            box.buttons = i18n::askButtons(msg.flags);
            lines += boxLine(box);
        }
        return lines;
    }
};

} // namespace trelvik::testing
