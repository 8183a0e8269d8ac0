// SPDX-License-Identifier: MIT
// The system's own profile calls (GetPrivateProfileStringA/W) against our reader, on every
// file of the profile tests. Our reader holds Windows' rules; where the system here answers
// otherwise, either we are wrong, or the system is Wine and Wine is not Windows: each such
// answer is listed below with the reason, and anything else that differs fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "profile/ProfileCases.h"
#include "profile/ProfileDocument.h"
#include "support/Files.h"
#include "text/Unicode.h"

namespace trelvik::profile {
namespace {

namespace fs = std::filesystem;

std::wstring asWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

// Text in the ANSI code page, or nothing when a character of it has no place there (the
// system would answer with "?" for it, one of our deliberate differences).
std::optional<std::string> toAnsi(std::u16string_view text) {
    if (text.empty()) return std::string();
    const std::wstring wide = asWide(text);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(),
                        size, nullptr, &lossy);
    return out;
}

std::u16string fromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return std::u16string(out.begin(), out.end());
}

// Names and values of the tables are UTF-8; a NUL inside a name ends it for the system calls.
std::u16string wideName(const std::string& utf8) {
    return text::utf8ToUtf16(std::string_view(utf8.c_str()));
}

bool hasByteOrderMark(const std::string& bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
           bytes.starts_with("\xEF\xBB\xBF");
}

// Our narrow files are UTF-8 (falling back to Windows-1252); the system reads a file without a
// byte-order mark in its ANSI code page. So that the rules are compared and not the code page,
// the system gets such a file with the UTF-8 mark in front.
std::string forTheSystem(const std::string& bytes) {
    const bool nonAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (hasByteOrderMark(bytes) || !nonAscii || !text::isValidUtf8(bytes)) return bytes;
    return "\xEF\xBB\xBF" + bytes;
}

class SystemProfile {
public:
    explicit SystemProfile(const std::string& bytes) {
        static int serial = 0;
        // A new name per file: the system may keep a file it has read, by name.
        m_path = m_folder / ("case" + std::to_string(serial++) + ".ini");
        testing::writeText(m_path, bytes);
    }

    std::u16string wide(const std::u16string& section, const std::u16string& key, std::size_t size) const {
        std::vector<wchar_t> buffer(size + 1, L'\x2A');
        const DWORD length =
            GetPrivateProfileStringW(asWide(section).c_str(), asWide(key).c_str(), L"", buffer.data(),
                                     static_cast<DWORD>(size), m_path.wstring().c_str());
        return std::u16string(buffer.begin(), buffer.begin() + length);
    }

    std::string narrow(const std::string& section, const std::string& key, std::size_t size) const {
        std::vector<char> buffer(size + 1, '\x2A');
        const std::string path = *toAnsi(m_path.u16string());
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                      static_cast<DWORD>(size), path.c_str());
        return std::string(buffer.data(), length);
    }

private:
    testing::TempDir m_folder{"trelvik-profile-api"};
    fs::path m_path;
};

// An answer of the system that differs from ours and is known not to be Windows' (or to be a
// deliberate difference of ours): which query, which call, what the system said, and why.
struct KnownDifference {
    const char* name;
    bool wide;
    const char16_t* systemAnswer;
    const char* why;
};

const std::vector<KnownDifference> kKnownDifferences{
    // Wine cuts the value to the buffer with its closing quote still on, then takes off the last
    // character: a quoted value that fits exactly loses its own last character. Windows takes
    // the enclosing quotes off and cuts only a value that does not fit.
    {"QuotedFitsExactly", true, u"ab", "Wine: closing quote counted against the buffer"},
    {"QuotedFitsExactly", false, u"ab", "Wine: closing quote counted against the buffer"},
    // Wine's UTF-8 decoder (MultiByteToWideChar with CP_UTF8, also outside the profile calls)
    // swallows the byte after an ill-formed lead byte; Windows replaces the ill-formed part alone.
    {"Utf8BomNeverFallsBack", true, u"a\uFFFD", "Wine: UTF-8 decoder eats the next character"},
};

// Our answer must be the system's, or the system's answer must be a known difference.
void expectSame(const std::string& name, bool wide, const std::u16string& ours,
                const std::u16string& system) {
    if (ours == system) return;
    for (const KnownDifference& known : kKnownDifferences)
        if (name == known.name && wide == known.wide && system == known.systemAnswer) return;
    ADD_FAILURE() << name << (wide ? " (wide call)" : " (narrow call)") << ": ours \""
                  << text::utf16ToUtf8(ours) << "\", the system's \"" << text::utf16ToUtf8(system) << "\"";
}

// One query of one file through both readers and both calls.
void compare(const std::string& name, const std::string& bytes, const std::string& section,
             const std::string& key, std::size_t size) {
    const ProfileDocument ours(bytes);
    const SystemProfile system(forTheSystem(bytes));
    const std::u16string wideSection = wideName(section), wideKey = wideName(key);
    expectSame(name, true, ours.getStringW(wideSection, wideKey, size),
               system.wide(wideSection, wideKey, size));

    // The narrow call answers in the ANSI code page, ours in UTF-8: compared as characters, when
    // the names and the whole value have a place in the code page.
    const auto ansiSection = toAnsi(wideSection), ansiKey = toAnsi(wideKey);
    if (!ansiSection || !ansiKey) return;
    if (const auto whole = ours.lookup(wideSection, wideKey)) {
        const auto ansi = toAnsi(*whole);
        if (!ansi) return;
        // The cut counts bytes of the caller's encoding, and UTF-8 and the code page differ in
        // length for anything but ASCII: a value that is cut is compared only when they agree.
        const std::size_t utf8Length = text::utf16ToUtf8(*whole).size();
        if (ansi->size() != utf8Length && utf8Length >= size) return;
    }
    const std::string ourNarrow =
        ours.getString(std::string_view(section.c_str()), std::string_view(key.c_str()), size);
    expectSame(name, false, text::utf8ToUtf16(ourNarrow),
               fromAnsi(system.narrow(*ansiSection, *ansiKey, size)));
}

TEST(ProfileApi, EveryRuleOfTheTable) {
    for (const testing::ProfileLookupCase& c : testing::profileLookupCases())
        compare(c.name, c.file, c.section, c.key, 256);
}

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(TRELVIK_FIXTURES) + "/profile/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct FixtureQuery {
    const char* file;
    const char* section;
    const char* key;
    std::size_t size;
};

TEST(ProfileApi, FixtureFiles) {
    const std::vector<FixtureQuery> queries{
        {"message_utf16le.ini", "String", "0100", 256},    {"message_utf16le.ini", "string", "1100", 256},
        {"message_utf16le.ini", "STRING", "2100", 256},    {"message_utf16le.ini", "Language", "2", 256},
        {"message_utf16le.ini", "String", "0102", 256},    {"message_utf16le.ini", "String", "0101", 256},
        {"message_utf16le.ini", "String", "0101", 255},    {"legacy_cp1252.ini", "APP", "Title", 128},
        {"legacy_cp1252.ini", "mass_cmd_00", "name", 256}, {"legacy_cp1252.ini", "Mass_Cmd_00", "cmd", 256},
        {"command_utf8.ini", "APP", "Title", 128},         {"command_utf8.ini", "Mass_Cmd_00", "name", 256},
        {"command_utf8.ini", "Mass_Cmd_00", "1", 256},     {"command_utf8.ini", "Mass_Cmd_00", "2", 256},
    };
    for (const FixtureQuery& q : queries) {
        const std::string bytes = fixture(q.file);
        ASSERT_FALSE(bytes.empty()) << q.file;
        compare(std::string(q.file) + " [" + q.section + "] " + q.key + " /" + std::to_string(q.size), bytes,
                q.section, q.key, q.size);
    }
}

// Cutting to the caller's buffer, quotes removed first.
struct CutCase {
    const char* name;
    std::string value;
    std::size_t size;
};

TEST(ProfileApi, CutToTheBuffer) {
    const std::vector<CutCase> cases{
        {"Ascii254", std::string(254, 'x'), 256},
        {"Ascii255", std::string(255, 'x'), 256},
        {"Ascii256", std::string(256, 'x'), 256},
        {"LongLine", std::string(100000, 'x'), 256},
        {"TitleBuffer", std::string(200, 'x'), 128},
        {"BufferTwo", "abc", 2},
        {"BufferOne", "abc", 1},
        {"QuotedLongerThanTheBuffer", "\"" + std::string(300, 'x') + "\"", 256},
        {"QuotedFitsWithOneToSpare", "\"abc\"", 5},
        {"QuotedFitsExactly", "\"abc\"", 4},
        {"QuotedOneTooLong", "\"abc\"", 3},
        {"QuotedBufferTwo", "\"abc\"", 2},
        {"UnquotedFitsExactly", "abc", 4},
        {"WideSplitsAPair", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 4},
    };
    for (const CutCase& c : cases)
        compare(c.name, "[s]\r\nk=" + c.value + "\r\n", "s", "k", c.size);
}

} // namespace
} // namespace trelvik::profile
