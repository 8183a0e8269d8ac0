// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cmdtable/ToolMode.h"
#include "i18n/Reporter.h"
#include "platform/ProfileReader.h"
#include "text/Hex.h"

namespace trelvik::cmdtable {

// The command file's lenient hexadecimal rule, shared with the message file.
using text::HexToInt;
using text::HexToIntW;

// Limits of the command table. A file beyond them is rejected, never cut.
inline constexpr int kMaxEntries = 256;
inline constexpr int kMaxChoices = 100;
inline constexpr std::size_t kMaxNameLength = 63;
inline constexpr std::size_t kMaxLabelLength = 115;
inline constexpr std::size_t kMaxValueTextLength = 31;

// Error texts of the loader (printf formats; the arguments are named in each comment).
inline constexpr char kMissingKeyText[] = "Section [%s] does not have \"%s\" key value";   // section, key
inline constexpr char kIncorrectKeyText[] = "Section [%s] has incorrect \"%s\" key value"; // section, key
inline constexpr char kTooLongKeyText[] = "Section [%s] has too long \"%s\" key value";    // section, key
inline constexpr char kTooManyChoicesText[] =
    "Section [%s] has too many choices in \"%s\" key value (at most %d)"; // section, "count", 100
inline constexpr char kTooManySectionsText[] =
    "Section [%s] is one section too many (at most %d sections)"; // section, 256
inline constexpr char kMissingCodeText[] = "MassCmd_CmdIdToCmdIndex(), cmd_code=%d can not found!"; // code
// Message of the settings tool for a command code the table lacks; its argument is the code.
inline constexpr int kMsgMissingCode = 282;

// One choice of a list setting.
struct MassCmdItem {
    std::int32_t value = 0; // raw register value. Example: 2
    std::string label;      // at most 115 bytes, as written. Example: "1920x1080" or "#140"
};

// One setting of the command file, from one section "Mass_Cmd_%02X".
struct MassCmd {
    std::string section;                       // Example: "Mass_Cmd_0A"
    std::string name;                          // at most 63 bytes. Example: "RESOLUTION_MODE"
    std::int32_t cmd_code = 0;                 // register code. Example: 0x01
    std::int32_t count = 0;                    // > 0: list setting with that many items; <= 0: ranged setting
    std::vector<MassCmdItem> items;            // exactly count items for a list setting, none otherwise
    std::int32_t range_min = 0, range_max = 0; // bounds of a ranged setting; 0 for a list setting
};

// The command table of the tool: loaded once from the command file, read-only afterwards.
class MassCmdTable {
public:
    // The full tool reports a missing code with a plain English box, the settings tool with
    // the localized message 282.
    MassCmdTable(const platform::ProfileReader& reader, i18n::Reporter& reporter, ToolMode toolMode);

    // Loads the command file at narrow `path`. Returns 1 on success, 0 after an ErrorBox;
    // after a failure the table is empty. Example: a file whose Mass_Cmd_00 has no name -> 1, empty.
    int MassCmd_LoadTable(const std::string& path);

    // Index of the first entry with `cmd_code`, or -1 after reporting the miss (every time).
    int MassCmd_CmdIdToCmdIndex(int cmd_code) const;

    // Position of the first choice of the code's entry whose value is `value`; -1 when none
    // matches or the entry is ranged (silently) or the code is missing (reported).
    int ValueToItemIndex(int cmd_code, int value) const;

    // Value of choice `index` of the code's entry; -1 when the code is missing (reported) or
    // `index` is outside 0 .. count-1 (silently). Example: (0x01, 2) -> 2.
    int ItemIndexToValue(int cmd_code, int index) const;

    const std::vector<MassCmd>& entries() const { return m_entries; }
    int entry_count() const { return static_cast<int>(m_entries.size()); }

private:
    // Reads one value with the loader's rules: 256-byte buffer, then TrimIniValue.
    std::string readValue(const std::string& path, const std::string& section, std::string_view key) const;
    // Loads section `index` into `entry`. Returns 1 when loaded, 0 after an error, 2 at the end.
    int loadEntry(const std::string& path, int index, MassCmd& entry);

    const platform::ProfileReader& m_reader;
    i18n::Reporter& m_reporter;
    ToolMode m_toolMode;
    std::vector<MassCmd> m_entries;
};

// Cuts a value read from the command file: everything from the last ";" on goes, then the
// spaces and tabs at the new end. Example: "1:1280x960   ; note" -> "1:1280x960".
void TrimIniValue(std::string& text);

// The C library's atol rule without its overflow: leading white space, an optional sign,
// decimal digits up to the first other character; 0 without digits. Values beyond the
// 32-bit range saturate. Example: " -12ab" -> -12, "abc" -> 0.
std::int32_t parseAtol(std::string_view text);

// A number of the command file: HexToInt of the rest when `text` starts with "0x" or "0X"
// (at least two characters), else parseAtol. Example: "0X1a" -> 26, "0x1G" -> 1, "26" -> 26.
std::int32_t parseCmdNumber(std::string_view text);

// Scans "%d-%d": two decimal numbers (each after optional white space and sign) joined by
// "-". Returns how many numbers were found (0, 1 or 2). Example: "-5-5" -> 2, {-5, 5}.
int scanRange(std::string_view text, std::int32_t& low, std::int32_t& high);

} // namespace trelvik::cmdtable
