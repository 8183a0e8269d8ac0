// SPDX-License-Identifier: MIT
#include "utilities/UtilityBoxes.h"

namespace trelvik::utilities {

namespace {

// In MediaEvent's order.
constexpr UtilityBox kCardFormatBoxes[] = {
    {"Fail to query card status!", "", kBoxError, 283, 0},
    {"The \"%s\" medium can not be formated now!", "", kBoxError, 289, 0},
    {"Are you sure to format the \"%s\" medium?", "Format?", kBoxQuestionYesNo, 290, 291},
    {"The \"%s\" medium is formated successfully!", "OK", kBoxInformation, 292, 293},
    {"The \"%s\" medium is formated failed!", "", kBoxError, 294, 0},
};

constexpr UtilityBox kPcCamChanged{"Change to PCCam mode successfully!", "Change Mode", kBoxInformation, 296,
                                   297};
constexpr UtilityBox kPcCamFailed{"Fail to change to PCCam mode!", "", kBoxError, 284, 0};

} // namespace

const UtilityBox& cardFormatBox(MediaEvent event) {
    return kCardFormatBoxes[static_cast<int>(event)];
}

const UtilityBox& pcCamBox(bool changed) {
    return changed ? kPcCamChanged : kPcCamFailed;
}

std::string withMediumName(std::string_view text, std::string_view name) {
    const std::size_t at = text.find("%s");
    if (at == std::string_view::npos) return std::string(text);
    std::string out(text.substr(0, at));
    out += name;
    out += text.substr(at + 2);
    return out;
}

} // namespace trelvik::utilities
