// SPDX-License-Identifier: MIT
#include "utilities/RegisterFields.h"

#include "text/Hex.h"

#include <cstdio>

namespace trelvik::utilities {

namespace {

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

FieldProblem strictFieldProblem(std::u16string_view field) {
    if (field.empty()) return FieldProblem::Empty;
    for (char16_t c : field)
        if (!isHexDigit(c)) return FieldProblem::NotHex;
    // Digits past the ones that count would be dropped silently, and the code sent would
    // not be the one typed.
    if (field.size() > kCommandFieldLength) return FieldProblem::TooLong;
    const std::size_t firstSignificant = field.find_first_not_of(u'0');
    if (firstSignificant != std::u16string_view::npos && field.size() - firstSignificant > 2)
        return FieldProblem::AboveByte;
    return FieldProblem::None;
}

std::string fieldProblemText(FieldProblem problem, std::string_view label, std::string_view shown) {
    const std::string field = "The " + std::string(label) + " field";
    const std::string advice = " Type hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, "
                               "for example 4E. Nothing was written.";
    switch (problem) {
    case FieldProblem::None:
        return {};
    case FieldProblem::Empty:
        return field + " is empty." + advice;
    case FieldProblem::NotHex:
        return field + " \"" + std::string(shown) + "\" holds a character that is not a hexadecimal digit." +
               advice;
    case FieldProblem::TooLong:
        return field + " holds more than " + std::to_string(kCommandFieldLength) + " digits." + advice;
    case FieldProblem::AboveByte:
        return field + " \"" + std::string(shown) +
               "\" is above FF: registers and their values are one byte, 00 to FF. Nothing was written.";
    }
    return {};
}

std::string registerReadText(std::uint8_t code, std::uint8_t value) {
    char text[64];
    std::snprintf(text, sizeof text, "[%02X] = %02X is read from device!", code, value);
    return text;
}

std::string registerReadFailedText(std::uint8_t code) {
    char text[64];
    std::snprintf(text, sizeof text, "[%02X] is failed to read from device!", code);
    return text;
}

std::string registerNoValueText(std::uint8_t code, bool notSupported) {
    char text[96];
    std::snprintf(text, sizeof text,
                  notSupported ? "[%02X] is not supported by the device: no value was read!"
                               : "[%02X] was answered for another register: no value was read!",
                  code);
    return text;
}

std::string registerWrittenText(std::uint8_t code, std::uint8_t value) {
    char text[64];
    std::snprintf(text, sizeof text, "[%02X] = %02X is written to device!", code, value);
    return text;
}

std::string registerWriteFailedText(std::uint8_t code, std::uint8_t value) {
    char text[64];
    std::snprintf(text, sizeof text, "[%02X] = %02X is failed to write to device!", code, value);
    return text;
}

std::string registerValueText(std::uint8_t value) {
    return text::hexDigits({&value, 1});
}

} // namespace trelvik::utilities
