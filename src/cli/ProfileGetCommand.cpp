// SPDX-License-Identifier: MIT
#include <ostream>
#include <string>

#include "cli/Cli.h"
#include "cli/NativeServices.h"
#include "text/Unicode.h"

namespace trelvik::cli {

namespace {

// The command and message files are read with 256-character buffers, so the answer is
// exactly what the tool itself would see.
constexpr std::size_t kValueBuffer = 256;

int runProfileGet(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.positional.size() != 3) {
        err << "trelvik-cli profile-get: expected FILE SECTION KEY, got " << invocation.positional.size()
            << " argument(s)\nusage: trelvik-cli profile-get [--wide] FILE SECTION KEY\n";
        return kExitUsage;
    }
    const std::string& file = invocation.positional[0];
    const std::string& section = invocation.positional[1];
    const std::string& key = invocation.positional[2];
    if (const auto problem = notAFile(file)) {
        err << "trelvik-cli profile-get: " << file << " " << *problem << "\n";
        return kExitUsage;
    }
    const platform::ProfileReader& reader = invocation.natives->profiles();

    std::string value;
    if (invocation.has("wide")) {
        value = text::utf16ToUtf8(reader.getStringW(text::utf8ToUtf16(file), text::utf8ToUtf16(section),
                                                    text::utf8ToUtf16(key), kValueBuffer));
    } else {
        value = reader.getString(file, section, key, kValueBuffer);
    }
    // A missing key and an empty value are the same to the tool.
    if (value.empty()) return kExitUsage;
    out << value << "\n";
    return kExitOk;
}

const Registrar reg{{"profile-get",
                     "profile-get [--wide] FILE SECTION KEY",
                     "Prints the value of KEY in SECTION of the INI file FILE as the tool reads it:\n"
                     "names match without regard to case, white space and one pair of enclosing quotes\n"
                     "are removed, and at most 255 bytes (255 UTF-16 units with --wide) are kept.\n"
                     "The value is printed as UTF-8. Exits 1 when the file is missing (saying so) or the\n"
                     "value is missing or empty (silently).\n"
                     "  --wide   read as the message file is read (wide characters)",
                     {{"wide", OptionValue::None}},
                     &runProfileGet}};

} // namespace

} // namespace trelvik::cli
