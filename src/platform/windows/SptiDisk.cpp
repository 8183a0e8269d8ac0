// SPDX-License-Identifier: MIT
#include "platform/windows/SptiDisk.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/windows/SptiRequest.h"

namespace trelvik::platform {

namespace {

// The byte layout the pure builder writes must be the compiler's own SCSI_PASS_THROUGH, or
// DeviceIoControl would read the fields from the wrong places.
constexpr const SptiLayout& kNativeLayout = sizeof(void*) == 8 ? kSptiLayout64 : kSptiLayout32;
static_assert(sizeof(SCSI_PASS_THROUGH) == kNativeLayout.structSize);
static_assert(offsetof(SCSI_PASS_THROUGH, DataTransferLength) == kNativeLayout.dataTransferLengthOffset);
static_assert(offsetof(SCSI_PASS_THROUGH, TimeOutValue) == kNativeLayout.timeOutValueOffset);
static_assert(offsetof(SCSI_PASS_THROUGH, DataBufferOffset) == kNativeLayout.dataBufferOffsetOffset);
static_assert(sizeof(SCSI_PASS_THROUGH::DataBufferOffset) == kNativeLayout.dataBufferOffsetWidth);
static_assert(offsetof(SCSI_PASS_THROUGH, SenseInfoOffset) == kNativeLayout.senseInfoOffsetOffset);
static_assert(offsetof(SCSI_PASS_THROUGH, Cdb) == kNativeLayout.cdbOffset);
static_assert(kNativeLayout.senseAreaOffset >= sizeof(SCSI_PASS_THROUGH));
static_assert(IOCTL_SCSI_PASS_THROUGH == kIoctlScsiPassThrough);
static_assert(FSCTL_LOCK_VOLUME == kFsctlLockVolume);
static_assert(FSCTL_UNLOCK_VOLUME == kFsctlUnlockVolume);
static_assert(kSptiDataOffset % alignof(SCSI_PASS_THROUGH) == 0);

struct alignas(8) RequestBuffer {
    std::uint8_t bytes[kSptiBufferSize];
};

class SptiDisk final : public platform::Disk {
public:
    explicit SptiDisk(HANDLE handle) : m_handle(handle) {}
    ~SptiDisk() override {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    SptiDisk(const SptiDisk&) = delete;
    SptiDisk& operator=(const SptiDisk&) = delete;

    bool send(const platform::ScsiRequest& request) override {
        // 64 KiB is too much for the stack of a GUI thread; one allocation per request is cheap
        // next to a device round trip.
        auto buffer = std::make_unique<RequestBuffer>();
        const std::size_t size = buildSptiRequest(kNativeLayout, request, buffer->bytes);
        if (size == 0) return false;

        // The lock's outcome is not ours to judge: the data goes out whether or not it held.
        if (request.lockVolume) control(kFsctlLockVolume, nullptr, 0);
        const bool completed = control(kIoctlScsiPassThrough, buffer->bytes, static_cast<DWORD>(size));
        if (request.lockVolume) control(kFsctlUnlockVolume, nullptr, 0);

        if (request.direction == platform::Direction::In)
            std::copy_n(buffer->bytes + kSptiDataOffset, request.data.size(), request.data.begin());
        return completed;
    }

private:
    bool control(DWORD code, void* buffer, DWORD size) {
        DWORD returned = 0;
        return DeviceIoControl(m_handle, code, buffer, size, buffer, size, &returned, nullptr) != FALSE;
    }

    HANDLE m_handle;
};

} // namespace

std::unique_ptr<platform::Disk> openSptiDisk(const std::string& path, unsigned long& errorCode) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errorCode = GetLastError();
        return nullptr;
    }
    errorCode = 0;
    return std::make_unique<SptiDisk>(handle);
}

} // namespace trelvik::platform
