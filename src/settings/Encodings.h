// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/Status.h"

// How setting values sit in the camera's one-byte registers and on the window's track bars.
// Nothing here talks to a camera.
namespace trelvik::settings {

using link::Status;

// The status of a setting read over several registers: Ok when every read was, else Failed
// when any failed, else NotSupported. Example: {Ok, Ok, NotSupported} -> NotSupported.
Status combinedStatus(std::span<const Status> statuses);

// The `width` low bytes of `value`, lowest first. Example: (0x012C, 2) -> {0x2C, 0x01}.
std::vector<std::uint8_t> splitBytes(unsigned value, int width);
// The number that `bytes` hold, lowest first. Example: {0x10, 0x27, 0x00} -> 10000.
unsigned joinBytes(std::span<const std::uint8_t> bytes);

// Seconds and minutes share one track-bar scale: positions 0 to 59 are seconds, a position
// p of 60 or more is p - 59 minutes.
inline constexpr int kLastSecondPosition = 59;

// A duration as the window shows it: the track bar's position and the value label's amount.
struct ShownDuration {
    int position;
    int amount;
    bool minutes; // the amount counts minutes, else seconds
    bool operator==(const ShownDuration&) const = default;
};

// "%d sec" or "%d min". Example: {64, 5, true} -> "5 min".
std::string durationText(const ShownDuration& duration);

// The record-time byte: bit 7 set, bits 0-6 are minutes; clear, seconds. Seconds beyond the
// scale's 59 are shown in whole minutes, so that writing back what was shown stays on the
// scale. Examples: 0x85 -> {64, 5, min}; 0x1E -> {30, 30, sec}; 0x50 (80 s) -> {60, 1, min}.
ShownDuration recordTimeFromByte(std::uint8_t byte);
// The record-time byte for a position; minutes above 127 keep their low 7 bits.
// Examples: 59 -> 0x3B; 60 -> 0x81; 80 -> 0x95.
std::uint8_t recordTimeByte(int position);
// The value label of a record-time position. Example: 64 -> {64, 5, min}.
ShownDuration recordTimeAt(int position);

// The largest interval the two interval registers hold in whole minutes: 1092 min.
inline constexpr unsigned kMaxIntervalSeconds = 65535 / 60 * 60;
// An interval in seconds; beyond 59 seconds in whole minutes, the remainder dropped.
// Examples: 300 -> {64, 5, min}; 90 -> {60, 1, min}; 45 -> {45, 45, sec}.
ShownDuration intervalFromSeconds(unsigned seconds);
// The seconds written for a position, at most kMaxIntervalSeconds. Example: 64 -> 300.
unsigned intervalSeconds(int position);
// The value label of an interval position. Example: 64 -> {64, 5, min}.
ShownDuration intervalAt(int position);

// Text registers: one byte per character, the trailing zero bytes left out (a write fills
// them in again). The edit shows each byte as one character, so a text read and written back
// unchanged gives the same bytes: 0x20-0x7E as themselves, 0xA0-0xFF and the C1 bytes
// 0x80-0x9F as the Latin-1 characters of the same number, and the control bytes 0x00-0x1F and
// 0x7F as their Unicode control pictures (U+2400-U+241F, U+2421), which the edit shows and
// keeps. Example: {'A', 0x01, 'b', 0x00, 'x', 0x00} -> u"A\u2401b\u2400x".
std::u16string textFromRegisters(std::span<const std::uint8_t> bytes);
// The `width` bytes for an edit's text: its first `width` characters, then zero bytes. A
// character that stands for no byte (beyond Latin-1, a raw U+0000) becomes '?', as a conversion
// to a single-byte code page makes it. Example: (u"ab", 4) -> {'a', 'b', 0, 0}.
std::vector<std::uint8_t> registersFromText(std::u16string_view text, int width);
// The byte one character of the edit stands for; nullopt for a character that stands for none.
// Examples: u'A' -> 0x41, u'\u2401' -> 0x01, u'\u00E9' -> 0xE9, u'\u20AC' -> nullopt.
std::optional<std::uint8_t> byteOfTextCharacter(char16_t c);

} // namespace trelvik::settings
