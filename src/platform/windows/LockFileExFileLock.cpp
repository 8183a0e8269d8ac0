// SPDX-License-Identifier: MIT
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/FileLock.h"
#include "platform/PlainFile.h"
#include "platform/windows/Win32Error.h"

namespace trelvik::platform {

namespace {

class LockFileExFileLock final : public FileLock {
public:
    explicit LockFileExFileLock(HANDLE file) : m_file(file) {}
    ~LockFileExFileLock() override {
        OVERLAPPED whole{};
        UnlockFileEx(m_file, 0, MAXDWORD, MAXDWORD, &whole);
        CloseHandle(m_file);
    }
    LockFileExFileLock(const LockFileExFileLock&) = delete;
    LockFileExFileLock& operator=(const LockFileExFileLock&) = delete;

private:
    HANDLE m_file;
};

} // namespace

std::unique_ptr<FileLock> lockFileExclusive(const std::string& path, std::string& error) {
    // A link planted in place of the lock file is opened as itself, not followed, and refused.
    const std::wstring wide = filesystemPath(path).wstring();
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_ALWAYS,
                              kFlags, nullptr);
    // LockFileEx needs read access only: a lock file that exists in a folder this user may not
    // write still locks, so reading a camera there keeps working, as it does on Linux.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        file = CreateFileW(wide.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, kFlags, nullptr);
        if (file == INVALID_HANDLE_VALUE) SetLastError(ERROR_ACCESS_DENIED);
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open lock file " + path + ": " + systemErrorText(GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        error = "cannot use lock file " + path + ": it is not a regular file";
        CloseHandle(file);
        return nullptr;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        error = "cannot lock " + path + ": " + systemErrorText(GetLastError());
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<LockFileExFileLock>(file);
}

} // namespace trelvik::platform
