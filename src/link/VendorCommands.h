// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "link/Status.h"
#include "platform/Disk.h"

// The camera's vendor operations. Each one is exactly one transfer on an open disk, never
// retried; results are Ok, Failed, and NotSupported ("register not supported") for the two
// register operations only. Nothing is shown to the user here.
namespace trelvik::link {

using platform::Disk;

// Reads the camera clock into tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec (other fields
// untouched). Ok on success; Failed and `time` untouched on failure.
Status ReadCameraClock(Disk& disk, std::tm& time);
// Sets the camera clock from the same six fields. Ok when the transfer completed, else Failed.
Status WriteCameraClock(Disk& disk, const std::tm& time);
// Reads the firmware version text. Ok and the text (Example: "V1.07"); Failed and "<N/A>".
Status ReadVersionString(Disk& disk, std::string& text);
// Reads the status bytes of media slots 0-3. Ok; Failed and `status` untouched on failure.
Status ReadCardStatus(Disk& disk, std::array<std::uint8_t, 4>& status);
// Reads register `code`. Ok and `value`; NotSupported when the camera does not know it; Failed
// otherwise. `value` is written only on Ok. Example: ReadRegister(disk, 0x05, v) -> Ok, v = 0x02.
Status ReadRegister(Disk& disk, std::uint8_t code, std::uint8_t& value);
// Writes `value` into register `code`. Ok when echoed, NotSupported, or Failed.
Status WriteRegister(Disk& disk, std::uint8_t code, std::uint8_t value);
// Reads the model text into `buffer` (pass 33 bytes for the full 32 characters), always
// zero-terminated at size-1. Ok; Failed and `buffer` untouched on failure or size 0.
Status ReadModelId(Disk& disk, char* buffer, std::size_t size);
// Reads the make text, with the same rules as ReadModelId.
Status ReadMakeId(Disk& disk, char* buffer, std::size_t size);
// Switches the camera into PC-camera (webcam) mode. Ok when acknowledged, else Failed.
Status ChangeToPcCam(Disk& disk);
// Formats the medium in slot `medium` (0-3, as ReadCardStatus numbers them). Ok on success.
Status FormatCard(Disk& disk, std::uint8_t medium);
// Sets the camera's flash-save flag (0 before writing all settings, 1 after). Ok on success.
Status SetFlashSave(Disk& disk, std::uint8_t flag);

} // namespace trelvik::link
