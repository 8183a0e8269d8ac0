// SPDX-License-Identifier: MIT
#include "link/VendorProtocol.h"

#include <algorithm>

namespace trelvik::link {

namespace {

constexpr std::size_t kTagOffset = 3;
constexpr std::size_t kEchoOffset = 9; // first argument echoed, or "N" of "NS"
constexpr std::size_t kValueOffset = 10;
constexpr std::uint8_t kNotSupported0 = 'N';
constexpr std::uint8_t kNotSupported1 = 'S';

// Byte `index` of the reply, or nothing when the reply is shorter: every decoder reads through
// this or checks the size itself, so no reply can lead a read past its end.
bool byteAt(std::span<const std::uint8_t> reply, std::size_t index, std::uint8_t& byte) {
    if (index >= reply.size()) return false;
    byte = reply[index];
    return true;
}

bool hasMagic(std::span<const std::uint8_t> reply) {
    return reply.size() >= 2 && reply[0] == 'Q' && reply[1] == 'Z';
}

bool isNotSupported(std::span<const std::uint8_t> reply) {
    std::uint8_t n = 0, s = 0;
    return byteAt(reply, kEchoOffset, n) && byteAt(reply, kValueOffset, s) && n == kNotSupported0 &&
           s == kNotSupported1;
}

} // namespace

std::array<std::uint8_t, 16> SignedCdb(std::uint8_t param, const char (&sig)[8], std::uint8_t arg1,
                                       std::uint8_t arg2) {
    std::array<std::uint8_t, 16> cdb{};
    cdb[0] = kSignedOpcode;
    cdb[1] = param;
    for (std::size_t i = 0; i < 7; ++i)
        cdb[2 + i] = static_cast<std::uint8_t>(sig[i]);
    cdb[9] = arg1;
    cdb[10] = arg2;
    return cdb;
}

std::array<std::uint8_t, 16> SignedCdb(const SignedCommand& command, std::uint8_t arg1, std::uint8_t arg2) {
    return SignedCdb(command.param, command.signature, arg1, arg2);
}

std::array<std::uint8_t, 16> readRegisterCdb(std::uint8_t code) {
    return SignedCdb(kCmdReadRegister, code);
}

std::array<std::uint8_t, 16> writeRegisterCdb(std::uint8_t code, std::uint8_t value) {
    return SignedCdb(kCmdWriteRegister, code, value);
}

std::array<std::uint8_t, 16> formatCardCdb(std::uint8_t medium) {
    return SignedCdb(kCmdFormatCard, medium);
}

std::array<std::uint8_t, 6> clockCdb(std::uint8_t opcode) {
    std::array<std::uint8_t, 6> cdb{};
    cdb[0] = opcode;
    return cdb;
}

bool ReplyHasTag(std::span<const std::uint8_t> reply, std::uint8_t lengthByte, std::string_view tag) {
    if (!hasMagic(reply)) return false;
    std::uint8_t length = 0;
    if (!byteAt(reply, 2, length) || length != lengthByte) return false;
    if (reply.size() < kTagOffset + tag.size()) return false;
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (reply[kTagOffset + i] != static_cast<std::uint8_t>(tag[i])) return false;
    return true;
}

Status decodeRegisterRead(std::span<const std::uint8_t> reply, std::uint8_t code, std::uint8_t& value) {
    if (!ReplyHasTag(reply, kRegisterLengthByte, "DBUGRD")) return Status::Failed;
    // The echo is tested before "NS": register 0x4E ('N') answered "NS" is the value 0x53.
    std::uint8_t echo = 0, byte = 0;
    if (byteAt(reply, kEchoOffset, echo) && echo == code && byteAt(reply, kValueOffset, byte)) {
        value = byte;
        return Status::Ok;
    }
    return isNotSupported(reply) ? Status::NotSupported : Status::Failed;
}

Status decodeRegisterWrite(std::span<const std::uint8_t> reply, std::uint8_t code, std::uint8_t value) {
    if (!ReplyHasTag(reply, kRegisterLengthByte, "DBUGWR")) return Status::Failed;
    std::uint8_t echo = 0, byte = 0;
    if (byteAt(reply, kEchoOffset, echo) && byteAt(reply, kValueOffset, byte) && echo == code &&
        byte == value)
        return Status::Ok;
    return isNotSupported(reply) ? Status::NotSupported : Status::Failed;
}

bool decodeVersionString(std::span<const std::uint8_t> reply, std::string& text) {
    std::uint8_t length = 0;
    if (!hasMagic(reply) || !byteAt(reply, 2, length)) return false;
    // A length byte past the reply's 13 characters is cut there rather than read beyond it.
    const std::size_t available = reply.size() - kTagOffset;
    const std::size_t count = std::min({static_cast<std::size_t>(length), kVersionTextLimit, available});
    const auto first = reply.begin() + kTagOffset;
    const auto last = std::find(first, first + static_cast<std::ptrdiff_t>(count), std::uint8_t{0});
    text.assign(first, last);
    return true;
}

bool decodeCardStatus(std::span<const std::uint8_t> reply, std::array<std::uint8_t, 4>& status) {
    if (!ReplyHasTag(reply, kRegisterLengthByte, "CARD") || reply.size() < 11) return false;
    std::copy_n(reply.begin() + 7, 4, status.begin());
    return true;
}

bool decodeIdentityString(std::span<const std::uint8_t> reply, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    if (!ReplyHasTag(reply, kIdentityLengthByte, "")) return false;
    const std::size_t available = std::min(reply.size() - kTagOffset, kIdentityTextLength);
    const std::size_t limit = size - 1;
    std::size_t i = 0;
    for (; i < limit && i < available && reply[kTagOffset + i] != 0; ++i)
        buffer[i] = static_cast<char>(reply[kTagOffset + i]);
    std::fill(buffer + i, buffer + size, '\0');
    return true;
}

bool decodePcCamReply(std::span<const std::uint8_t> reply) {
    std::uint8_t echo = 0;
    return ReplyHasTag(reply, kPcCamLengthByte, "CHANGE") && byteAt(reply, kEchoOffset, echo) &&
           echo == kPcCamArgument;
}

bool decodeFormatReply(std::span<const std::uint8_t> reply, std::uint8_t medium) {
    std::uint8_t echo = 0, outcome = 0;
    return ReplyHasTag(reply, kRegisterLengthByte, "FORMAT") && byteAt(reply, kEchoOffset, echo) &&
           echo == medium && byteAt(reply, kValueOffset, outcome) && outcome == 0;
}

bool decodeFlashSaveReply(std::span<const std::uint8_t> reply, std::uint8_t flag) {
    std::uint8_t echo = 0;
    return ReplyHasTag(reply, kRegisterLengthByte, "SSVFLAS") && byteAt(reply, kValueOffset, echo) &&
           echo == flag;
}

bool decodeCameraClock(std::span<const std::uint8_t> block, std::tm& time) {
    if (!hasMagic(block) || block.size() < kClockBlockLength) return false;
    // The camera's bytes are signed: a year byte of 0x80 or more is a year before 2000.
    const auto field = [&](std::size_t i) { return static_cast<int>(static_cast<std::int8_t>(block[i])); };
    time.tm_year = field(2) + 100;
    time.tm_mon = field(3) - 1;
    time.tm_mday = field(4);
    time.tm_hour = field(5);
    time.tm_min = field(6);
    time.tm_sec = field(7);
    return true;
}

std::array<std::uint8_t, 8> encodeCameraClock(const std::tm& time) {
    // Fields are cut to their low 8 bits, whatever their range; unsigned arithmetic keeps the
    // year offset free of overflow for any tm_year.
    const auto cut = [](unsigned value) { return static_cast<std::uint8_t>(value & 0xFFu); };
    return {'Q',
            'Z',
            cut(static_cast<unsigned>(time.tm_year) - 100u),
            cut(static_cast<unsigned>(time.tm_mon) + 1u),
            cut(static_cast<unsigned>(time.tm_mday)),
            cut(static_cast<unsigned>(time.tm_hour)),
            cut(static_cast<unsigned>(time.tm_min)),
            cut(static_cast<unsigned>(time.tm_sec))};
}

} // namespace trelvik::link
