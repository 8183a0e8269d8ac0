// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/DiskSystem.h"
#include "sim/SimDiskSystem.h"

// What both executables call for "--simulate[=STATE.json]".
namespace trelvik::sim {

// A simulated camera: in memory with factory defaults when `statePath` is empty, else kept in
// that state file (created with factory defaults when missing). Returns nullptr and a message
// for the user in `error` when the file cannot be used; the file is then left untouched.
// Examples: openSimulatedCamera("/tmp/cam.json", error) -> a camera whose drive "simcam" is
// plugged in; openSimulatedCamera("/dev/null", error) -> nullptr, error "simulated camera:
// state file /dev/null is a device, not a regular file; it was left untouched".
std::unique_ptr<SimDiskSystem> openSimulatedCamera(const std::optional<std::string>& statePath,
                                                   std::string& error, SimOptions options = {});

// The same, seen only through the disk-system seam; a folder ("DIR/", or an existing folder)
// holds one camera per *.json file.
std::unique_ptr<platform::DiskSystem> makeSimulatedDiskSystem(std::optional<std::string> statePath,
                                                              std::string& error);

} // namespace trelvik::sim
