// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "cmdtable/MassCmd.h"
#include "link/CameraConnection.h"
#include "settings/SettingsProfile.h"

// A camera's settings read for a profile. The command line and the window read and write a
// profile through the same calls, so a file made by either is the same bytes.
namespace trelvik::settings {

// What a dump read: where from, and every setting of the profile in Load's order.
struct CameraDump {
    std::string device, version, model, make; // "" for an identity read that failed
    std::string dumped;                       // the day, YYYY-MM-DD
    std::vector<DumpedSetting> settings;
    bool readFailed = false; // a setting could not be read, beyond those the camera lacks
};

// The name of the camera the connection works on, "" when none is found.
std::string cameraName(link::CameraConnection& camera);

// Reads the camera's identity and every setting a profile can hold with `table`.
CameraDump dumpCamera(link::CameraConnection& camera, const cmdtable::MassCmdTable& table,
                      std::string dumped);

// The profile text of a dump: [Camera], [Settings], [PerCamera].
std::string dumpText(const CameraDump& dump, const cmdtable::MassCmdTable& table);

// A camera's name as a file name that every system accepts: the characters Windows forbids
// and control characters become '_', as do trailing dots and blanks; a reserved device name
// gets a '_' before it. Examples: "E:" -> "E_", "a/b" -> "a_b", "CON" -> "_CON", "" -> "_".
std::string safeFileName(const std::string& name);

} // namespace trelvik::settings
