// SPDX-License-Identifier: MIT
#include <windows.h>

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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open lock file " + path + ": error " + std::to_string(GetLastError());
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
