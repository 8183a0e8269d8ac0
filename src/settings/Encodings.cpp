// SPDX-License-Identifier: MIT
#include "settings/Encodings.h"

#include <algorithm>
#include <limits>

namespace trelvik::settings {

namespace {
constexpr std::uint8_t kMinutesFlag = 0x80;
constexpr int kSecondsPerMinute = 60;
constexpr char16_t kControlPictures = 0x2400; // U+2400 + byte pictures the bytes below 0x20
constexpr char16_t kDeletePicture = 0x2421;
constexpr std::uint8_t kDelete = 0x7F;
constexpr char16_t kLastLatin1 = 0xFF;

ShownDuration seconds(int amount) {
    return {amount, amount, false};
}
ShownDuration minutes(int amount) {
    return {amount + kLastSecondPosition, amount, true};
}

} // namespace

Status combinedStatus(std::span<const Status> statuses) {
    if (std::all_of(statuses.begin(), statuses.end(), [](Status s) { return s == Status::Ok; }))
        return Status::Ok;
    if (std::find(statuses.begin(), statuses.end(), Status::Failed) != statuses.end()) return Status::Failed;
    return Status::NotSupported;
}

std::vector<std::uint8_t> splitBytes(unsigned value, int width) {
    std::vector<std::uint8_t> bytes;
    // Past the value's own bytes, the registers get zeros: shifting by its whole width or more
    // is undefined.
    for (int i = 0; i < width; ++i)
        bytes.push_back(8 * i < std::numeric_limits<unsigned>::digits
                            ? static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF)
                            : std::uint8_t{0});
    return bytes;
}

unsigned joinBytes(std::span<const std::uint8_t> bytes) {
    unsigned value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

std::string durationText(const ShownDuration& duration) {
    return std::to_string(duration.amount) + (duration.minutes ? " min" : " sec");
}

ShownDuration recordTimeFromByte(std::uint8_t byte) {
    if (byte & kMinutesFlag) return minutes(byte & ~kMinutesFlag);
    if (byte <= kLastSecondPosition) return seconds(byte);
    return minutes(byte / kSecondsPerMinute);
}

std::uint8_t recordTimeByte(int position) {
    if (position <= kLastSecondPosition) return static_cast<std::uint8_t>(position);
    return static_cast<std::uint8_t>(kMinutesFlag | ((position - kLastSecondPosition) & 0x7F));
}

ShownDuration recordTimeAt(int position) {
    if (position <= kLastSecondPosition) return seconds(position);
    return {position, (position - kLastSecondPosition) & 0x7F, true};
}

ShownDuration intervalFromSeconds(unsigned secondsRead) {
    if (secondsRead <= kLastSecondPosition) return seconds(static_cast<int>(secondsRead));
    return minutes(static_cast<int>(secondsRead / kSecondsPerMinute));
}

unsigned intervalSeconds(int position) {
    if (position <= kLastSecondPosition) return static_cast<unsigned>(std::max(position, 0));
    return std::min(static_cast<unsigned>(position - kLastSecondPosition) * kSecondsPerMinute,
                    kMaxIntervalSeconds);
}

ShownDuration intervalAt(int position) {
    if (position <= kLastSecondPosition) return seconds(position);
    return {position, static_cast<int>(intervalSeconds(position) / kSecondsPerMinute), true};
}

std::u16string textFromRegisters(std::span<const std::uint8_t> bytes) {
    // Trailing zero bytes are the filling a write adds back; a zero byte before others is
    // shown, so that the bytes after it survive a Load and Save.
    std::size_t length = bytes.size();
    while (length > 0 && bytes[length - 1] == 0)
        --length;
    std::u16string text;
    for (std::uint8_t byte : bytes.first(length)) {
        if (byte < 0x20)
            text += static_cast<char16_t>(kControlPictures + byte);
        else if (byte == kDelete)
            text += kDeletePicture;
        else
            text += static_cast<char16_t>(byte);
    }
    return text;
}

std::optional<std::uint8_t> byteOfTextCharacter(char16_t c) {
    if (c == kDeletePicture) return kDelete;
    if (c >= kControlPictures && c < kControlPictures + 0x20)
        return static_cast<std::uint8_t>(c - kControlPictures);
    if ((c >= 0x20 && c < kDelete) || (c >= 0x80 && c <= kLastLatin1)) return static_cast<std::uint8_t>(c);
    return std::nullopt;
}

std::vector<std::uint8_t> registersFromText(std::u16string_view text, int width) {
    // A character that stands for no byte becomes '?', as a single-byte code page makes it.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max(width, 0)), 0);
    for (std::size_t i = 0; i < bytes.size() && i < text.size(); ++i)
        bytes[i] = byteOfTextCharacter(text[i]).value_or('?');
    return bytes;
}

} // namespace trelvik::settings
