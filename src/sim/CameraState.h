// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

// Everything the simulated camera remembers between two commands. One value of this type is
// what a state file holds; the firmware model reads and changes it, nothing else.
namespace trelvik::sim {

enum class CameraMode {
    Disk,  // shows up as a removable disk and answers vendor commands
    PcCam, // switched to a video-capture device: the disk is gone
};

// Faults a test plants in the camera.
struct SimFaults {
    int latencyMs = 0;          // delay before each reply; beyond the request's timeout the transfer fails
    std::set<std::string> fail; // commands whose transfer fails. Example: {"QZGETCA", "clock-read"}
    std::set<std::uint8_t> wrongEcho; // register codes answered with a different code echoed
    int unplugAfter = 0;              // commands left before the camera is unplugged; 0 = never
    std::string extraJson = "{}";     // fault names we do not know, kept as they were

    bool operator==(const SimFaults&) const = default;
};

// How far the running clock may be set from the host's: any clock the camera can show (2000 to
// 2127) set at any host time from 1970 to 2200, time zones included, with room to spare, yet
// far from overflowing when added to the host's time.
inline constexpr long long kMaxClockOffsetS = 250LL * 366 * 24 * 3600;

struct CameraState {
    bool plugged = true;
    CameraMode mode = CameraMode::Disk;
    std::array<std::uint8_t, 256> registers{}; // by register code
    std::array<std::uint8_t, 256> defaults{};  // what a reset (0xFF into register 0x00) restores
    std::set<std::uint8_t> unsupported;        // codes answered with "NS"
    // Frozen clock: the six bytes year-2000, month, day, hour, minute, second, returned verbatim.
    // Empty: the host's local time plus clockOffsetS.
    std::optional<std::array<std::uint8_t, 6>> clock;
    long long clockOffsetS = 0;
    std::string version; // Example: "V1.02"
    std::string model;   // at most 32 characters reach the host
    std::string make;
    std::array<std::uint8_t, 4> media{}; // status byte of media slots 0 to 3
    SimFaults faults;
    std::uint8_t flashSave = 1;   // last flag of "QZSSVFL"
    std::string extraJson = "{}"; // members of the state file we do not know, kept as they were

    bool operator==(const CameraState&) const = default;
};

// The register values of a camera fresh from the factory, codes 0x00 to 0x68 (others are 0).
const std::array<std::uint8_t, 256>& factoryRegisters();

// A camera fresh from the factory: plugged in as a disk, factory registers, 0x24 to 0x26
// unsupported, host clock, version "V1.02", one memory card in slot 0.
CameraState factoryState();

// Upper-case text of a register code as the state file writes it. Example: 0x4E -> "0x4E".
std::string codeKey(std::uint8_t code);

} // namespace trelvik::sim
