// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/Disk.h"

// The camera's vendor operations. Each one is exactly one transfer on an open disk, never
// retried; results are 1 success, 0 failure, and -1 "register not supported" for the two
// register operations. Nothing is shown to the user here.
namespace trelvik::link {

using platform::Disk;

// Reads the camera clock into tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec (other fields
// untouched). 1 on success; 0 and `time` untouched on failure.
int ReadCameraClock(Disk& disk, std::tm& time);
// Sets the camera clock from the same six fields. 1 when the transfer completed, else 0.
int WriteCameraClock(Disk& disk, const std::tm& time);
// Reads the firmware version text. 1 and the text (Example: "V1.07"); 0 and "<N/A>" on failure.
int ReadVersionString(Disk& disk, std::string& text);
// Reads the status bytes of media slots 0-3. 1 on success; 0 and `status` untouched on failure.
int ReadCardStatus(Disk& disk, std::array<std::uint8_t, 4>& status);
// Reads register `code`. 1 and `value`; -1 when the camera does not support it; 0 on failure.
// `value` is written only on 1. Example: ReadRegister(disk, 0x05, v) -> 1, v = 0x02.
int ReadRegister(Disk& disk, std::uint8_t code, std::uint8_t& value);
// Writes `value` into register `code`. 1 when echoed, -1 not supported, 0 on failure.
int WriteRegister(Disk& disk, std::uint8_t code, std::uint8_t value);
// Reads the model text into `buffer` (pass 33 bytes for the full 32 characters), always
// zero-terminated at size-1. 1 on success; 0 and `buffer` untouched on failure or size 0.
int ReadModelId(Disk& disk, char* buffer, std::size_t size);
// Reads the make text, with the same rules as ReadModelId.
int ReadMakeId(Disk& disk, char* buffer, std::size_t size);
// Switches the camera into PC-camera (webcam) mode. 1 when acknowledged, else 0.
int ChangeToPcCam(Disk& disk);
// Formats the medium in slot `medium` (0-3, as ReadCardStatus numbers them). 1 on success.
int FormatCard(Disk& disk, std::uint8_t medium);
// Sets the camera's flash-save flag (0 before writing all settings, 1 after). 1 on success.
int SetFlashSave(Disk& disk, std::uint8_t flag);

} // namespace trelvik::link
