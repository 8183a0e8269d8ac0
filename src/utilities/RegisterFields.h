// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The Command Read/Write group: reading and writing any register by a code typed in
// hexadecimal, and what its boxes say.
//
// A read is harmless, so Command Read takes whatever hexadecimal digits lead the field. A write
// is not: register 0x00 takes the factory reset, and a typo such as "0x4E" read leniently
// would address it. So Command Write takes a field only when it is hexadecimal digits and
// nothing else, of a value that fits in a byte: "100" kept to its low byte would be the
// factory reset too.
namespace trelvik::utilities {

// Characters of a field that count; a read ignores the rest, a write refuses a longer field.
inline constexpr std::size_t kCommandFieldLength = 39;

inline constexpr std::string_view kCommandReadCaption = "Command Read";
inline constexpr std::string_view kCommandWriteCaption = "Command Write";

// What the data field shows after a read that failed, and after a read the camera answered
// without a value (a register it does not support). Neither is hexadecimal, so a write
// that follows is refused instead of sending a value nobody read.
inline constexpr std::string_view kReadFailedData = "<N/A>";
inline constexpr std::string_view kReadNoValueData = "<None>";

// Why a field cannot be written. Examples: u"0x41" -> NotHex; u"100" -> AboveByte; u"041" -> None.
enum class FieldProblem { None, Empty, NotHex, TooLong, AboveByte };
FieldProblem strictFieldProblem(std::u16string_view field);

// The refusal's text for the field labelled `label` ("Command" or "Data"); `shown` is the
// field's text as typed, placed in the text as it stands.
// Example: (FieldProblem::Empty, "Data", "") -> "The Data field is empty. ...".
std::string fieldProblemText(FieldProblem problem, std::string_view label, std::string_view shown);

// Box texts. Example: registerReadText(0x41, 0x02) -> "[41] = 02 is read from device!".
std::string registerReadText(std::uint8_t code, std::uint8_t value);
std::string registerReadFailedText(std::uint8_t code);
// The camera answered, but not with the register's value: it does not support the code
// (`notSupported`), or it echoed another code.
std::string registerNoValueText(std::uint8_t code, bool notSupported);
std::string registerWrittenText(std::uint8_t code, std::uint8_t value);
std::string registerWriteFailedText(std::uint8_t code, std::uint8_t value);

// The data field's text for a value read. Example: 0x0A -> "0A".
std::string registerValueText(std::uint8_t value);

} // namespace trelvik::utilities
