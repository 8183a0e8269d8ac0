// SPDX-License-Identifier: MIT
// A stand-in for the preview program, for tests only: it opens a window with the preview
// program's class and title, writes what it was started with to "preview-log.txt" beside
// itself, and ends when its window is asked to close.
#include <unistd.h>
#include <xcb/xcb.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string logPath() {
    char exe[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string path(exe, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + "preview-log.txt";
}

void log(const std::string& line) {
    std::ofstream(logPath(), std::ios::app) << line << '\n';
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
}

void setText(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type, const char* text,
             std::size_t length) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                        static_cast<std::uint32_t>(length), text);
}

} // namespace

int main(int argc, char** argv) {
    log("start pid=" + std::to_string(::getpid()) + " args=" + std::to_string(argc - 1));
    for (int i = 1; i < argc; ++i)
        log(std::string("arg=") + argv[i]);

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        log("no display");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 10, 10, 320, 240, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &events);
    static const char wmClass[] = "skaldor\0Skaldor_Class";
    setText(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass, sizeof wmClass);
    setText(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Skaldor", 7);
    setText(c, window, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), "Skaldor", 7);
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1, &deleteWindow);
    xcb_map_window(c, window);
    xcb_flush(c);

    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool closing =
            (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
            reinterpret_cast<xcb_client_message_event_t*>(event)->type == protocols &&
            reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[0] == deleteWindow;
        std::free(event);
        if (closing) {
            log("closed");
            xcb_destroy_window(c, window);
            xcb_disconnect(c);
            return 0;
        }
    }
    log("display gone");
    xcb_disconnect(c);
    return 1;
}
