// SPDX-License-Identifier: MIT
#include "sim/CameraState.h"

#include "text/Hex.h"

#include <cstdio>

namespace trelvik::sim {

namespace {

struct FactoryValue {
    std::uint8_t code;
    std::uint8_t value;
};

// Factory settings of the simulated camera. Codes missing here (0x24-0x26, which the camera
// does not support, and all codes above 0x68) are 0. The values are chosen to be plausible
// for a trail camera and to exercise the encodings: multi-byte counts, the duration byte,
// text registers.
//
//   code  register                       value  meaning
//   0x00  DEBUG_SETTING                  0x00   off (0xFF written here resets the camera)
//   0x01  RESOLUTION_MODE                0x02
//   0x02  AVI_RESOLUTION                 0x01
//   0x03  POW_MODE                       0x01
//   0x04  BEEP_MODE                      0x01
//   0x05  TV_MODE                        0x00
//   0x06  LANGUAGE_MODE                  0x00
//   0x07  FREQ_MODE                      0x01
//   0x08  PANEL_BRIGHTNESS_MODE          0x02
//   0x09  LCD_MODE .. 0x0B FLASH_MODE    0x00
//   0x0C  QUALITY_MODE                   0x01
//   0x0D  CAPTURE_MODE, 0x0E WB_MODE     0x00
//   0x0F  EV_MODE                        0x02   0 EV, the middle of 5 steps
//   0x10  DATE_STAMP_MODE                0x01
//   0x11  CONTINUOUS_MODE .. 0x14 ISO    0x00
//   0x15  SHARP_MODE                     0x01
//   0x16  AVI_AUDIO_MODE                 0x01
//   0x17  AVI_FRAME_MODE                 0x00
//   0x18  AVI_DATE_STAMP_MODE            0x01
//   0x19  AUDIO_TYPE .. 0x1B ANTI_SHAKE  0x00
//   0x1C  SATURATION_MODE                0x01
//   0x1D  PAPER_SIZE_INDEX .. 0x22       0x00
//   0x23  AUDIO_PLB_VOLUME               0x05
//   0x27  LONG_EXPOSURE_MODE .. 0x2C     0x00
//   0x2D  INTERNAL_RAM_QUALITY_MODE      0x01
//   0x2E  INTERNAL_RAM_RESOLUTION_MODE .. 0x34 TIMELAPSE_ENABLE  0x00
//   0x35  HC_DOWN_COUNT bits 0-7         0x10   3600 = 0x000E10
//   0x36  HC_DOWN_COUNT bits 8-15        0x0E
//   0x37  HC_DOWN_COUNT bits 16-23       0x00
//   0x38  CONTINUOUS_CAPTURE_COUNT       0x01
//   0x39  AVI_RECORD_TIME                0x0A   10 seconds
//   0x3A  IR_BRIGHTNESS                  0x01
//   0x3B  BATTERY_WARNING                0x01
//   0x3C  PIR_CENTER_ENABLE              0x01
//   0x3D  PIR_SIDE_ENABLE                0x01
//   0x3E  PIR_SENSITIVITY                0x01
//   0x3F  TIMELAPSEAVI_MODE .. 0x41      0x00
//   0x42  HC_PIR_INTERVAL low byte       0x3C   60 seconds
//   0x43  HC_PIR_INTERVAL high byte      0x00
//   0x44  TIMER1_ENABLE                  0x00
//   0x45  TIMER1_START_HOUR              0x12   18:00
//   0x46  TIMER1_START_MINUTE            0x00
//   0x47  TIMER1_STOP_HOUR               0x06   06:00
//   0x48  TIMER1_STOP_MINUTE .. 0x4E     0x00   timer 2 off, password off
//   0x4F  PASSWORD 0x4F-0x52             0x30   "0000"
//   0x53  SERIAL_NUMBER_ENABLE .. 0x67   0x00   empty serial number, no coordinates
//   0x68  PHOTO_RECOVERY_INTERVAL        0x05
constexpr FactoryValue kFactoryValues[] = {
    {0x01, 0x02}, {0x02, 0x01}, {0x03, 0x01}, {0x04, 0x01}, {0x07, 0x01}, {0x08, 0x02}, {0x0C, 0x01},
    {0x0F, 0x02}, {0x10, 0x01}, {0x15, 0x01}, {0x16, 0x01}, {0x18, 0x01}, {0x1C, 0x01}, {0x23, 0x05},
    {0x2D, 0x01}, {0x35, 0x10}, {0x36, 0x0E}, {0x38, 0x01}, {0x39, 0x0A}, {0x3A, 0x01}, {0x3B, 0x01},
    {0x3C, 0x01}, {0x3D, 0x01}, {0x3E, 0x01}, {0x42, 0x3C}, {0x45, 0x12}, {0x47, 0x06}, {0x4F, 0x30},
    {0x50, 0x30}, {0x51, 0x30}, {0x52, 0x30}, {0x68, 0x05},
};

std::array<std::uint8_t, 256> buildFactoryRegisters() {
    std::array<std::uint8_t, 256> registers{};
    for (const FactoryValue& v : kFactoryValues)
        registers[v.code] = v.value;
    return registers;
}

} // namespace

const std::array<std::uint8_t, 256>& factoryRegisters() {
    static const std::array<std::uint8_t, 256> registers = buildFactoryRegisters();
    return registers;
}

CameraState factoryState() {
    CameraState state;
    state.registers = factoryRegisters();
    state.defaults = factoryRegisters();
    state.unsupported = {0x24, 0x25, 0x26};
    state.version = "V1.02";
    state.model = "TRELVIK SIMCAM TC-20";
    state.make = "Trelvik Outdoor";
    state.media = {0x04, 0x00, 0x00, 0x00}; // a memory card in slot 0, nothing else
    return state;
}

std::string codeKey(std::uint8_t code) {
    return text::hexByte(code);
}

} // namespace trelvik::sim
