// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "platform/Native.h"
#include "platform/TextCodec.h"

namespace trelvik::platform {

namespace {

// The conversion calls count in int; longer text is converted in pieces that never split
// a surrogate pair.
constexpr std::size_t kChunk = INT_MAX / 4;

// Narrow text on Windows is the ANSI code page. Characters it cannot hold become the
// code page's default character ("?"), bytes it does not define map as the system maps them.
class Win32TextCodec final : public TextCodec {
public:
    std::u16string toWide(std::string_view narrow) const override {
        std::u16string out;
        while (!narrow.empty()) {
            std::size_t take = std::min(narrow.size(), kChunk);
            // Keep a double-byte character together across pieces.
            if (take < narrow.size()) {
                std::size_t pos = 0;
                while (pos < take)
                    pos += IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(narrow[pos])) ? 2 : 1;
                if (pos > take) take = pos - 2;
                if (take == 0) take = 1;
            }
            appendWide(out, narrow.substr(0, take));
            narrow.remove_prefix(take);
        }
        return out;
    }

    std::string toNarrow(std::u16string_view wide) const override {
        std::string out;
        while (!wide.empty()) {
            std::size_t take = std::min(wide.size(), kChunk);
            if (take < wide.size() && wide[take - 1] >= 0xD800 && wide[take - 1] <= 0xDBFF) --take;
            appendNarrow(out, wide.substr(0, take));
            wide.remove_prefix(take);
        }
        return out;
    }

private:
    static void appendWide(std::u16string& out, std::string_view piece) {
        const int inLength = static_cast<int>(piece.size());
        const int needed = MultiByteToWideChar(CP_ACP, 0, piece.data(), inLength, nullptr, 0);
        if (needed <= 0) return;
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(needed));
        const int written = MultiByteToWideChar(CP_ACP, 0, piece.data(), inLength,
                                                reinterpret_cast<wchar_t*>(out.data() + start), needed);
        out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
    }

    static void appendNarrow(std::string& out, std::u16string_view piece) {
        const auto* in = reinterpret_cast<const wchar_t*>(piece.data());
        const int inLength = static_cast<int>(piece.size());
        const int needed = WideCharToMultiByte(CP_ACP, 0, in, inLength, nullptr, 0, nullptr, nullptr);
        if (needed <= 0) return;
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(needed));
        const int written =
            WideCharToMultiByte(CP_ACP, 0, in, inLength, out.data() + start, needed, nullptr, nullptr);
        out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
    }
};

} // namespace

std::unique_ptr<TextCodec> makeNativeTextCodec() {
    return std::make_unique<Win32TextCodec>();
}

} // namespace trelvik::platform
