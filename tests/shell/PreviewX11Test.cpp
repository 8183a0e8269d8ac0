// SPDX-License-Identifier: MIT
// The preview launcher on a real X11 display (Xvfb when there is none), with a stand-in
// preview program that records how it was started and when it was asked to close.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "debuglog/DebugLog.h"
#include "platform/Native.h"
#include "shell/Preview.h"
#include "support/Files.h"

using namespace trelvik;
using shell::PreviewOutcome;
using namespace std::chrono_literals;

namespace {

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

int countLinesStartingWith(const std::filesystem::path& log, const std::string& start) {
    int count = 0;
    for (const std::string& line : trelvik::testing::readLines(log))
        count += line.rfind(start, 0) == 0 ? 1 : 0;
    return count;
}

// A folder whose name a shell would split and run: the launcher must hand it over whole.
struct PreviewFolder {
    trelvik::testing::TempDir temp{"trelvik-preview"};
    std::filesystem::path dir = temp.path() / "my tools; touch started-by-a-shell";
    std::filesystem::path log = dir / "preview-log.txt";
    shell::AppState state;

    PreviewFolder() {
        std::filesystem::create_directories(dir);
        std::filesystem::copy_file(TRELVIK_FAKE_SKALDOR, dir / shell::kPreviewProgramName);
        state.ModuleDir = dir.string();
    }
};

// The test's own connection, to put a window over the preview and to read the stacking.
struct Display {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Display() { xcb_disconnect(c); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

    xcb_window_t coverAll() {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 800, 600, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(c, window);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return window;
    }

    // Position among the root's children, bottom first; -1 when not one of them.
    int stackIndex(xcb_window_t window) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root()), nullptr);
        int found = -1;
        if (tree != nullptr) {
            const xcb_window_t* children = xcb_query_tree_children(tree);
            for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
                if (children[i] == window) found = i;
        }
        std::free(tree);
        return found;
    }
};

// Whether the process has ended: gone, or a zombie nobody has reaped yet.
bool ended(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string text;
    if (!std::getline(stat, text)) return true;
    const auto close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z';
}

TEST(PreviewOnX11, StartsOnceRaisesAndCloses) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run through with-display.sh";
    // Held from the start: an X server resets when its last client leaves, and the
    // launcher's short connections would otherwise leave the preview program starting
    // against a server that is just resetting.
    Display display;
    PreviewFolder folder;
    const auto windows = platform::makeNativeProgramWindows();
    shell::PreviewLauncher launcher(*windows, folder.state, '/');
    const std::string prefix = "usb:v2E7Ap0102 \"cam\" $(id)";

    ASSERT_EQ(launcher.ClosePreviewProgram(), PreviewOutcome::NoWindow);
    ASSERT_EQ(launcher.ShowPreviewProgram(prefix), PreviewOutcome::Started);
    platform::FoundWindow preview;
    ASSERT_TRUE(waitFor([&] {
        preview = windows->findWindow(shell::kPreviewWindowClass, shell::kPreviewWindowTitle);
        return preview.lookup == platform::WindowLookup::Found;
    })) << "lookup "
        << static_cast<int>(preview.lookup) << ", the program wrote:\n"
        << trelvik::testing::readText(folder.log);
    const auto lines = trelvik::testing::readLines(folder.log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(" args=1"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "arg=" + prefix);
    EXPECT_FALSE(std::filesystem::exists("started-by-a-shell"));
    EXPECT_FALSE(std::filesystem::exists(folder.temp.path() / "started-by-a-shell"));

    const xcb_window_t cover = display.coverAll();
    ASSERT_GT(display.stackIndex(cover), display.stackIndex(static_cast<xcb_window_t>(preview.window)));
    EXPECT_EQ(launcher.ShowPreviewProgram(prefix), PreviewOutcome::Raised);
    EXPECT_GT(display.stackIndex(static_cast<xcb_window_t>(preview.window)), display.stackIndex(cover));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(countLinesStartingWith(folder.log, "start "), 1);

    const auto at = lines[0].find("pid=") + 4;
    const std::string pid = lines[0].substr(at, lines[0].find(' ', at) - at);
    EXPECT_EQ(launcher.ClosePreviewProgram(), PreviewOutcome::Closed);
    EXPECT_TRUE(waitFor([&] { return countLinesStartingWith(folder.log, "closed") == 1; }));
    EXPECT_TRUE(waitFor([&] {
        return windows->findWindow(shell::kPreviewWindowClass, shell::kPreviewWindowTitle).lookup ==
               platform::WindowLookup::NotFound;
    }));
    EXPECT_TRUE(waitFor([&] { return ended(pid); })) << "pid " << pid;
    EXPECT_EQ(launcher.ClosePreviewProgram(), PreviewOutcome::NoWindow);
}

TEST(PreviewOnX11, AMissingProgramIsAFailedStartAndNothingMore) {
    trelvik::testing::TempDir empty{"trelvik-preview"};
    shell::AppState state;
    state.ModuleDir = empty.path().string();
    const auto windows = platform::makeNativeProgramWindows();
    shell::PreviewLauncher launcher(*windows, state, '/');
    debuglog::DebugCapture capture;
    EXPECT_EQ(launcher.ShowPreviewProgram("usb"), PreviewOutcome::StartFailed);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("No such file or directory"), std::string::npos) << capture.lines()[0];
}

// Restores DISPLAY as it was when the test changed it.
class DisplayVariable {
public:
    DisplayVariable() {
        if (const char* value = std::getenv("DISPLAY")) m_saved = value;
    }
    ~DisplayVariable() {
        if (m_saved)
            setenv("DISPLAY", m_saved->c_str(), 1);
        else
            unsetenv("DISPLAY");
    }

private:
    std::optional<std::string> m_saved;
};

TEST(PreviewOnX11, WithoutADisplayOnlyADebugLineIsWritten) {
    const struct {
        const char* display; // nullptr: unset
        const char* says;
    } rows[] = {
        {nullptr, "QZ::no X11 display (DISPLAY is not set)"},
        {"", "QZ::no X11 display (DISPLAY is not set)"},
        {":4711", "QZ::cannot reach the X11 display :4711"},
    };
    for (const auto& row : rows) {
        DisplayVariable restore;
        if (row.display != nullptr)
            setenv("DISPLAY", row.display, 1);
        else
            unsetenv("DISPLAY");
        PreviewFolder folder;
        const auto windows = platform::makeNativeProgramWindows();
        shell::PreviewLauncher launcher(*windows, folder.state, '/');
        debuglog::DebugCapture capture;
        EXPECT_EQ(launcher.ShowPreviewProgram("usb"), PreviewOutcome::NoDisplay);
        EXPECT_EQ(launcher.ClosePreviewProgram(), PreviewOutcome::NoDisplay);
        ASSERT_EQ(capture.lines().size(), 2u);
        EXPECT_EQ(capture.lines()[0].rfind(row.says, 0), 0u) << capture.lines()[0];
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(std::filesystem::exists(folder.log)) << "nothing may be started";
    }
}

} // namespace
