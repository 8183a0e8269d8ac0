// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "shell/Preview.h"
#include "support/CaseName.h"

using namespace trelvik;
using platform::WindowLookup;
using shell::PreviewOutcome;

namespace {

// Records what the launcher asks of the system, and answers as the row says.
class ScriptedWindows : public platform::ProgramWindows {
public:
    ScriptedWindows(WindowLookup lookup, bool startWorks, std::string suffix)
        : m_lookup(lookup), m_startWorks(startWorks), m_suffix(std::move(suffix)) {}

    platform::FoundWindow findWindow(std::string_view windowClass, std::string_view title) override {
        calls.push_back("find " + std::string(windowClass) + "|" + std::string(title));
        return {m_lookup, m_lookup == WindowLookup::Found ? platform::WindowId{0x42} : 0};
    }
    void showNormal(platform::WindowId window) override { calls.push_back("show " + std::to_string(window)); }
    void requestClose(platform::WindowId window) override {
        calls.push_back("close " + std::to_string(window));
    }
    bool startProgram(const std::string& path, const std::vector<std::string>& arguments) override {
        std::string call = "start [" + path + "]";
        for (const auto& argument : arguments)
            call += " [" + argument + "]";
        calls.push_back(call);
        return m_startWorks;
    }
    std::string executableSuffix() const override { return m_suffix; }

    std::vector<std::string> calls;

private:
    WindowLookup m_lookup;
    bool m_startWorks;
    std::string m_suffix;
};

const std::string kFind = "find Skaldor_Class|Skaldor";

struct ShowRow {
    const char* name;
    WindowLookup lookup;
    bool startWorks;
    std::string moduleDir;
    char separator;
    std::string suffix;
    std::string prefix;
    PreviewOutcome outcome;
    std::string after;
};

std::string dirOfLength(std::size_t length) {
    return "/" + std::string(length - 1, 'd');
}

// Every row asks for the preview window first; `after` is what follows, calls split by "; ".
const std::vector<ShowRow> kShowRows = {
    {"running preview is shown, not started again", WindowLookup::Found, true, "/opt/t", '/', "", "usb:v2E7A",
     PreviewOutcome::Raised, "show 66"},
    {"absent preview is started beside the tool", WindowLookup::NotFound, true, "/opt/t", '/', "",
     "usb:v2E7A", PreviewOutcome::Started, "start [/opt/t/Skaldor] [usb:v2E7A]"},
    {"a failed start is only an outcome", WindowLookup::NotFound, false, "/opt/t", '/', "", "usb:v2E7A",
     PreviewOutcome::StartFailed, "start [/opt/t/Skaldor] [usb:v2E7A]"},
    {"no display: nothing but the look", WindowLookup::NoDisplay, true, "/opt/t", '/', "", "usb:v2E7A",
     PreviewOutcome::NoDisplay, ""},
    {"Windows names the file with its suffix", WindowLookup::NotFound, true, "C:\\Program Files\\Trelvik",
     '\\', ".exe", "USB#VID_2E7A", PreviewOutcome::Started,
     "start [C:\\Program Files\\Trelvik\\Skaldor.exe] [USB#VID_2E7A]"},
    {"blanks and shell words stay inside one argument", WindowLookup::NotFound, true, "/tmp/a b; touch x",
     '/', "", "cam \"1\" $(id)", PreviewOutcome::Started,
     "start [/tmp/a b; touch x/Skaldor] [cam \"1\" $(id)]"},
    {"empty prefix is still handed over", WindowLookup::NotFound, true, "/opt/t", '/', "", "",
     PreviewOutcome::Started, "start [/opt/t/Skaldor] []"},
    // "/ddd.../Skaldor" is the folder plus 8 characters; the blank and two quotes add 3.
    {"command line of 263 characters starts", WindowLookup::NotFound, true, dirOfLength(252), '/', "", "",
     PreviewOutcome::Started, "start [" + dirOfLength(252) + "/Skaldor] []"},
    {"command line of 264 characters does not", WindowLookup::NotFound, true, dirOfLength(252), '/', "", "x",
     PreviewOutcome::TooLong, ""},
    {"too long is judged only when starting", WindowLookup::Found, true, dirOfLength(400), '/', "", "x",
     PreviewOutcome::Raised, "show 66"},
};

class ShowPreview : public ::testing::TestWithParam<ShowRow> {};

TEST_P(ShowPreview, AsksTheSystemInOrder) {
    const ShowRow& row = GetParam();
    ScriptedWindows windows(row.lookup, row.startWorks, row.suffix);
    shell::AppState state;
    state.ModuleDir = row.moduleDir;
    shell::PreviewLauncher launcher(windows, state, row.separator);
    EXPECT_EQ(launcher.ShowPreviewProgram(row.prefix), row.outcome);
    ASSERT_FALSE(windows.calls.empty());
    EXPECT_EQ(windows.calls[0], kFind);
    std::string after;
    for (std::size_t i = 1; i < windows.calls.size(); ++i)
        after += (i > 1 ? "; " : "") + windows.calls[i];
    EXPECT_EQ(after, row.after);
}

INSTANTIATE_TEST_SUITE_P(Rows, ShowPreview, ::testing::ValuesIn(kShowRows), trelvik::testing::namedCases());

struct CloseRow {
    WindowLookup lookup;
    PreviewOutcome outcome;
    std::vector<std::string> calls;
};

TEST(ClosePreview, PostsTheCloseRequestOnlyToAWindowThatIsThere) {
    const CloseRow rows[] = {
        {WindowLookup::Found, PreviewOutcome::Closed, {kFind, "close 66"}},
        {WindowLookup::NotFound, PreviewOutcome::NoWindow, {kFind}},
        {WindowLookup::NoDisplay, PreviewOutcome::NoDisplay, {kFind}},
    };
    for (const CloseRow& row : rows) {
        ScriptedWindows windows(row.lookup, true, "");
        shell::AppState state;
        shell::PreviewLauncher launcher(windows, state, '/');
        EXPECT_EQ(launcher.ClosePreviewProgram(), row.outcome);
        EXPECT_EQ(windows.calls, row.calls);
    }
}

TEST(ShowPreview, ReadsTheToolsFolderWhenCalledNotWhenMade) {
    ScriptedWindows windows(WindowLookup::NotFound, true, "");
    shell::AppState state;
    shell::PreviewLauncher launcher(windows, state, '/');
    state.ModuleDir = "/usr/lib/trelvik";
    launcher.ShowPreviewProgram("usb:v2E7A");
    EXPECT_EQ(windows.calls.back(), "start [/usr/lib/trelvik/Skaldor] [usb:v2E7A]");
}

TEST(ShowPreview, ATooLongCommandLineLeavesADebugLine) {
    debuglog::DebugCapture capture;
    ScriptedWindows windows(WindowLookup::NotFound, true, "");
    shell::AppState state;
    state.ModuleDir = dirOfLength(300);
    shell::PreviewLauncher launcher(windows, state, '/');
    EXPECT_EQ(launcher.ShowPreviewProgram("usb"), PreviewOutcome::TooLong);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("QZ::the preview program's command line is too long (314 characters)"),
              std::string::npos);
}

TEST(PreviewCommandLine, IsPathBlankAndQuotedPrefix) {
    EXPECT_EQ(shell::PreviewCommandLine("C:\\T\\Skaldor.exe", "USB#VID"), "C:\\T\\Skaldor.exe \"USB#VID\"");
    EXPECT_EQ(shell::PreviewProgramPath("/opt/t", '/', ""), "/opt/t/Skaldor");
}

} // namespace
