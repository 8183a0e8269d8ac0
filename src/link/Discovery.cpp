// SPDX-License-Identifier: MIT
#include "link/Discovery.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

#include "debuglog/DebugLog.h"
#include "link/Transport.h"
#include "link/VendorProtocol.h"
#include "text/Hex.h"

namespace trelvik::link {

using debuglog::DebugLog;

namespace {

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

void loadOneId(const platform::ProfileReader& reader, const std::string& path, const char* key,
               std::uint16_t& id) {
    // Room for a generous number of leading zeros; anything longer is malformed anyway.
    const std::string text = reader.getString(path, "APP", key, 64);
    if (text.empty()) return;
    if (const auto parsed = text::parseHex(text, 0xFFFF))
        id = static_cast<std::uint16_t>(*parsed);
    else
        DebugLog("%s=%s in [APP] is not a 16-bit hexadecimal number; keeping %04X\n", key, text.c_str(), id);
}

} // namespace

CameraIds LoadCameraIds(const platform::ProfileReader& reader, const std::string& commandFilePath) {
    CameraIds ids = kDefaultCameraIds;
    loadOneId(reader, commandFilePath, "UsbVendorId", ids.vendor);
    loadOneId(reader, commandFilePath, "UsbDiskProductId", ids.diskProduct);
    loadOneId(reader, commandFilePath, "UsbCaptureProductId", ids.captureProduct);
    return ids;
}

bool IsCameraChildNode(int diskNumber, const std::vector<UsbDeviceNode>& devices, std::uint16_t vid,
                       std::uint16_t pid, int childIndex) {
    // A child that is no disk carries -1; a negative number must never match it.
    if (diskNumber < 0 || childIndex < 0) return false;
    char pattern[32];
    std::snprintf(pattern, sizeof pattern, "VID_%04X&PID_%04X", static_cast<unsigned>(vid),
                  static_cast<unsigned>(pid));
    for (const UsbDeviceNode& device : devices) {
        std::string id = device.instanceId;
        for (char& c : id)
            c = asciiUpper(c);
        if (id.find(pattern) == std::string::npos) continue;
        const auto index = static_cast<std::size_t>(childIndex);
        if (index < device.childDiskNumbers.size() && device.childDiskNumbers[index] == diskNumber)
            return true;
    }
    return false;
}

int FindCameraDisk(DiskSystem& system, std::uint16_t vid, std::uint16_t pid, std::vector<DriveEntry>* found) {
    if (found) found->clear();
    int count = 0;
    const DiskSystem::Catalog catalog = system.camerasCatalog(vid, pid);
    for (const DriveEntry& drive : catalog.drives) {
        if (drive.type != DriveType::Removable || drive.diskNumber < 0) continue;
        if (!IsCameraChildNode(drive.diskNumber, catalog.usbDevices, vid, pid, count)) continue;
        if (found) found->push_back(drive);
        ++count;
    }
    return count;
}

std::vector<std::vector<DriveEntry>> FindCameras(DiskSystem& system, std::uint16_t vid, std::uint16_t pid) {
    const DiskSystem::Catalog catalog = system.camerasCatalog(vid, pid);
    const std::vector<DriveEntry>& drives = catalog.drives;
    // By disk number: a hub of cameras is looked up once per camera, not walked once per child.
    std::unordered_multimap<int, const DriveEntry*> removable;
    for (const DriveEntry& drive : drives)
        if (drive.type == DriveType::Removable && drive.diskNumber >= 0)
            removable.emplace(drive.diskNumber, &drive);
    std::vector<std::vector<DriveEntry>> cameras;
    for (const UsbDeviceNode& device : catalog.usbDevices) {
        // A device is a camera when it holds the camera's disk as its first child.
        if (device.childDiskNumbers.empty() ||
            !IsCameraChildNode(device.childDiskNumbers[0], {device}, vid, pid, 0))
            continue;
        std::vector<DriveEntry> own;
        for (int child : device.childDiskNumbers) {
            // In the catalog's order, as the walk over all drives gave them.
            std::vector<const DriveEntry*> same;
            const auto [first, last] = removable.equal_range(child);
            for (auto it = first; it != last; ++it)
                same.push_back(it->second);
            std::sort(same.begin(), same.end());
            for (const DriveEntry* drive : same)
                own.push_back(*drive);
        }
        if (!own.empty()) cameras.push_back(std::move(own));
    }
    return cameras;
}

namespace {

// What a tagged reply means to one probe: finish with a result, or try the next drive.
using ProbeFinish = std::function<std::optional<Status>(std::span<const std::uint8_t> reply)>;

struct ProbeCommand {
    std::array<std::uint8_t, 16> cdb;
    std::chrono::seconds timeout;
    std::uint8_t lengthByte;
    std::string_view tag;
    ProbeFinish finish;
};

void setOutputs(const DriveEntry& drive, int number, std::string* driveName, int* diskNumber) {
    if (diskNumber) *diskNumber = number;
    if (driveName) *driveName = drive.name;
}

Status runProbe(DiskSystem& system, const ProbeCommand& command, std::string* driveName, int* diskNumber) {
    for (const DriveEntry& drive : system.drives()) {
        if (!drive.probed) continue;
        DebugLog("check %s...\n", drive.rootPath.c_str());
        int number = -1;
        if (drive.type == DriveType::Removable) {
            number = drive.probeDiskNumber.value_or(drive.diskNumber);
            if (number < 0) continue;
        } else if (drive.type != DriveType::Optical) {
            continue;
        }
        std::array<std::uint8_t, kSignedReplyLength> reply{};
        int status = 0;
        {
            int errorCode = 0;
            std::unique_ptr<Disk> disk = system.open(drive.openPath, errorCode);
            if (!disk) {
                DebugLog("Error opening %s. Error: %d\n", drive.openPath.c_str(), errorCode);
                continue;
            }
            status = QZCMD_SPTI_GetData(*disk, command.cdb, reply, command.timeout);
            DebugLog("Successful opening %s, QZCMD_SPTI_GetData()=status: %d\n", drive.openPath.c_str(),
                     status);
        } // the drive is closed before its reply is judged, and before the next one is opened
        if (!status || !ReplyHasTag(reply, command.lengthByte, command.tag)) continue;
        setOutputs(drive, number, driveName, diskNumber);
        if (const std::optional<Status> result = command.finish(reply)) return *result;
    }
    return Status::Failed;
}

} // namespace

Status ScanAndReadRegister(DiskSystem& system, std::uint8_t code, std::uint8_t* value, std::string* driveName,
                           int* diskNumber, ProbeEcho* echo) {
    const ProbeCommand command{readRegisterCdb(code), kCmdReadRegister.timeout, kRegisterLengthByte, "DBUGRD",
                               [&](std::span<const std::uint8_t> reply) -> std::optional<Status> {
                                   // Any tagged answer ends the probe: the camera is found even
                                   // when it does not know the register.
                                   std::uint8_t answer = 0;
                                   const Status decoded = decodeRegisterRead(reply, code, answer);
                                   if (decoded == Status::Ok && value) *value = answer;
                                   if (echo)
                                       *echo = decoded == Status::Ok             ? ProbeEcho::Value
                                               : decoded == Status::NotSupported ? ProbeEcho::NotSupported
                                                                                 : ProbeEcho::WrongCode;
                                   return Status::Ok;
                               }};
    return runProbe(system, command, driveName, diskNumber);
}

Status ScanAndWriteRegister(DiskSystem& system, std::uint8_t code, std::uint8_t value, std::string* driveName,
                            int* diskNumber) {
    const ProbeCommand command{writeRegisterCdb(code, value), kCmdWriteRegister.timeout, kRegisterLengthByte,
                               "DBUGWR", [&](std::span<const std::uint8_t> reply) -> std::optional<Status> {
                                   if (decodeRegisterWrite(reply, code, value) == Status::Ok)
                                       return Status::Ok;
                                   return std::nullopt;
                               }};
    return runProbe(system, command, driveName, diskNumber);
}

Status ScanAndFormatCard(DiskSystem& system, std::uint8_t medium, std::string* driveName, int* diskNumber) {
    const ProbeCommand command{formatCardCdb(medium), kProbeFormatTimeout, kRegisterLengthByte, "FORMAT",
                               [&](std::span<const std::uint8_t> reply) -> std::optional<Status> {
                                   // A failed format is final: formatting another drive would
                                   // not be what the user asked for.
                                   return statusOf(decodeFormatReply(reply, medium));
                               }};
    return runProbe(system, command, driveName, diskNumber);
}

} // namespace trelvik::link
