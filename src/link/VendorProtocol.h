// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "link/Status.h"

// The camera's vendor command language as pure data: CDB builders, lengths, timeouts and the
// reply tests. Everything that talks to a camera (the vendor operations, the drive probe, the
// simulated camera's tests) uses these so that the bytes on the wire have one source.
namespace trelvik::link {

inline constexpr std::uint8_t kSignedOpcode = 0xFC;     // byte 0 of every signed command
inline constexpr std::uint8_t kClockReadOpcode = 0xFE;  // 6-byte CDB, 8 bytes in
inline constexpr std::uint8_t kClockWriteOpcode = 0xFF; // 6-byte CDB, 8 bytes out

inline constexpr std::size_t kSignedCdbLength = 16;
inline constexpr std::size_t kSignedReplyLength = 16;   // every signed reply but the identities
inline constexpr std::size_t kIdentityReplyLength = 35; // model and make: "QZ", 0x20, 32 chars
inline constexpr std::size_t kIdentityTextLength = 32;
inline constexpr std::size_t kVersionTextLimit = 13; // characters a 16-byte reply can hold
inline constexpr std::size_t kClockBlockLength = 8;

inline constexpr std::chrono::seconds kCommandTimeout{4}; // registers, identity, mode change
inline constexpr std::chrono::seconds kCardStatusTimeout{10};
inline constexpr std::chrono::seconds kLongCommandTimeout{100}; // format, flash-save flag
inline constexpr std::chrono::seconds kClockTimeout{60};

inline constexpr std::uint8_t kRegisterLengthByte = 8; // length byte of most replies
inline constexpr std::uint8_t kPcCamLengthByte = 6;
inline constexpr std::uint8_t kIdentityLengthByte = 0x20;
inline constexpr std::uint8_t kPcCamArgument = 2;

// What identifies one signed command on the wire and how long its reply is.
struct SignedCommand {
    std::uint8_t param;           // CDB byte 1. Example: 0x0B
    char signature[8];            // the 7 ASCII characters of CDB bytes 2-8. Example: "QZGETDB"
    std::size_t replyLength;      // data-in length. Example: 16
    std::chrono::seconds timeout; // Example: 4 s
};

inline constexpr SignedCommand kCmdReadRegister{0x0B, "QZGETDB", kSignedReplyLength, kCommandTimeout};
inline constexpr SignedCommand kCmdWriteRegister{0x0B, "QZSETDB", kSignedReplyLength, kCommandTimeout};
inline constexpr SignedCommand kCmdReadVersion{0x08, "QZGETVS", kSignedReplyLength, kCommandTimeout};
inline constexpr SignedCommand kCmdReadCardStatus{0x08, "QZGETCA", kSignedReplyLength, kCardStatusTimeout};
inline constexpr SignedCommand kCmdReadModelId{0x20, "QZGETMD", kIdentityReplyLength, kCommandTimeout};
inline constexpr SignedCommand kCmdReadMakeId{0x07, "QZGETMK", kIdentityReplyLength, kCommandTimeout};
inline constexpr SignedCommand kCmdChangeToPcCam{0x08, "QZCHANG", kSignedReplyLength, kCommandTimeout};
inline constexpr SignedCommand kCmdFormatCard{0x08, "QZFMTCA", kSignedReplyLength, kLongCommandTimeout};
inline constexpr SignedCommand kCmdSetFlashSave{0x08, "QZSSVFL", kSignedReplyLength, kLongCommandTimeout};

// The 16-byte signed CDB: FC, param, the 7 signature characters, arg1, arg2, five zeros.
// Example: SignedCdb(0x0B, "QZGETDB", 0x12) -> FC 0B 51 5A 47 45 54 44 42 12 00 00 00 00 00 00
std::array<std::uint8_t, 16> SignedCdb(std::uint8_t param, const char (&sig)[8], std::uint8_t arg1 = 0,
                                       std::uint8_t arg2 = 0);
// The CDB of `command` with its arguments.
std::array<std::uint8_t, 16> SignedCdb(const SignedCommand& command, std::uint8_t arg1 = 0,
                                       std::uint8_t arg2 = 0);

// The CDBs the drive probe shares with the operations.
std::array<std::uint8_t, 16> readRegisterCdb(std::uint8_t code); // FC 0B "QZGETDB" code
std::array<std::uint8_t, 16> writeRegisterCdb(std::uint8_t code,
                                              std::uint8_t value); // FC 0B "QZSETDB" code value
std::array<std::uint8_t, 16> formatCardCdb(std::uint8_t medium);   // FC 08 "QZFMTCA" medium
// The 6-byte CDB of the clock commands: {opcode, 0, 0, 0, 0, 0}.
std::array<std::uint8_t, 6> clockCdb(std::uint8_t opcode);

// The common reply test, in order: bytes 0-1 "QZ", byte 2 == lengthByte, then the tag bytes from
// byte 3 (no terminator). False when the reply is too short to hold them.
// Example: ReplyHasTag("QZ\x08DBUGRD\x12\x34...", 8, "DBUGRD") -> true
bool ReplyHasTag(std::span<const std::uint8_t> reply, std::uint8_t lengthByte, std::string_view tag);

// Register read reply: Ok and `value` = byte 10 when byte 9 echoes `code`; else NotSupported
// when bytes 9-10 are "NS"; else Failed. `value` is written only on Ok.
// Example: code 0x4E, "NS" -> Ok, value 0x53.
Status decodeRegisterRead(std::span<const std::uint8_t> reply, std::uint8_t code, std::uint8_t& value);
// Register write reply: Ok when bytes 9-10 echo code and value; else NotSupported on "NS";
// else Failed.
Status decodeRegisterWrite(std::span<const std::uint8_t> reply, std::uint8_t code, std::uint8_t value);
// Version reply: "QZ" only; byte 2 characters from byte 3, at most 13 and never past the reply,
// cut at a zero byte. `text` is written only on true. Example: "QZ\x05" "1.2.3" -> "1.2.3".
bool decodeVersionString(std::span<const std::uint8_t> reply, std::string& text);
// Card status reply: "QZ", 8, "CARD", then slots 0-3 in bytes 7-10. `status` written only on true.
bool decodeCardStatus(std::span<const std::uint8_t> reply, std::array<std::uint8_t, 4>& status);
// Model or make reply: "QZ", 0x20, text from byte 3. Copies at most size-1 characters (never
// more than the 32 the reply holds), stops at a zero byte, zero-fills the rest and always puts a
// zero at size-1. False (buffer untouched) when the reply fails or there is no room (size 0).
bool decodeIdentityString(std::span<const std::uint8_t> reply, char* buffer, std::size_t size);
// Mode change reply: "QZ", 6, "CHANGE", byte 9 == 2.
bool decodePcCamReply(std::span<const std::uint8_t> reply);
// Format reply: "QZ", 8, "FORMAT", byte 9 == medium, byte 10 == 0.
bool decodeFormatReply(std::span<const std::uint8_t> reply, std::uint8_t medium);
// Flash-save reply: "QZ", 8, "SSVFLAS" in bytes 3-9, byte 10 == flag.
bool decodeFlashSaveReply(std::span<const std::uint8_t> reply, std::uint8_t flag);
// Clock block: "QZ" then year-2000, month, day, hour, minute, second, each a signed byte.
// Sets tm_year (+100), tm_mon (-1), tm_mday, tm_hour, tm_min, tm_sec; other fields untouched;
// `time` untouched on false. Example: year byte 0x80 -> tm_year -28 (1872).
bool decodeCameraClock(std::span<const std::uint8_t> block, std::tm& time);
// The clock block to write: "QZ", tm_year-100, tm_mon+1, tm_mday, tm_hour, tm_min, tm_sec,
// each cut to 8 bits. Example: 2099-12-31 23:59:59 -> "QZ" 99 12 31 23 59 59.
std::array<std::uint8_t, 8> encodeCameraClock(const std::tm& time);

} // namespace trelvik::link
