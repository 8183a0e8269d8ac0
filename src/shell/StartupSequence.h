// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cmdtable/MassCmd.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/ProfileReader.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"
#include "shell/AppState.h"
#include "shell/StartupView.h"

namespace trelvik::shell {

// The command files the tool looks for beside itself; the index of the first one present
// is the tool mode (cmdtable::ToolMode).
inline constexpr const char* kCommandFileNames[] = {"mass_cmd.ini", "Camera_Setting.ini"};
inline constexpr std::uint32_t kWindowColour = 0xD8E9EC;
inline constexpr std::size_t kTitleBufferSize = 128;

// Base number of the messages of the system's language, before a message file may choose
// another, and the debug line that says which it is.
struct LanguageBaseChoice {
    std::int32_t base;
    const char* debugLine;
};
LanguageBaseChoice LanguageBaseForLangId(std::uint16_t langId);

// The message file's path: everything from the command file's last "." replaced by
// "_UNICODE_msg.ini"; a path without "." stays as it is.
std::string MessageFilePathFor(const std::string& commandFilePath);

// The list entry to show as chosen: the one whose base is `languageBase`, the last of them when
// several share it; -1 when none does (the list then shows no choice).
int LanguageIndexToSelect(const AppState& state, std::int32_t languageBase);

struct StartupServices {
    const platform::ProfileReader& profile;
    const platform::TextCodec& codec;
    const platform::SystemInfo& system;
    i18n::MessageCatalog& catalog;
    i18n::Reporter& reporter;
};

// Builds the running tool from the files beside the executable, in a fixed order.
class StartupSequence {
public:
    StartupSequence(StartupServices services, AppState& state, StartupView& view);

    // Runs the start-up steps in order. Returns false when the tool must end: a box has
    // already told the user why.
    bool FormCreate();

    // The command table once loaded; null before FormCreate loads it or after a failure.
    cmdtable::MassCmdTable* table() const { return m_table.get(); }

private:
    void chooseBaseFromSystemLanguage();
    bool findModuleDir();
    bool findCommandFile();
    bool readLanguages();
    void readTitle();
    bool loadCommandTable();
    void fillLanguageList();

    StartupServices m_services;
    AppState& m_state;
    StartupView& m_view;
    std::unique_ptr<cmdtable::MassCmdTable> m_table;
};

} // namespace trelvik::shell
