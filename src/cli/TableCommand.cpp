// SPDX-License-Identifier: MIT
#include <memory>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "cli/NativeServices.h"
#include "cmdtable/MassCmd.h"
#include "i18n/BoxPresenter.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"

namespace trelvik::cli {

namespace {

constexpr std::size_t kTitleBufferSize = 128;

// Boxes become lines on the error stream: the text alone, as the tool would show it.
class StreamBoxPresenter final : public i18n::BoxPresenter {
public:
    StreamBoxPresenter(std::ostream& err, const platform::TextCodec& codec) : m_err(err), m_codec(codec) {}
    int show(const i18n::BoxRequest& request) override {
        m_err << m_codec.toNarrow(request.text) << "\n";
        return i18n::kAnswerOk;
    }

private:
    std::ostream& m_err;
    const platform::TextCodec& m_codec;
};

int runTable(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.positional.size() != 1) {
        err << "usage: trelvik-cli table FILE\n";
        return kExitUsage;
    }
    const std::string& path = invocation.positional[0];
    if (const auto problem = notAFile(path)) {
        err << path << " " << *problem << "!\n";
        return kExitUsage;
    }
    const platform::TextCodec& codec = invocation.natives->codec();
    const platform::ProfileReader& reader = invocation.natives->profiles();
    StreamBoxPresenter boxes(err, codec);
    i18n::MessageCatalog catalog(reader, codec); // no message file: the full tool's loader
    i18n::Reporter reporter(boxes, catalog, codec);
    cmdtable::MassCmdTable table(reader, reporter, cmdtable::ToolMode::Full);
    if (!table.MassCmd_LoadTable(path)) return kExitUsage;

    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (const cmdtable::MassCmd& entry : table.entries()) {
        nlohmann::ordered_json items = nlohmann::ordered_json::array();
        for (const cmdtable::MassCmdItem& item : entry.items)
            items.push_back({{"value", item.value}, {"label", jsonText(codec, item.label)}});
        nlohmann::ordered_json range = nullptr;
        if (entry.count <= 0) range = {entry.range_min, entry.range_max};
        entries.push_back({{"section", jsonText(codec, entry.section)},
                           {"name", jsonText(codec, entry.name)},
                           {"cmd", entry.cmd_code},
                           {"count", entry.count},
                           {"items", std::move(items)},
                           {"range", std::move(range)}});
    }
    nlohmann::ordered_json result;
    result["title"] = jsonText(codec, reader.getString(path, "APP", "Title", kTitleBufferSize));
    result["entries"] = std::move(entries);
    printJson(out, result);
    return kExitOk;
}

const Registrar kRegistrar{
    {"table",
     "table FILE",
     "Loads a command file (mass_cmd.ini or Camera_Setting.ini) as the tool does and prints\n"
     "its title and entries as JSON. A file the tool would reject prints the tool's\n"
     "error text on stderr and exits 1.",
     {},
     &runTable}};

} // namespace

} // namespace trelvik::cli
