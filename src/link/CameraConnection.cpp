// SPDX-License-Identifier: MIT
#include "link/CameraConnection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/VendorCommands.h"
#include "link/VendorProtocol.h"
#include "text/Hex.h"

namespace trelvik::link {

namespace {

using text::hexByte;

// Room for the full 32 characters of an identity text and its terminator.
constexpr std::size_t kIdentityBufferSize = kIdentityTextLength + 1;

std::string registerText(Status status, std::uint8_t code, const char* action) {
    if (status == Status::NotSupported) return "the camera does not support register " + hexByte(code);
    return "register " + hexByte(code) + " " + action + " failed";
}

} // namespace

CameraConnection::CameraConnection(platform::DiskSystem& system, CameraIds ids, Opening opening)
    : m_system(system), m_ids(ids), m_opening(opening) {}

// The disk goes before the connection; the system that made it outlives both.
CameraConnection::~CameraConnection() = default;

std::vector<platform::DriveEntry> CameraConnection::drives() {
    std::vector<platform::DriveEntry> found;
    if (m_device.empty()) {
        FindCameraDisk(m_system, m_ids.vendor, m_ids.diskProduct, &found);
    } else {
        // Among many cameras, the one with a drive of that name.
        for (auto& camera : FindCameras(m_system, m_ids.vendor, m_ids.diskProduct))
            if (std::any_of(camera.begin(), camera.end(),
                            [this](const platform::DriveEntry& drive) { return drive.name == m_device; }))
                found = std::move(camera);
    }
    if (found.size() > kMaxCameraDrives) found.resize(kMaxCameraDrives);
    return found;
}

Outcome CameraConnection::open() {
    if (m_disk) return Done{};
    const auto found = drives();
    ConnectionError error;
    if (found.empty()) {
        char ids[32];
        std::snprintf(ids, sizeof ids, "%04X:%04X", m_ids.vendor, m_ids.diskProduct);
        error.kind = ConnectionError::Kind::NoCamera;
        error.ids = m_ids;
        error.text = std::string("no camera found (USB ") + ids + ")";
        if (!m_device.empty()) error.text = "no camera named " + m_device + " found (USB " + ids + ")";
        return error;
    }
    int errorCode = 0;
    m_disk = m_system.open(found.front().openPath, errorCode);
    if (m_disk) return Done{};
    error.kind = ConnectionError::Kind::OpenFailed;
    error.path = found.front().openPath;
    error.errorCode = errorCode;
    // The number is the disk system's (errno on Linux, GetLastError on Windows): so are its words.
    error.permissionDenied = m_system.deniesAccess(errorCode);
    error.text = "cannot open " + error.path + ": error " + std::to_string(errorCode) + " (" +
                 m_system.errorText(errorCode) + ")";
    return error;
}

void CameraConnection::close() {
    m_disk.reset();
}

bool CameraConnection::stillThere() {
    m_system.rescan();
    return !drives().empty();
}

ConnectionError CameraConnection::failure(Status status, std::string text) const {
    ConnectionError error;
    if (status == Status::NotSupported) {
        error.kind = ConnectionError::Kind::NotSupported;
        error.text = std::move(text);
        return error;
    }
    // A transfer's false cannot tell a silent camera from a host that could not carry the
    // request; blaming the camera for the host's trouble would send the user the wrong way.
    error.kind = ConnectionError::Kind::CameraFailed;
    error.systemReason = m_system.lastFailure();
    error.text = error.systemReason.empty() ? std::move(text) : error.systemReason;
    return error;
}

template <typename T, typename Operation> Result<T> CameraConnection::onDisk(Operation operation) {
    if (!m_disk && m_opening == Opening::Explicit) {
        ConnectionError error;
        error.kind = ConnectionError::Kind::NoCamera;
        error.ids = m_ids;
        error.text = "not connected to a camera";
        return error;
    }
    if (const Outcome opened = open(); !opened) return opened.error();
    return operation(*m_disk);
}

Result<std::uint8_t> CameraConnection::readRegister(std::uint8_t code) {
    return onDisk<std::uint8_t>([&](Disk& disk) -> Result<std::uint8_t> {
        std::uint8_t value = 0;
        const Status status = ReadRegister(disk, code, value);
        if (status == Status::Ok) return value;
        return failure(status, registerText(status, code, "read"));
    });
}

Outcome CameraConnection::writeRegister(std::uint8_t code, std::uint8_t value) {
    return onDisk<Done>([&](Disk& disk) -> Outcome {
        const Status status = WriteRegister(disk, code, value);
        if (status == Status::Ok) return Done{};
        return failure(status, registerText(status, code, "write"));
    });
}

Outcome CameraConnection::reset() {
    return onDisk<Done>([&](Disk& disk) -> Outcome {
        const Status status = WriteRegister(disk, kDebugRegister, kFactoryResetValue);
        if (status == Status::Ok) return Done{};
        return failure(status, registerText(status, kDebugRegister, "reset"));
    });
}

Result<std::tm> CameraConnection::readClock() {
    return onDisk<std::tm>([&](Disk& disk) -> Result<std::tm> {
        std::tm time{};
        if (ReadCameraClock(disk, time) == Status::Ok) return time;
        return failure(Status::Failed, "reading the camera clock failed");
    });
}

Outcome CameraConnection::writeClock(const std::tm& time) {
    return onDisk<Done>([&](Disk& disk) -> Outcome {
        if (WriteCameraClock(disk, time) == Status::Ok) return Done{};
        return failure(Status::Failed, "setting the camera clock failed");
    });
}

Result<std::string> CameraConnection::readVersion() {
    return onDisk<std::string>([&](Disk& disk) -> Result<std::string> {
        std::string text;
        if (ReadVersionString(disk, text) == Status::Ok) return text;
        return failure(Status::Failed, "reading the firmware version failed");
    });
}

Result<std::string> CameraConnection::readModel() {
    return onDisk<std::string>([&](Disk& disk) -> Result<std::string> {
        char text[kIdentityBufferSize] = {};
        if (ReadModelId(disk, text, sizeof text) == Status::Ok) return std::string(text);
        return failure(Status::Failed, "reading the model failed");
    });
}

Result<std::string> CameraConnection::readMake() {
    return onDisk<std::string>([&](Disk& disk) -> Result<std::string> {
        char text[kIdentityBufferSize] = {};
        if (ReadMakeId(disk, text, sizeof text) == Status::Ok) return std::string(text);
        return failure(Status::Failed, "reading the make failed");
    });
}

Result<std::array<std::uint8_t, 4>> CameraConnection::readCardStatus() {
    using Slots = std::array<std::uint8_t, 4>;
    return onDisk<Slots>([&](Disk& disk) -> Result<Slots> {
        Slots status{};
        if (ReadCardStatus(disk, status) == Status::Ok) return status;
        return failure(Status::Failed, "Fail to query card status!");
    });
}

Outcome CameraConnection::formatCard(std::uint8_t slot) {
    return onDisk<Done>([&](Disk& disk) -> Outcome {
        if (FormatCard(disk, slot) == Status::Ok) return Done{};
        return failure(Status::Failed, "formatting the medium in slot " + std::to_string(slot) + " failed");
    });
}

Outcome CameraConnection::changeToPcCam() {
    const Outcome changed = onDisk<Done>([&](Disk& disk) -> Outcome {
        if (ChangeToPcCam(disk) == Status::Ok) return Done{};
        return failure(Status::Failed, "the camera did not acknowledge the change to PC-camera mode");
    });
    if (changed) close();
    return changed;
}

Outcome CameraConnection::setFlashSave(std::uint8_t flag) {
    return onDisk<Done>([&](Disk& disk) -> Outcome {
        if (SetFlashSave(disk, flag) == Status::Ok) return Done{};
        return failure(Status::Failed, "the camera did not acknowledge the flash-save flag");
    });
}

Result<ProbeAnswer> CameraConnection::probeRead(std::uint8_t code) {
    ProbeAnswer answer;
    int diskNumber = -1;
    ProbeEcho echo = ProbeEcho::WrongCode;
    if (ScanAndReadRegister(m_system, code, &answer.value, &answer.drive, &diskNumber, &echo) != Status::Ok)
        return noProbeAnswer();
    switch (echo) {
    case ProbeEcho::Value:
        return answer;
    case ProbeEcho::NotSupported:
        return failure(Status::NotSupported,
                       "the camera on " + answer.drive + " does not support register " + hexByte(code));
    case ProbeEcho::WrongCode:
        break;
    }
    return failure(Status::Failed,
                   "the camera on " + answer.drive + " answered for another register than " + hexByte(code));
}

Result<std::string> CameraConnection::probeWrite(std::uint8_t code, std::uint8_t value) {
    std::string drive;
    int diskNumber = -1;
    if (ScanAndWriteRegister(m_system, code, value, &drive, &diskNumber) == Status::Ok) return drive;
    if (drive.empty()) return noProbeAnswer();
    // The probe cannot tell "not supported" from another wrong echo.
    return failure(Status::Failed, "the camera on " + drive + " did not echo register " + hexByte(code) +
                                       " = " + hexByte(value) + " (rejected or not supported)");
}

ConnectionError CameraConnection::noProbeAnswer() const {
    ConnectionError error = failure(Status::Failed, "no drive answered as the camera");
    if (!error.systemReason.empty()) return error;
    error.kind = ConnectionError::Kind::NoCamera;
    error.ids = m_ids;
    return error;
}

std::vector<std::vector<platform::DriveEntry>> CameraConnection::cameras() {
    return FindCameras(m_system, m_ids.vendor, m_ids.diskProduct);
}

std::vector<std::string> CameraConnection::cameraNames() {
    std::vector<std::string> names;
    for (const auto& camera : cameras())
        names.push_back(camera.front().name);
    return names;
}

} // namespace trelvik::link
