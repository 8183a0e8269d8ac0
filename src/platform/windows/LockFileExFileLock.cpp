// SPDX-License-Identifier: MIT
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/FileLock.h"

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
    HANDLE file = CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open lock file " + path + ": error " + std::to_string(GetLastError());
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
        error = "cannot lock " + path + ": error " + std::to_string(GetLastError());
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<LockFileExFileLock>(file);
}

} // namespace trelvik::platform
