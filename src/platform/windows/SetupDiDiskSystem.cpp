// SPDX-License-Identifier: MIT
#include "platform/windows/SetupDiDiskSystem.h"

#include <windows.h>
// windows.h first: the headers below rely on its types.
#include <winioctl.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Native.h"
#include "platform/NativeDiskSystem.h"
#include "platform/windows/SptiDisk.h"
#include "platform/windows/Win32Error.h"

namespace trelvik::platform {

namespace {

// GUID_DEVINTERFACE_DISK, spelt out so no GUID library has to be linked.
const GUID kDiskInterfaceClass = {
    0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

constexpr DWORD kDetailBufferSize = 1024;

// Asks IOCTL_STORAGE_GET_DEVICE_NUMBER on an open handle; -1 when the request fails.
int deviceNumberOf(HANDLE handle) {
    STORAGE_DEVICE_NUMBER number{};
    DWORD returned = 0;
    if (!DeviceIoControl(handle, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number, sizeof number,
                         &returned, nullptr))
        return -1;
    return static_cast<int>(number.DeviceNumber);
}

// The device number of `path` opened without access rights (enough for the query); -1 on failure.
int deviceNumberWithoutAccess(const char* path) {
    HANDLE handle =
        CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return -1;
    const int number = deviceNumberOf(handle);
    CloseHandle(handle);
    return number;
}

// Visits every present disk interface with its device node and disk number until `visit`
// returns true. Interfaces whose detail record is empty or over 1024 bytes are passed over.
void forEachDisk(const std::function<bool(DEVINST node, int diskNumber)>& visit) {
    HDEVINFO set =
        SetupDiGetClassDevsA(&kDiskInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    for (DWORD index = 0;
         SetupDiEnumDeviceInterfaces(set, nullptr, &kDiskInterfaceClass, index, &interfaceData); ++index) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &size, nullptr);
        if (size < 1 || size > kDetailBufferSize) continue;
        alignas(8) unsigned char buffer[kDetailBufferSize] = {};
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        SP_DEVINFO_DATA deviceInfo{};
        deviceInfo.cbSize = sizeof deviceInfo;
        if (!SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, kDetailBufferSize, nullptr,
                                              &deviceInfo))
            continue;
        const int number = deviceNumberWithoutAccess(detail->DevicePath);
        if (number >= 0 && visit(deviceInfo.DevInst, number)) break;
    }
    SetupDiDestroyDeviceInfoList(set);
}

// Every device instance id the configuration manager knows, as one list of zero-terminated
// strings. Devices may arrive between the size query and the read, so a short buffer retries.
std::vector<WCHAR> deviceIdList() {
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG length = 0;
        if (CM_Get_Device_ID_List_SizeW(&length, nullptr, CM_GETIDLIST_FILTER_NONE) != CR_SUCCESS ||
            length == 0)
            return {};
        std::vector<WCHAR> list(length + 1, L'\0');
        const CONFIGRET result =
            CM_Get_Device_ID_ListW(nullptr, list.data(), length, CM_GETIDLIST_FILTER_NONE);
        if (result == CR_SUCCESS) return list;
        if (result != CR_BUFFER_SMALL) return {};
    }
    return {};
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::string physicalDrivePath(int diskNumber) {
    char path[64];
    std::snprintf(path, sizeof path, "\\\\.\\PhysicalDrive%d", diskNumber);
    return path;
}

} // namespace

int GetDiskNumber(char letter, int* diskNumber) {
    if (!diskNumber) return 0;
    *diskNumber = -1;
    char path[] = "\\\\.\\X:";
    path[4] = letter;
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    STORAGE_DEVICE_NUMBER number{};
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(handle, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number,
                                    sizeof number, &returned, nullptr);
    if (ok) *diskNumber = static_cast<int>(number.DeviceNumber);
    CloseHandle(handle);
    return ok;
}

int volumeDiskNumber(char letter) {
    char path[] = "\\\\.\\X:";
    path[4] = letter;
    return deviceNumberWithoutAccess(path);
}

std::vector<platform::DriveEntry> SetupDiDiskSystem::drives() {
    std::vector<platform::DriveEntry> result;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        platform::DriveEntry drive;
        drive.name = std::string(1, letter) + ":";
        drive.rootPath = "\\\\.\\" + drive.name + "\\";
        drive.probed = letter != 'C';
        const std::string root = drive.name + "\\";
        switch (GetDriveTypeA(root.c_str())) {
        case DRIVE_REMOVABLE: {
            drive.type = platform::DriveType::Removable;
            drive.diskNumber = volumeDiskNumber(letter);
            int probeNumber = -1;
            if (drive.probed) {
                GetDiskNumber(letter, &probeNumber);
                drive.probeDiskNumber = probeNumber;
            }
            // Both answers name the same disk whenever both exist.
            const int pathNumber = drive.diskNumber >= 0 ? drive.diskNumber : probeNumber;
            if (pathNumber >= 0) drive.openPath = physicalDrivePath(pathNumber);
            break;
        }
        case DRIVE_CDROM:
            drive.type = platform::DriveType::Optical;
            drive.openPath = "\\\\.\\" + drive.name;
            break;
        default:
            drive.type = platform::DriveType::Other;
            break;
        }
        result.push_back(std::move(drive));
    }
    return result;
}

std::vector<platform::UsbDeviceNode> SetupDiDiskSystem::usbDevices() {
    std::map<DEVINST, int> diskOfNode;
    forEachDisk([&](DEVINST node, int number) {
        diskOfNode.emplace(node, number);
        return false;
    });

    std::vector<platform::UsbDeviceNode> result;
    std::vector<WCHAR> list = deviceIdList();
    for (WCHAR* id = list.data(); !list.empty() && *id; id += wcslen(id) + 1) {
        CharUpperW(id);
        // Only ids naming a USB vendor can ever hold the camera's ids; the rest are not walked.
        if (!wcsstr(id, L"VID_")) continue;
        DEVINST node = 0;
        if (CM_Locate_DevNodeW(&node, id, CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS) continue;
        platform::UsbDeviceNode device;
        device.instanceId = narrow(id);
        DEVINST child = 0;
        for (CONFIGRET step = CM_Get_Child(&child, node, 0); step == CR_SUCCESS;
             step = CM_Get_Sibling(&child, child, 0)) {
            const auto it = diskOfNode.find(child);
            device.childDiskNumbers.push_back(it == diskOfNode.end() ? -1 : it->second);
        }
        result.push_back(std::move(device));
    }
    return result;
}

std::unique_ptr<platform::Disk> SetupDiDiskSystem::open(const std::string& openPath, int& errorCode) {
    unsigned long error = 0;
    std::unique_ptr<platform::Disk> disk = openSptiDisk(openPath, error);
    errorCode = static_cast<int>(error);
    return disk;
}

std::string SetupDiDiskSystem::errorText(int errorCode) const {
    return systemErrorText(static_cast<unsigned long>(errorCode));
}

bool SetupDiDiskSystem::deniesAccess(int errorCode) const {
    return errorCode == ERROR_ACCESS_DENIED;
}

std::string SetupDiDiskSystem::openAdvice(int errorCode) const {
    if (!deniesAccess(errorCode)) return {};
    return "Windows lets only an administrator send commands to a disk: start the tool as administrator.";
}

std::unique_ptr<platform::DiskSystem> makeNativeDiskSystem(const CameraIds&) {
    return std::make_unique<SetupDiDiskSystem>();
}

std::unique_ptr<platform::DiskSystem> makeNativeDiskSystem() {
    return std::make_unique<SetupDiDiskSystem>();
}

} // namespace trelvik::platform
