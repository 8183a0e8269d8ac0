// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Disk.h"
#include "sim/SimDiskSystem.h"
#include "support/CalendarTime.h"
#include "support/Files.h"

// Raw requests as the host sends them, built by hand so the camera's side is tested on its own.
namespace trelvik::simtest {

inline std::array<std::uint8_t, 16> signedCdb(std::uint8_t parameter, const char* signature,
                                              std::uint8_t arg1 = 0, std::uint8_t arg2 = 0) {
    std::array<std::uint8_t, 16> cdb{};
    cdb[0] = 0xFC;
    cdb[1] = parameter;
    for (int i = 0; i < 7; ++i)
        cdb[2 + i] = static_cast<std::uint8_t>(signature[i]);
    cdb[9] = arg1;
    cdb[10] = arg2;
    return cdb;
}

struct Exchange {
    bool ok = false;
    std::vector<std::uint8_t> reply;
};

// Sends a data-in request of `length` bytes and returns what came back.
inline Exchange sendIn(platform::Disk& disk, std::span<const std::uint8_t> cdb, std::size_t length,
                       std::chrono::seconds timeout = std::chrono::seconds(4)) {
    Exchange ex;
    ex.reply.assign(length, 0xEE); // not zero, so untouched bytes show
    platform::ScsiRequest request;
    request.cdb = cdb;
    request.direction = platform::Direction::In;
    request.data = ex.reply;
    request.timeout = timeout;
    ex.ok = disk.send(request);
    return ex;
}

inline bool sendOut(platform::Disk& disk, std::span<const std::uint8_t> cdb, std::vector<std::uint8_t> data) {
    platform::ScsiRequest request;
    request.cdb = cdb;
    request.direction = platform::Direction::Out;
    request.data = data;
    request.timeout = std::chrono::seconds(60);
    request.lockVolume = true;
    return disk.send(request);
}

inline std::unique_ptr<platform::Disk> openCamera(sim::SimDiskSystem& system) {
    int error = -1;
    return system.open(sim::kSimOpenPath, error);
}

// The instant 2024-05-17 08:30:00 local time.
inline std::chrono::system_clock::time_point fixedHostTime() {
    std::tm fields = trelvik::testing::calendarTime(2024, 5, 17, 8, 30, 0);
    return std::chrono::system_clock::from_time_t(std::mktime(&fields));
}

using testing::readLines;
using testing::readText;
using testing::TempDir;
using testing::writeText;

} // namespace trelvik::simtest
