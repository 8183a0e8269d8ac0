// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "platform/PlainFile.h"
#include "platform/windows/Win32Error.h"

namespace trelvik::platform {

namespace {

// Paths arrive as narrow text in the ANSI code page, as the other narrow calls take them.
// (std::filesystem::path's own conversion maps bytes as the C runtime's "C" locale does, which
// is not the code page: 0x80-0x9F, the euro and the dashes among them, came out wrong.)
std::wstring widePath(const std::string& path) {
    if (path.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
    return wide;
}

std::string reasonOf(DWORD code) {
    return systemErrorText(code);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool close() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

// Opened with FILE_FLAG_OPEN_REPARSE_POINT, a symbolic link or junction is the handle itself,
// so its attributes tell us whether we were about to follow one.
bool isPlain(HANDLE file, std::string& reason) {
    if (GetFileType(file) != FILE_TYPE_DISK) {
        reason = "it is not a regular file";
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        reason = reasonOf(GetLastError());
        return false;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        reason = "it is a link, which is not followed";
        return false;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        reason = "it is not a regular file";
        return false;
    }
    return true;
}

bool writeAll(HANDLE file, const std::string& text, std::string& reason) {
    std::size_t done = 0;
    while (done < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 30));
        DWORD wrote = 0;
        if (!WriteFile(file, text.data() + done, chunk, &wrote, nullptr)) {
            reason = reasonOf(GetLastError());
            return false;
        }
        done += wrote;
    }
    return true;
}

} // namespace

std::filesystem::path filesystemPath(const std::string& narrow) {
    return std::filesystem::path(widePath(narrow));
}

std::string narrowPath(const std::filesystem::path& path) {
    const std::wstring wide = path.wstring();
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size,
                            nullptr, nullptr);
    return narrow;
}

bool inspectPath(const std::string& path, FileKind& kind, std::string& reason) {
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            kind = FileKind::Missing;
            return true;
        }
        reason = reasonOf(code);
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        kind = FileKind::Link;
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        kind = FileKind::Directory;
    else if (attributes & FILE_ATTRIBUTE_DEVICE)
        kind = FileKind::Device;
    else
        kind = FileKind::Regular;
    return true;
}

bool readPlainFile(const std::string& path, std::size_t limit, std::string& content, std::string& reason) {
    Handle file(CreateFileW(widePath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) {
        reason = reasonOf(GetLastError());
        return false;
    }
    if (!isPlain(file.get(), reason)) return false;
    content.clear();
    char buffer[64 * 1024];
    while (content.size() < limit) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(sizeof buffer, limit - content.size()));
        if (!ReadFile(file.get(), buffer, want, &got, nullptr)) {
            reason = reasonOf(GetLastError());
            return false;
        }
        if (got == 0) break;
        content.append(buffer, got);
    }
    return true;
}

bool replacePlainFile(const std::string& path, const std::string& content, std::string& reason) {
    // CREATE_NEW never opens what is already there, a planted link included.
    std::string temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE && error == ERROR_FILE_EXISTS;
         ++attempt) {
        temporary = platform::temporaryNameBeside(path);
        created = CreateFileW(widePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (created == INVALID_HANDLE_VALUE) error = GetLastError();
    }
    if (created == INVALID_HANDLE_VALUE) {
        reason = reasonOf(error);
        return false;
    }
    Handle file(created);
    bool fine = writeAll(file.get(), content, reason);
    if (!file.close() && fine) {
        reason = reasonOf(GetLastError());
        fine = false;
    }
    if (fine && !MoveFileExW(widePath(temporary).c_str(), widePath(path).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        reason = reasonOf(GetLastError());
        fine = false;
    }
    if (!fine) DeleteFileW(widePath(temporary).c_str());
    return fine;
}

bool appendToPlainFile(const std::string& path, const std::string& text, std::string& reason) {
    Handle file(CreateFileW(widePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                            nullptr));
    if (!file.valid()) {
        reason = reasonOf(GetLastError());
        return false;
    }
    if (!isPlain(file.get(), reason)) return false;
    if (!writeAll(file.get(), text, reason)) return false;
    if (!file.close()) {
        reason = reasonOf(GetLastError());
        return false;
    }
    return true;
}

} // namespace trelvik::platform
