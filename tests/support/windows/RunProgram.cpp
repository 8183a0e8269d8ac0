// SPDX-License-Identifier: MIT
#include "support/RunProgram.h"

#include <windows.h>

#include "support/Files.h"

namespace trelvik::testing {

namespace {

// Narrow text is the ANSI code page, as the program's own narrow argv will be.
std::wstring wide(const std::string& narrow) {
    if (narrow.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), out.data(), size);
    return out;
}

// One argument as the C runtime's parser reads it back: in quotes, the backslashes before a
// quote doubled and the quote escaped, so blanks and quotes stay inside it.
std::wstring quoted(const std::wstring& word) {
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

int runAndWait(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& word : args)
        commandLine += L" " + quoted(wide(word));
    const HANDLE out = inheritableFile(outFile);
    const HANDLE err = inheritableFile(errFile);
    int code = -1;
    if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                           &process)) {
            WaitForSingleObject(process.hProcess, INFINITE);
            DWORD exitCode = 0;
            if (GetExitCodeProcess(process.hProcess, &exitCode)) code = static_cast<int>(exitCode);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
    // A console program's text streams end lines with CR LF here; the tests compare the text.
    for (const auto& file : {outFile, errFile}) {
        std::string text = readText(file), lines;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
        writeText(file, lines);
    }
    return code;
}

} // namespace trelvik::testing
