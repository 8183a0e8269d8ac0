// SPDX-License-Identifier: MIT
// What Windows tells the tool's window about volumes, sent by hand, and the language Windows
// gives programs: for checking the Windows build under Wine, where no USB device comes or goes.
//   DeviceNews arrival|removal TITLE UNITMASK   a volume record to the window whose title holds TITLE
//   DeviceNews close TITLE                      asks that window to close, as its close button does
//   DeviceNews language                         the system's LANGID, as 0x0407
// Exit status 0 when sent (or printed), 2 when no such window, 1 on any other failure.
#include <windows.h>
// windows.h first: dbt.h relies on its types.
#include <dbt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Search {
    const char* title;
    HWND found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char title[512];
    if (!IsWindowVisible(window) || GetWindowTextA(window, title, sizeof title) <= 0) return TRUE;
    if (!std::strstr(title, search->title)) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "language") == 0) {
        std::printf("0x%04X\n", static_cast<unsigned>(GetSystemDefaultLangID()));
        return 0;
    }
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    const bool arrival = argc == 4 && std::strcmp(argv[1], "arrival") == 0;
    if (!close && (argc != 4 || (!arrival && std::strcmp(argv[1], "removal") != 0))) {
        std::fprintf(stderr, "usage: DeviceNews arrival|removal TITLE UNITMASK | close TITLE | language\n");
        return 1;
    }
    Search search{argv[2], nullptr};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        std::fprintf(stderr, "DeviceNews: no window titled \"%s\"\n", argv[2]);
        return 2;
    }
    if (close) return PostMessageA(search.found, WM_CLOSE, 0, 0) ? 0 : 1;
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 0));
    // The record is a pointer: only a sent message carries it to another process, as the system
    // does when it broadcasts; posting it is refused.
    DWORD_PTR answer = 0;
    const WPARAM what = arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    if (!SendMessageTimeoutA(search.found, WM_DEVICECHANGE, what, reinterpret_cast<LPARAM>(&volume),
                             SMTO_ABORTIFHUNG, 10000, &answer)) {
        std::fprintf(stderr, "DeviceNews: sending failed, error %lu\n", GetLastError());
        return 1;
    }
    std::printf("sent %s of unit mask 0x%lX, answer %lu\n", arrival ? "arrival" : "removal",
                volume.dbcv_unitmask, static_cast<unsigned long>(answer));
    return 0;
}
