// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/CameraConnection.h"
#include "settings/SettingsProfile.h"

// A checked profile written to one camera as the window's Save writes (its steps, its flash-save
// bracket), read back and reported as plain data: the command line prints the report as JSON,
// the window shows it as a table.
namespace trelvik::settings {

enum class ApplyStatus { NotSent, Written, Verified, Mismatch, Failed, Unsupported };
// The report's word. Example: ApplyStatus::NotSent -> "not_sent".
std::string_view applyStatusName(ApplyStatus status);

struct AppliedSetting {
    const PlannedSetting* planned;
    ApplyStatus status = ApplyStatus::NotSent;
    std::vector<std::uint8_t> written;                 // codes of the registers written, in order
    std::optional<std::vector<std::uint8_t>> readBack; // what the camera held afterwards
};

struct ApplyOptions {
    bool verify = true;           // read every written setting back
    std::optional<std::tm> clock; // then set the camera's clock
    // After each setting sent: how many of how many. Example: (12, 77) -> "Writing 12 of 77".
    std::function<void(int sent, int total)> progress;
};

struct ApplyReport {
    std::vector<AppliedSetting> settings; // in the profile's order
    bool cameraPresent = true;            // false once the camera went away or stopped answering
    bool cameraSilent = false;            // it failed transfer after transfer, still plugged in
    std::optional<link::Outcome> flashHold, flashKeep;
    bool verified = true; // read back was asked for
    // The clock, when asked for: what it read before and after, and why the write failed.
    bool clockAsked = false;
    std::optional<std::tm> clockBefore, clockAfter;
    std::string clockError; // "" when the clock was set

    struct Summary {
        int verified = 0, written = 0, mismatch = 0, failed = 0, unsupported = 0;
    };
    // Settings not sent count as failed.
    Summary summary() const;
    // A bracket the camera refused may leave the settings unkept at its next power-off.
    bool bracketFailed() const;
    bool clockFailed() const { return clockAsked && !clockError.empty(); }
    // Every setting verified (written, when no read-back was asked for and the camera stayed).
    bool settingsGood() const;
    // Short of settingsGood only by settings the camera does not support.
    bool settingsGoodButUnsupported() const;
    // Every register written, in the order sent. Example: {0x00, 0x01, ..., 0x00}.
    std::vector<std::uint8_t> registersWritten() const;
};

// Reads every register of a setting: its bytes, or the error of the first that failed.
link::Result<std::vector<std::uint8_t>> readSetting(link::CameraConnection& camera, const SettingRow& row);
// Writes a setting's bytes register by register, stopping at the first that fails; `written`
// gets the code of each register written. Example: a failure at 0x43 -> written {0x42}.
link::Outcome writeSetting(link::CameraConnection& camera, const SettingRow& row,
                           const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& written);

// Writes `profile`'s settings in the order of the full tool's Save, inside its flash-save
// bracket; stops sending when the camera goes away (what was sent stays written, and applying
// again completes the job); then reads back and sets the clock as `options` ask.
ApplyReport applyProfile(link::CameraConnection& camera, const CheckedProfile& profile,
                         const ApplyOptions& options = {});

} // namespace trelvik::settings
