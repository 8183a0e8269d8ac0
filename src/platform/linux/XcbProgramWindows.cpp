// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "platform/Native.h"

namespace trelvik::platform {

namespace {

using debuglog::DebugLog;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

// A connection per call: the tool keeps no state about the preview program, and a display
// that went away in between is noticed at the next call rather than held on to.
Connection connectToDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        DebugLog("no X11 display (DISPLAY is not set): the preview window is left alone\n");
        return nullptr;
    }
    Connection connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        DebugLog("cannot reach the X11 display %s: the preview window is left alone\n", display);
        return nullptr;
    }
    return connection;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_get_property_cookie_t askProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type) {
    return xcb_get_property(connection, 0, window, property, type, 0, 4096);
}

// The property's bytes; `present` is false when the window has no such property.
struct PropertyValue {
    bool present = false;
    std::string bytes;
};

PropertyValue takeProperty(xcb_connection_t* connection, xcb_get_property_cookie_t cookie) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE) return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return {true, std::string(data, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())))};
}

// WM_CLASS holds "instance\0class\0"; a window class in the Windows sense is the second half.
std::string classHalf(const std::string& wmClass) {
    const auto end = wmClass.find('\0');
    if (end == std::string::npos) return {};
    std::string name = wmClass.substr(end + 1);
    if (const auto nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
    return name;
}

std::vector<xcb_window_t> childrenOf(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

// The windows that may be a program's top-level window: what a window manager lists as its
// clients, the root's children (no window manager) and their children (a manager that
// reparents into frames without listing its clients).
std::vector<xcb_window_t> candidateWindows(xcb_connection_t* connection) {
    std::vector<xcb_window_t> windows;
    const xcb_atom_t clientList = atom(connection, "_NET_CLIENT_LIST");
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem != 0;
         xcb_screen_next(&screens)) {
        const xcb_window_t root = screens.data->root;
        if (clientList != XCB_ATOM_NONE) {
            const PropertyValue listed =
                takeProperty(connection, askProperty(connection, root, clientList, XCB_ATOM_WINDOW));
            const auto count = listed.bytes.size() / sizeof(xcb_window_t);
            for (std::size_t i = 0; i < count; ++i) {
                xcb_window_t window = 0;
                std::memcpy(&window, listed.bytes.data() + i * sizeof window, sizeof window);
                windows.push_back(window);
            }
        }
        for (const xcb_window_t top : childrenOf(connection, root)) {
            windows.push_back(top);
            for (const xcb_window_t inner : childrenOf(connection, top))
                windows.push_back(inner);
        }
    }
    return windows;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    return tree ? tree->root : xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

void sendClientMessage(xcb_connection_t* connection, xcb_window_t destination, std::uint32_t eventMask,
                       xcb_window_t window, xcb_atom_t type, std::initializer_list<std::uint32_t> data) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::size_t i = 0;
    for (const std::uint32_t word : data)
        event.data.data32[i++] = word;
    xcb_send_event(connection, 0, destination, eventMask, reinterpret_cast<const char*>(&event));
}

// Waits until the server has carried out everything sent so far, so a caller that looks
// right afterwards (from another connection) sees the result.
void roundTrip(xcb_connection_t* connection) {
    const Reply<xcb_get_input_focus_reply_t> ignored(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// What a started program needs of the starting process: nothing. It gets the standard
// streams, no other descriptor (the camera's disk must not stay open in it), and a clean
// signal mask; it is a grandchild whose parent ends at once, so no zombie waits for a reaper
// the tool does not have.
bool spawnDetached(const std::string& path, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        DebugLog("cannot start %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t child = ::fork();
        if (child == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            signal(SIGPIPE, SIG_DFL);
            ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
            ::execv(argv[0], argv.data());
        }
        if (child > 0) ::_exit(0);
        // Only a failed fork or exec gets here; the pipe's closing at exec is the success.
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int error = 0;
    ssize_t got = -1;
    if (middle > 0) {
        int status = 0;
        while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
        }
        do {
            got = ::read(report[0], &error, sizeof error);
        } while (got < 0 && errno == EINTR);
    } else {
        error = errno;
        got = sizeof error;
    }
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        DebugLog("cannot start %s: %s\n", path.c_str(), std::strerror(error));
        return false;
    }
    return true;
}

class XcbProgramWindows final : public ProgramWindows {
public:
    FoundWindow findWindow(std::string_view windowClass, std::string_view title) override {
        const Connection connection = connectToDisplay();
        if (!connection) return {WindowLookup::NoDisplay, 0};
        xcb_connection_t* c = connection.get();
        const std::vector<xcb_window_t> windows = candidateWindows(c);
        std::vector<xcb_get_property_cookie_t> classes;
        for (const xcb_window_t window : windows)
            classes.push_back(askProperty(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING));
        const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
        const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (classHalf(takeProperty(c, classes[i]).bytes) != windowClass) continue;
            PropertyValue name = takeProperty(c, askProperty(c, windows[i], netName, utf8));
            if (!name.present)
                name =
                    takeProperty(c, askProperty(c, windows[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY));
            if (name.bytes == title) {
                // The replies not taken yet are dropped with the connection.
                for (std::size_t rest = i + 1; rest < windows.size(); ++rest)
                    xcb_discard_reply(c, classes[rest].sequence);
                return {WindowLookup::Found, windows[i]};
            }
        }
        return {WindowLookup::NotFound, 0};
    }

    void showNormal(WindowId id) override {
        const Connection connection = connectToDisplay();
        if (!connection) return;
        xcb_connection_t* c = connection.get();
        const auto window = static_cast<xcb_window_t>(id);
        const xcb_window_t root = rootOf(c, window);
        const std::uint32_t toManager =
            XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        // Normal state: mapped (out of the icon), not maximized, active. Without a window
        // manager only the map and the restacking take effect, and they are enough.
        xcb_map_window(c, window);
        sendClientMessage(c, root, toManager, window, atom(c, "_NET_WM_STATE"),
                          {0 /* remove */, atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ"),
                           atom(c, "_NET_WM_STATE_MAXIMIZED_VERT"), 2 /* source: another program */, 0});
        // Source 2 asks as a pager does, which managers honour despite focus-stealing rules.
        sendClientMessage(c, root, toManager, window, atom(c, "_NET_ACTIVE_WINDOW"),
                          {2, XCB_CURRENT_TIME, 0, 0, 0});
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        roundTrip(c);
    }

    void requestClose(WindowId id) override {
        const Connection connection = connectToDisplay();
        if (!connection) return;
        xcb_connection_t* c = connection.get();
        const auto window = static_cast<xcb_window_t>(id);
        sendClientMessage(c, window, XCB_EVENT_MASK_NO_EVENT, window, atom(c, "WM_PROTOCOLS"),
                          {atom(c, "WM_DELETE_WINDOW"), XCB_CURRENT_TIME, 0, 0, 0});
        roundTrip(c);
    }

    bool startProgram(const std::string& path, const std::vector<std::string>& arguments) override {
        return spawnDetached(path, arguments);
    }

    std::string executableSuffix() const override { return {}; }
};

} // namespace

std::unique_ptr<ProgramWindows> makeNativeProgramWindows() {
    return std::make_unique<XcbProgramWindows>();
}

} // namespace trelvik::platform
