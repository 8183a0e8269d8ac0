// SPDX-License-Identifier: MIT
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "cli/NativeServices.h"
#include "i18n/MessageCatalog.h"
#include "text/Hex.h"

namespace trelvik::cli {

namespace {

std::string baseKey(std::int32_t base) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(base));
    return text;
}

int runMessages(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.positional.size() != 1) {
        err << "usage: trelvik-cli messages FILE [--langid HEX]\n";
        return kExitUsage;
    }
    const std::string& path = invocation.positional[0];
    NativeServices& natives = *invocation.natives;
    std::uint16_t langId = 0;
    if (const auto text = invocation.value("langid")) {
        // A LANGID in hexadecimal, with or without "0x": "0407", "0x0804", "FF07".
        const auto parsed = text::parseHex(*text, 0xFFFF);
        if (!parsed) {
            err << "trelvik-cli messages: --langid wants a hexadecimal LANGID such as 0407, not '" << *text
                << "'\n";
            return kExitUsage;
        }
        langId = static_cast<std::uint16_t>(*parsed);
    } else {
        langId = natives.system().systemLangId();
    }
    if (const auto problem = notAFile(path)) {
        err << path << " " << *problem << "!\n";
        return kExitUsage;
    }

    i18n::MessageCatalog catalog(natives.profiles(), natives.codec());
    catalog.MessageFilePath = natives.codec().toWide(path);
    const std::vector<i18n::LanguageEntry> languages = catalog.readLanguageTable();
    const std::optional<int> chosen = i18n::ChooseLanguage(languages, langId);

    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    nlohmann::ordered_json missing = nlohmann::ordered_json::object();
    std::set<std::int32_t> checked;
    for (const i18n::LanguageEntry& language : languages) {
        list.push_back({{"display_name", text::utf16ToUtf8(language.display_name)},
                        {"lang_id", language.lang_id},
                        {"base", language.base}});
        if (!checked.insert(language.base).second) continue; // two languages sharing one range
        catalog.LanguageBase = language.base;
        nlohmann::ordered_json ids = nlohmann::ordered_json::array();
        for (int msgId : i18n::kToolMsgIds)
            if (!catalog.findMsgText(msgId)) ids.push_back(msgId);
        missing[baseKey(language.base)] = std::move(ids);
    }
    nlohmann::ordered_json result;
    result["languages"] = std::move(list);
    result["chosen"] = chosen ? nlohmann::ordered_json(*chosen) : nlohmann::ordered_json(nullptr);
    result["missing"] = std::move(missing);
    printJson(out, result);
    return kExitOk;
}

const Registrar kRegistrar{
    {"messages",
     "messages FILE [--langid HEX]",
     "Reads a message file (Camera_Setting_UNICODE_msg.ini) as the settings tool does and\n"
     "prints its languages, the one start-up would choose for the LANGID (default: the\n"
     "system's) and, per language base, the tool's message numbers the file lacks.",
     {{"langid", OptionValue::Required}},
     &runMessages}};

} // namespace

} // namespace trelvik::cli
