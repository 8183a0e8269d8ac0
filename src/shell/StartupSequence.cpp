// SPDX-License-Identifier: MIT
#include "shell/StartupSequence.h"

#include "debuglog/DebugLog.h"

namespace trelvik::shell {

LanguageBaseChoice LanguageBaseForLangId(std::uint16_t langId) {
    const unsigned primary = langId & 0x3FF;
    const unsigned sub = langId >> 10;
    switch (primary) {
    case 0x04:
        if (sub == 1) return {0x2000, "it is Trad Chinese Windows\n"};
        return {0x3000, "it is Trad Simplified Chinsese Windows\n"};
    case 0x07:
        return {0x1000, "it is German Windows\n"};
    case 0x11:
        return {0x4000, "it is Japanese Windows\n"};
    default:
        return {0x0000, "it is English-like Windows\n"};
    }
}

std::string MessageFilePathFor(const std::string& commandFilePath) {
    const auto dot = commandFilePath.rfind('.');
    if (dot == std::string::npos) return commandFilePath;
    return commandFilePath.substr(0, dot) + "_UNICODE_msg.ini";
}

int LanguageIndexToSelect(const AppState& state, std::int32_t languageBase) {
    int selected = -1;
    for (int i = 0; i < state.LanguageCount(); ++i)
        if (state.LanguageTable[static_cast<std::size_t>(i)].base == languageBase) selected = i;
    return selected;
}

StartupSequence::StartupSequence(StartupServices services, AppState& state, StartupView& view)
    : m_services(services), m_state(state), m_view(view) {}

bool StartupSequence::FormCreate() {
    chooseBaseFromSystemLanguage();
    m_view.setWindowColour(kWindowColour);
    if (!findModuleDir()) return false;
    if (!findCommandFile()) return false;
    if (m_state.ToolMode == cmdtable::ToolMode::Settings && !readLanguages()) return false;
    readTitle();
    m_view.adaptToToolMode(m_state.ToolMode);
    m_view.RefreshTrackBars();
    if (!loadCommandTable()) return false;
    m_view.BindCommandTable({*m_table, m_services.catalog, m_services.codec, m_state.ToolMode});
    if (m_state.ToolMode == cmdtable::ToolMode::Settings) {
        fillLanguageList();
        m_view.ApplyCaptions({m_state.ToolMode, m_services.catalog, *m_table, m_state.LanguageTable});
    }
    m_view.showAndPaint();
    // The first connection attempt follows the first paint, so the window is up before
    // the camera is looked for.
    return true;
}

void StartupSequence::chooseBaseFromSystemLanguage() {
    const LanguageBaseChoice choice = LanguageBaseForLangId(m_services.system.systemLangId());
    m_services.catalog.LanguageBase = choice.base;
    debuglog::DebugLog("%s", choice.debugLine);
}

bool StartupSequence::findModuleDir() {
    const std::string path = m_services.system.executablePath().value_or(std::string());
    const auto separator = path.rfind(m_services.system.pathSeparator());
    if (separator == std::string::npos) {
        m_services.reporter.ErrorBox("Invalid Execute File Name:\n\n%s", path.c_str());
        return false;
    }
    m_state.ModuleDir = path.substr(0, separator);
    return true;
}

bool StartupSequence::findCommandFile() {
    std::string candidate;
    for (std::size_t mode = 0; mode < std::size(kCommandFileNames); ++mode) {
        candidate = m_state.ModuleDir + m_services.system.pathSeparator() + kCommandFileNames[mode];
        if (m_services.system.fileExists(candidate)) {
            m_state.ToolMode = static_cast<cmdtable::ToolMode>(mode);
            m_state.CommandFilePath = candidate;
            return true;
        }
    }
    // The message names the settings tool's file: end users are the ones who lose it.
    m_services.reporter.ErrorBox("%s does not exist!", candidate.c_str());
    return false;
}

bool StartupSequence::readLanguages() {
    // The whole path is kept: a path cut to a fixed length could make the existence test
    // and the later reads look at different files.
    const std::string path = MessageFilePathFor(m_state.CommandFilePath);
    if (!m_services.system.fileExists(path)) {
        m_services.reporter.ErrorBox("%s does not exist!", path.c_str());
        return false;
    }
    i18n::MessageCatalog& catalog = m_services.catalog;
    catalog.MessageFilePath = m_services.codec.toWide(path);
    m_state.LanguageTable = catalog.readLanguageTable();
    const auto chosen = i18n::ChooseLanguage(m_state.LanguageTable, m_services.system.systemLangId());
    catalog.LanguageBase = chosen ? m_state.LanguageTable[static_cast<std::size_t>(*chosen)].base : 0;
    return true;
}

void StartupSequence::readTitle() {
    m_state.WindowTitleBase =
        m_services.profile.getString(m_state.CommandFilePath, "APP", "Title", kTitleBufferSize);
    if (!m_state.WindowTitleBase.empty()) m_view.setCaption(m_state.WindowTitleBase);
}

bool StartupSequence::loadCommandTable() {
    m_table =
        std::make_unique<cmdtable::MassCmdTable>(m_services.profile, m_services.reporter, m_state.ToolMode);
    if (m_table->MassCmd_LoadTable(m_state.CommandFilePath)) return true;
    m_table.reset();
    return false;
}

void StartupSequence::fillLanguageList() {
    std::vector<std::u16string> names;
    for (const auto& entry : m_state.LanguageTable)
        names.push_back(entry.display_name);
    m_view.fillLanguageList(names, LanguageIndexToSelect(m_state, m_services.catalog.LanguageBase));
}

} // namespace trelvik::shell
