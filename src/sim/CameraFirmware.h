// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <span>
#include <string>

#include "platform/Disk.h"
#include "sim/CameraState.h"

// The camera's side of the wire: how its firmware answers the raw CDBs that reach it. It
// knows the commands only by their bytes, never through the host's command builders.
namespace trelvik::sim {

// The name a command goes by in the fault list: the seven-character signature of a 16-byte
// 0xFC command, "clock-read" for 0xFE data-in, "clock-write" for 0xFF data-out, "" for
// anything else. Example: FC 0B "QZGETDB" 01 ... -> "QZGETDB".
std::string commandName(std::span<const std::uint8_t> cdb, platform::Direction direction);

// Answers one request that reached a plugged camera in disk mode; faults are the caller's.
// A data-in reply is cut to the request's data length, and the rest of the data is zeroed.
// Changes `state` as the camera would (registers, reset, clock, flash-save flag, mode).
// Commands the firmware does not know complete with a reply of zeros, as a real device's
// transfer completes while its SCSI status (which the host does not judge) reports the error.
// `hostNow` is the host's present time; the camera's clock runs at an offset from it.
void answerCommand(CameraState& state, const platform::ScsiRequest& request,
                   std::chrono::system_clock::time_point hostNow);

// The six clock bytes the camera reports now: the frozen clock, or the host's local time
// plus the clock offset. Example: 2024-05-17 08:30:00 -> {24, 5, 17, 8, 30, 0}.
std::array<std::uint8_t, 6> cameraClockBytes(const CameraState& state,
                                             std::chrono::system_clock::time_point hostNow);

} // namespace trelvik::sim
