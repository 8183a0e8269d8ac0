// SPDX-License-Identifier: MIT
#include "settings/ProfileApply.h"

#include <algorithm>
#include <map>

#include "link/CameraFacts.h"
#include "settings/AllSettings.h"

namespace trelvik::settings {

namespace {

using Kind = link::ConnectionError::Kind;

ApplyStatus statusOf(const link::ConnectionError& error) {
    return error.kind == Kind::NotSupported ? ApplyStatus::Unsupported : ApplyStatus::Failed;
}

// After a failed transfer: whether the camera is gone, so nothing more can be sent to it.
bool cameraGone(link::CameraConnection& camera, const link::ConnectionError& error) {
    if (error.kind == Kind::NoCamera || error.kind == Kind::OpenFailed) return true;
    return error.kind == Kind::CameraFailed && !camera.stillThere();
}

// A camera that failed this many settings in a row has stopped answering: each further request
// would only wait out its timeout, four seconds each for a hung camera, while nothing can land.
constexpr int kSilentAfter = 3;

// Sends one setting; false when the camera went away and nothing more can be sent.
bool send(link::CameraConnection& camera, AppliedSetting& setting) {
    setting.written.clear();
    const link::Outcome done =
        writeSetting(camera, *setting.planned->row, setting.planned->bytes, setting.written);
    setting.status = done ? ApplyStatus::Written : statusOf(done.error());
    return done || !cameraGone(camera, done.error());
}

void readBack(link::CameraConnection& camera, AppliedSetting& setting) {
    if (setting.status != ApplyStatus::Written) return;
    const auto bytes = readSetting(camera, *setting.planned->row);
    if (!bytes) {
        setting.status = statusOf(bytes.error());
        return;
    }
    setting.readBack = *bytes;
    // The exact bytes asked for, every register of the setting: a text's bytes after a zero
    // byte and its filling count as much as its first character.
    setting.status = *bytes == setting.planned->bytes ? ApplyStatus::Verified : ApplyStatus::Mismatch;
}

// Runs the full tool's Save over the profile's settings: its bracket, and its clicks of the
// W buttons as writes of the settings the profile holds (the debug setting twice, as Save).
void writeInSaveOrder(link::CameraConnection& camera, ApplyReport& report, const ApplyOptions& options) {
    std::map<std::string, AppliedSetting*> byButton;
    for (AppliedSetting& setting : report.settings)
        byButton[writeButtonName(*setting.planned->row)] = &setting;
    const int total = static_cast<int>(report.settings.size());
    int sent = 0, failedInARow = 0;
    for (const RunStep& step : SaveSteps(cmdtable::ToolMode::Full)) {
        if (!report.cameraPresent) return;
        if (step.kind == RunStep::FlashSave) {
            (step.flag == link::kFlashSaveHold ? report.flashHold : report.flashKeep) =
                camera.setFlashSave(step.flag);
            continue;
        }
        const auto it = byButton.find(step.button);
        if (it == byButton.end()) continue;
        AppliedSetting& setting = *it->second;
        // Save writes the debug setting again after the bracket, when it went in the first
        // time; the report keeps that first write, which a failing second one does not undo.
        if (setting.status != ApplyStatus::NotSent) {
            AppliedSetting again = setting;
            if (setting.status == ApplyStatus::Written) report.cameraPresent = send(camera, again);
            continue;
        }
        report.cameraPresent = send(camera, setting);
        failedInARow = setting.status == ApplyStatus::Failed ? failedInARow + 1 : 0;
        if (failedInARow == kSilentAfter) {
            report.cameraPresent = false;
            report.cameraSilent = true;
        }
        if (options.progress) options.progress(++sent, total);
    }
}

} // namespace

std::string_view applyStatusName(ApplyStatus status) {
    switch (status) {
    case ApplyStatus::NotSent:
        return "not_sent";
    case ApplyStatus::Written:
        return "written";
    case ApplyStatus::Verified:
        return "verified";
    case ApplyStatus::Mismatch:
        return "mismatch";
    case ApplyStatus::Failed:
        return "failed";
    case ApplyStatus::Unsupported:
        return "unsupported";
    }
    return "failed";
}

link::Result<std::vector<std::uint8_t>> readSetting(link::CameraConnection& camera, const SettingRow& row) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < row.width; ++i) {
        const auto value = camera.readRegister(static_cast<std::uint8_t>(row.code + i));
        if (!value) return value.error();
        bytes.push_back(*value);
    }
    return bytes;
}

link::Outcome writeSetting(link::CameraConnection& camera, const SettingRow& row,
                           const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& written) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(row.code + static_cast<int>(i));
        if (const auto done = camera.writeRegister(code, bytes[i]); !done) return done;
        written.push_back(code);
    }
    return link::Done{};
}

ApplyReport::Summary ApplyReport::summary() const {
    Summary counts;
    for (const AppliedSetting& setting : settings) {
        switch (setting.status) {
        case ApplyStatus::Verified:
            ++counts.verified;
            break;
        case ApplyStatus::Written:
            ++counts.written;
            break;
        case ApplyStatus::Mismatch:
            ++counts.mismatch;
            break;
        case ApplyStatus::Unsupported:
            ++counts.unsupported;
            break;
        case ApplyStatus::Failed:
        case ApplyStatus::NotSent:
            ++counts.failed;
            break;
        }
    }
    return counts;
}

bool ApplyReport::bracketFailed() const {
    return (flashHold && !*flashHold) || !flashKeep || !*flashKeep;
}

namespace {
// A setting that needs nothing more: verified, or written when no read-back was asked for
// and the camera stayed.
bool good(const ApplyReport& report, const AppliedSetting& setting) {
    return setting.status == ApplyStatus::Verified ||
           (setting.status == ApplyStatus::Written && !report.verified && report.cameraPresent);
}
} // namespace

bool ApplyReport::settingsGood() const {
    return std::all_of(settings.begin(), settings.end(),
                       [this](const AppliedSetting& s) { return good(*this, s); });
}

bool ApplyReport::settingsGoodButUnsupported() const {
    return std::all_of(settings.begin(), settings.end(), [this](const AppliedSetting& s) {
        return good(*this, s) || s.status == ApplyStatus::Unsupported;
    });
}

std::vector<std::uint8_t> ApplyReport::registersWritten() const {
    std::vector<std::uint8_t> codes;
    for (const AppliedSetting& setting : settings)
        codes.insert(codes.end(), setting.written.begin(), setting.written.end());
    return codes;
}

ApplyReport applyProfile(link::CameraConnection& camera, const CheckedProfile& profile,
                         const ApplyOptions& options) {
    ApplyReport report;
    report.verified = options.verify;
    for (const PlannedSetting& planned : profile.settings)
        report.settings.push_back({&planned, ApplyStatus::NotSent, {}, std::nullopt});
    writeInSaveOrder(camera, report, options);
    // A camera that went away cannot be read back: what was written stays "written".
    if (report.cameraPresent && options.verify)
        for (AppliedSetting& setting : report.settings)
            readBack(camera, setting);
    if (!options.clock) return report;
    report.clockAsked = true;
    if (!report.cameraPresent) {
        report.clockError =
            report.cameraSilent ? "not sent: the camera stopped answering" : "not sent: the camera went away";
        return report;
    }
    if (const auto before = camera.readClock()) report.clockBefore = *before;
    const link::Outcome written = camera.writeClock(*options.clock);
    if (const auto after = camera.readClock()) report.clockAfter = *after;
    if (!written) report.clockError = written.error().text;
    return report;
}

} // namespace trelvik::settings
