// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/Status.h"
#include "platform/CameraIds.h"
#include "platform/DiskSystem.h"
#include "platform/ProfileReader.h"

// Finding the camera's drives. Two ways exist: by USB identity (FindCameraDisk, used to connect
// and to judge volume arrivals) and by asking every candidate drive one vendor command (the
// drive probe, used by raw register access and the card format). Both work on the catalog a
// DiskSystem offers, so the rules here run unchanged on Windows, Linux and the simulated camera.
//
// The catalog already carries each drive's disk number (DriveEntry::diskNumber); the Windows
// volume-to-disk lookup (GetDiskNumber) lives inside the Windows catalog.
namespace trelvik::link {

using platform::DiskSystem;
using platform::DriveEntry;
using platform::DriveType;
using platform::UsbDeviceNode;

using platform::CameraIds;
using platform::kDefaultCameraIds;

// Timeout of a card format found by probing: a large card takes long, and the probe cannot
// tell a busy camera from a dead one.
inline constexpr std::chrono::seconds kProbeFormatTimeout{2000};

// Reads the optional keys UsbVendorId, UsbDiskProductId and UsbCaptureProductId of section
// [APP] in the command file: hexadecimal, with or without "0x". A missing key keeps the default
// silently; a malformed or out-of-range value keeps the default and writes a debug line.
// Example: UsbVendorId=0x1B3F -> {0x1B3F, 0x0101, 0x0102}.
CameraIds LoadCameraIds(const platform::ProfileReader& reader, const std::string& commandFilePath);

// True when the disk `diskNumber` is child number `childIndex` (0 = first) of a present USB
// device whose instance id, upper-cased, contains "VID_%04X&PID_%04X" of vid and pid.
// Example: disk 3 as child 1 of "USB\\VID_2E7A&PID_0101\\1-2" -> true for childIndex 1 only.
bool IsCameraChildNode(int diskNumber, const std::vector<UsbDeviceNode>& devices, std::uint16_t vid,
                       std::uint16_t pid, int childIndex);

// Walks the drives in the catalog's order and keeps the removable ones with a disk number whose
// disk is child n of the camera's USB device, n being the number found so far. Returns how many
// were found; `found` (when given) is replaced by those drives in order, so the caller can open
// their openPath. Example: camera drives F: and G: -> 2, {F:, G:}.
// Every camera connected, each as the drives of its own USB device in the order of its
// children; the first camera's are what FindCameraDisk finds. Example: two cameras ->
// {{sdb}, {sdc}}.
std::vector<std::vector<DriveEntry>> FindCameras(DiskSystem& system, std::uint16_t vid, std::uint16_t pid);

int FindCameraDisk(DiskSystem& system, std::uint16_t vid, std::uint16_t pid, std::vector<DriveEntry>* found);

// The drive probe. Each tries the catalog's drives in order (only entries marked probed;
// removable drives without a disk number and drives neither removable nor optical are passed
// over), opens one at a time, sends one command and closes it again. On the drive that
// answers with the command's tag, `driveName` and `diskNumber` (-1 for an optical drive) are
// set; absent outputs are skipped. Failures show only in the debug output.

// Register read by probing (FC 0B "QZGETDB" code, 4 s). Returns Ok at the first drive whose reply
// carries the "DBUGRD" tag; `value` is set only when that reply echoes the code, so an "NS"
// answer returns Ok with `value` untouched. Failed when no drive answers. `echo` (optional) tells
// callers that must know whether `value` was set what the answering drive said.
enum class ProbeEcho { Value, NotSupported, WrongCode };
Status ScanAndReadRegister(DiskSystem& system, std::uint8_t code, std::uint8_t* value, std::string* driveName,
                           int* diskNumber, ProbeEcho* echo = nullptr);

// Register write by probing (FC 0B "QZSETDB" code value, 4 s). Returns Ok at the first drive that
// echoes code and value. A tagged reply with a wrong echo sets the outputs to that drive and
// probing goes on; Failed when no later drive echoes.
Status ScanAndWriteRegister(DiskSystem& system, std::uint8_t code, std::uint8_t value, std::string* driveName,
                            int* diskNumber);

// Card format by probing (FC 08 "QZFMTCA" medium, 2000 s). Stops at the first drive whose reply
// carries the "FORMAT" tag: Ok when it echoes the medium with byte 10 zero, else Failed. Failed
// when no drive answers.
Status ScanAndFormatCard(DiskSystem& system, std::uint8_t medium, std::string* driveName, int* diskNumber);

} // namespace trelvik::link
