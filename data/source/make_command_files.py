#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the sample command files data/mass_cmd.ini and data/Camera_Setting.ini.

The registers, their choices and ranges are our own sample values for a typical trail
camera; edit them here and run this script again (python3 data/source/make_command_files.py).
"""
import os

ON_OFF = ["0:Off", "1:On"]

# (code, name, choices or (min, max))
REGISTERS = [
    (0x00, "DEBUG_SETTING", ["0:Normal", "1:Debug log", "2:Factory test"]),
    (0x01, "RESOLUTION_MODE", ["0:2M 1600x1200", "1:5M 2560x1920", "2:8M 3264x2448", "3:12M 4000x3000"]),
    (0x02, "AVI_RESOLUTION", ["0:VGA 640x480", "1:HD 1280x720", "2:Full HD 1920x1080"]),
    (0x03, "POW_MODE", ["0:1 min", "1:3 min", "2:5 min", "3:Never"]),
    (0x04, "BEEP_MODE", ON_OFF),
    (0x05, "TV_MODE", ["0:NTSC", "1:PAL"]),
    (0x06, "LANGUAGE_MODE", ["0:English", "1:Deutsch", "2:Fran\u00e7ais", "3:Espa\u00f1ol", "4:Italiano"]),
    (0x07, "FREQ_MODE", ["0:50 Hz", "1:60 Hz"]),
    (0x08, "PANEL_BRIGHTNESS_MODE", ["0:Low", "1:Normal", "2:High"]),
    (0x09, "LCD_MODE", ["0:Auto off", "1:Always on"]),
    (0x0A, "PANEL_SELECT", ["0:Internal", "1:External"]),
    (0x0B, "FLASH_MODE", ["0:Auto", "1:On", "2:Off"]),
    (0x0C, "QUALITY_MODE", ["0:Economy", "1:Normal", "2:Fine"]),
    (0x0D, "CAPTURE_MODE", ["0:Photo", "1:Video", "2:Photo + Video"]),
    (0x0E, "WB_MODE", ["0:Auto", "1:Daylight", "2:Cloudy", "3:Tungsten", "4:Fluorescent"]),
    (0x0F, "EV_MODE", ["0:-2.0 EV", "1:-1.0 EV", "2:0 EV", "3:+1.0 EV", "4:+2.0 EV"]),
    (0x10, "DATE_STAMP_MODE", ["0:Off", "1:Date", "2:Date and time"]),
    (0x11, "CONTINUOUS_MODE", ON_OFF),
    (0x12, "FD_MODE", ON_OFF),
    (0x13, "SCENE_MODE", ["0:Auto", "1:Landscape", "2:Night", "3:Sport"]),
    (0x14, "ISO_MODE", ["0:Auto", "1:ISO 100", "2:ISO 200", "3:ISO 400", "4:ISO 800"]),
    (0x15, "SHARP_MODE", ["0:Soft", "1:Normal", "2:Sharp"]),
    (0x16, "AVI_AUDIO_MODE", ON_OFF),
    (0x17, "AVI_FRAME_MODE", ["0:15 fps", "1:30 fps"]),
    (0x18, "AVI_DATE_STAMP_MODE", ON_OFF),
    (0x19, "AUDIO_TYPE", ["0:PCM", "1:ADPCM"]),
    (0x1A, "AUDIO_SAMPLE_MODE", ["0:8 kHz", "1:16 kHz", "2:32 kHz"]),
    (0x1B, "ANTI_SHAKE", ON_OFF),
    (0x1C, "SATURATION_MODE", ["0:Low", "1:Normal", "2:High"]),
    (0x1D, "PAPER_SIZE_INDEX", ["0:Default", "1:4x6 in", "2:A4", "3:Letter"]),
    (0x1E, "PRINT_DATE_STAMP_MODE", ON_OFF),
    (0x1F, "SYS_MODE", ["0:Camera", "1:Hunter"]),
    (0x20, "FUN_MODE", ["0:Normal", "1:Setup"]),
    (0x21, "USB_MODE", ["0:Mass storage", "1:PC camera"]),
    (0x22, "AVI_PLB_SHOW_MODE", ["0:Thumbnails", "1:Full screen"]),
    (0x23, "AUDIO_PLB_VOLUME", (0, 8)),
    (0x24, "RESERVED_24", (0, 255)),
    (0x25, "RESERVED_25", (0, 255)),
    (0x26, "RESERVED_26", (0, 255)),
    (0x27, "LONG_EXPOSURE_MODE", ON_OFF),
    (0x28, "MACRO_MODE", ON_OFF),
    (0x29, "COLOR_MODE", ["0:Color", "1:Black and white", "2:Sepia"]),
    (0x2A, "METERING_MODE", ["0:Center", "1:Multi", "2:Spot"]),
    (0x2B, "SMILE", ON_OFF),
    (0x2C, "MOTION_KEY", ON_OFF),
    (0x2D, "INTERNAL_RAM_QUALITY_MODE", ["0:Economy", "1:Normal", "2:Fine"]),
    (0x2E, "INTERNAL_RAM_RESOLUTION_MODE", ["0:VGA", "1:1M", "2:2M"]),
    (0x2F, "AF_MODE", ["0:Single", "1:Continuous"]),
    (0x30, "WDR_MODE", ON_OFF),
    (0x31, "TIME_FORMAT", ["0:24h", "1:12h"]),
    (0x32, "DATE_FORMAT", ["0:DD/MM/YYYY", "1:YYYY/MM/DD", "2:MM/DD/YYYY"]),
    (0x33, "TIMELAPSE_VIDEO_RESOLUTION", ["0:VGA 640x480", "1:HD 1280x720"]),
    (0x34, "TIMELAPSE_ENABLE", ON_OFF),
    (0x35, "HC_DOWN_COUNT", (0, 255)),
    (0x36, "HC_DOWN_COUNT_MID", (0, 255)),
    (0x37, "HC_DOWN_COUNT_HIGH", (0, 255)),
    (0x38, "CONTINUOUS_CAPTURE_COUNT", (1, 10)),
    # Duration scale: positions 0-59 are seconds, 60 and above are minutes (60 = 1 min).
    (0x39, "AVI_RECORD_TIME", (5, 69)),
    (0x3A, "IR_BRIGHTNESS", ["0:Low", "1:Medium", "2:High"]),
    (0x3B, "BATTERY_WARNING", ["0:Off", "1:20 %", "2:10 %"]),
    (0x3C, "PIR_CENTER_ENABLE", ON_OFF),
    (0x3D, "PIR_SIDE_ENABLE", ON_OFF),
    (0x3E, "PIR_SENSITIVITY", ["0:Low", "1:Normal", "2:High"]),
    (0x3F, "TIMELAPSEAVI_MODE", ON_OFF),
    (0x40, "ENDLESS_CAPTURE_MODE", ON_OFF),
    (0x41, "MONITORON_MODE", ["0:Off", "1:Motion", "2:Timelapse", "3:Motion + Timelapse"]),
    (0x42, "HC_PIR_INTERVAL", (5, 119)),
    (0x43, "HC_PIR_INTERVAL_HIGH", (0, 255)),
    (0x44, "TIMER1_ENABLE", ON_OFF),
    (0x45, "TIMER1_START_HOUR", (0, 23)),
    (0x46, "TIMER1_START_MINUTE", (0, 59)),
    (0x47, "TIMER1_STOP_HOUR", (0, 23)),
    (0x48, "TIMER1_STOP_MINUTE", (0, 59)),
    (0x49, "TIMER2_ENABLE", ON_OFF),
    (0x4A, "TIMER2_START_HOUR", (0, 23)),
    (0x4B, "TIMER2_START_MINUTE", (0, 59)),
    (0x4C, "TIMER2_STOP_HOUR", (0, 23)),
    (0x4D, "TIMER2_STOP_MINUTE", (0, 59)),
    (0x4E, "PASSWORD_ENABLE", ON_OFF),
] + [(0x4F + i, "PASSWORD_%d" % (i + 1), (0, 255)) for i in range(4)] + [
    (0x53, "SERIAL_NUMBER_ENABLE", ON_OFF),
] + [(0x54 + i, "SERIAL_NUMBER_%d" % (i + 1), (0, 255)) for i in range(10)] + [
    (0x5E, "COORDINATE_ENABLE", ON_OFF),
    (0x5F, "LATITUDE", (0, 1)),
    (0x60, "LATITUDE_DEGREE", (0, 90)),
    (0x61, "LATITUDE_MINUTE", (0, 59)),
    (0x62, "LATITUDE_SECOND", (0, 59)),
    (0x63, "LONGITUDE", (0, 1)),
    (0x64, "LONGITUDE_DEGREE", (0, 180)),
    (0x65, "LONGITUDE_MINUTE", (0, 59)),
    (0x66, "LONGITUDE_SECOND", (0, 59)),
    (0x67, "AVI_OVERLAPPED_BLOCKS", ["0:Off", "1:2 blocks", "2:4 blocks"]),
    (0x68, "PHOTO_RECOVERY_INTERVAL", (0, 60)),
]

# The settings tool's page: names and labels are message references ("#" + hexadecimal
# MsgId) so the message file words them in every language. MsgIds 0x200 and up.
SETTINGS = [
    (0x41, "#200", ["0:#210", "1:#211", "2:#212", "3:#213"]),
    (0x38, "#201", (1, 10)),
    (0x68, "#202", (0, 60)),
    (0x39, "#203", (5, 69)),
    (0x42, "#204", (5, 119)),
    (0x40, "#205", ["0:#214", "1:#215"]),
    (0x1E, "#206", ["0:#214", "1:#215"]),
    (0x45, "#207", (0, 23)),
    (0x46, "#208", (0, 59)),
    (0x47, "#209", (0, 23)),
    (0x48, "#20A", (0, 59)),
    (0x32, "DATE_FORMAT", ["0:DD/MM/YYYY", "1:YYYY/MM/DD", "2:MM/DD/YYYY"]),
    (0x31, "TIME_FORMAT", ["0:24h", "1:12h"]),
]


def section(index, code, name, values):
    lines = ["[Mass_Cmd_%02X]" % index, "name=%s" % name, "cmd=0x%02X" % code]
    if isinstance(values, tuple):
        lines.append("range=%d-%d" % values)
    else:
        lines.append("count=%d" % len(values))
        lines += ["%d=%s" % (i, choice) for i, choice in enumerate(values)]
    return "\n".join(lines) + "\n"


def write(path, title, registers):
    text = "[APP]\nTitle=%s\n\n" % title
    text += "\n".join(section(i, *r) for i, r in enumerate(registers))
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


here = os.path.dirname(os.path.abspath(__file__))
data = os.path.dirname(here)
write(os.path.join(data, "mass_cmd.ini"), "Trelvik - trail camera configuration", REGISTERS)
write(os.path.join(data, "Camera_Setting.ini"), "Trelvik - camera settings", SETTINGS)
