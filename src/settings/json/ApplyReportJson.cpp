// SPDX-License-Identifier: MIT
#include "settings/json/ApplyReportJson.h"

#include "text/Hex.h"
#include "utilities/CameraClock.h"

namespace trelvik::settings {

namespace {

using Json = nlohmann::ordered_json;

Json clockJson(const std::optional<std::tm>& time) {
    return time ? Json(utilities::formatDateTime(*time)) : Json(nullptr);
}

Json outcomeJson(const link::Outcome& outcome) {
    return outcome ? Json("ok") : Json(outcome.error().text);
}

Json writtenJson(const std::vector<std::uint8_t>& codes) {
    Json list = Json::array();
    for (std::uint8_t code : codes)
        list.push_back(text::hexByte(code));
    return list;
}

} // namespace

Json codesJson(const SettingRow& row) {
    Json codes = Json::array();
    for (int i = 0; i < row.width; ++i)
        codes.push_back(text::hexByte(static_cast<std::uint8_t>(row.code + i)));
    return codes;
}

Json applyReportJson(link::CameraConnection& camera, const ApplyReport& apply, const std::string& device) {
    Json rows = Json::array();
    for (const AppliedSetting& setting : apply.settings) {
        const SettingRow& row = *setting.planned->row;
        rows.push_back(
            {{"name", row.name},
             {"codes", codesJson(row)},
             {"wanted", setting.planned->value},
             {"read_back", setting.readBack ? Json(profileValue(row, *setting.readBack)) : Json(nullptr)},
             {"written", writtenJson(setting.written)},
             {"status", std::string(applyStatusName(setting.status))}});
    }
    const auto identity = [](const link::Result<std::string>& value) {
        return value ? Json(*value) : Json(nullptr);
    };
    Json clock = nullptr;
    if (apply.clockAsked && !apply.cameraPresent) {
        clock = {{"error", apply.clockError}};
    } else if (apply.clockAsked) {
        clock = {{"before", clockJson(apply.clockBefore)}, {"after", clockJson(apply.clockAfter)}};
        if (apply.clockFailed()) clock["error"] = apply.clockError;
    }
    const ApplyReport::Summary summary = apply.summary();
    return {{"device", device},
            {"identity",
             {{"version", identity(camera.readVersion())},
              {"model", identity(camera.readModel())},
              {"make", identity(camera.readMake())}}},
            {"settings", rows},
            {"flash_save",
             {{"before", apply.flashHold ? outcomeJson(*apply.flashHold) : nullptr},
              {"after", apply.flashKeep ? outcomeJson(*apply.flashKeep) : Json("not sent")}}},
            {"clock", clock},
            {"summary",
             {{"verified", summary.verified},
              {"written", summary.written},
              {"mismatch", summary.mismatch},
              {"failed", summary.failed},
              {"unsupported", summary.unsupported}}}};
}

std::string jsonDocument(const nlohmann::ordered_json& document) {
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace trelvik::settings
