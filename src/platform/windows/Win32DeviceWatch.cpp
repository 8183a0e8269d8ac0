// SPDX-License-Identifier: MIT
#include <windows.h>
// windows.h first: dbt.h relies on its types.
#include <dbt.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "debuglog/DebugLog.h"
#include "platform/DeviceWatch.h"
#include "platform/Native.h"

// Windows has no descriptor to wait on: the system broadcasts volume messages to every
// top-level window and sends capture-interface messages to the window registered for them,
// as WM_DEVICECHANGE. The window's native event filter (QAbstractNativeEventFilter, event type
// "windows_generic_MSG") hands each MSG to takeNativeMessage() and, when it returns true,
// calls drain() at once; the filter then lets the message go on to the default handling.
namespace trelvik::platform {

namespace {

// KSCATEGORY_CAPTURE, spelt out so no GUID library has to be linked.
const GUID kCaptureClass = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The registration filter is the 32-byte record of the narrow API with an empty name.
constexpr DWORD kFilterSize = 32;
// Names are cut here; a device path is far shorter.
constexpr std::size_t kMaxNameBytes = 512;

class Win32DeviceWatch final : public DeviceWatch {
public:
    ~Win32DeviceWatch() override {
        if (m_registration) UnregisterDeviceNotification(m_registration);
    }

    int fd() const override { return -1; }

    std::vector<DeviceEvent> drain() override { return std::exchange(m_pending, {}); }

    bool watchCaptureDevices(bool on) override {
        if (!on) {
            bool fine = true;
            if (m_registration) fine = UnregisterDeviceNotification(m_registration) != FALSE;
            m_registration = nullptr;
            return fine;
        }
        if (m_registration) return true;
        DEV_BROADCAST_DEVICEINTERFACE_A filter{};
        filter.dbcc_size = kFilterSize;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_reserved = 0;
        filter.dbcc_classguid = kCaptureClass;
        m_registration = RegisterDeviceNotificationA(m_window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        return m_registration != nullptr;
    }

    std::string captureNamePrefix(std::uint16_t vendor, std::uint16_t captureProduct) const override {
        char prefix[48];
        std::snprintf(prefix, sizeof prefix, "\\\\?\\USB#Vid_%04X&Pid_%04X", vendor, captureProduct);
        return prefix;
    }

    void setNativeWindow(void* window) override { m_window = static_cast<HWND>(window); }

    bool takeNativeMessage(const void* message) override {
        const MSG* msg = static_cast<const MSG*>(message);
        if (!msg || msg->message != WM_DEVICECHANGE) return false;
        if (msg->wParam != DBT_DEVICEARRIVAL && msg->wParam != DBT_DEVICEREMOVECOMPLETE) return false;
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(msg->lParam);
        if (!header) return false;
        const bool arrival = msg->wParam == DBT_DEVICEARRIVAL;
        DeviceEvent event;
        if (header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
            const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header);
            event.kind = arrival ? DeviceEventKind::VolumeArrived : DeviceEventKind::VolumeRemoved;
            event.unitMask = volume->dbcv_unitmask;
        } else if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const auto* record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header);
            const GUID& g = record->dbcc_classguid;
            debuglog::DebugLog("GUID:%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X\n", g.Data1, g.Data2,
                               g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                               g.Data4[5], g.Data4[6], g.Data4[7]);
            if (std::memcmp(&g, &kCaptureClass, sizeof g) != 0) return true;
            const std::size_t offset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
            std::size_t size = header->dbch_size > offset ? header->dbch_size - offset : 0;
            if (size > kMaxNameBytes) size = kMaxNameBytes;
            event.kind = arrival ? DeviceEventKind::CaptureArrived : DeviceEventKind::CaptureRemoved;
            setInterfaceName(event, reinterpret_cast<const std::uint8_t*>(record->dbcc_name), size);
        } else {
            return false;
        }
        m_pending.push_back(std::move(event));
        return true;
    }

private:
    HWND m_window = nullptr;
    HDEVNOTIFY m_registration = nullptr;
    std::vector<DeviceEvent> m_pending;
};

} // namespace

std::unique_ptr<DeviceWatch> makeNativeDeviceWatch() {
    return std::make_unique<Win32DeviceWatch>();
}

} // namespace trelvik::platform
